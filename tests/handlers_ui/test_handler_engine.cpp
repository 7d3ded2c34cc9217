// The call handler engine's frame: the heading and closing lines of each handler, the empty
// grid, nothing chosen, and the ODBC road.
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include "core/Recordset.h"
#include "tests/support/Backends.h"
#include "handlers/HandlerOptionNames.h"

#include <gtest/gtest.h>

namespace {

// The lines of a handler that the run changes in no way: its heading, the headings of the
// server's three transfer rules, of the greetings and of the menu entries, and the closing line.
QStringList untouchedHandler(HandlerEngineScenario& run, const SelectionGridRow& row)
{
    Recordset& handlers = run.listed(row.objectID);
    const QVariant extension = handlers.value("DTMFAccessID");
    QStringList lines{"** Updating handler **", "    Alias=" + row.alias, "    ObjectID=" + row.objectID, "",
                      handlers.value("TextName").toString(), "Alias=" + handlers.value("Alias").toString(),
                      "Extension=" + (extension.isNull() ? QString("(empty)") : extension.toString()),
                      "   Alternate Transfer Rule Edits:", "   Standard Transfer Rule Edits:",
                      "   Off Hours Transfer Rule Edits",     "    Standard Messaging Rule",
                      "    Off Hours Messaging Rule",          "    Busy Messaging Rule",
                      "    Alternate Messaging Rule",          "    Internal Messaging Rule",
                      "    Error Messaging Rule"};
    for (const char* key : HandlerOptionNames::kKeyCaptions)
        lines << QString("    Menu entry: ") + key;
    return lines << "   Hanlder updates complete" << "";
}

TEST(HandlerEngineFrame, HeadingAndClosingLinesOfEachHandlerAndOfAnEmptyGrid)
{
    HandlerEngineScenario run(20);
    ASSERT_TRUE(run.open());
    EXPECT_EQ(run.run(QList<SelectionGridRow>{}), (QStringList{"Starting call handler edits", "", ""}));
    EXPECT_EQ(run.log->LogErrorCount(), 0);

    // The first handler and the first without an extension.
    QList<SelectionGridRow> rows = run.firstHandlers(1);
    for (const SelectionGridRow& row : run.firstHandlers(20))
        if (run.stored("SELECT DTMFAccessID IS NULL FROM vw_CallHandler WHERE CallHandlerObjectID = ?", {row.objectID}).toBool()) {
            rows << row;
            break;
        }
    ASSERT_EQ(rows.size(), 2) << "no handler without an extension";
    // Nothing chosen changes no row, but enables the Standard transfer rules.
    run.sql("UPDATE ContactRule SET TimeExpires = NULL WHERE Alias = 'Standard'");
    const auto dump = [&] {
        QList<QVector<QVector<QVariant>>> tables;
        for (const char* table : {"CallHandler", "ContactRule", "MessagingRule", "MenuEntry"})
            tables << run.session.database.select(QString("SELECT * FROM ") + table).rows;
        return tables;
    };
    const auto before = dump();
    run.run(rows);
    EXPECT_EQ(dump(), before);
    QStringList expected{"Starting call handler edits", ""};
    for (const SelectionGridRow& row : run.rows)
        expected << untouchedHandler(run, row);
    expected << "";
    EXPECT_EQ(run.lines, expected);
    EXPECT_TRUE(expected.contains("Extension=(empty)"));
    EXPECT_EQ(run.log->LogErrorCount(), 0);
}

// Over the SQLite ODBC driver a change in each section commits, dates included, with no error.
TEST(HandlerEngineOdbc, EverySectionCommitsOverOdbc)
{
    if (!backendAvailable(Backend::Odbc))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    HandlerEngineScenario run;
    run.sql("UPDATE ContactRule SET TimeExpires='2020-01-01 00:00:00'");
    qputenv("KESTRANE_ODBC",
            databaseTarget(Backend::Odbc, run.installation.installation().databaseFile()).odbcConnectionString.toUtf8());
    const bool opened = run.open();
    qunsetenv("KESTRANE_ODBC");
    ASSERT_TRUE(opened);
    ASSERT_FALSE(run.session.database.isEmbedded());
    run.type("txtMessagesMaxMessageLength", "20");
    run.chooseString("comTransferEnabled_2", 137);
    run.chooseString("comGreetingEnabled_0", 137);
    run.chooseString("cmbCallerInputLockKey_3", 279);
    run.run(2);

    EXPECT_TRUE(run.lines.filter("(error)").isEmpty()) << run.lines.filter("(error)").join('\n').toStdString();
    for (const SelectionGridRow& row : run.rows) {
        const QVariantList id{row.objectID};
        EXPECT_EQ(run.stored("SELECT MaxMsgLen FROM CallHandler WHERE CallHandlerObjectID=?", id).toInt(), 20);
        EXPECT_TRUE(run.stored("SELECT TimeExpires FROM ContactRule WHERE ParentObjectID=? AND Alias='Standard'", id).isNull());
        EXPECT_EQ(run.stored("SELECT TimeExpires FROM ContactRule WHERE ParentObjectID=? AND Alias='Off Hours'", id).toDateTime(),
                  QDateTime(QDate(1990, 12, 25), QTime(8, 0)));
        EXPECT_EQ(run.stored("SELECT TimeExpires FROM MessagingRule WHERE ParentObjectID=? AND Alias='Standard'", id).toDateTime(),
                  QDateTime(QDate(1990, 12, 25), QTime(8, 0)));
        EXPECT_EQ(run.stored("SELECT Locked FROM MenuEntry WHERE ParentObjectID=? AND Alias='3'", id).toInt(), 1);
    }
}

}  // namespace
