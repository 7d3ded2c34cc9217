#include "core/Database.h"
#include "core/Errors.h"
#include "core/Installation.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("VelmoDb.sqlite");
        QFile(path).open(QIODevice::WriteOnly);
        ASSERT_TRUE(db.open({path, {}}));
        db.execute("CREATE TABLE Counter (Name TEXT PRIMARY KEY, Value INTEGER)");
        db.execute("INSERT INTO Counter VALUES ('runs', 1)");
    }

    int runs()
    {
        QSqlQuery query(db.connection());
        query.exec("SELECT Value FROM Counter WHERE Name = 'runs'");
        return query.next() ? query.value(0).toInt() : -1;
    }

    QTemporaryDir dir;
    QString path;
    Database db;
};

TEST_F(DatabaseTest, RollbackUndoesTheWholeTransaction)
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
