// The subscriber engine page: Go over the rows the selection page handed on, its notices, the
// offer to open the log, and Exit before and after a run.
#include "subscribers/ui/frmMakeSubscriberChanges.h"

#include "core/ui/WizardContext.h"
#include "subscribers/SubscriberEngine.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"
#include "tests/subscribers_ui/EngineScenario.h"
#include "tests/support/widgets/PageHarness.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class EnginePage : public WizardRun {
public:
    EnginePage()
    {
        EXPECT_TRUE(start());
        Recordset& subscribers = session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof() && context.state.selectionGridRows.size() < 4; subscribers.moveNext())
            context.state.selectionGridRows << SelectionGridRow{true, subscribers.value("Alias").toString(),
                                                                subscribers.value("SubscriberObjectID").toString()};
        context.state.runLog = std::make_unique<RunLog>(programFolder.path(), messages.sink());
        // The real options page as loaded: nothing chosen, every control the engine reads there.
        optionsPage = std::make_unique<frmSelectSubscriberChanges>(context);
        page = std::make_unique<frmMakeSubscriberChanges>(context, optionsPage.get());
        page->setLogOpener([this](const QString& file) {
            opened << file;
            return HelpFiles::Launch{};
        });
    }

    bool enabled(const char* button) const { return findByName<QPushButton>(*page, button)->isEnabled(); }
    QStringList logFiles() const
    {
        return QDir(programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files);
    }
    QString string(int number) const { return session.languages.mymyLoadString(number); }

    QTemporaryDir programFolder;
    std::unique_ptr<frmSelectSubscriberChanges> optionsPage;
    std::unique_ptr<frmMakeSubscriberChanges> page;
    QStringList opened;
};

TEST(EnginePageTest, AnEmptyGridIsRefusedWithoutALog)
{
    EnginePage run;
    run.context.state.selectionGridRows.clear();
    // The grid is checked before the caller-input choices.
    findByName<QRadioButton>(*run.optionsPage, "optCallerInputGoToCallHandler_7")->setChecked(true);
    findByName<QLineEdit>(*run.optionsPage, "txtCallerInputGoToCallHandlerObjectID_7")->setText("SHORT");
    click(*run.page, "cmdGo");
    EXPECT_EQ(run.shown, QStringList{run.string(193)});
    EXPECT_TRUE(run.logFiles().isEmpty());
    EXPECT_TRUE(run.enabled("cmdGo"));
    EXPECT_TRUE(run.enabled("cmdPrev"));
}

TEST(EnginePageTest, ARunEndsWithItsSummaryAndTheOfferToOpenTheLog)
{
    EnginePage run;
    run.context.state.selectionGridRows[1].checked = false;
    run.context.state.selectionGridRows[3].objectID = "NO-SUCH-SUBSCRIBER";
    click(*run.page, "cmdGo");

    EXPECT_EQ(run.shown, (QStringList{"Done!  1 error(s) and  0 warning(s) encountered.\r\n\r\n", run.string(100)}));
    EXPECT_EQ(run.recorder.requests.value(1).buttons, QMessageBox::Ok | QMessageBox::Cancel);
    ASSERT_EQ(run.logFiles().size(), 1);
    EXPECT_EQ(run.opened, QStringList{run.programFolder.filePath("logs/" + run.logFiles()[0])});
    EXPECT_FALSE(run.context.state.runLog->isOpen());
    EXPECT_EQ(findByName<QLabel>(*run.page, "lblRecordNumber")->text(), " 2");
    EXPECT_FALSE(run.enabled("cmdGo"));
    EXPECT_FALSE(run.enabled("cmdPrev"));
    // The style dialog was loaded for the snapshot, in its first state.
    EXPECT_NE(run.optionsPage->findChild<frmSetConversationStyleLimits*>("frmSetConversationStyleLimits"), nullptr);

    // After the run Exit asks nothing.
    run.shown.clear();
    click(*run.page, "cmdExit");
    EXPECT_TRUE(run.shown.isEmpty());
    EXPECT_EQ(run.endedWith, 0);
}

TEST(EnginePageTest, TheClosingNoticesComeBetweenTheSummaryAndTheOffer)
{
    const struct {
        bool writeThrough;
        bool notifierRestart;
        QList<int> notices;
    } cases[] = {{true, false, {336}}, {false, true, {445}}, {true, true, {336, 445}}};
    for (const auto& c : cases) {
        EnginePage run;
        run.session.bDirectoryWriteThroughPending = c.writeThrough;
        run.session.bNotifierRestartPending = c.notifierRestart;
        run.recorder.answerWith(QMessageBox::Cancel);
        click(*run.page, "cmdGo");
        QStringList expected{"Done!  0 error(s) and  0 warning(s) encountered.\r\n\r\n"};
        for (int notice : c.notices)
            expected << run.string(notice);
        expected << run.string(100);
        EXPECT_EQ(run.shown, expected);
        EXPECT_TRUE(run.opened.isEmpty());   // Cancel
    }
}

