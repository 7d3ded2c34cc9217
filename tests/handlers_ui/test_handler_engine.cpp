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
    QStringList lines{"** Updating handler **", "    Alias=" + row.alias, "    ObjectID=" + row.objectID, "", handlers.value("TextName").toString(),
                      "Alias=" + handlers.value("Alias").toString(), "Extension=" + (extension.isNull() ? QString("(empty)") : extension.toString()),
                      "   Alternate Transfer Rule Edits:", "   Standard Transfer Rule Edits:", "   Off Hours Transfer Rule Edits"};
    for (const char* rule : {"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"})
        lines << QString("    %1 Messaging Rule").arg(rule);
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
        if (rows.size() < 2 && run.stored("SELECT DTMFAccessID IS NULL FROM vw_CallHandler WHERE CallHandlerObjectID = ?", {row.objectID}).toBool())
            rows << row;
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
    const QStringList expected = QStringList{"Starting call handler edits", ""} + untouchedHandler(run, rows[0]) + untouchedHandler(run, rows[1]) + QStringList{""};
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
    run.make({{"txtMessagesMaxMessageLength", "20"}, {"comTransferEnabled_2", "=137"}, {"comGreetingEnabled_0", "=137"}, {"cmbCallerInputLockKey_3", "=279"}});
    run.run(2);

    EXPECT_TRUE(run.lines.filter("(error)").isEmpty()) << run.lines.filter("(error)").join('\n').toStdString();
    for (const SelectionGridRow& row : run.rows) {
        const QVariantList id{row.objectID};
        EXPECT_EQ(run.columns("MaxMsgLen", "CallHandler WHERE CallHandlerObjectID=?", id) + "|" + run.columns("Locked", "MenuEntry WHERE ParentObjectID=? AND Alias='3'", id) + "|"
                      + run.columns("TimeExpires", "ContactRule WHERE ParentObjectID=? AND Alias='Standard'", id), "20|1|null");
        for (const char* table : {"ContactRule WHERE ParentObjectID=? AND Alias='Off Hours'", "MessagingRule WHERE ParentObjectID=? AND Alias='Standard'"})
            EXPECT_EQ(run.stored(QString("SELECT TimeExpires FROM ") + table, id).toDateTime(), QDateTime(QDate(1990, 12, 25), QTime(8, 0))) << table;
    }
}

}  // namespace
