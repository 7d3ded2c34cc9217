#include "core/Criterion.h"
#include "core/Database.h"
#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "tests/support/Backends.h"
#include "tests/support/TempInstallation.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

[[nodiscard]] ::testing::AssertionResult refusedAsChangedUnderneath(const std::function<void()>& write)
{
    try {
        write();
    } catch (const KestraneError& error) {
        if (error.number() == ErrorNumber::RowChangedUnderneath)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "refused with " << error.number() << ": " << error.description().toStdString();
    }
    return ::testing::AssertionFailure() << "the write went through";
}

// A small database with a base table and a view that writes through to it, like the server's,
// opened on one backend.
class RecordsetTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP() << "SQLite ODBC driver not installed";
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("test.sqlite");
        {
            Database setup;
            QFile(path).open(QIODevice::WriteOnly);
            ASSERT_TRUE(setup.open({path, {}}));
            for (const char* sql : {
                     "CREATE TABLE Person (PersonObjectID TEXT COLLATE NOCASE PRIMARY KEY, Alias TEXT COLLATE NOCASE,"
                     " Extension TEXT, Rank INTEGER)",
                     "CREATE VIEW vw_Person AS SELECT * FROM Person",
                     "CREATE TRIGGER vw_Person_update INSTEAD OF UPDATE ON vw_Person BEGIN"
                     " UPDATE Person SET Alias = NEW.Alias, Extension = NEW.Extension, Rank = NEW.Rank"
                     " WHERE PersonObjectID = OLD.PersonObjectID; END",
                     "CREATE TRIGGER vw_Person_insert INSTEAD OF INSERT ON vw_Person BEGIN"
                     " INSERT INTO Person VALUES (NEW.PersonObjectID, NEW.Alias, NEW.Extension, NEW.Rank); END",
                     "CREATE TRIGGER vw_Person_delete INSTEAD OF DELETE ON vw_Person BEGIN"
                     " DELETE FROM Person WHERE PersonObjectID = OLD.PersonObjectID; END"})
                setup.execute(QString::fromLatin1(sql));
            const QVariantList rows[] = {{"id-1", "anna", "1001", 3}, {"id-2", "O'Brien", "1002", 1},
                                         {"id-3", "carl", QVariant(), 2}, {"id-4", "Dora", "007", 5}};
            for (const QVariantList& row : rows)
                setup.execute("INSERT INTO Person VALUES (?, ?, ?, ?)", row);
        }
        ASSERT_TRUE(db.open(databaseTarget(GetParam(), path))) << db.lastError().toStdString();
    }

    QString aliasOf(const QString& id)
    {
        QSqlQuery query(db.connection());
        query.prepare("SELECT Alias FROM Person WHERE PersonObjectID = ?");
        query.addBindValue(id);
        query.exec();
        return query.next() ? query.value(0).toString() : QString("<none>");
    }

    QTemporaryDir dir;
    QString path;
    Database db;
};

TEST_P(RecordsetTest, FindWalksForwardAndLeavesEofWhenAbsent)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db);
    EXPECT_EQ(rs.recordCount(), 4);
    for (bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "with index" : "without index");
        rs.setOptimize("PersonObjectID", indexed);
        rs.moveFirst();
        EXPECT_TRUE(rs.find("PersonObjectID='ID-3'"));   // letter case does not matter
        EXPECT_EQ(rs.value("alias").toString(), "carl");
        EXPECT_FALSE(rs.find("PersonObjectID='id-1'"));  // search starts at the current row
        EXPECT_TRUE(rs.eof());
        EXPECT_THROW(rs.value("Alias"), KestraneError);
        rs.moveFirst();
        EXPECT_FALSE(rs.find("PersonObjectID='missing'"));
        EXPECT_TRUE(rs.eof());
        rs.moveFirst();
        EXPECT_TRUE(rs.find("PersonObjectID='id-1'"));
        EXPECT_FALSE(rs.eof());
        EXPECT_TRUE(rs.find("PersonObjectID='id-4'", 1));
        EXPECT_EQ(rs.absolutePosition(), 3);
        EXPECT_TRUE(rs.find("PersonObjectID='id-2'", 0, false));   // backward
        EXPECT_FALSE(rs.find("PersonObjectID='id-4'", 0, false));
        EXPECT_TRUE(rs.bof());
    }
}

