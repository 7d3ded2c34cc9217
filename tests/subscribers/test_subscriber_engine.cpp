// The subscriber engine's run over the selection rows, without a window: what it logs, what it
// keeps in the database and in the directory lists, and how a failure is contained.
#include "subscribers/SubscriberEngine.h"

#include "core/Recordset.h"
#include "core/Session.h"
#include "tests/support/TempInstallation.h"
#include "velmo/ServerStandIns.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// What the test categories do to the subscriber they are given (function pointers cannot
// capture, so they find their instructions here).
struct CategoryScript {
    RunFrame* frame = nullptr;        // stop the run while changing this subscriber
    QString stopAt;
    int listInDirectory = -1;         // >= 0: set ListInDirectory on the subscriber row
    QString flagged;                  // when set, the one subscriber setListInDirectory changes
} script;

void setListInDirectory(SubscriberEdit& edit)
{
    if (!script.flagged.isEmpty() && edit.subscriber().value("SubscriberObjectID").toString() != script.flagged)
        return;
    edit.subscriber().setValue("ListInDirectory", script.listInDirectory);
    edit.requestDirectoryWriteThrough();
    edit.requestNotifierRestart();
    edit.writeLine("   ListInDirectory set to" + paddedNumber(script.listInDirectory));
}

void writeAMissingColumn(SubscriberEdit& edit)
{
    edit.handler().setValue("NoSuchColumn", 1);
    edit.writeLine("   NoSuchColumn set");   // not reached: the step ends at its failure
}

void stopTheRun(SubscriberEdit& edit)
{
    if (edit.alias == script.stopAt)
        script.frame->requestStop();
}

void readAnUnlistedControl(SubscriberEdit& edit)
{
    edit.options.control("cmdNext");
}

class SubscriberEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = {};
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        velmo::registerServerStandIns(session);
        ASSERT_TRUE(startSession(session));
        Recordset& subscribers = session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof() && rows.size() < 4; subscribers.moveNext())
            rows << SelectionGridRow{true, subscribers.value("Alias").toString(),
                                     subscribers.value("SubscriberObjectID").toString()};
        ASSERT_EQ(rows.size(), 4);
    }

    // Runs the engine with these categories; the log's lines, without the header.
    QStringList run(std::span<const SubscriberChangeCategory> categories = {})
    {
        SubscriberEngine engine(session, log, options, categories);
        RunFrame frame(session, log);
        frame.setStopHandler([&] { stopped = true; });
        script.frame = &frame;
        const QString path = log.startNewLog({});
        SubscriberEngine::Progress progress;
        progress.started = [&](int maximum) { progressMaximum = maximum; };
        progress.rowDone = [&](int value, qint32 processed) { progressSteps << QString("%1:%2").arg(value).arg(processed); };
        end = engine.run(rows, frame, progress);
        committed = frame.committedCount();
        processed = engine.processedCount();
        log.Close();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
        const qsizetype start = lines.indexOf("Starting subscriber edits");
        EXPECT_GE(start, 0);
        return lines.mid(start);
    }


    QVariant stored(const QString& objectID)
    {
        return session.database.select("SELECT ListInDirectory FROM Subscriber WHERE SubscriberObjectID = ?", {objectID})
            .rows.value(0).value(0);
    }

    QVariant listed(const QString& objectID)
    {
        session.rsSubscribers.moveFirst();
        return session.rsSubscribers.find("SubscriberObjectID='" + objectID + "'")
                   ? session.rsSubscribers.value("ListInDirectory") : QVariant("<not listed>");
    }

    QStringList syncRequests()
    {
        QStringList requested;
        for (const auto& row : session.database
                                   .select("SELECT SubscriberObjectID, DirectorySync, DirectorySyncFlags "
                                           "FROM DirectorySyncRequest ORDER BY rowid")
                                   .rows)
            requested << QString("%1 %2 %3").arg(row[0].toString(), row[1].toString(), row[2].toString());
        return requested;
    }

    QString extensionOf(const SelectionGridRow& row)
    {
        return session.database.select("SELECT DTMFAccessID FROM vw_Subscriber WHERE SubscriberObjectID = ?", {row.objectID})
            .rows.value(0).value(0).toString();
    }

    QStringList block(const SelectionGridRow& row)
    {
        return {"** Updating subscriber **", "    Alias=" + row.alias, "    ObjectID=" + row.objectID,
                "    Extension=" + extensionOf(row)};
    }

    // The log of a run without categories, up to the empty line before "Changes complete at:".
    QStringList frameOnlyLog()
    {
        QStringList expected{"Starting subscriber edits", ""};
        for (const SelectionGridRow& row : std::as_const(rows))
            if (row.checked)
                expected << block(row);
        return expected << "";
    }

    TempInstallation installation;
    Session session{installation.installation()};
    const OptionsSnapshot options{"frmSelectSubscriberChanges"};   // a page without controls
    QTemporaryDir programFolder;
    RunLog log{programFolder.path(), {}};
    QList<SelectionGridRow> rows;
    RunEnd end = RunEnd::Completed;
    int committed = -1;
    bool stopped = false;
    qint32 processed = -1;
    int progressMaximum = -1;
    QStringList progressSteps;
};