TEST(EnginePageTest, ALogThatCannotBeWrittenEndsTheRunWithAMessage)
{
    EnginePage run;
    const QDateTime start(QDate(2024, 5, 6), QTime(7, 8, 9));
    run.context.state.runLog = std::make_unique<RunLog>(run.programFolder.path(), run.messages.sink(), [=] { return start; });
    ASSERT_TRUE(QDir(run.programFolder.path()).mkpath("logs/Kestrane_Log_240506_07_08_09.TXT"));   // in the log's way
    click(*run.page, "cmdGo");
    ASSERT_EQ(run.shown.size(), 4);
    EXPECT_TRUE(run.shown[1].startsWith("(error) in cmdGo_Click routine.  Description=")) << run.shown[1].toStdString();
    EXPECT_EQ(run.shown[3], run.string(100));
    EXPECT_FALSE(run.enabled("cmdGo"));
}

TEST(EnginePageTest, ExitBeforeARunAsksFirst)
{
    EnginePage run;
    run.recorder.answerWith(QMessageBox::No);
    click(*run.page, "cmdExit");
    EXPECT_EQ(run.shown, QStringList{run.string(64)});
    EXPECT_EQ(run.endedWith, -1);
}

TEST(EnginePageTest, PreviousReturnsToTheOptionsPageAtItsPosition)
{
    EnginePage run;
    run.page->move(40, 50);
    run.page->show();
    click(*run.page, "cmdPrev");
    EXPECT_FALSE(run.page->isVisible());
    EXPECT_TRUE(run.optionsPage->isVisible());
    EXPECT_EQ(run.optionsPage->pos(), QPoint(40, 50));
}

// The real page as it is loaded, nothing chosen, for several kinds and servers: the run logs no
// error and leaves the subscribers as they were.
class NothingChosen : public ::testing::TestWithParam<std::tuple<qint16, int, int, int, int>> {};

TEST_P(NothingChosen, ChangesNoSubscriberAndLogsNoError)
{
    const auto [kind, major, minor, release, build] = GetParam();
    EngineScenario run(TempInstallation::smallServer(major, minor, release, build), kind);
    ASSERT_TRUE(run.open());
    auto dump = [&] {
        QStringList text;
        for (const auto& row : run.session.database.select("SELECT * FROM Subscriber ORDER BY rowid").rows)
            for (const QVariant& value : row)
                text << value.toString();
        return text;
    };
    const QStringList before = dump();
    const QStringList lines = run.run(3);
    EXPECT_EQ(lines.filter("** Updating subscriber **").size(), 3);
    EXPECT_EQ(lines.filter("(error)"), QStringList{});
    EXPECT_EQ(run.log->LogErrorCount(), 0);
    EXPECT_EQ(run.log->LogWarningCount(), 0);
    EXPECT_EQ(dump(), before);
}

INSTANTIATE_TEST_SUITE_P(KindsAndServers, NothingChosen,
                         ::testing::Values(std::tuple<qint16, int, int, int, int>{1, 4, 0, 3, 12},
                                           std::tuple<qint16, int, int, int, int>{1, 7, 0, 0, 111},
                                           std::tuple<qint16, int, int, int, int>{2, 5, 0, 0, 10},
                                           std::tuple<qint16, int, int, int, int>{7, 4, 2, 0, 38}));

// Every control the engine lists is in the snapshot of the real page and its style dialog, for
// every kind the page is loaded for (tabs closed to a kind still hand over their controls).
TEST(EngineOnTheLoadedPage, EveryControlTheEngineReadsIsInThePagesSnapshot)
{
    const QStringList pageNames = subscriberEngineControlNames("frmSelectSubscriberChanges");
    const QStringList styleNames = subscriberEngineControlNames("frmSetConversationStyleLimits");
    EXPECT_GT(pageNames.size(), 300);
    EXPECT_EQ(styleNames.size(), 10);
    for (const qint16 kind : {1, 2, 5, 7, 8, 9}) {
        SCOPED_TRACE(kind);
        EngineScenario run(TempInstallation::smallOptions(), kind);
        ASSERT_TRUE(run.open());
        for (const QString& name : pageNames)
            EXPECT_NO_THROW(run.options.control(name)) << name.toStdString();
        for (const QString& name : styleNames)
            EXPECT_NO_THROW(run.options.dialog("frmSetConversationStyleLimits").control(name)) << name.toStdString();
    }
}

}  // namespace
