#include "core/Database.h"
#include "core/Errors.h"
#include "core/Installation.h"
#include "core/LruCache.h"
#include "tests/support/Backends.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A database file with a counter and a parent/child pair whose foreign key is checked only at
// COMMIT, opened on one backend.
class DatabaseFile : public ::testing::Test {
protected:
    void open(Backend backend)
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("VelmoDb.sqlite");
        {
            QFile(path).open(QIODevice::WriteOnly);
            Database setup;
            ASSERT_TRUE(setup.open({path, {}}));
            for (const char* sql : {"CREATE TABLE Counter (Name TEXT PRIMARY KEY, Value INTEGER)",
                                    "INSERT INTO Counter VALUES ('runs', 1)",
                                    "CREATE TABLE Parent (Id TEXT PRIMARY KEY)",
                                    "CREATE TABLE Child (ParentId TEXT REFERENCES Parent (Id) DEFERRABLE INITIALLY DEFERRED)",
                                    "CREATE TABLE Kinds (T TEXT, I INTEGER, F REAL, B BLOB)"})
                setup.execute(QString::fromLatin1(sql));
        }
        ASSERT_TRUE(db.open(databaseTarget(backend, path))) << db.lastError().toStdString();
    }

    qlonglong scalar(const QString& sql) { return db.select(sql).rows.value(0).value(0).toLongLong(); }
    qlonglong runs() { return scalar("SELECT Value FROM Counter WHERE Name = 'runs'"); }

    QTemporaryDir dir;
    QString path;
    Database db;
};

class DatabaseTest : public DatabaseFile {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(open(Backend::Embedded)); }
};

class DatabaseOnBothBackends : public DatabaseFile, public ::testing::WithParamInterface<Backend> {
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP() << "SQLite ODBC driver not installed";
        ASSERT_NO_FATAL_FAILURE(open(GetParam()));
    }
};

INSTANTIATE_TEST_SUITE_P(Backends, DatabaseOnBothBackends, ::testing::Values(Backend::Embedded, Backend::Odbc), backendName);

TEST_P(DatabaseOnBothBackends, RollbackUndoesTheWholeTransaction)
{
    db.beginTransaction();
    db.execute("UPDATE Counter SET Value = Value + 1");
    EXPECT_THROW(db.execute("UPDATE NoSuchTable SET x = 1"), KestraneError);
    db.rollback();
    EXPECT_EQ(runs(), 1);

    db.beginTransaction();
    db.execute("UPDATE Counter SET Value = ?", {5});
    db.commit();
    EXPECT_EQ(runs(), 5);
}

