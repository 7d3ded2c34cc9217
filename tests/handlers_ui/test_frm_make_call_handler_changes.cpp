// The call handler engine page: its list of controls against the real options page, and Go over
// the grid rows to the closing message and the offer to open the log.
#include "handlers/ui/frmMakeCallHandlerChanges.h"

#include "core/ui/ControlValues.h"
#include "handlers/HandlerEngine.h"
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The real options page and the engine page on it, the grid holding the first three non-primary
// handlers.
class HandlerEnginePage : public HandlerEngineScenario {
public:
    HandlerEnginePage()
    {
        EXPECT_TRUE(open());
        context.state.selectionGridRows = firstHandlers(3);
        context.state.runLog = std::move(log);
        engine = std::make_unique<frmMakeCallHandlerChanges>(context, page);
        engine->setLogOpener([this](const QString& file) { opened << file; return HelpFiles::Launch{}; });
    }

    // The run's own lines of the log (not the lines of each handler's changes).
    QStringList runLines() const
    {
        const QStringList files = QDir(programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files);
        return runLogLines(programFolder.filePath("logs/" + files.value(0)), "Starting call handler edits").filter(QRegularExpression(
            "^(Starting call handler edits|\\*\\* Updating handler \\*\\*|    Alias=|    ObjectID=|\\(error\\) No object)"));
    }
    // The run's lines of the first `count` rows: the heading of each.
    QStringList headings(int count) const
    {
        QStringList lines{"Starting call handler edits"};
        for (const SelectionGridRow& row : context.state.selectionGridRows.mid(0, count))
            lines << "** Updating handler **" << "    Alias=" + row.alias << "    ObjectID=" + row.objectID;
        return lines;
    }

    std::unique_ptr<frmMakeCallHandlerChanges> engine;
    QStringList opened;
};

TEST(HandlerEngine, EveryControlItListsIsInTheSnapshotOfTheRealPage)
{
    const QStringList names = handlerEngineControlList().names("frmSelectCallHandlerChanges");
    EXPECT_FALSE(names.isEmpty());
    const HandlerEnginePage run;
    for (const QString& name : names)
        EXPECT_NO_THROW(run.options.control(name)) << name.toStdString();
}

// Go, nothing chosen: a heading per checked row, a row not in the list of non-primary handlers
// (a primary handler's ID) counted as an error and not as found, then the summary and the offer.
TEST(HandlerEnginePageTest, ARunLogsEachCheckedRowAndEndsWithItsSummaryAndTheOffer)
{
    for (const bool primarySecond : {false, true}) {   // else an empty grid
        SCOPED_TRACE(primarySecond);
        HandlerEnginePage run;
        QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
        ASSERT_EQ(rows.size(), 3);
        if (primarySecond) {
            run.session.rsPrimaryCallHandlers.moveFirst();
            rows[1].objectID = run.session.rsPrimaryCallHandlers.value("CallHandlerObjectID").toString();
        } else {
            rows.clear();
        }
        QStringList expected = run.headings(3);
        if (primarySecond)
            expected.insert(7, "(error) No object returned from search for this object.  Skipping handler and moving on.");
        run.recorder.answerWith(primarySecond ? QMessageBox::Cancel : QMessageBox::Ok);
        click(*run.engine, "cmdGo");
        EXPECT_EQ(run.runLines(), expected);
        EXPECT_EQ(run.shown, (QStringList{QString("Done! %1 error(s) and 0 warning(s) encountered.\r\n").arg(int(primarySecond)),
                                          run.session.languages.mymyLoadString(100)}));
        EXPECT_EQ(run.opened.size(), primarySecond ? 0 : 1);
        EXPECT_EQ(findByName<QLabel>(*run.engine, "lblRecordNumber")->text(), primarySecond ? "2" : "");
        EXPECT_FALSE(findByName<QPushButton>(*run.engine, "cmdGo")->isEnabled());
        EXPECT_FALSE(findByName<QPushButton>(*run.engine, "cmdPrev")->isEnabled());
    }
}

TEST(HandlerEnginePageTest, ARunStopsWhenItsLogOrDatabaseFileFails)
{
    for (const RunFault fault : kRunFaults) {
        HandlerEnginePage run;
        expectRunStopped(run,
                         {*run.engine, "call handler", "handler", "   Setting max message length to:",
                          "SELECT CallHandlerObjectID FROM vw_CallHandler_NonPrimary WHERE MaxMsgLen = 14",
                          [&](const QString& wave) {
                              run.child<QLineEdit>("txtMessagesMaxMessageLength")->setText("13.5");
                              auto* source = run.child<QComboBox>("comGreetingSource_1");
                              source->setCurrentIndex(source->findData(454, ListRole::StringNumber));
                              run.child<QLineEdit>("txtGreetingSourcePath_1")->setText(wave);
                          }},
                         fault);
    }
}

// Exit while the log's header is written ends the program before any handler, silently. Exit
// when the first of three handlers is done lets it commit, or roll back whole when the database
// refuses its row; no later handler starts; the program ends with the log closed.
TEST(HandlerEnginePageTest, ExitDuringARunEndsItOnceTheCurrentHandlerIsOver)
{
    enum When { DuringHeader, Committed, Refused };
    for (const When when : {DuringHeader, Committed, Refused}) {
        SCOPED_TRACE(when);
        HandlerEnginePage run;
        const QString id = run.context.state.selectionGridRows[0].objectID;
        const QString scheduleOf = "SELECT ScheduleObjectName FROM vw_CallHandler WHERE CallHandlerObjectID = ?";
        const QString before = run.stored(scheduleOf, {id}).toString();
        auto* schedules = run.child<QComboBox>("cmbCallHandlerSchedule");
        schedules->setCurrentIndex(schedules->findText(before == "Weekdays" ? "All Hours" : "Weekdays"));
        ASSERT_GT(schedules->currentIndex(), 0);
        if (when == Refused)
            run.sql("CREATE TRIGGER Refuse BEFORE UPDATE ON CallHandler BEGIN SELECT RAISE(ABORT, 'refused'); END");
        const auto exit = [&] { QTimer::singleShot(0, run.engine.get(), [&] { click(*run.engine, "cmdExit"); }); };
        if (when == DuringHeader)
            exit();
        QObject::connect(findByName<QProgressBar>(*run.engine, "ProgressBar"), &QProgressBar::valueChanged, run.engine.get(),
                         [&](int done) { if (done == 1) exit(); });
        click(*run.engine, "cmdGo");

        EXPECT_EQ(run.endedWith, 0);
        EXPECT_EQ(run.shown.size(), when == Refused ? 1 : 0);   // message 121 of the rollback
        EXPECT_FALSE(run.context.state.runLog->isOpen());
        EXPECT_EQ(run.runLines(), when == DuringHeader ? QStringList{} : run.headings(1));
        EXPECT_EQ(run.stored(scheduleOf, {id}).toString(), when == Committed ? schedules->currentText() : before);
    }
}

}  // namespace
