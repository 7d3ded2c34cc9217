// A call handler run through the real pages: the start page, the selection page, the options
// page and the engine page, to the closing message.
#include "core/ui/frmMain.h"
#include "handlers/ui/frmMakeCallHandlerChanges.h"
#include "tests/handlers_ui/HandlerOptionsPageFixture.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(HandlerWizardRun, FromTheStartPageToTheClosingMessage)
{
    QTemporaryDir programFolder;
    HandlerOptionsPage run(TempInstallation::smallOptions(), programFolder.path());
    QPointer<frmMakeCallHandlerChanges> engine;
    run.context.handlerEnginePage = [&](QWidget* optionsPage) -> QWidget* {
        if (!engine) {
            engine = new frmMakeCallHandlerChanges(run.context, optionsPage);
            engine->setLogOpener([](const QString&) { return HelpFiles::Launch{}; });
        }
        return engine;
    };
    ASSERT_TRUE(run.start());

    findByName<QRadioButton>(run.startPage(), "optEditCallHandlers")->setChecked(true);
    click(run.startPage(), "cmdNext");
    ASSERT_TRUE(run.selection);
    click(*run.selection, "cmdView");
    click(*run.selection, "cmdSelectAll");
    click(*run.selection, "cmdNext");
    ASSERT_TRUE(run.page);
    run.child<QLineEdit>("txtMessagesMaxMessageLength")->setText("13.5");
    click(*run.page, "cmdNext");
    ASSERT_TRUE(engine && engine->isVisible());

    run.recorder.answerWith(QMessageBox::Cancel);
    click(*engine, "cmdGo");
    EXPECT_EQ(run.shown, (QStringList{"Done! 0 error(s) and 0 warning(s) encountered.\r\n",
                                      run.session.languages.mymyLoadString(100)}));
    const int handlers = run.context.state.selectionGridRows.size();
    EXPECT_GT(handlers, 0);
    EXPECT_EQ(run.stored("SELECT COUNT(*) FROM vw_CallHandler_NonPrimary WHERE MaxMsgLen = 14").toInt(), handlers);
    delete engine.data();
}

}  // namespace
