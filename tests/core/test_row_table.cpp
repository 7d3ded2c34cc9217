#include "core/RowTable.h"
#include "tests/support/Backends.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RowTableOnBothBackends : public ::testing::TestWithParam<Backend> {};

INSTANTIATE_TEST_SUITE_P(Backends, RowTableOnBothBackends, ::testing::Values(Backend::Embedded, Backend::Odbc), backendName);

// More rows than a column is sampled on, so that columns both look their values up and keep
// their texts as UTF-8; every cell reads back as the query's own rows give it.
TEST_P(RowTableOnBothBackends, CellsReadBackAsTheQueryGivesThem)
{
    if (!backendAvailable(GetParam()))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("VelmoDb.sqlite");
    {
        QFile(path).open(QIODevice::WriteOnly);
        Database setup;
        ASSERT_TRUE(setup.open({path, {}}));
        setup.execute("CREATE TABLE Cells (Few TEXT, Distinct_ TEXT, I INTEGER, F REAL, B BLOB, Mixed)");
        BulkInsert insert(setup, "Cells", {"Few", "Distinct_", "I", "F", "B", "Mixed"});
        const QVariantList few = {QString(""), QString("ä€"), QVariant(), QString("x")};
        const QVariantList reals = {-0.0, 0.0, 2.5, QVariant()};
        const QVariantList mixed = {7, QString("7"), 7.5, QByteArray("7"), QVariant()};
        for (int i = 0; i < 2500; ++i)
            insert.insert({few[i % few.size()], i % 7 == 0 ? QVariant() : QVariant(QString("id-é-%1").arg(i)), i % 3,
                           reals[i % reals.size()], QByteArray(1, char(i % 5)), mixed[i % mixed.size()]});
    }
    Database db;
    ASSERT_TRUE(db.open(databaseTarget(GetParam(), path))) << db.lastError().toStdString();
    const QString sql = "SELECT * FROM Cells ORDER BY rowid";
    const QueryResult expected = db.select(sql);
    RowTable rows;
    db.select(sql, {}, rows);

    ASSERT_EQ(rows.fields(), expected.fields);
    ASSERT_EQ(rows.rowCount(), expected.rows.size());
    for (int row = 0; row < rows.rowCount(); ++row)
        for (int column = 0; column < rows.fields().size(); ++column) {
            const QVariant actual = rows.value(row, column);
            const QVariant& given = expected.rows[row][column];
            ASSERT_EQ(actual.metaType(), given.metaType()) << row << "," << column;
            ASSERT_EQ(actual.isNull(), given.isNull()) << row << "," << column;
            ASSERT_EQ(actual.toString(), given.toString()) << row << "," << column;
        }
}

// Values that repeat in runs from row to row, of every type in one column, read back as the
// query gives them in results of one row, of a few rows and of more than a few.
TEST_P(RowTableOnBothBackends, RepeatedValuesReadBackInResultsOfEverySize)
{
    if (!backendAvailable(GetParam()))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("VelmoDb.sqlite");
    {
        QFile(path).open(QIODevice::WriteOnly);
        Database setup;
        ASSERT_TRUE(setup.open({path, {}}));
        setup.execute("CREATE TABLE Runs (Value, Text TEXT)");
        BulkInsert insert(setup, "Runs", {"Value", "Text"});
        const QVariantList values = {7, 7.0, QString("7"), QByteArray("7"), QVariant(), -0.0, 0.0, 0};
        for (int i = 0; i < 60; ++i)
            insert.insert({values[i / 3 % values.size()], QString("t%1").arg(i / 5)});
    }
    Database db;
    ASSERT_TRUE(db.open(databaseTarget(GetParam(), path))) << db.lastError().toStdString();
    for (const int rowCount : {1, 3, 8, 9, 16, 17, 60}) {
        const QString sql = "SELECT * FROM Runs WHERE rowid <= ? ORDER BY rowid";
        const QueryResult expected = db.select(sql, {rowCount});
        RowTable rows;
        db.select(sql, {rowCount}, rows);
        ASSERT_EQ(rows.rowCount(), rowCount);
        for (int row = 0; row < rowCount; ++row)
            for (int column = 0; column < 2; ++column) {
                const QVariant actual = rows.value(row, column);
                const QVariant& given = expected.rows[row][column];
                ASSERT_EQ(actual.metaType(), given.metaType()) << rowCount << ": " << row << "," << column;
                ASSERT_EQ(actual.isNull(), given.isNull()) << rowCount << ": " << row << "," << column;
                ASSERT_EQ(actual.toString(), given.toString()) << rowCount << ": " << row << "," << column;
            }
    }
}

}  // namespace
