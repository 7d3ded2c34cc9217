#include "core/Session.h"
#include "subscribers/SubscriberCsv.h"
#include "subscribers/ui/SubscriberGrid.h"
#include "core/ui/frmSubscriberLoadProgress.h"
#include "tests/support/TempInstallation.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

SubscriberGridRow sampleRow(const QString& alias, const QString& extension = "1000")
{
    return {alias, "First " + alias, "Last " + alias, "Display " + alias, extension, "MAIL01", "node-" + alias,
            "legacy-" + alias, "Standard", "SUB-" + alias, "CH-" + alias};
}

QStringList column(const SubscriberGrid& grid, const QString& key)
{
    QStringList texts;
    for (int row = 1; row < grid.Rows(); ++row)
        texts << grid.TextMatrix(row, key);
    return texts;
}

QList<bool> checks(const SubscriberGrid& grid)
{
    QList<bool> states;
    for (int row = 1; row < grid.Rows(); ++row)
        states << grid.isChecked(row);
    return states;
}

// A grid on screen with the rows "delta", "alpha", "charlie", "bravo" (extensions 4000, 30, 200, 1000).
class ShownGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::pair<const char*, const char*> rows[] = {{"delta", "4000"}, {"alpha", "30"}, {"charlie", "200"}, {"bravo", "1000"}};
        for (const auto& [alias, extension] : rows)
            grid.appendRow(sampleRow(alias, extension));
        grid.resize(1200, 400);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void clickCell(int row, const QString& key)
    {
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, SubscriberGrid::columnOfKey(key)));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }

    void clickHeader(const QString& key)
    {
        QHeaderView* header = grid.horizontalHeader();
        const int section = SubscriberGrid::columnOfKey(key);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2));
    }

    SubscriberGrid grid;
};

}  // namespace

TEST(SubscriberGridLayout, KeysInAnyCaseWidthsHiddenColumnsAndHeaders)
{
    SubscriberGrid grid;
    EXPECT_EQ(grid.model()->columnCount(), 13);
    const char* keys[] = {"Selected", "Alias", "DisplayName", "FirstName", "LastName", "Extension", "HomeServer",
                          "COS", "LegacyMailbox", "RemoteNodeID", "HandlerObjectID", "ObjectID"};
    for (int column = 1; column < 13; ++column) {
        const QString key = keys[column - 1];
        EXPECT_EQ(SubscriberGrid::columnOfKey(key), column);
        EXPECT_EQ(SubscriberGrid::columnOfKey(key.toLower()), column);
        EXPECT_EQ(SubscriberGrid::columnOfKey(key.toUpper()), column);
    }
    EXPECT_EQ(SubscriberGrid::columnOfKey(""), -1);
    EXPECT_EQ(SubscriberGrid::columnOfKey("Alias "), -1);

    const int widths[] = {18, 17, 100, 156, 87, 100, 68, 111, 64, 85, 92, 64, 64};
    const QFontMetrics headerFont = grid.horizontalHeader()->fontMetrics();
    for (int column = 0; column < 13; ++column) {
        SCOPED_TRACE(column);
        const bool neverShown = column == 0 || column == 11 || column == 12;
        EXPECT_EQ(grid.isColumnHidden(column), neverShown);
        grid.setColumnHidden(column, false);   // a hidden column keeps its width
        if (neverShown) {
            EXPECT_EQ(grid.columnWidth(column), widths[column]);
            continue;
        }
        // The laid-out width, wider only where the header text would not fit in it.
        const int headerText = headerFont.horizontalAdvance(grid.model()->headerData(column, Qt::Horizontal).toString());
        EXPECT_GE(grid.columnWidth(column), std::max(widths[column], headerText));
        if (headerText + 16 <= widths[column]) {
            EXPECT_EQ(grid.columnWidth(column), widths[column]);
        }
    }
    SubscriberGrid fresh;

    EXPECT_EQ(grid.headerText("legacymailbox"), "Legacy Mailbox");
    EXPECT_EQ(grid.headerText("REMOTENODEID"), "Remote Node ID");
    EXPECT_EQ(grid.headerText("handlerobjectid"), "HandlerObjectID");
    grid.setHeaderText("alias", "Pseudonym");
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), "Pseudonym");

    grid.setColumnShown("remotenodeid", false);
    grid.setColumnShown("LEGACYMAILBOX", false);
    EXPECT_TRUE(grid.isColumnHidden(9) && grid.isColumnHidden(10));
    grid.setColumnShown("RemoteNodeID", true);
    EXPECT_TRUE(grid.isColumnShown("remotenodeid"));
    EXPECT_FALSE(fresh.isColumnShown("ObjectID"));
}

