#include "search/ui/frmAdvancedHandlerSearch.h"
#include "search/ui/frmAdvancedSubscriberSearch.h"
#include "search/ui/SelectionGridTarget.h"

#include "core/ui/WizardContext.h"
#include "tests/support/widgets/PageHarness.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A selection page as the dialogs see it: a grid of the object IDs added, and a count box.
template <typename Target>
class FakePage : public Target {
public:
    FakePage(Recordset& list, const char* idColumn) : m_list(list), m_idColumn(idColumn) {}
    void clearGrid() override { objectIds.clear(); }
    int gridRowCount() const override { return int(objectIds.size()) + 1; }
    void setUsersInGridText(const QString& text) override { usersInGrid = text; }
    QStringList objectIds{"earlier 1", "earlier 2"};
    QString usersInGrid = " 2";

protected:
    void addCurrent() { objectIds << m_list.value(m_idColumn).toString(); }

private:
    Recordset& m_list;
    QString m_idColumn;
};
struct FakeSubscriberPage : FakePage<SubscriberGridTarget> {
    explicit FakeSubscriberPage(Session& s) : FakePage(s.rsSubscribers, "SubscriberObjectID") {}
    void AddUserToGrid() override { addCurrent(); }
};
struct FakeHandlerPage : FakePage<HandlerGridTarget> {
    explicit FakeHandlerPage(Session& s) : FakePage(s.rsNonPrimaryCallHandlers, "CallHandlerObjectID") {}
    void AddHandlerToGrid() override { addCurrent(); }
};

class FreeSqlDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run.start());
        dialog.show();
    }
    static QTextEdit* txtSQL(QDialog& d) { return d.findChild<QTextEdit*>("txtSQL"); }
    static int gridRows(QDialog& d) { return d.findChild<QTableView*>("gridSQL")->model()->rowCount(); }
    static void execute(QDialog& d, const QString& tail)
    {
        txtSQL(d)->setPlainText(tail);
        click(d, "cmdExecute");
    }
    QString count(const QString& sql) { return session.database.select(sql).rows[0][0].toString(); }
    int stored(const QString& key) { return session.registry.EnumRegValues(HKEY_LOCAL_MACHINE, key).count(); }

    WizardRun run;
    Session& session = run.session;
    WizardContext& context = run.context;
    QStringList& shown = run.shown;
    FakeSubscriberPage page{session};
    frmAdvancedSubscriberSearch dialog{context, page};
};

}  // namespace

TEST_F(FreeSqlDialogs, FixedCaptionsAndTheSmallestSize)
{
    FakeHandlerPage handlerPage(session);
    frmAdvancedHandlerSearch handlerDialog(context, handlerPage);
    EXPECT_EQ(dialog.windowTitle(), "Advanced Subscriber Search Query Builder");
    EXPECT_EQ(handlerDialog.windowTitle(), "Advanced Call Handler Search Query Builder");
    EXPECT_EQ(handlerDialog.findChild<QLabel*>("Label1")->text(), "SELECT vw_CallHandler.* FROM vw_CallHandler");
    EXPECT_EQ(handlerDialog.findChild<QPushButton*>("cmdImport")->text(), "Import Handler");
    EXPECT_EQ(dialog.findChild<QPushButton*>("cmdImport")->text(), "Import Subscribers");

    const int dpi = dialog.logicalDpiX();
    dialog.resize(3000 * dpi / 1440, 3000 * dpi / 1440);
    EXPECT_EQ(dialog.size(), QSize(4000 * dpi / 1440, 3600 * dpi / 1440));
}

TEST_F(FreeSqlDialogs, RefusesTheFourWordsAndWritesWithTheirMessages)
{
    const QString before = count("SELECT (SELECT COUNT(*) FROM Subscriber) || '/' || (SELECT COUNT(*) FROM sqlite_master)");
    const char* tails[] = {"  ", "WHERE lastupdated > 0", "WHERE Alias = 'drop' OR IsDeleted = 1",
                           "WHERE Alias LIKE 'Execute%'", "WHERE Alias = 'drop'",
                           "WHERE 1=0; INSERT INTO Subscriber (Alias) VALUES ('x')", "WHERE 1=0; CREATE TABLE Evil (x)"};
    for (const char* tail : tails) {
        execute(dialog, "   ");
        ASSERT_GT(gridRows(dialog), 0);
        execute(dialog, tail);
        EXPECT_EQ(gridRows(dialog), 0) << tail;   // cut to its header row
    }
    ASSERT_EQ(shown.size(), 7);
    EXPECT_EQ(shown.mid(0, 5), (QStringList{"Invalid SQL query", "You cannot issue updates from this interface",
                                            "You cannot issue DELETEs from this interface",
                                            "You cannot issue EXECUTEs from this interface",
                                            "You cannot issue DROPs from this interface"}));
    EXPECT_TRUE(shown[5].startsWith("Invalid SQL entry:\n")) << shown[5].toStdString();
    EXPECT_TRUE(shown[6].startsWith("Invalid SQL entry:\n")) << shown[6].toStdString();
    EXPECT_EQ(count("SELECT (SELECT COUNT(*) FROM Subscriber) || '/' || (SELECT COUNT(*) FROM sqlite_master)"), before);
    // Only the runs that passed were stored.
    EXPECT_GE(stored(kSubscriberQueriesKey), 1);
    for (const QVariant& query : session.registry.EnumRegValues(HKEY_LOCAL_MACHINE, kSubscriberQueriesKey).data)
        EXPECT_EQ(query.toString(), "   ");

    // After a failed run there is nothing to import.
    click(dialog, "cmdImport");
    EXPECT_EQ(shown.last(), "You must create a query to select subscribers first");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(page.objectIds.size(), 2);
}