TEST_P(RecordsetTest, QuotedValuesAreFoundAndStoredIntact)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
    rs.setOptimize("Alias");
    rs.moveFirst();
    ASSERT_TRUE(rs.find("Alias='o''brien'"));
    EXPECT_EQ(rs.value("PersonObjectID").toString(), "id-2");
    rs.setValue("Alias", "O'Brien's 'new' name");
    rs.update();
    EXPECT_EQ(aliasOf("id-2"), "O'Brien's 'new' name");
    rs.moveFirst();
    EXPECT_TRUE(rs.find("Alias=" + quoteLiteral("O'Brien's 'new' name")));
}

TEST_P(RecordsetTest, CriteriaCompareTextWithoutCaseAndNumbersAsNumbers)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db);
    rs.setFilter("Rank >= 2 AND (Alias LIKE 'C*' OR Alias LIKE '%ORA')");
    EXPECT_EQ(rs.recordCount(), 2);
    rs.moveFirst();
    EXPECT_EQ(rs.value("PersonObjectID").toString(), "id-3");
    rs.moveNext();
    EXPECT_EQ(rs.value("PersonObjectID").toString(), "id-4");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());

    // Extensions are text: "007" is not "7".
    rs.setFilter("Extension = '7'");
    EXPECT_EQ(rs.recordCount(), 0);
    rs.setFilter("Extension = NULL");
    EXPECT_EQ(rs.recordCount(), 1);
    rs.setFilter("Rank = '5'");
    EXPECT_EQ(rs.recordCount(), 1);
    rs.setFilter("");
    EXPECT_EQ(rs.recordCount(), 4);

    for (const char* bad : {"Alias = 'open", "Alias", "= 'x'", "Alias = 'a' AND", "(Alias = 'a'"})
        EXPECT_THROW(rs.setFilter(bad), KestraneError) << bad;
}

TEST_P(RecordsetTest, UpdateOfRowChangedUnderneathIsRefused)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-1'"));

    // Another writer changed the column this edit changes: refused, their value stays.
    db.execute("UPDATE Person SET Extension = '3001' WHERE PersonObjectID = 'id-1'");
    rs.setValue("Extension", "2001");
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
    EXPECT_EQ(rs.value("Extension").toString(), "2001");   // the refused edit stays pending
    QSqlQuery check(db.connection());
    check.exec("SELECT Extension FROM Person WHERE PersonObjectID = 'id-1'");
    ASSERT_TRUE(check.next());
    EXPECT_EQ(check.value(0).toString(), "3001");

    // Another writer changed a different column: this edit goes through and keeps theirs.
    rs.cancelUpdate();
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-2'"));
    db.execute("UPDATE Person SET Rank = 42 WHERE PersonObjectID = 'id-2'");
    rs.setValue("Extension", "2002");
    rs.update();
    check.exec("SELECT Extension, Rank FROM Person WHERE PersonObjectID = 'id-2'");
    ASSERT_TRUE(check.next());
    EXPECT_EQ(check.value(0).toString(), "2002");
    EXPECT_EQ(check.value(1).toInt(), 42);

    // A row whose NULL column is the one changed can be updated.
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-3'"));
    rs.setValue("Extension", "1003");
    rs.update();
    EXPECT_EQ(rs.value("Extension").toString(), "1003");
}