TEST(SubscriberGridRows, AppendedRowsAreNumberedCheckedAndReadByKey)
{
    SubscriberGrid grid;
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_TRUE(grid.checkedSubscribers().isEmpty());
    grid.appendRow(sampleRow("alpha"));
    grid.appendRow(sampleRow("bravo"));
    grid.appendRow(sampleRow("alpha"));   // the grid takes a subscriber twice when asked twice
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.model()->rowCount(), 3);

    const std::pair<const char*, const char*> cells[] = {
        {"alias", "bravo"}, {"DisplayName", "Display bravo"}, {"FirstName", "First bravo"}, {"LastName", "Last bravo"},
        {"Extension", "1000"}, {"HomeServer", "MAIL01"}, {"COS", "Standard"}, {"LegacyMailbox", "legacy-bravo"},
        {"RemoteNodeID", "node-bravo"}, {"HandlerObjectID", "CH-bravo"}, {"objectid", "SUB-bravo"}, {"Selected", "1"},
    };
    for (const auto& [key, text] : cells) {
        EXPECT_EQ(grid.TextMatrix(2, key), text) << key;
        EXPECT_EQ(grid.model()->index(1, SubscriberGrid::columnOfKey(key)).data().toString(), key == QString("Selected") ? "" : text)
            << key;
    }
    EXPECT_EQ(grid.model()->index(1, 1).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(column(grid, "selected"), (QStringList{"1", "1", "1"}));
    EXPECT_EQ(grid.TextMatrix(0, "Alias"), "");
    EXPECT_EQ(grid.TextMatrix(4, "Alias"), "");
    EXPECT_EQ(grid.TextMatrix(1, "NoSuchKey"), "");

    // Column 0 holds the row's index when it was added.
    QStringList numbers;
    for (int row = 1; row < grid.Rows(); ++row)
        numbers << grid.model()->index(row - 1, 0).data().toString();
    EXPECT_EQ(numbers, (QStringList{"1", "2", "3"}));
}

TEST(SubscriberGridRows, CheckingSelectAllAndHandingOn)
{
    SubscriberGrid grid;
    for (const char* alias : {"alpha", "bravo", "charlie"})
        grid.appendRow(sampleRow(alias));
    grid.setChecked(2, false);
    EXPECT_EQ(checks(grid), (QList<bool>{true, false, true}));
    EXPECT_EQ(grid.TextMatrix(2, "Selected"), "0");
    ASSERT_EQ(grid.checkedSubscribers().size(), 2);
    EXPECT_EQ(grid.checkedSubscribers()[1].alias, "charlie");
    EXPECT_EQ(grid.checkedSubscribers()[1].objectID, "SUB-charlie");

    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    grid.setAllChecked(false);
    EXPECT_EQ(checks(grid), (QList<bool>{false, false, false}));
    EXPECT_TRUE(grid.checkedSubscribers().isEmpty());
    EXPECT_EQ(changed.count(), 1);
    grid.setAllChecked(true);
    EXPECT_EQ(checks(grid), (QList<bool>{true, true, true}));

    grid.setChecked(0, false);   // the header row and rows past the end are left alone
    grid.setChecked(4, false);
    EXPECT_FALSE(grid.isChecked(0));
    EXPECT_EQ(checks(grid), (QList<bool>{true, true, true}));
}

TEST(SubscriberGridRows, SetRowsOneClearsAndAFillIsAnnouncedOnce)
{
    SubscriberGrid grid;
    grid.setColumnShown("RemoteNodeID", false);
    for (const char* alias : {"alpha", "bravo", "charlie", "delta", "echo"})
        grid.appendRow(sampleRow(alias));
    grid.setRows(3);
    EXPECT_EQ(column(grid, "Alias"), (QStringList{"alpha", "bravo"}));
    grid.setRows(10);
    EXPECT_EQ(grid.Rows(), 3);
    grid.setRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_TRUE(grid.checkedSubscribers().isEmpty());
    // The layout outlives the rows.
    EXPECT_TRUE(grid.isColumnHidden(0) && grid.isColumnHidden(10) && grid.isColumnHidden(12));
    EXPECT_EQ(grid.columnWidth(3), 156);

    QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
    grid.beginFill();
    for (int i = 0; i < 500; ++i)
        grid.appendRow(sampleRow(QString("user%1").arg(i)));
    // Callers read a fill's rows at once; the view hears of them when it ends.
    EXPECT_EQ(grid.Rows(), 501);
    EXPECT_EQ(grid.TextMatrix(500, "alias"), "user499");
    EXPECT_EQ(grid.model()->rowCount(), 0);
    grid.endFill();
    EXPECT_EQ(grid.model()->rowCount(), 500);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "1");
    EXPECT_EQ(grid.model()->index(499, 2).data().toString(), "user499");
}

TEST_F(ShownGrid, ClickOnATextCellFlipsItsRowOnce)
{
    clickCell(3, "Alias");
    EXPECT_EQ(checks(grid), (QList<bool>{true, true, false, true}));
    clickCell(3, "HomeServer");
    EXPECT_EQ(checks(grid), (QList<bool>{true, true, true, true}));
    clickCell(2, "COS");
    EXPECT_EQ(checks(grid), (QList<bool>{true, false, true, true}));
}

