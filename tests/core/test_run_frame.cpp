// The run frame on a session's directory lists: each object kept whole or not at all, and Exit
// waiting for the object under way.
#include "core/RunFrame.h"
#include "core/RunLog.h"
#include "core/Session.h"
#include "tests/support/TempInstallation.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class RunFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        ASSERT_TRUE(startSession(session));
        Recordset& subscribers = session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof() && ids.size() < 3; subscribers.moveNext()) {
            ids << subscribers.value("SubscriberObjectID").toString();
            firstNames << subscribers.value("FirstName").toString();
        }
        ASSERT_EQ(ids.size(), 3);
        log.startNewLog({});
    }

    // The object's work of a typical category: a directory-list row written back, then the
    // directory write-through.
    void renameAndSync(int object, const QString& firstName)
    {
        Recordset& subscribers = session.rsSubscribers;
        subscribers.moveFirst();
        ASSERT_TRUE(subscribers.find("SubscriberObjectID='" + ids[object] + "'"));
        subscribers.setValue("FirstName", firstName);
        subscribers.update();
        ProcedureParameters parameters{{"@SubscriberObjectID", ids[object]}, {"@DirectorySync", 1},
                                       {"@DirectorySyncFlags", 1}};
        session.database.callProcedure("sp_ModifySubscriber", parameters);
    }

    QString storedFirstName(int object)
    {
        return session.database.select("SELECT FirstName FROM Subscriber WHERE SubscriberObjectID = ?", {ids[object]})
            .rows.value(0).value(0).toString();
    }

    QString listedFirstName(int object)
    {
        session.rsSubscribers.moveFirst();
        return session.rsSubscribers.find("SubscriberObjectID='" + ids[object] + "'")
                   ? session.rsSubscribers.value("FirstName").toString() : QString("<not listed>");
    }

    QStringList syncRequests()
    {
        QStringList requested;
        for (const auto& row : session.database.select("SELECT SubscriberObjectID FROM DirectorySyncRequest ORDER BY rowid").rows)
            requested << row.value(0).toString();
        return requested;
    }

    TempInstallation installation;
    Session session{installation.installation()};
    QTemporaryDir programFolder;
    RunLog log{programFolder.path(), {}};
    QStringList ids;
    QStringList firstNames;
    QStringList events;   // what the frame ran, in order
};

TEST_F(RunFrameTest, FailedObjectIsRolledBackAndTheRunGoesOn)
{
    RunFrame frame(session, log);
    QVector<ObjectOutcome> outcomes;

    const RunEnd end = frame.forEachRow(3, [&](int object) {
        outcomes << frame.applyObject(ids[object],
            [&](ObjectActions& actions) {
                actions.onCommit([&, object] { events << QString("commit %1").arg(object); });
                actions.onRollback([&, object] { events << QString("rollback %1").arg(object); });
                renameAndSync(object, QString("Changed %1").arg(object));
                log.WriteLogLine("   First name set");   // a change line written before the failure stays
                if (object == 1)
                    session.database.execute("UPDATE NoSuchTable SET Value = 1");
            },
            [&](const KestraneError& failure) {
                events << (isDatabaseFailure(failure) ? "database failure reported" : "other failure reported");
                log.WriteLogLine("(error) none of this object's changes were kept: " + failure.description());
            });
    });

    EXPECT_EQ(end, RunEnd::Completed);
    EXPECT_EQ(frame.committedCount(), 2);
    EXPECT_EQ(outcomes, (QVector<ObjectOutcome>{ObjectOutcome::Committed, ObjectOutcome::RolledBack, ObjectOutcome::Committed}));
    EXPECT_EQ(events, (QStringList{"commit 0", "rollback 1", "database failure reported", "commit 2"}));
    EXPECT_EQ(log.LogErrorCount(), 1);
    EXPECT_FALSE(session.database.inTransaction());
    for (int object : {0, 2}) {
        EXPECT_EQ(storedFirstName(object), QString("Changed %1").arg(object));
        EXPECT_EQ(listedFirstName(object), QString("Changed %1").arg(object));
    }
    EXPECT_EQ(storedFirstName(1), firstNames[1]);
    EXPECT_EQ(listedFirstName(1), firstNames[1]);
    EXPECT_EQ(syncRequests(), (QStringList{ids[0], ids[2]}));
}