TEST_P(RecordsetTest, AddNewAndDeleteReachTheBaseTable)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
    rs.setOptimize("PersonObjectID");
    rs.addNew();
    rs.setValue("PersonObjectID", "id-9");
    rs.setValue("Alias", "new'one");
    rs.update();
    EXPECT_EQ(rs.recordCount(), 5);
    EXPECT_EQ(aliasOf("id-9"), "new'one");
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-9'"));

    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-2'"));
    rs.deleteCurrent();
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(aliasOf("id-2"), "<none>");
    rs.moveFirst();
    EXPECT_FALSE(rs.find("PersonObjectID='id-2'"));
    rs.moveFirst();
    EXPECT_TRUE(rs.find("PersonObjectID='id-9'"));
}

// Every visible row, as "id alias", in cursor order.
QStringList visibleRows(Recordset& rs)
{
    QStringList rows;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        rows << rs.value("PersonObjectID").toString() + ' ' + rs.value("Alias").toString();
    return rows;
}

TEST_P(RecordsetTest, JournalPutsBackTheRowsAsTheyWere)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
    rs.setOptimize("PersonObjectID");
    rs.setFilter("Rank > 1");
    const QStringList before = visibleRows(rs);
    ASSERT_EQ(before, (QStringList{"id-1 anna", "id-3 carl", "id-4 Dora"}));
    const auto editAlias = [&](const QString& id, const QString& alias) {
        rs.moveFirst();
        ASSERT_TRUE(rs.find("PersonObjectID='" + id + "'"));
        rs.setValue("Alias", alias);
        rs.update();
    };

    rs.beginJournal();
    editAlias("id-1", "first");
    rs.addNew();
    rs.setValue("PersonObjectID", "id-9");
    rs.setValue("Rank", 9);
    rs.update();
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-4'"));
    rs.deleteCurrent();
    editAlias("id-1", "second");
    rs.moveFirst();
    rs.setValue("Alias", "not written yet");
    rs.restoreJournalledRows();

    EXPECT_FALSE(rs.editPending());
    EXPECT_EQ(visibleRows(rs), before);
    rs.moveFirst();
    EXPECT_TRUE(rs.find("PersonObjectID='id-4'"));   // the index follows the restored rows
    rs.moveFirst();
    EXPECT_FALSE(rs.find("PersonObjectID='id-9'"));
    rs.setFilter("");
    EXPECT_EQ(rs.recordCount(), 4);

    // Kept changes stay, and a recordset without a journal restores nothing.
    rs.beginJournal();
    editAlias("id-3", "kept");
    rs.keepJournalledChanges();
    rs.restoreJournalledRows();
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-3'"));
    EXPECT_EQ(rs.value("Alias").toString(), "kept");
}

TEST_P(RecordsetTest, ReadOnlyAndClosedRecordsetsRefuseWork)
{
    Recordset rs;
    EXPECT_FALSE(rs.isOpen());
    rs.close();   // closing a closed recordset does nothing
    EXPECT_THROW(rs.moveFirst(), KestraneError);
    rs.open("Select * from vw_Person", db);
    try {
        rs.setCursorLocation(CursorLocation::Client);
        FAIL() << "cursor location changed on an open recordset";
    } catch (const KestraneError& error) {
        EXPECT_EQ(error.number(), ErrorNumber::OperationNotAllowedWhenOpen);
    }
    rs.moveFirst();
    EXPECT_THROW(rs.setValue("Alias", "x"), KestraneError);
    rs.close();
    EXPECT_THROW(rs.open("Select * from vw_Missing", db), KestraneError);
    EXPECT_FALSE(rs.isOpen());
}