TEST_F(SubscriberEngineTest, TheFrameAloneLogsEachCheckedSubscriberAndChangesNothing)
{
    rows[2].checked = false;
    const QStringList subscribersBefore = tableRows(session.database, "Subscriber");
    const QStringList handlersBefore = tableRows(session.database, "CallHandler");

    const QStringList lines = run();

    const QStringList expected = frameOnlyLog();
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
    EXPECT_TRUE(QRegularExpression("^Changes complete at:\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(lines.value(expected.size())).hasMatch())
        << lines.value(expected.size()).toStdString();
    EXPECT_EQ(end, RunEnd::Completed);
    EXPECT_EQ(processed, 3);
    EXPECT_EQ(log.LogErrorCount(), 0);
    EXPECT_EQ(log.LogWarningCount(), 0);
    EXPECT_EQ(progressMaximum, 4);
    EXPECT_EQ(progressSteps, (QStringList{"1:1", "2:2", "3:2", "4:3"}));
    EXPECT_EQ(tableRows(session.database, "Subscriber"), subscribersBefore);
    EXPECT_EQ(tableRows(session.database, "CallHandler"), handlersBefore);
    EXPECT_TRUE(syncRequests().isEmpty());
}

TEST_F(SubscriberEngineTest, RowsThatCannotBeFoundAreCountedAndSkipped)
{
    rows[0].objectID = "NO-SUCH-O'SUBSCRIBER";   // a quote in the row cannot break the search
    // The second subscriber's primary call handler is gone.
    session.rsSubscribers.moveFirst();
    ASSERT_TRUE(session.rsSubscribers.find("SubscriberObjectID='" + rows[1].objectID + "'"));
    session.rsSubscribers.setValue("CallHandlerObjectID", "NO-SUCH-HANDLER");
    session.rsSubscribers.update();
    rows.resize(3);

    const QStringList lines = run();

    const QStringList expected{
        "Starting subscriber edits", "",
        "** Updating subscriber **", "    Alias=" + rows[0].alias, "    ObjectID=NO-SUCH-O'SUBSCRIBER",
        "(error) No object returned from search for this subscriber by ObjectID.  Skipping user and moving on.",
        "** Updating subscriber **", "    Alias=" + rows[1].alias, "    ObjectID=" + rows[1].objectID,
        "(error) No primary call handler found for this mail uers.  Skipping subscriber and moving on."};
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
    EXPECT_EQ(lines.mid(expected.size(), 4), block(rows[2]));
    EXPECT_EQ(log.LogErrorCount(), 2);
    EXPECT_EQ(processed, 1);
    EXPECT_EQ(progressSteps, (QStringList{"1:0", "2:0", "3:1"}));
}

TEST_F(SubscriberEngineTest, AFailureOfTheLoopIsLoggedAndTheRunPressesAhead)
{
    session.rsSubscribers.close();
    rows.resize(1);
    const QStringList lines = run();
    ASSERT_GE(lines.size(), 7);
    EXPECT_TRUE(lines[5].startsWith("(error) in cmdGo_Click routine.  Description=")) << lines[5].toStdString();
    EXPECT_TRUE(lines[5].endsWith(" Number= 3704")) << lines[5].toStdString();
    EXPECT_EQ(lines[6], "    Pressing ahead");
    EXPECT_TRUE(lines[8].startsWith("Changes complete at:"));
    EXPECT_EQ(log.LogErrorCount(), 1);
}

TEST_F(SubscriberEngineTest, EveryLaterSubscriberIsWrittenThroughOnceTheFlagIsSet)
{
    session.bDirectoryWriteThroughPending = true;
    rows[1].checked = false;
    const QStringList lines = run();
    EXPECT_EQ(syncRequests(), (QStringList{rows[0].objectID + " 1 1", rows[2].objectID + " 1 1", rows[3].objectID + " 1 1"}));
    // Nothing is logged for it.
    const QStringList expected = frameOnlyLog();
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
    EXPECT_TRUE(lines.value(expected.size()).startsWith("Changes complete at:"));
}

// The categories run in the order of the procedure's table; those not built yet stand in it
// without work.
TEST(SubscriberChangeCategoriesTest, FollowTheProceduresOrder)
{
    const QStringList order{"primary extension", "profile settings", "conversation style and timing",
                            "language, switch, time zone and schedule", "account and password",
                            "conversation and playback flags", "transfer rules", "enhanced alternate greeting",
                            "greetings", "caller input digits", "message waiting indicators", "message options",
                            "one-key menu entries", "after-message action", "after-greeting actions",
                            "notification devices, rules, triggers, schedule and exit action", "alternate extensions",
                            "message stack order", "location move", "features", "phone applications"};
    QStringList names;
    for (const SubscriberChangeCategory& category : subscriberChangeCategories()) {
        names << category.name;
        EXPECT_EQ(category.apply == nullptr, category.controls.empty()) << category.name;
    }
    EXPECT_EQ(names, order);
}

// A database failure in the middle of a subscriber: none of its changes are kept, in the
// database or in the directory list, and the run goes on.
TEST_F(SubscriberEngineTest, ADatabaseFailureRollsTheSubscriberBack)
{
    rows.resize(3);
    const QVariant before = stored(rows[1].objectID);
    script.listInDirectory = before.toInt() == 1 ? 0 : 1;
    session.database.execute("CREATE TRIGGER RefuseSecond BEFORE INSERT ON DirectorySyncRequest "
                             "WHEN NEW.SubscriberObjectID = '" + rows[1].objectID + "' "
                             "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    const SubscriberChangeCategory categories[] = {{"list in directory", setListInDirectory}};

    const QStringList lines = run(categories);

    const QStringList errors = lines.filter("(error)");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("(error):"));
    EXPECT_TRUE(errors[0].contains("refused by the test"));
    EXPECT_TRUE(errors[0].endsWith(") in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges"
                                   ".  None of this subscriber's changes were kept."));
    EXPECT_EQ(log.LogErrorCount(), 1);
    EXPECT_EQ(stored(rows[1].objectID), before);
    EXPECT_EQ(listed(rows[1].objectID), before);
    for (int row : {0, 2}) {
        EXPECT_EQ(stored(rows[row].objectID).toInt(), script.listInDirectory);
        EXPECT_EQ(listed(rows[row].objectID).toInt(), script.listInDirectory);
    }
    EXPECT_EQ(syncRequests(), (QStringList{rows[0].objectID + " 1 1", rows[2].objectID + " 1 1"}));
    EXPECT_TRUE(session.bDirectoryWriteThroughPending);   // run-wide: not taken back
    EXPECT_EQ(processed, 3);
}

// A run-wide request is made on behalf of kept changes: a subscriber rolled back (its row deleted
// under the run) takes back the requests it made, a kept one's stay for the rest of the run.
TEST_F(SubscriberEngineTest, RunWideRequestsOutliveOnlyTheSubscriberThatIsKept)
{
    rows.resize(3);
    script.flagged = rows[0].objectID;
    const SubscriberChangeCategory categories[] = {{"list in directory", setListInDirectory}};
    for (const bool kept : {true, false}) {
        session.database.execute("DELETE FROM DirectorySyncRequest");
        script.listInDirectory = stored(rows[0].objectID).toInt() == 1 ? 0 : 1;
        if (!kept)
            session.database.execute("DELETE FROM Subscriber WHERE SubscriberObjectID = ?", {rows[0].objectID});
        EXPECT_EQ(run(categories).filter("None of this subscriber's changes were kept.").size(), kept ? 0 : 1);
        const QStringList requests{rows[0].objectID + " 1 1", rows[1].objectID + " 1 1", rows[2].objectID + " 1 1"};
        EXPECT_EQ(syncRequests(), kept ? requests : QStringList());
        EXPECT_EQ(session.bDirectoryWriteThroughPending, kept);
        EXPECT_EQ(session.bNotifierRestartPending, kept);
        session.bDirectoryWriteThroughPending = session.bNotifierRestartPending = false;
    }
}

// Any other failure ends its step only: its change line is not written, later steps run and
// the subscriber keeps what they changed.
TEST_F(SubscriberEngineTest, AFailureOfAStepEndsOnlyThatStep)
{
    rows.resize(1);
    script.listInDirectory = stored(rows[0].objectID).toInt() == 1 ? 0 : 1;
    const SubscriberChangeCategory categories[] = {{"missing column", writeAMissingColumn},
                                                   {"list in directory", setListInDirectory}};
    const QStringList lines = run(categories);

    const qsizetype extension = lines.indexOf("    Extension=" + extensionOf(rows[0]));
    ASSERT_GE(extension, 0);
    EXPECT_TRUE(lines[extension + 1].startsWith("(error):3265 ("));
    EXPECT_TRUE(lines[extension + 1].endsWith(") in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges"));
    EXPECT_EQ(lines[extension + 2], "   ListInDirectory set to" + paddedNumber(script.listInDirectory));
    EXPECT_TRUE(lines.filter("NoSuchColumn set").isEmpty());
    EXPECT_EQ(stored(rows[0].objectID).toInt(), script.listInDirectory);
    EXPECT_EQ(syncRequests().size(), 1);
}

TEST_F(SubscriberEngineTest, ExitDuringARunKeepsTheSubscriberUnderWayAndStartsNoOther)
{
    script.stopAt = rows[1].alias;
    script.listInDirectory = 7;
    const SubscriberChangeCategory categories[] = {{"stop", stopTheRun}, {"list in directory", setListInDirectory}};
    const QStringList lines = run(categories);
    EXPECT_EQ(end, RunEnd::Stopped);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(lines.filter("** Updating subscriber **").size(), 2);
    EXPECT_TRUE(lines.filter("Changes complete at:").isEmpty());
    EXPECT_EQ(stored(rows[1].objectID).toInt(), 7);
    EXPECT_NE(stored(rows[2].objectID).toInt(), 7);
}

TEST_F(SubscriberEngineTest, ACategoryMayReadOnlyTheControlsTheEngineLists)
{
    rows.resize(1);
    const SubscriberChangeCategory categories[] = {{"unlisted read", readAnUnlistedControl}};
    EXPECT_THROW(run(categories), std::logic_error);
    EXPECT_FALSE(session.database.inTransaction());
}

}  // namespace
