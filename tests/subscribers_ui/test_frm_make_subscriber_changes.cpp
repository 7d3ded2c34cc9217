// The subscriber engine page: Go over the rows the selection page handed on, its notices, the
// offer to open the log, and Exit before and after a run.
#include "subscribers/ui/frmMakeSubscriberChanges.h"

#include "core/Database.h"
#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/ui/ControlValues.h"
#include "core/ui/WizardContext.h"
#include "subscribers/SubscriberEngine.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"
#include "tests/subscribers_ui/EngineScenario.h"
#include "tests/support/widgets/PageHarness.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
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
    explicit EnginePage(qint16 kind = 1)
    {
        context.state.iSelectedSubscriberType = kind;
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
    // The lines of the run's log, CR LF split.
    QStringList logLines() const
    {
        QFile file(programFolder.filePath("logs/" + logFiles().value(0)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll()).split("\r\n");
    }
    QStringList table(const QString& name) { return tableRows(database(), name); }

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

// Go over the real page's grid, nothing chosen: a block for each checked row, rows that cannot
// be found counted as errors but not as processed, the subscribers and handlers left as they were.
TEST(EnginePageTest, ARunLogsEachCheckedRowAndEndsWithItsSummaryAndTheOfferToOpenTheLog)
{
    const QString unknown = "(error) No object returned from search for this subscriber by ObjectID.  Skipping user and moving on.";
    const QString handlerless = "(error) No primary call handler found for this mail uers.  Skipping subscriber and moving on.";
    const struct {
        const char* what;
        QList<int> unchecked;
        QList<int> unknownRows;       // their ObjectID is no longer in the subscriber list
        QList<int> handlerlessRows;   // their subscriber's primary call handler is gone
        QString summary;
        QString recordNumber;
    } cases[] = {
        {"three checked, one not", {1}, {}, {}, "Done!  0 error(s) and  0 warning(s) encountered.\r\n\r\n", " 3"},
        {"not found", {}, {0}, {1}, "Done!  2 error(s) and  0 warning(s) encountered.\r\n\r\n", " 2"},
        {"unchecked, not found", {1}, {3}, {}, "Done!  1 error(s) and  0 warning(s) encountered.\r\n\r\n", " 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EnginePage run;
        QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
        ASSERT_EQ(rows.size(), 4);
        Recordset& subscribers = run.session.rsSubscribers;
        for (int row : c.handlerlessRows) {
            subscribers.moveFirst();
            ASSERT_TRUE(subscribers.find("SubscriberObjectID='" + rows[row].objectID + "'"));
            subscribers.setValue("CallHandlerObjectID", "NO-SUCH-HANDLER");
            subscribers.update();
        }
        for (int row : c.unchecked)
            rows[row].checked = false;
        for (int row : c.unknownRows)
            rows[row].objectID = "NO-SUCH-SUBSCRIBER";
        QList<QStringList> expectedBlocks;
        for (int row = 0; row < rows.size(); ++row) {
            if (!rows[row].checked)
                continue;
            const QString extension = run.session.database
                                          .select("SELECT DTMFAccessID FROM vw_Subscriber WHERE SubscriberObjectID = ?",
                                                  {rows[row].objectID})
                                          .rows.value(0).value(0).toString();
            expectedBlocks << QStringList{"** Updating subscriber **", "    Alias=" + rows[row].alias,
                                          "    ObjectID=" + rows[row].objectID,
                                          c.unknownRows.contains(row)       ? unknown
                                          : c.handlerlessRows.contains(row) ? handlerless
                                                                            : "    Extension=" + extension};
        }
        const QStringList subscribersBefore = run.table("Subscriber");
        const QStringList handlersBefore = run.table("CallHandler");

        click(*run.page, "cmdGo");

        EXPECT_EQ(run.shown, (QStringList{c.summary, run.string(100)}));
        EXPECT_EQ(run.recorder.requests.value(1).buttons, QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(findByName<QLabel>(*run.page, "lblRecordNumber")->text(), c.recordNumber);
        ASSERT_EQ(run.logFiles().size(), 1);
        EXPECT_EQ(run.opened, QStringList{run.programFolder.filePath("logs/" + run.logFiles()[0])});
        EXPECT_FALSE(run.context.state.runLog->isOpen());
        const QStringList lines = run.logLines();
        QList<QStringList> blocks;
        for (qsizetype line = lines.indexOf("** Updating subscriber **"); line >= 0;
             line = lines.indexOf("** Updating subscriber **", line + 1))
            blocks << lines.mid(line, 4);
        EXPECT_EQ(blocks, expectedBlocks);
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[lines.size() - 3], "");
        EXPECT_TRUE(lines[lines.size() - 2].startsWith("Changes complete at:")) << lines[lines.size() - 2].toStdString();
        EXPECT_EQ(run.table("Subscriber"), subscribersBefore);
        EXPECT_EQ(run.table("CallHandler"), handlersBefore);
        EXPECT_TRUE(run.table("DirectorySyncRequest").isEmpty());
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
        // Every processed subscriber is written through while the flag is set.
        QStringList requests;
        if (c.writeThrough)
            for (const SelectionGridRow& row : std::as_const(run.context.state.selectionGridRows))
                requests << row.objectID + "|1|1";
        EXPECT_EQ(run.table("DirectorySyncRequest"), requests);
    }
}

// Without its log a run does not start: one message names the file and the reason, nothing is
// changed, and Go can be pressed again once the cause is mended.
TEST(EnginePageTest, ARunWhoseLogCannotBeCreatedDoesNotStart)
{
    EnginePage run;
    const QDateTime start(QDate(2024, 5, 6), QTime(7, 8, 9));
    run.context.state.runLog = std::make_unique<RunLog>(run.programFolder.path(), run.messages.sink(), [=] { return start; });
    const QString blocked = QDir(run.programFolder.path()).filePath("logs/Kestrane_Log_240506_07_08_09.TXT");
    ASSERT_TRUE(QDir().mkpath(blocked));   // a folder in the log file's way
    const QStringList before = run.table("Subscriber") + run.table("CallHandler") + run.table("ContactRule");
    click(*run.page, "cmdGo");
    EXPECT_TRUE(run.session.database.isOpen());   // no run: Go stays available
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_TRUE(run.shown[0].startsWith("The run log could not be created, so nothing was changed.\r\n" + blocked + ": "))
        << run.shown[0].toStdString();
    EXPECT_EQ(run.table("Subscriber") + run.table("CallHandler") + run.table("ContactRule"), before);
    EXPECT_TRUE(run.enabled("cmdGo"));
    EXPECT_TRUE(run.enabled("cmdPrev"));
}

// A failure of the database itself in the second of three subscribers: the first is kept, the
// second rolled back, the third not touched, and the run ends with one message and a closed log.
TEST(EnginePageTest, ABrokenDatabaseEndsTheRun)
{
    EnginePage run;
    QList<SelectionGridRow>& rows = run.context.state.selectionGridRows;
    rows.resize(3);
    run.session.bDirectoryWriteThroughPending = true;
    run.session.database.registerProcedure(
        "sp_ModifySubscriber",
        [broken = rows[1].objectID](Database& db, ProcedureParameters& parameters) {
            if (parameters[0].value.toString() == broken)
                throw KestraneError(ErrorNumber::DatabaseError, "database disk image is malformed", true);
            db.execute("INSERT INTO DirectorySyncRequest VALUES (?, 1, 1)", {parameters[0].value});
        },
        {{"@SubscriberObjectID", {}}, {"@DirectorySync", {}}, {"@DirectorySyncFlags", {}}});
    run.recorder.answerWith(QMessageBox::Cancel);
    click(*run.page, "cmdGo");

    ASSERT_EQ(run.shown.size(), 2);
    EXPECT_TRUE(run.shown[0].startsWith("The run was stopped because the database failed:\r\ndatabase disk image is "
                                        "malformed\r\n\r\n1 subscriber(s) were changed before the failure and keep their "
                                        "changes; the subscriber under way was rolled back and 1 selected subscriber(s) "
                                        "were not touched."))
        << run.shown[0].toStdString();
    EXPECT_EQ(run.shown[1], run.string(100));
    EXPECT_EQ(run.table("DirectorySyncRequest"), QStringList{rows[0].objectID + "|1|1"});
    const QStringList lines = run.logLines();
    EXPECT_EQ(lines.filter("(error)"),
              QStringList{"(error):-2147467259 (database disk image is malformed) in procedure MakeChangesToSubscriber of "
                          "Form frmMakeSubscriberChanges.  None of this subscriber's changes were kept."});
    EXPECT_TRUE(lines.filter(rows[2].objectID).isEmpty());
    EXPECT_TRUE(lines.filter("Changes complete at:").isEmpty());
    EXPECT_TRUE(lines.value(lines.size() - 2).startsWith("Run stopped at:")) << lines.join('\n').toStdString();
}

TEST(EnginePageTest, ARunStopsWhenItsLogOrDatabaseFileFails)
{
    for (const RunFault fault : kRunFaults) {
        EnginePage run;
        expectRunStopped(run,
                         {*run.page, "subscriber", "subscriber", "   Billing ID set to:",
                          "SELECT SubscriberObjectID FROM Subscriber WHERE BillingID = '4321'",
                          [&](const QString& wave) {
                              findByName<QLineEdit>(*run.optionsPage, "txtAccountBillingID")->setText("4321");
                              auto* source = findByName<QComboBox>(*run.optionsPage, "comGreetingSource_1");
                              source->setCurrentIndex(source->findData(454, ListRole::StringNumber));
                              findByName<QLineEdit>(*run.optionsPage, "txtGreetingSourcePath_1")->setText(wave);
                              // Asks for the directory write-through.
                              auto* name = findByName<QComboBox>(*run.optionsPage, "comProfileForceDisplayName");
                              name->setCurrentIndex(name->findData(367, ListRole::StringNumber));
                          },
                          {run.string(336)}},
                         fault);
    }
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

// A billing ID typed on the Account tab reaches the run only for the kind that can open it.
TEST(EnginePageTest, GoReadsWhatTheKindCannotReachAsTheFirstFillLeftIt)
{
    for (const auto& [kind, changed] : {std::pair<qint16, bool>{1, true}, {7, false}}) {
        SCOPED_TRACE(kind);
        EnginePage run(kind);
        const QString id = run.context.state.selectionGridRows[1].objectID;
        const auto billingID = [&] {
            return run.database().select("SELECT BillingID FROM Subscriber WHERE SubscriberObjectID = ?", {id})
                .rows.value(0).value(0).toString();
        };
        const QString before = billingID();
        findByName<QLineEdit>(*run.optionsPage, "txtAccountBillingID")->setText("4321");
        click(*run.page, "cmdGo");
        EXPECT_EQ(billingID(), changed ? "4321" : before);
    }
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
        QStringList rows;
        for (const char* table : {"Subscriber", "CallHandler", "NotificationMWI", "MessagingRule", "MenuEntry"})
            rows << tableRows(run.session.database, table);
        return rows;
    };
    const QStringList before = dump();
    const QStringList lines = run.run(3);
    EXPECT_EQ(lines.filter("** Updating subscriber **").size(), 3);
    for (int subscriber = 0; subscriber < 3; ++subscriber)
        EXPECT_EQ(run.changesOf(subscriber).filter(" Messaging Rule"),
                  QStringList({"   Standard Messaging Rule", "   Off Hours Messaging Rule", "   Busy Messaging Rule",
                               "   Alternate Messaging Rule", "   Internal Messaging Rule", "   Error Messaging Rule"}));
    EXPECT_EQ(lines.filter("(error)"), QStringList{});
    EXPECT_EQ(run.log->LogErrorCount(), 0);
    EXPECT_EQ(run.log->LogWarningCount(), 0);
    EXPECT_EQ(dump(), before);
    // The one-key menu always names each key.
    QStringList menuEntries;
    for (const char* key : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"})
        menuEntries << QString("    Menu entry: ") + key;
    for (int subscriber = 0; subscriber < 3; ++subscriber)
        EXPECT_EQ(run.changesOf(subscriber).filter("    Menu entry: "), menuEntries);
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