// Two rows that the key given cannot tell apart: neither is written, on its own or inside a
// transaction whose other writes stay.
TEST_P(RecordsetTest, WriteMatchingMoreThanOneRowIsRefusedAndTakenBack)
{
    db.execute("INSERT INTO Person VALUES ('id-5', 'anna', '1005', 3)");
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
    rs.setKeyColumns({"Alias"});
    rs.moveFirst();
    ASSERT_TRUE(rs.find("PersonObjectID='id-1'"));
    rs.setValue("Rank", 9);
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));

    db.beginTransaction();
    db.execute("UPDATE Person SET Extension = 'kept' WHERE PersonObjectID = 'id-2'");
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.deleteCurrent(); }));
    db.commit();
    EXPECT_EQ(db.select("SELECT COUNT(*) FROM Person WHERE Rank = 9").rows[0][0].toInt(), 0);
    EXPECT_EQ(db.select("SELECT COUNT(*) FROM Person WHERE Alias = 'anna'").rows[0][0].toInt(), 2);
    EXPECT_EQ(db.select("SELECT Extension FROM Person WHERE PersonObjectID = 'id-2'").rows[0][0].toString(), "kept");
}

// A table without an object ID: with a key of its own the row is found by that key, so another
// writer's change of another column does not stop the write; without one every value must match.
TEST_P(RecordsetTest, RowsWithoutObjectIdAreFoundByTheTablesOwnKey)
{
    for (const bool keyed : {true, false}) {
        const QString table = keyed ? "KeyedRule" : "BareRule";
        SCOPED_TRACE(table.toStdString());
        db.execute("CREATE TABLE " + table + " (Parent TEXT, Alias TEXT, Action INTEGER, Note TEXT"
                   + (keyed ? ", PRIMARY KEY (Parent, Alias))" : ")"));
        db.execute("INSERT INTO " + table + " VALUES ('id-1', 'standard', 1, 'a'), ('id-1', 'closed', 1, 'b')");
        Recordset rs;
        rs.open("SELECT * FROM " + table + " WHERE Parent = 'id-1' ORDER BY Alias", db, LockType::Optimistic);
        rs.moveFirst();
        db.execute("UPDATE " + table + " SET Note = 'theirs' WHERE Alias = 'closed'");
        rs.setValue("Action", 2);
        if (!keyed) {
            EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
            continue;
        }
        rs.update();
        EXPECT_EQ(db.select("SELECT Action || Note FROM " + table + " ORDER BY Alias").rows,
                  (QVector<QVector<QVariant>>{{"2theirs"}, {"1a"}}));
    }
}

// Columns whose values a backend may not give back exactly as bound (date-times, floating point)
// and those it compares as they are (bytes, NULL): a row nobody changed is written, again and
// again; a row whose column was changed underneath is refused and keeps the other writer's value.
TEST_P(RecordsetTest, EveryColumnTypeIsCheckedAgainstTheRowAsStored)
{
    db.execute("CREATE TABLE Stamp (StampObjectID TEXT PRIMARY KEY, Changed DATETIME, Ratio FLOAT, Picture BLOB,"
               " Note TEXT)");
    struct Case {
        const char* column;
        QVariant stored, mine, again, theirs;
    };
    const Case cases[] = {
        {"Changed", "2024-03-05T10:11:12.000", QDateTime(QDate(2026, 12, 9), QTime(13, 14, 15, 678)),
         QDateTime(QDate(1990, 12, 25), QTime(8, 0)), QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))},
        {"Changed", "2024-03-05 10:11:12", QDateTime(QDate(2026, 12, 9), QTime(13, 14, 15, 1)), QVariant(),
         QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))},
        {"Ratio", 0.1, 2.0 / 3.0, 1e-7, 0.3},
        {"Picture", QByteArray("\x00\x01\xff", 3), QByteArray("mine"), QByteArray("again"), QByteArray("theirs")},
        {"Note", QVariant(), "mine", "again", "theirs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " stored as " + c.stored.toString().toStdString());
        db.execute("DELETE FROM Stamp");
        for (const char* id : {"untouched", "changed"})
            db.execute(QString("INSERT INTO Stamp (StampObjectID, %1) VALUES (?, ?)").arg(c.column), {id, c.stored});
        Recordset rs;
        rs.open("Select * from Stamp order by StampObjectID desc", db, LockType::Optimistic);
        const QString read = QString("SELECT %1 FROM Stamp WHERE StampObjectID = ?").arg(c.column);

        rs.moveFirst();
        ASSERT_EQ(rs.value("StampObjectID").toString(), "untouched");
        rs.setValue(c.column, c.mine);
        EXPECT_NO_THROW(rs.update());
        rs.setValue(c.column, c.again);   // the check compares with what the first write stored
        EXPECT_NO_THROW(rs.update());
        EXPECT_EQ(db.select(read, {"untouched"}).rows[0][0].isNull(), c.again.isNull());

        rs.moveNext();
        db.execute(QString("UPDATE Stamp SET %1 = ? WHERE StampObjectID = 'changed'").arg(c.column), {c.theirs});
        const QVariant theirsAsRead = db.select(read, {"changed"}).rows[0][0];
        rs.setValue(c.column, c.mine);
        EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
        EXPECT_EQ(db.select(read, {"changed"}).rows[0][0], theirsAsRead);
    }
}

