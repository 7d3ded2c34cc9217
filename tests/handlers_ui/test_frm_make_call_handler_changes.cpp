// The call handler engine page: its list of controls against the real options page, and Go over
// the grid rows to the closing message and the offer to open the log.
#include "handlers/ui/frmMakeCallHandlerChanges.h"

#include "core/Recordset.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerEngine.h"
#include "tests/handlers_ui/HandlerOptionsPageFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The real options page and the engine page on it, the grid holding the first non-primary
// handlers.
class HandlerEnginePage : public HandlerOptionsPage {
public:
    HandlerEnginePage()
    {
        EXPECT_TRUE(open());
        Recordset& handlers = session.rsNonPrimaryCallHandlers;
        for (handlers.moveFirst(); !handlers.eof() && context.state.selectionGridRows.size() < 3; handlers.moveNext())
            context.state.selectionGridRows << SelectionGridRow{true, handlers.value("Alias").toString(),
                                                                handlers.value("CallHandlerObjectID").toString()};
        context.state.runLog = std::make_unique<RunLog>(programFolder.path(), messages.sink());
        engine = std::make_unique<frmMakeCallHandlerChanges>(context, page);
        engine->setLogOpener([this](const QString& file) {
            opened << file;
            return HelpFiles::Launch{};
        });
    }

    // The run's own lines of the log (not the lines of each handler's changes), CR LF split.
    QStringList runLines() const
    {
        const QStringList files = QDir(programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files);
        QFile file(programFolder.filePath("logs/" + files.value(0)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
        return lines.mid(lines.indexOf("Starting call handler edits")).filter(QRegularExpression(
            "^(Starting call handler edits|\\*\\* Updating handler \\*\\*|    Alias=|    ObjectID=|\\(error\\) No object)"));
    }

    QTemporaryDir programFolder;
    std::unique_ptr<frmMakeCallHandlerChanges> engine;
    QStringList opened;
};

TEST(HandlerEngine, EveryControlItListsIsInTheSnapshotOfTheRealPage)
{
    const QStringList names = handlerEngineControlList().names("frmSelectCallHandlerChanges");
    EXPECT_FALSE(names.isEmpty());
    HandlerEnginePage run;
    const OptionsSnapshot snapshot = run.page->snapshot();
    for (const QString& name : names)
        EXPECT_NO_THROW(snapshot.control(name)) << name.toStdString();
}

// Go, nothing chosen: a heading per checked row, a row not in the list of non-primary handlers
// (a primary handler's ID) counted as an error and not as found, then the summary and the offer.
TEST(HandlerEnginePageTest, ARunLogsEachCheckedRowAndEndsWithItsSummaryAndTheOffer)
{
    const QString notFound = "(error) No object returned from search for this object.  Skipping handler and moving on.";
    const struct {
        const char* what;
        bool emptyGrid;
        bool primarySecond;   // the second row holds a primary call handler's ID
        QMessageBox::StandardButton answer;
        QString summary;
        QString recordNumber;
    } cases[] = {
        {"empty grid", true, false, QMessageBox::Ok, "Done!  0 error(s) and  0 warning(s) encountered.\r\n", ""},
        {"primary handler", false, true, QMessageBox::Cancel, "Done!  1 error(s) and  0 warning(s) encountered.\r\n",
         " 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HandlerEnginePage run;
        QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
        ASSERT_EQ(rows.size(), 3);
        if (c.emptyGrid)
            rows.clear();
        if (c.primarySecond) {
            run.session.rsPrimaryCallHandlers.moveFirst();
            rows[1].objectID = run.session.rsPrimaryCallHandlers.value("CallHandlerObjectID").toString();
        }
        QStringList expected{"Starting call handler edits"};
        for (int row = 0; row < rows.size(); ++row) {
            expected << "** Updating handler **" << "    Alias=" + rows[row].alias << "    ObjectID=" + rows[row].objectID;
            if (c.primarySecond && row == 1)
                expected << notFound;
        }
        run.recorder.answerWith(c.answer);
        click(*run.engine, "cmdGo");
        EXPECT_EQ(run.runLines(), expected);
        EXPECT_EQ(run.shown, (QStringList{c.summary, run.session.languages.mymyLoadString(100)}));
        EXPECT_EQ(run.opened.size(), c.answer == QMessageBox::Ok ? 1 : 0);
        EXPECT_EQ(findByName<QLabel>(*run.engine, "lblRecordNumber")->text(), c.recordNumber);
        EXPECT_FALSE(findByName<QPushButton>(*run.engine, "cmdGo")->isEnabled());
        EXPECT_FALSE(findByName<QPushButton>(*run.engine, "cmdPrev")->isEnabled());
    }
}

// Exit pressed when the first of three handlers is done (at the message-loop turn after it):
// that handler is committed, or rolled back whole when the database refuses its row; no later
// handler starts; the program ends with the log closed.
// Exit while the log's header is written ends the program before any handler, silently; Exit
// during the first handler lets it commit (or roll back) whole.
TEST(HandlerEnginePageTest, ExitDuringARunEndsItOnceTheCurrentHandlerIsOver)
{
    enum When { DuringHeader, Committed, Refused };
    for (const When when : {DuringHeader, Committed, Refused}) {
        SCOPED_TRACE(when);
        HandlerEnginePage run;
        const QList<SelectionGridRow> rows = run.context.state.selectionGridRows;
        const QString scheduleOf = "SELECT ScheduleObjectName FROM vw_CallHandler WHERE CallHandlerObjectID = ?";
        const QString before = run.stored(scheduleOf, {rows[0].objectID}).toString();
        auto* schedules = run.child<QComboBox>("cmbCallHandlerSchedule");
        schedules->setCurrentIndex(schedules->findText(before == "Weekdays" ? "All Hours" : "Weekdays"));
        ASSERT_GT(schedules->currentIndex(), 0);
        if (when == Refused)
            run.sql("CREATE TRIGGER Refuse BEFORE UPDATE ON CallHandler BEGIN SELECT RAISE(ABORT, 'refused'); END");
        const auto exit = [&] { QTimer::singleShot(0, run.engine.get(), [&] { click(*run.engine, "cmdExit"); }); };
        if (when == DuringHeader)
            exit();
        QObject::connect(findByName<QProgressBar>(*run.engine, "ProgressBar"), &QProgressBar::valueChanged,
                         run.engine.get(), [&](int done) {
                             if (done == 1)
                                 exit();
                         });
        click(*run.engine, "cmdGo");

        EXPECT_EQ(run.endedWith, 0);
        EXPECT_EQ(run.shown.size(), when == Refused ? 1 : 0);   // message 121 of the rollback
        EXPECT_FALSE(run.context.state.runLog->isOpen());
        EXPECT_EQ(run.runLines(), when == DuringHeader ? QStringList{}
                                                       : (QStringList{"Starting call handler edits", "** Updating handler **",
                                                                      "    Alias=" + rows[0].alias,
                                                                      "    ObjectID=" + rows[0].objectID}));
        EXPECT_EQ(run.stored(scheduleOf, {rows[0].objectID}).toString(), when == Committed ? schedules->currentText() : before);
    }
}

}  // namespace