TEST_F(ShownGrid, CheckCellChangesOnceByClickOrSpace)
{
    clickCell(3, "Selected");
    EXPECT_EQ(checks(grid), (QList<bool>{true, true, false, true}));
    clickCell(3, "Selected");
    EXPECT_EQ(checks(grid), (QList<bool>{true, true, true, true}));

    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, SubscriberGrid::SelectedColumn));
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(checks(grid), (QList<bool>{false, true, true, true}));
    // Text cells take no edit at all.
    const QModelIndex alias = grid.model()->index(0, SubscriberGrid::columnOfKey("Alias"));
    grid.setCurrentIndex(alias);
    QTest::keyClick(&grid, Qt::Key_Space);
    QTest::keyClick(&grid, Qt::Key_F2);
    grid.edit(alias);
    EXPECT_EQ(grid.viewport()->findChild<QWidget*>(), nullptr);   // no editor opened
    EXPECT_FALSE(grid.model()->flags(alias) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model()->setData(alias, "changed"));
    EXPECT_EQ(grid.TextMatrix(1, "Alias"), "delta");
    EXPECT_EQ(checks(grid), (QList<bool>{false, true, true, true}));
}

TEST_F(ShownGrid, HeaderClickSortsKeepsRowNumbersAndLeavesNoCurrentCell)
{
    grid.setChecked(1, false);   // delta
    clickCell(2, "Alias");       // alpha unchecked, and alpha's row is current
    EXPECT_TRUE(grid.currentIndex().isValid());

    clickHeader("Alias");
    EXPECT_EQ(column(grid, "Alias"), (QStringList{"alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(column(grid, "Selected"), (QStringList{"0", "1", "1", "0"}));
    QStringList numbers;
    for (int row = 0; row < 4; ++row)
        numbers << grid.model()->index(row, 0).data().toString();
    EXPECT_EQ(numbers, (QStringList{"2", "4", "3", "1"}));
    EXPECT_FALSE(grid.currentIndex().isValid());

    // A click below the last row lands on no data row and flips nothing.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(50, grid.viewport()->height() - 5));
    EXPECT_EQ(column(grid, "Selected"), (QStringList{"0", "1", "1", "0"}));

    clickHeader("Extension");   // numbers sort as numbers
    EXPECT_EQ(column(grid, "Extension"), (QStringList{"30", "200", "1000", "4000"}));
    clickHeader("Extension");
    EXPECT_EQ(column(grid, "Extension"), (QStringList{"4000", "1000", "200", "30"}));
    clickCell(1, "Alias");   // delta, now on top, is checked again
    EXPECT_EQ(grid.TextMatrix(1, "Alias"), "delta");
    EXPECT_TRUE(grid.isChecked(1));
}

// The CSV reader, the grid and the progress window together, as the page wires them.
TEST(SubscriberGridFill, CsvFileFillsTheGridFromTheDirectoryLists)
{
    TempInstallation installation;
    ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
    Session session(installation.installation());
    ASSERT_TRUE(startSession(session));

    QStringList aliases;
    QStringList ids;
    Recordset& subscribers = session.rsSubscribers;
    for (subscribers.moveFirst(); !subscribers.eof() && aliases.size() < 5; subscribers.moveNext())
        if (subscribers.value("SubscriberType").toInt() == 1) {
            aliases << subscribers.value("Alias").toString();
            ids << subscribers.value("SubscriberObjectID").toString();
        }
    ASSERT_EQ(aliases.size(), 5);
    QTemporaryDir folder;
    QFile file(folder.filePath("list.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("Alias\r\n" + aliases.join("\r\n") + "\r\nnobody\r\n").toUtf8());
    file.close();

    SubscriberGrid grid;
    frmSubscriberLoadProgress window;
    const auto addUserToGrid = [&] {
        if (const auto row = gridRowOfCurrentRecords(session, 1))
            grid.appendRow(*row);
    };
    QStringList messages;
    grid.beginFill();
    const CsvImportResult result =
        LoadSubscribersFromCSV(session, file.fileName(), 1, addUserToGrid, window.lineProgress(),
                               [&](const QString& text) { messages << text; },
                               [&](int users) { window.showUsersAdded(users); });
    grid.endFill();

    EXPECT_EQ(result.usersAdded, 5);
    EXPECT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(column(grid, "Alias"), aliases);
    EXPECT_EQ(column(grid, "ObjectID"), ids);
    EXPECT_EQ(window.lblCount()->text(), "Lines=6");
    EXPECT_EQ(window.labelTotal()->text(), "Users added=5");
    EXPECT_EQ(messages, QStringList{"Import complete.   6 lines read in from text file,  5 users added to grid."});
    const auto checked = grid.checkedSubscribers();
    ASSERT_EQ(checked.size(), 5);
    EXPECT_EQ(checked[4].alias, aliases[4]);
    EXPECT_EQ(checked[4].objectID, ids[4]);
}