TEST_F(RunFrameTest, OtherExceptionsRollBackAndAreRethrown)
{
    RunFrame frame(session, log);
    EXPECT_THROW(frame.applyObject(ids[0],
                     [&](ObjectActions& actions) {
                         actions.onRollback([&] { events << "first registered"; });
                         actions.onRollback([&] { events << "last registered"; });
                         actions.onCommit([&] { events << "commit"; });
                         renameAndSync(0, "Changed");
                         throw std::runtime_error("programming error");
                     },
                     [&](const KestraneError&) { events << "reported"; }),
                 std::runtime_error);
    EXPECT_EQ(events, (QStringList{"last registered", "first registered"}));
    EXPECT_EQ(storedFirstName(0), firstNames[0]);
    EXPECT_EQ(listedFirstName(0), firstNames[0]);
    EXPECT_TRUE(syncRequests().isEmpty());
    EXPECT_FALSE(session.database.inTransaction());
}

// Exit pressed at some moment of a three-row run: which objects were kept, and when the stop
// handler ran.
TEST_F(RunFrameTest, ExitWaitsForTheObjectUnderWay)
{
    enum class When { InsideObjectWork, BeforeObjectInRowStep };
    struct Case {
        When when;
        int row;
        QStringList expectedEvents;
    };
    const Case cases[] = {
        {When::InsideObjectWork, 0, {"row 0", "work 0", "stop asked", "commit 0", "end of row 0", "stopped"}},
        {When::BeforeObjectInRowStep, 1,
         {"row 0", "work 0", "commit 0", "end of row 0", "row 1", "stop asked", "end of row 1", "stopped"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        events.clear();
        RunFrame frame(session, log);
        frame.setStopHandler([&] { events << "stopped"; });
        const RunEnd end = frame.forEachRow(3, [&](int row) {
            events << QString("row %1").arg(row);
            const auto askToStop = [&] {
                frame.requestStop();
                events << "stop asked";
            };
            if (c.when == When::BeforeObjectInRowStep && row == c.row)
                askToStop();
            frame.applyObject(ids[row],
                [&](ObjectActions& actions) {
                    events << QString("work %1").arg(row);
                    actions.onCommit([&, row] { events << QString("commit %1").arg(row); });
                    if (c.when == When::InsideObjectWork && row == c.row)
                        askToStop();
                },
                [&](const KestraneError&) { events << "reported"; });
            events << QString("end of row %1").arg(row);
        });
        EXPECT_EQ(end, RunEnd::Stopped);
        EXPECT_EQ(events, c.expectedEvents);
    }
}

TEST_F(RunFrameTest, ExitWhileIdleStopsAtOnceAndNoObjectStarts)
{
    RunFrame frame(session, log);
    int stops = 0;
    frame.setStopHandler([&] { ++stops; });
    frame.requestStop();
    EXPECT_EQ(stops, 1);
    bool worked = false;
    EXPECT_EQ(frame.applyObject(ids[0], [&](ObjectActions&) { worked = true; }, {}), ObjectOutcome::NotStarted);
    EXPECT_EQ(frame.forEachRow(3, [&](int) { worked = true; }), RunEnd::Stopped);
    frame.requestStop();
    EXPECT_FALSE(worked);
    EXPECT_EQ(stops, 1);
}

// Which failures end an object's transaction: those of the database, not those of the row.
TEST_F(RunFrameTest, DatabaseFailuresAreToldApart)
{
    const auto failureOf = [](const std::function<void()>& action) -> KestraneError {
        try {
            action();
        } catch (const KestraneError& error) {
            return error;
        }
        return KestraneError(0, "no failure");
    };
    Recordset& subscribers = session.rsSubscribers;
    const struct {
        const char* what;
        std::function<void()> action;
        bool databaseFailure;
    } cases[] = {
        {"statement", [&] { session.database.execute("UPDATE NoSuchTable SET Value = 1"); }, true},
        {"missing procedure", [&] { ProcedureParameters none; session.database.callProcedure("sp_Missing", none); }, true},
        {"row changed underneath",
         [&] {
             subscribers.moveFirst();
             session.database.execute("UPDATE Subscriber SET FirstName = 'Elsewhere' WHERE SubscriberObjectID = ?", {ids[0]});
             subscribers.setValue("FirstName", "Here");
             subscribers.update();
         },
         true},
        {"field the row lacks", [&] { subscribers.moveFirst(); subscribers.value("NoSuchColumn"); }, false},
        {"no current row", [&] { subscribers.moveLast(); subscribers.moveNext(); subscribers.value("Alias"); }, false},
    };
    for (const auto& c : cases) {
        const KestraneError failure = failureOf(c.action);
        EXPECT_NE(failure.number(), 0) << c.what;
        EXPECT_EQ(isDatabaseFailure(failure), c.databaseFailure) << c.what;
    }
}

}  // namespace
