#include "core/Errors.h"
#include "core/Session.h"
#include "search/FreeQuery.h"
#include "tests/support/Backends.h"
#include "tests/support/TempInstallation.h"

#include <gtest/gtest.h>

namespace {

class FreeQuery : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        ASSERT_TRUE(startSession(session));
    }
    static qlonglong scalar(Database& db, const QString& sql) { return db.select(sql).rows[0][0].toLongLong(); }
    // What a write could change: the rows of a table and the objects of the schema.
    static QString footprint(Database& db)
    {
        return db.select("SELECT (SELECT COUNT(*) FROM Subscriber) || '/' || (SELECT COUNT(*) FROM sqlite_master)")
            .rows[0][0].toString();
    }

    TempInstallation installation;
    Session session{installation.installation()};
};

}  // namespace

TEST(FreeQueryChecks, RefusalsInTheirOrder)
{
    const std::pair<const char*, int> refusals[] = {
        {"  ", 385}, {"   ", 0}, {"WHERE lastupdated > 0", 386}, {"WHERE Alias = 'drop'", 389},
        {"where a='drop' and IsDeleted=1", 387}, {"WHERE Alias LIKE 'execute%'", 388}, {"WHERE Alias LIKE 'exec%'", 0},
    };
    for (const auto& [tail, expected] : refusals)
        EXPECT_EQ(freeQueryRefusal(tail), expected) << tail;
}

TEST_F(FreeQuery, RunsTheTailAfterTheFixedHead)
{
    Database& db = session.database;
    const QueryResult all = runFreeQuery(session, FreeQueryKind::Subscribers, "   ");
    EXPECT_EQ(all.rows.size(), scalar(db, "SELECT COUNT(*) FROM vw_Subscriber"));
    const QString alias = all.rows[3][all.fields.indexOf("Alias")].toString();
    EXPECT_EQ(runFreeQuery(session, FreeQueryKind::Subscribers, "WHERE Alias IN ('a;b', '" + alias + "');").rows.size(), 1);
    EXPECT_THROW(runFreeQuery(session, FreeQueryKind::Handlers, "WHERE NoSuchColumn = 1"), KestraneError);
}

// Whatever is typed, the database stays as it was and the refusal is reported; the session's
// connection stays able to write for the engines.
TEST_F(FreeQuery, NothingTypedChangesTheEmbeddedDatabase)
{
    Database& db = session.database;
    const QString before = footprint(db);
    for (const char* tail : {"WHERE 1=0; INSERT INTO Subscriber (Alias) VALUES ('x')", "WHERE 1=0;CREATE TABLE Evil (x)",
                             "WHERE 1=0; ALTER TABLE Subscriber ADD COLUMN Evil TEXT", "; PRAGMA query_only = OFF",
                             "WHERE 1=0 INSERT INTO Subscriber (Alias) VALUES ('x')"}) {
        EXPECT_THROW(runFreeQuery(session, FreeQueryKind::Subscribers, tail), KestraneError) << tail;
        EXPECT_EQ(footprint(db), before) << tail;
        EXPECT_FALSE(db.inTransaction());
    }
    // The read-only run itself, below the check for a second statement.
    for (const char* statement : {"INSERT INTO Subscriber (Alias) VALUES ('x')", "CREATE TABLE Evil (x)", "DELETE FROM Subscriber"}) {
        EXPECT_THROW(db.selectReadOnly(statement), KestraneError) << statement;
        EXPECT_EQ(footprint(db), before) << statement;
    }
    db.execute("UPDATE Subscriber SET FirstName = 'Writable' WHERE Alias = (SELECT MIN(Alias) FROM Subscriber)");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Subscriber WHERE FirstName = 'Writable'"), 1);
}

TEST_F(FreeQuery, NothingTypedChangesTheDatabaseOverOdbc)
{
    if (!backendAvailable(Backend::Odbc))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    Database db;
    ASSERT_TRUE(db.open(databaseTarget(Backend::Odbc, installation.installation().databaseFile())));
    const qlonglong subscribers = scalar(db, "SELECT COUNT(*) FROM Subscriber");
    EXPECT_EQ(db.selectReadOnly("SELECT vw_Subscriber.* FROM vw_Subscriber WHERE 1=1").rows.size(), subscribers);
    for (const char* statement : {"INSERT INTO Subscriber (Alias) VALUES ('x')", "SELECT 1; INSERT INTO Subscriber (Alias) VALUES ('x')"}) {
        EXPECT_THROW(db.selectReadOnly(statement), KestraneError) << statement;
        EXPECT_FALSE(db.inTransaction());
        EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Subscriber"), subscribers) << statement;
    }
}

TEST_F(FreeQuery, ImportPositionsTheDirectoryListsOnEachObjectFound)
{
    const QueryResult all = runFreeQuery(session, FreeQueryKind::Subscribers, "ORDER BY Alias");
    const int idColumn = all.fields.indexOf("SubscriberObjectID");
    QStringList added;
    importFreeQueryRows(all, FreeQueryKind::Subscribers, session, [&] {
        EXPECT_EQ(session.rsPrimaryCallHandlers.value("CallHandlerObjectID"), session.rsSubscribers.value("CallHandlerObjectID"));
        added << session.rsSubscribers.value("SubscriberObjectID").toString();
    });
    ASSERT_EQ(added.size(), all.rows.size());   // every demo subscriber has its primary handler
    EXPECT_EQ(added.last(), all.rows.last()[idColumn].toString());

    // Unknown IDs (a quote in one too) and a null handler are skipped; a repeat is offered again.
    QueryResult mixed{{"subscriberobjectid", "CALLHANDLEROBJECTID"}, {}};
    const QVariant id = all.rows[0][idColumn];
    mixed.rows = {{"NO-SUCH-ID", "x"}, {"O'Brien", "x"}, {id, QVariant()}, {id, "x"}, {id, "x"}};
    int calls = 0;
    importFreeQueryRows(mixed, FreeQueryKind::Subscribers, session, [&] { ++calls; });
    EXPECT_EQ(calls, 2);
    EXPECT_THROW(importFreeQueryRows({{"Alias", "CallHandlerObjectID"}, {{"a", "b"}}}, FreeQueryKind::Subscribers, session, [] {}),
                 KestraneError);

    // Call handlers come from the non-primary list only.
    calls = 0;
    importFreeQueryRows(runFreeQuery(session, FreeQueryKind::Handlers, "   "), FreeQueryKind::Handlers, session, [&] {
        EXPECT_EQ(session.rsNonPrimaryCallHandlers.value("IsPrimary").toInt(), 0);
        ++calls;
    });
    EXPECT_EQ(calls, session.rsNonPrimaryCallHandlers.recordCount());
}