// A recordset opened again on a statement it had open before reads that statement's rows as they
// are now and writes them as the first time.
TEST_P(RecordsetTest, StatementOpenedAgainReadsItsRowsAsTheyAreNow)
{
    Recordset rs;
    const QString byRank = "SELECT * FROM Person WHERE Rank > ? ORDER BY Rank";
    const QString byAlias = "SELECT Alias FROM vw_Person WHERE Alias = ?";
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        rs.open(byRank, db, LockType::Optimistic, {2});
        EXPECT_EQ(rs.fieldCount(), 4);
        EXPECT_EQ(rs.value("alias").toString(), round == 0 ? "anna" : "renamed");
        rs.setValue("Alias", "renamed");
        rs.update();
        rs.close();
        rs.open(byAlias, db, LockType::ReadOnly, {"dora"});
        EXPECT_EQ(rs.fieldCount(), 1);
        EXPECT_EQ(rs.recordCount(), 1);
        rs.close();
    }
    EXPECT_EQ(aliasOf("id-1"), "renamed");
}

// What is worked out about a statement belongs to its connection: the same text on another
// database, whose table has other columns and no key (two rows alike, told apart by their rowid),
// and on a connection opened again, is read and written as that table is.
TEST_P(RecordsetTest, TheSameStatementOnAnotherConnectionIsWorkedOutAgain)
{
    if (GetParam() != Backend::Embedded)
        GTEST_SKIP() << "over ODBC rows alike cannot be told apart";
    const QString otherPath = dir.filePath("other.sqlite");
    {
        QFile(otherPath).open(QIODevice::WriteOnly);
        Database setup;
        ASSERT_TRUE(setup.open({otherPath, {}}));
        setup.execute("CREATE TABLE Person (Alias TEXT, Extension TEXT)");
        for (int row = 0; row < 2; ++row)
            setup.execute("INSERT INTO Person VALUES ('eve', '9001')");
    }
    const QString all = "SELECT * FROM Person";
    for (const QString extension : {"9002", "9003"}) {
        {
            Recordset rs;
            rs.open(all, db, LockType::Optimistic);
            EXPECT_EQ(rs.fieldCount(), 4);
        }
        Database other;
        ASSERT_TRUE(other.open(databaseTarget(GetParam(), otherPath)));
        Recordset rs;
        rs.open(all, other, LockType::Optimistic);
        ASSERT_EQ(rs.fieldCount(), 2);
        rs.setValue("Extension", extension);
        rs.update();
        EXPECT_EQ(other.select("SELECT Extension FROM Person ORDER BY rowid").rows.value(0).value(0).toString(), extension);
        EXPECT_EQ(other.select("SELECT Extension FROM Person ORDER BY rowid").rows.value(1).value(0).toString(), "9001");
    }
}