TEST_F(FreeSqlDialogs, ImportReplacesTheSelectionGridAndReportsTheCount)
{
    execute(dialog, "WHERE SubscriberType = 1\nORDER BY Alias");
    const int found = gridRows(dialog);
    ASSERT_EQ(QString::number(found), count("SELECT COUNT(*) FROM vw_Subscriber WHERE SubscriberType = 1"));
    click(dialog, "cmdImport");
    ASSERT_EQ(page.objectIds.size(), found);
    EXPECT_EQ(page.objectIds.first(),
              count("SELECT SubscriberObjectID FROM vw_Subscriber WHERE SubscriberType = 1 ORDER BY Alias LIMIT 1"));
    EXPECT_EQ(shown, QStringList{" " + QString::number(found) + " new subscribers added to grid"});
    EXPECT_EQ(page.usersInGrid, " " + QString::number(found));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    // Primary call handlers are never imported by the handler dialog; Cancel changes nothing.
    FakeHandlerPage handlerPage(session);
    frmAdvancedHandlerSearch handlerDialog(context, handlerPage);
    execute(handlerDialog, "WHERE IsPrimary = 1");
    ASSERT_GT(gridRows(handlerDialog), 0);
    click(handlerDialog, "cmdCancel");
    EXPECT_EQ(handlerPage.objectIds.size(), 2);
    execute(handlerDialog, "WHERE IsPrimary = 1");
    click(handlerDialog, "cmdImport");
    EXPECT_TRUE(handlerPage.objectIds.isEmpty());
    EXPECT_EQ(shown.last(), " 0 new handlers added to grid");
    // Both runs were stored; run within one second they share one value name.
    EXPECT_GE(stored(kHandlerQueriesKey), 1);
    EXPECT_LE(stored(kHandlerQueriesKey), 2);
}

TEST_F(FreeSqlDialogs, EveryOpeningStartsEmptyWhicheverWayTheLastOneEnded)
{
    const std::pair<const char*, std::function<void()>> waysOut[] = {
        {"Cancel", [&] { click(dialog, "cmdCancel"); }},
        {"window frame", [&] { dialog.close(); }},
        {"Import", [&] { click(dialog, "cmdImport"); }},
    };
    for (const auto& [way, leave] : waysOut) {
        SCOPED_TRACE(way);
        execute(dialog, "WHERE SubscriberType = 1");
        ASSERT_GT(gridRows(dialog), 0);
        leave();
        ASSERT_FALSE(dialog.isVisible());
        dialog.show();
        EXPECT_TRUE(txtSQL(dialog)->toPlainText().isEmpty());
        EXPECT_EQ(gridRows(dialog), 0);
    }
}

TEST_F(FreeSqlDialogs, ResultColumnsAreWideEnoughForTheirHeadersAndValues)
{
    auto* grid = dialog.findChild<QTableView*>("gridSQL");
    execute(dialog, "WHERE SubscriberType = 1");
    ASSERT_GT(gridRows(dialog), 0);
    EXPECT_FALSE(grid->wordWrap());
    const QFontMetrics metrics(grid->font());
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        const QString header = grid->model()->headerData(column, Qt::Horizontal).toString();
        SCOPED_TRACE(header.toStdString());
        EXPECT_GE(grid->columnWidth(column), grid->horizontalHeader()->sectionSizeHint(column));
        int widest = 0;
        for (int row = 0; row < gridRows(dialog); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(grid->model()->index(row, column).data().toString()));
        EXPECT_GT(grid->columnWidth(column), widest);
    }
}

TEST_F(FreeSqlDialogs, PreviousQueriesMenuListsTheStoredOnesAndRestoresTheFullText)
{
    QMenu* menu = dialog.findChild<QMenu*>("mnuPreviousQueriesPopup");
    const auto captions = [&] {
        menu->hide();
        click(dialog, "cmdPreviousQueries");
        QStringList list;
        for (const QAction* item : menu->actions())
            list << item->text();
        return list;
    };
    txtSQL(dialog)->setPlainText("typed");
    ASSERT_EQ(captions(), QStringList{"No previous queries stored"});
    menu->actions()[0]->trigger();
    EXPECT_TRUE(txtSQL(dialog)->toPlainText().isEmpty());

    StoredQueries queries(session.registry, kSubscriberQueriesKey);
    const QDateTime start(QDate(2024, 5, 1), QTime(9, 0, 0));
    const QString list = QStringList(20, "'someone'").join(", ");
    queries.StorePreviousQuery("where 1=1", start);
    queries.StorePreviousQuery("where alias in (" + list + ")\norder by alias", start.addSecs(1));
    queries.StorePreviousQuery("where Alias = 'b'", start.addSecs(2));
    ASSERT_EQ(captions(), (QStringList{"where Alias = 'b'", ("where alias in (" + list + ") order by alias").left(90),
                                       "where 1=1"}));
    menu->findChild<QAction*>("mnuPreviousQuery_1")->trigger();
    EXPECT_EQ(txtSQL(dialog)->toPlainText(), "WHERE alias IN (" + list + ")\nORDER BY alias");   // coloured

    // Values gone since the last display leave no entries behind.
    session.registry.DeleteRegValue(HKEY_LOCAL_MACHINE, kSubscriberQueriesKey, "20240501090002");
    session.registry.DeleteRegValue(HKEY_LOCAL_MACHINE, kSubscriberQueriesKey, "20240501090001");
    EXPECT_EQ(captions(), QStringList{"where 1=1"});
}