// A COMMIT the database refuses leaves nothing of the transaction and no transaction open, so
// the next object of a run gets a transaction of its own.
TEST_P(DatabaseOnBothBackends, RefusedCommitClosesTheTransaction)
{
    db.execute("PRAGMA foreign_keys = ON");   // the ODBC driver's connection starts without them
    const auto writeOrphan = [&] {
        db.execute("UPDATE Counter SET Value = 99");
        db.execute("INSERT INTO Child VALUES ('no such parent')");
    };
    EXPECT_THROW(db.runInTransaction(writeOrphan), KestraneError);
    EXPECT_FALSE(db.inTransaction());

    db.beginTransaction();
    writeOrphan();
    EXPECT_THROW(db.commit(), KestraneError);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(runs(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Child"), 0);

    db.runInTransaction([&] {
        db.execute("INSERT INTO Parent VALUES ('p')");
        db.execute("INSERT INTO Child VALUES ('p')");
        db.execute("UPDATE Counter SET Value = 2");
    });
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(runs(), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Child"), 1);
}

// Statements are kept by their text: the same text runs again with other values, a failed run
// leaves nothing broken behind, and a kept query sees the table as it is now.
TEST_P(DatabaseOnBothBackends, KeptStatementsRunAgainWithTheirNewValues)
{
    const QString insert = "INSERT INTO Counter VALUES (?, ?)";
    const QString read = "SELECT Value FROM Counter WHERE Name = ?";
    for (int i = 0; i < 3; ++i)
        db.execute(insert, {QString("k%1").arg(i), i * 10});
    EXPECT_THROW(db.execute(insert, {"k1", 0}), KestraneError);   // the key is taken
    db.execute(insert, {"k9", 90});
    for (const auto& [name, value] : {std::pair{"k0", 0}, {"k2", 20}, {"k9", 90}, {"runs", 1}})
        EXPECT_EQ(db.select(read, {name}).rows.value(0).value(0).toInt(), value) << name;
    EXPECT_TRUE(db.select(read, {"k1'"}).rows.isEmpty());

    EXPECT_EQ(db.select("SELECT * FROM Counter").fields.size(), 2);
    db.execute("ALTER TABLE Counter ADD COLUMN Note TEXT");
    EXPECT_EQ(db.select("SELECT * FROM Counter").fields.size(), 3);
}

// Every statement sent counts, a failed one and the transaction's own too, until the reset.
TEST_P(DatabaseOnBothBackends, CountsTheStatementsItSends)
{
    db.resetStatementCount();
    db.beginTransaction();
    db.execute("UPDATE Counter SET Value = Value + 1");
    EXPECT_THROW(db.execute("INSERT INTO Counter VALUES ('runs', 0)"), KestraneError);
    db.select("SELECT Value FROM Counter");
    db.commit();
    EXPECT_EQ(db.statementCount(), 5);
    db.resetStatementCount();
    EXPECT_EQ(db.statementCount(), 0);
}

TEST_P(DatabaseOnBothBackends, BulkInsertNeedsTheEmbeddedDatabase)
{
    if (GetParam() == Backend::Odbc) {
        EXPECT_THROW(BulkInsert(db, "Kinds", {"T"}), KestraneError);
        return;
    }
    // Each value and what is stored for it (null: NULL). Two texts of the same length in
    // different buffers, one of them bound twice.
    const QString first = "same", second = "diff";
    const QByteArray bytes("\0x", 2);
    const std::vector<std::vector<std::pair<QVariant, QVariant>>> rows = {
        {{first, first}, {7, 7}, {2.5, 2.5}, {bytes, bytes}},
        {{first, first}, {QVariant(), {}}, {QVariant(), {}}, {QByteArray(), {}}},
        {{second, second}, {qlonglong(1) << 40, qlonglong(1) << 40}, {QVariant(), {}}, {QByteArray("b"), QByteArray("b")}},
        {{QString(), {}}, {true, 1}, {-1.0, -1.0}, {QString("x'y"), QString("x'y")}},
    };
    {
        BulkInsert insert(db, "Kinds", {"T", "I", "F", "B"});
        for (const auto& row : rows) {
            std::vector<QVariant> values;
            for (const auto& [value, stored] : row)
                values.push_back(value);
            insert.insert(values);
        }
    }
    const QueryResult stored = db.select("SELECT T, I, F, B FROM Kinds ORDER BY rowid");
    ASSERT_EQ(stored.rows.size(), qsizetype(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 4; ++c) {
            const QVariant& expected = rows[r][c].second;
            const QVariant& actual = stored.rows[r][c];
            EXPECT_EQ(actual.isNull(), expected.isNull()) << r << "," << c;
            if (!expected.isNull()) {
                EXPECT_EQ(actual.toString(), expected.toString()) << r << "," << c;
            }
        }

    BulkInsert counters(db, "Counter", {"Name", "Value"});
    EXPECT_THROW(counters.insert({QString("runs"), 2}), KestraneError);   // the key is taken
    counters.insert({QString("more"), 3});
    EXPECT_EQ(scalar("SELECT Value FROM Counter WHERE Name = 'more'"), 3);
    EXPECT_THROW(BulkInsert(db, "NoSuchTable", {"x"}), KestraneError);
}

TEST_F(DatabaseTest, EmbeddedDatabaseRunsInWalAndWaitsForOtherWriters)
{
    const std::pair<const char*, const char*> pragmas[] = {
        {"journal_mode", "wal"}, {"synchronous", "1"}, {"busy_timeout", "5000"}, {"foreign_keys", "1"}};
    for (const auto& [pragma, expected] : pragmas)
        EXPECT_EQ(db.select(QString("PRAGMA %1").arg(pragma)).rows.value(0).value(0).toString(), expected) << pragma;
}

// Which failures mark the database as broken: those of the file, not those of one statement.
TEST(BrokenDatabase, ADamagedFileIsToldApartFromAFailedStatement)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.sqlite");
    {
        QFile(path).open(QIODevice::WriteOnly);
        Database setup;
        ASSERT_TRUE(setup.open({path, {}}));
        setup.execute("PRAGMA journal_mode = DELETE");
        setup.execute("CREATE TABLE Filler (Id INTEGER PRIMARY KEY, Text TEXT NOT NULL)");
        setup.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                      "INSERT INTO Filler (Text) SELECT printf('%100d', i) FROM n");
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(3 * 4096));
    file.write(QByteArray(8 * 4096, '\xA5'));   // pages of the table's tree overwritten
    file.close();

    Database db;
    ASSERT_TRUE(db.open({path, {}}));
    for (const auto& [statement, broken] : {std::pair{"UPDATE Filler SET Text = 'y'", true},
                                            {"INSERT INTO Filler (Id, Text) VALUES (1, NULL)", false},
                                            {"UPDATE NoSuchTable SET x = 1", false}}) {
        try {
            db.execute(statement);
            ADD_FAILURE() << statement << " ran";
        } catch (const KestraneError& failure) {
            EXPECT_EQ(failure.databaseBroken(), broken) << statement << ": " << failure.description().toStdString();
        }
    }
    // A full disk (its stand-in: a file that may not grow) breaks it too, and names the file
    // whose disk needs room.
    const QString fullPath = dir.filePath("full.sqlite");
    QFile(fullPath).open(QIODevice::WriteOnly);
    Database full;
    ASSERT_TRUE(full.open({fullPath, {}}));
    try {
        full.execute("PRAGMA max_page_count = 1");
        full.execute("CREATE TABLE Filler (Text TEXT)");
        ADD_FAILURE() << "the file grew";
    } catch (const KestraneError& failure) {
        EXPECT_TRUE(failure.databaseBroken());
        EXPECT_TRUE(failure.description().endsWith("database or disk is full (database file " + fullPath + ")"))
            << failure.description().toStdString();
    }
}

TEST(StatementCache, ForgetsTheLeastRecentlyUsedFirst)
{
    LruCache<QString, int> cache(2);
    cache.put("a", 1);
    cache.put("b", 2);
    cache.put("a", *cache.take("a"));   // a is used: b is now the oldest
    cache.put("c", 3);
    EXPECT_TRUE(cache.contains("a"));
    EXPECT_FALSE(cache.contains("b"));
    EXPECT_TRUE(cache.contains("c"));
    EXPECT_EQ(cache.size(), 2);
    // A value is handed to one user at a time.
    EXPECT_EQ(cache.take("c"), 3);
    EXPECT_FALSE(cache.take("c").has_value());
    cache.put("a", 10);   // replaces the kept one
    EXPECT_EQ(cache.size(), 1);
    EXPECT_EQ(cache.take("a"), 10);
}

TEST(ReadOnlyQuery, SecondStatementsOutsideLiteralsAndComments)
{
    const std::pair<const char*, bool> statements[] = {
        {"WHERE 1=1;  \r\n ", false}, {"WHERE 1=1 ;INSERT INTO t VALUES (1)", true},
        {"WHERE Alias = 'it''s; here'", false}, {"WHERE Alias = 'it''s'; DELETE", true},
        {"WHERE [a;b] = \"c;d\"", false}, {"-- a; b\nWHERE 1=1 /* ; */", false},
    };
    for (const auto& [sql, expected] : statements)
        EXPECT_EQ(holdsSecondStatement(sql), expected) << sql;
}

TEST_F(DatabaseTest, StoredProceduresRunTheirStandInsOnTheEmbeddedDatabase)
{
    db.registerProcedure("sp_AddRuns", [](Database& database, ProcedureParameters& parameters) {
        database.execute("UPDATE Counter SET Value = Value + ?", {parameters[0].value});
        parameters[1].value = QStringLiteral("added");
    });
    ProcedureParameters parameters{{"@count", 3}, {"@result", {}, true}};
    db.callProcedure("SP_ADDRUNS", parameters);   // names ignore letter case
    EXPECT_EQ(runs(), 4);
    EXPECT_EQ(parameters[1].value.toString(), "added");

    ProcedureParameters none;
    try {
        db.callProcedure("sp_Missing", none);
        FAIL() << "an unknown procedure ran";
    } catch (const KestraneError& error) {
        EXPECT_TRUE(error.description().contains("sp_Missing"));
    }
}

TEST(Installation, ConnectionStringNamesTheEmbeddedDatabase)
{
    qunsetenv("KESTRANE_ODBC");
    const Installation installation = Installation::at("/srv/velmo");
    const DatabaseTarget target =
        resolveConnectionString("Driver={SQL Server};server=;database=VelmoDb", installation);
    EXPECT_EQ(target.embeddedPath, "/srv/velmo/VelmoDb.sqlite");
    EXPECT_TRUE(target.odbcConnectionString.isEmpty());
    EXPECT_EQ(resolveConnectionString("DATABASE = Other ;server=x", installation).embeddedPath,
              "/srv/velmo/Other.sqlite");

    qputenv("KESTRANE_ODBC", "DSN=velmo");
    EXPECT_EQ(resolveConnectionString("database=VelmoDb", installation).odbcConnectionString, "DSN=velmo");
    qunsetenv("KESTRANE_ODBC");

    Database missing;
    EXPECT_FALSE(missing.open({"/nonexistent/VelmoDb.sqlite", {}}));
    EXPECT_FALSE(missing.lastError().isEmpty());
}

}  // namespace