// Filter and Find give the same rows whether the field is indexed ("Optimize") or scanned.
TEST_P(RecordsetTest, IndexedFieldIsFilteredAndFoundAsAScanFindsIt)
{
    Recordset scanned, indexed;
    for (Recordset* rs : {&scanned, &indexed})
        rs->open("SELECT * FROM Person ORDER BY PersonObjectID", db, LockType::ReadOnly);
    indexed.setOptimize("Alias");
    for (const char* criterion : {"Alias='ANNA'", "Alias='o''brien'", "alias = 'Dora'", "Alias='nobody'", "Alias=''",
                                  "Rank=2", "PersonObjectID='ID-4'"}) {
        SCOPED_TRACE(criterion);
        const auto rows = [&](Recordset& rs) {
            QStringList ids;
            rs.setFilter(criterion);
            for (rs.moveFirst(); !rs.eof(); rs.moveNext())
                ids << rs.value("PersonObjectID").toString();
            rs.setFilter(QString());
            rs.moveFirst();
            ids << (rs.find(criterion) ? rs.value("PersonObjectID").toString() : QString("<eof>"));
            return ids;
        };
        EXPECT_EQ(rows(indexed), rows(scanned));
    }
    indexed.setFilter("Alias='anna'");
    EXPECT_EQ(indexed.recordCount(), 1);
}

// A key held by several rows, a row added with it: Find forward and backward from every row, and
// Filter, give the scan's rows.
TEST_P(RecordsetTest, IndexedKeyOfSeveralRowsIsFoundFromEveryRowAsAScanFindsIt)
{
    db.execute("CREATE TABLE Pair (PairObjectID TEXT PRIMARY KEY, Alias TEXT)");
    db.execute("INSERT INTO Pair VALUES ('p1', 'a'), ('p2', 'B'), ('p3', 'A'), ('p4', 'c'), ('p5', 'a')");
    Recordset scanned, indexed;
    for (Recordset* rs : {&scanned, &indexed})
        rs->open("SELECT * FROM Pair ORDER BY PairObjectID", db, LockType::Optimistic);
    indexed.setOptimize("Alias");
    const auto found = [](Recordset& rs) {
        QStringList ids;
        for (const bool forward : {true, false})
            for (int start = 0; start < rs.recordCount(); ++start) {
                rs.moveFirst();
                for (int step = 0; step < start; ++step)
                    rs.moveNext();
                ids << (rs.find("Alias='a'", 0, forward) ? rs.value("PairObjectID").toString() : QString("-"));
            }
        rs.setFilter("Alias='A'");
        ids << QString::number(rs.recordCount());
        rs.setFilter(QString());
        return ids;
    };
    EXPECT_EQ(found(indexed), found(scanned));
    indexed.addNew();
    indexed.setValue("PairObjectID", "p6");
    indexed.setValue("Alias", "a");
    indexed.update();
    scanned.close();
    scanned.open("SELECT * FROM Pair ORDER BY PairObjectID", db, LockType::Optimistic);
    EXPECT_EQ(found(indexed), found(scanned));
    EXPECT_EQ(found(indexed).last(), "4");
}

// Two rows of a table without a key that hold the same values: on the embedded database each is
// written by its rowid, over ODBC neither can be told apart from the other.
TEST_P(RecordsetTest, RowOfTableWithoutKeyIsWrittenByItsRowIdOnTheEmbeddedDatabase)
{
    db.execute("CREATE TABLE Twin (Parent TEXT, Alias TEXT, Action INTEGER)");
    db.execute("INSERT INTO Twin VALUES ('id-1', 'standard', 1), ('id-1', 'standard', 1)");
    Recordset rs;
    rs.open("SELECT * FROM Twin WHERE Parent = ?", db, LockType::Optimistic, {"id-1"});
    EXPECT_EQ(rs.fieldCount(), 3);
    rs.moveFirst();
    rs.setValue("Action", 2);
    if (GetParam() == Backend::Odbc) {
        EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
        return;
    }
    rs.update();
    EXPECT_EQ(db.select("SELECT Action FROM Twin ORDER BY Action").rows, (QVector<QVector<QVariant>>{{1}, {2}}));
}

// A row that its key does not prove single is written by one statement on the embedded database.
TEST_P(RecordsetTest, RowNotProvedSingleByItsKeyIsWrittenByOneStatement)
{
    Recordset rs;
    rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
    rs.setKeyColumns({"Alias"});
    for (const int rank : {7, 8}) {   // the second write's text is known already
        db.resetStatementCount();
        rs.setValue("Rank", rank);
        rs.update();
    }
    EXPECT_EQ(db.statementCount(), GetParam() == Backend::Embedded ? 3 : 4);   // with BEGIN and COMMIT
    EXPECT_EQ(db.select("SELECT Rank FROM Person WHERE PersonObjectID = 'id-1'").rows[0][0].toInt(), 8);
}

// A field set to the value it holds: written (and so checked) by default, left unwritten when
// the recordset skips such writes; a real change is written either way.
TEST_P(RecordsetTest, FieldSetToItsOwnValueIsWrittenUnlessSkipped)
{
    for (const EqualValueWrites writes : {EqualValueWrites::Written, EqualValueWrites::Skipped}) {
        SCOPED_TRACE(writes == EqualValueWrites::Written ? "written" : "skipped");
        Recordset rs;
        rs.setEqualValueWrites(writes);
        rs.open("Select * from vw_Person order by PersonObjectID", db, LockType::Optimistic);
        rs.moveFirst();
        db.execute("UPDATE Person SET Rank = 30 WHERE PersonObjectID = 'id-1'");
        rs.setValue("Rank", 3);   // a number of another type than the one read
        rs.setValue("Extension", "1001");
        if (writes == EqualValueWrites::Written)
            EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
        else
            EXPECT_NO_THROW(rs.update());
        EXPECT_EQ(db.select("SELECT Rank FROM Person WHERE PersonObjectID = 'id-1'").rows[0][0].toInt(), 30);
        rs.cancelUpdate();
        rs.setValue("Alias", "Anna");   // letter case counts: a change, written either way
        rs.update();
        EXPECT_EQ(aliasOf("id-1"), "Anna");
        db.execute("UPDATE Person SET Rank = 3, Alias = 'anna' WHERE PersonObjectID = 'id-1'");
    }
}

// While an edit is pending, the columns it set read as set and the others as the row was read,
// before and after a refused write, for a keyed row and a keyless one alike.
TEST_P(RecordsetTest, PendingEditReadsItsValuesAndTheRowsOthers)
{
    db.execute("CREATE TABLE Note (Parent TEXT, Alias TEXT, Body TEXT)");
    db.execute("INSERT INTO Note VALUES ('id-1', 'first', 'hello')");
    const struct {
        const char* query;
        const char* underneath;
        const char* set;
        const char* other;
        const char* otherAsRead;
    } rows[] = {
        {"Select * from vw_Person where PersonObjectID = 'id-1'", "UPDATE Person SET Extension = '9' WHERE PersonObjectID = 'id-1'",
         "Extension", "Alias", "anna"},
        {"SELECT * FROM Note", "UPDATE Note SET Body = 'theirs'", "Body", "Alias", "first"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.query);
        Recordset rs;
        rs.open(row.query, db, LockType::Optimistic);
        rs.setValue(row.set, "mine");
        EXPECT_EQ(rs.value(row.other).toString(), row.otherAsRead);
        db.execute(row.underneath);
        EXPECT_TRUE(refusedAsChangedUnderneath([&] { rs.update(); }));
        EXPECT_EQ(rs.value(row.set).toString(), "mine");
        EXPECT_EQ(rs.value(row.other).toString(), row.otherAsRead);
        rs.cancelUpdate();
        EXPECT_NE(rs.value(row.set).toString(), "mine");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordsetTest, ::testing::Values(Backend::Embedded, Backend::Odbc), backendName);

// The engines write through the server's views, whose INSTEAD OF triggers leave the count of
// changed rows at 0: an unchanged row is written, one changed underneath is refused.
class RecordsetThroughServerViews : public ::testing::TestWithParam<Backend> {};

TEST_P(RecordsetThroughServerViews, SubscriberRowIsWrittenUnlessChangedUnderneath)
{
    if (!backendAvailable(GetParam()))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    TempInstallation installation;
    ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
    Database db;
    ASSERT_TRUE(db.open(databaseTarget(GetParam(), installation.installation().databaseFile())));
    Recordset subscribers;
    subscribers.open("Select * from vw_Subscriber order by SubscriberObjectID", db, LockType::Optimistic);
    subscribers.setOptimize("SubscriberObjectID");
    const auto firstNameOf = [&](const QString& id) {
        return db.select("SELECT FirstName FROM Subscriber WHERE SubscriberObjectID = ?", {id}).rows.value(0).value(0).toString();
    };

    subscribers.moveFirst();
    const QString unchanged = subscribers.value("SubscriberObjectID").toString();
    subscribers.setValue("FirstName", "Written");
    subscribers.update();
    EXPECT_EQ(firstNameOf(unchanged), "Written");
    subscribers.setValue("FirstName", "Again");   // the snapshot holds what was written
    subscribers.update();
    EXPECT_EQ(firstNameOf(unchanged), "Again");

    subscribers.moveNext();
    const QString changed = subscribers.value("SubscriberObjectID").toString();
    db.execute("UPDATE Subscriber SET FirstName = 'Theirs' WHERE SubscriberObjectID = ?", {changed});
    subscribers.setValue("FirstName", "Mine");
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { subscribers.update(); }));
    EXPECT_EQ(firstNameOf(changed), "Theirs");

    subscribers.cancelUpdate();
    db.execute("DELETE FROM Subscriber WHERE SubscriberObjectID = ?", {changed});
    subscribers.setValue("LastName", "Gone");
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { subscribers.update(); }));
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordsetThroughServerViews, ::testing::Values(Backend::Embedded, Backend::Odbc),
                         backendName);

// A write through a view is known done by the rows its triggers changed: a trigger that changes
// nothing leaves the write refused, never reported as kept.
TEST(RecordsetThroughViews, AWriteTheViewsTriggerDoesNotCarryIsRefused)
{
    QTemporaryDir dir;
    QFile(dir.filePath("views.sqlite")).open(QIODevice::WriteOnly);
    Database db;
    ASSERT_TRUE(db.open({dir.filePath("views.sqlite"), {}}));
    for (const char* sql : {"CREATE TABLE Pet (PetObjectID TEXT PRIMARY KEY, Name TEXT)",
                            "CREATE VIEW vw_Pet AS SELECT * FROM Pet",
                            "CREATE TRIGGER vw_Pet_update INSTEAD OF UPDATE OF Name ON vw_Pet BEGIN"
                            " UPDATE Pet SET Name = NEW.Name WHERE PetObjectID = OLD.PetObjectID; END",
                            "CREATE TRIGGER vw_Pet_rename INSTEAD OF UPDATE OF PetObjectID ON vw_Pet BEGIN SELECT 1; END",
                            "INSERT INTO Pet VALUES ('pet-1', 'Rex')"})
        db.execute(QString::fromLatin1(sql));
    Recordset pets;
    pets.open("SELECT * FROM vw_Pet", db, LockType::Optimistic);
    pets.setValue("Name", "Fido");
    pets.update();
    pets.setValue("PetObjectID", "pet-2");   // its trigger writes nothing
    EXPECT_TRUE(refusedAsChangedUnderneath([&] { pets.update(); }));
    EXPECT_EQ(db.select("SELECT PetObjectID || Name FROM Pet").rows.value(0).value(0).toString(), "pet-1Fido");
}

}  // namespace
