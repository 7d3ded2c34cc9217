#include "handlers/ui/frmChooseHandlers.h"

#include "core/ui/WizardContext.h"
#include "core/ui/frmMain.h"
#include "handlers/ui/HandlerGrid.h"
#include "search/FreeQuery.h"
#include "search/ui/frmDistributionListSearch.h"
#include "search/ui/frmSubscriberSearch.h"
#include "tests/support/widgets/PageHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The handler selection page of a started run, created as the start page's Next creates it.
class HandlerPage : public WizardRun {
public:
    explicit HandlerPage(QStringList arguments = {}) : WizardRun(TempInstallation::smallOptions(), std::move(arguments))
    {
        context.handlerSelectionPage = [this]() -> QWidget* {
            if (!form)
                form = new frmChooseHandlers(context);
            form->optionsPage = [this]() -> QWidget* {
                ++optionsPageOpened;
                return nullptr;
            };
            return form;
        };
    }
    ~HandlerPage() { delete form.data(); }

    ::testing::AssertionResult open()
    {
        const ::testing::AssertionResult started = start();
        if (!started)
            return started;
        context.handlerSelectionPage();
        return ::testing::AssertionSuccess();
    }

    template <typename Widget> Widget* child(const char* name) const { return findByName<Widget>(*form, QLatin1String(name)); }
    HandlerGrid& grid() const { return *child<HandlerGrid>("myGrid"); }
    void click(const char* button) const { ::click(*form, QLatin1String(button)); }
    QString text(const char* box) const { return child<QLineEdit>(box)->text(); }
    void chooseType(int code) const
    {
        auto* types = child<QComboBox>("cmbHandlerSelectType");
        types->setCurrentIndex(types->findData(code));
    }
    QStringList visibleCriteria() const
    {
        QStringList names;
        for (QWidget* control : form->findChildren<QWidget*>())
            if (kCriterionNames.contains(control->objectName()) && !control->isHidden())
                names << control->objectName();
        names.sort();
        return names;
    }
    QStringList checks() const
    {
        QStringList states;
        for (int row = 1; row < grid().Rows(); ++row)
            states << grid().TextMatrix(row, "Selected");
        return states;
    }
    void clickCell(int row, const char* key, int delay = -1) const
    {
        const QRect cell = grid().visualRect(grid().model()->index(row - 1, grid().column(key)));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center(), delay);
    }

    static inline const QStringList kCriterionNames{
        "txtHandlerExtensionRangeHigh", "txtHandlerExtensionRangeLow", "lblExtensionTo", "txtCallHandlerOwnerDL",
        "txtCallHandlerOwnerSubscriber", "txtCallHandlerRecipientDL", "txtCallHandlerRecipientSubscriber",
        "comHandlerSwitch", "txtCSVPath", "cmdBrowseForCSV", "cmdChooseCallHandlerOwnerDL",
        "cmdChooseCallHandlerOwnerSubscriber", "cmdChooseCallHandlerRecipientDL",
        "cmdChooseCallHandlerRecipientSubscriber", "txtCallHandlerOwnerDLObjectID", "txtCallHandlerRecipientDLObjectID",
        "txtCallHandlerOwnerSubscriberObjectID", "txtCallHandlerRecipientSubscriberObjectID", "cmdClearGrid"};
    QPointer<frmChooseHandlers> form;
    int optionsPageOpened = 0;
};

int nonPrimaryHandlers(Session& session)
{
    return session.database.select("SELECT COUNT(*) FROM vw_CallHandler_NonPrimary").rows[0][0].toInt();
}

}  // namespace

TEST(HandlerPageLoad, FirstShowingAndTheTypeList)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.form->windowTitle(), "Kestrane - Choose Call Handlers");
    const auto* types = page.child<QComboBox>("cmbHandlerSelectType");
    QList<int> codes;
    for (int i = 0; i < types->count(); ++i)
        codes << types->itemData(i).toInt();
    EXPECT_EQ(codes, (QList<int>{1, 2, 7, 4, 3, 6, 5, 8}));
    EXPECT_EQ(types->currentText(), "All call handlers");
    EXPECT_EQ(types->itemText(7), "Handlers found in this CSV file:");
    EXPECT_EQ(focusedName(*page.form), "cmbHandlerSelectType");
    EXPECT_TRUE(page.visibleCriteria().isEmpty());
    EXPECT_EQ(page.text("txtUsersInGrid"), "0");
    EXPECT_EQ(page.grid().Rows(), 1);
    EXPECT_TRUE(page.child<QPushButton>("cmdAdvancedSearch")->isHidden());
    EXPECT_EQ(page.text("txtCallHandlerRecipientDLObjectID"), "txtCallhandlerRecipientDLObjectID");
    EXPECT_EQ(page.text("txtCallHandlerOwnerDLObjectID"), "txtCallHandlerOwnerDLObjectID");
    EXPECT_EQ(page.child<QComboBox>("comHandlerSwitch")->count(), page.session.switchInfo.iSwitchCount());
    for (const char* box : {"txtCallHandlerOwnerDL", "txtCallHandlerOwnerSubscriber", "txtCallHandlerRecipientDL",
                            "txtCallHandlerRecipientSubscriber"})
        EXPECT_TRUE(page.child<QLineEdit>(box)->isReadOnly()) << box;
    const std::pair<const char*, const char*> headers[] = {{"Alias", "Alias"},
                                                           {"DisplayName", "Display Name"},
                                                           {"Extension", "Extension"},
                                                           {"MessageRecipient", "Message Recipient"},
                                                           {"HandlerOwner", "Handler Owner"},
                                                           {"ObjectID", "ObjectID"}};
    for (const auto& [key, header] : headers)
        EXPECT_EQ(page.grid().headerText(key), header);
    EXPECT_FALSE(page.grid().isColumnShown("ObjectID"));
    EXPECT_TRUE(page.grid().isColumnHidden(0));
    EXPECT_TRUE(page.shown.isEmpty()) << page.shown.join('\n').toStdString();

    for (const char* argument : {"/advanced", "ADVANCED"}) {
        HandlerPage advanced({argument});
        ASSERT_TRUE(advanced.open());
        EXPECT_FALSE(advanced.child<QPushButton>("cmdAdvancedSearch")->isHidden()) << argument;
    }
}

TEST(HandlerPageCriteria, EachTypeShowsItsControlsAndKeepsTheirText)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    page.chooseType(2);
    EXPECT_EQ(page.visibleCriteria(),
              (QStringList{"lblExtensionTo", "txtHandlerExtensionRangeHigh", "txtHandlerExtensionRangeLow"}));
    page.child<QLineEdit>("txtHandlerExtensionRangeLow")->setText("1000");
    page.chooseType(3);
    EXPECT_EQ(page.visibleCriteria(), (QStringList{"cmdChooseCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriber"}));
    page.chooseType(7);
    EXPECT_EQ(page.visibleCriteria(), QStringList{"comHandlerSwitch"});
    page.chooseType(8);
    EXPECT_EQ(page.visibleCriteria(), (QStringList{"cmdBrowseForCSV", "txtCSVPath"}));
    page.chooseType(2);
    EXPECT_EQ(page.text("txtHandlerExtensionRangeLow"), "1000");
    // The criterion stands in the row of the type list.
    const auto* types = page.child<QComboBox>("cmbHandlerSelectType");
    const QWidget* low = page.child<QWidget>("txtHandlerExtensionRangeLow");
    EXPECT_EQ(low->geometry().center().y(), types->geometry().center().y());

    auto* list = page.child<QComboBox>("cmbHandlerSelectType");
    list->addItem("bogus", 9);
    list->setCurrentIndex(list->count() - 1);
    EXPECT_EQ(page.shown, QStringList{"Error! Invalid handler selection value."});
    EXPECT_TRUE(page.visibleCriteria().isEmpty());
}

TEST(HandlerPageView, EveryClickReplacesTheRowsAndWritesTheCountWithABlank)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    const int handlers = nonPrimaryHandlers(page.session);
    for (int pass = 0; pass < 2; ++pass) {
        page.click("cmdView");
        EXPECT_EQ(page.grid().Rows(), handlers + 1);
        EXPECT_EQ(page.text("txtUsersInGrid"), " " + QString::number(handlers));
    }
    EXPECT_EQ(page.checks(), QStringList(handlers, "1"));
    auto* progress = page.form->findChild<QWidget*>("frmSubscriberLoadProgress");
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isHidden());
    EXPECT_EQ(progress->findChild<QWidget*>("frameMainTitle")->property("title").toString(), "Loading handler data...");
    EXPECT_EQ(progress->findChild<QLabel*>("lblCount")->text(), QString::number(handlers));   // the last count

    // A refused click leaves an empty grid and the window hidden.
    bool progressShownDuringMessage = false;
    page.messages.setAnswerer([&](const MessageBoxService::Request& request) {
        page.shown << request.text;
        progressShownDuringMessage = progress->isVisible() && progress->findChild<QLabel*>("labelOf")->isHidden();
        return QMessageBox::Ok;
    });
    page.chooseType(2);
    page.child<QLineEdit>("txtHandlerExtensionRangeLow")->setText("-5");
    page.child<QLineEdit>("txtHandlerExtensionRangeHigh")->setText("10");
    page.click("cmdView");
    EXPECT_EQ(page.shown, QStringList{page.session.languages.mymyLoadString(168)});
    EXPECT_TRUE(progressShownDuringMessage);
    EXPECT_TRUE(progress->isHidden());
    EXPECT_EQ(page.grid().Rows(), 1);
    EXPECT_EQ(page.text("txtUsersInGrid"), " 0");
}

TEST(HandlerPageGrid, RowsStartCheckedClicksOnTextFlipThemAndTheHeaderDoesNothing)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    Recordset& list = page.session.rsNonPrimaryCallHandlers;
    list.moveFirst();
    page.form->AddHandlerToGrid();
    page.form->AddHandlerToGrid();   // no duplicate check: two rows
    list.moveNext();
    page.form->AddHandlerToGrid();
    ASSERT_EQ(page.grid().Rows(), 4);
    EXPECT_EQ(page.text("txtUsersInGrid"), "0");   // left to the callers
    EXPECT_EQ(page.grid().TextMatrix(1, "ObjectID"), page.grid().TextMatrix(2, "ObjectID"));
    EXPECT_EQ(page.grid().TextMatrix(3, "ObjectID"), list.value("CallHandlerObjectID").toString());
    EXPECT_EQ(page.grid().TextMatrix(3, ""), "");
    EXPECT_EQ(page.grid().model()->index(2, 0).data().toString(), "3");

    page.form->resize(900, 500);
    page.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.form));
    page.clickCell(2, "Alias");
    EXPECT_EQ(page.checks(), (QStringList{"1", "0", "1"}));
    page.clickCell(2, "Alias", QApplication::doubleClickInterval() + 20);   // a second click, not a double click
    page.clickCell(3, "selected");
    EXPECT_EQ(page.checks(), (QStringList{"1", "1", "0"}));
    QHeaderView* header = page.grid().horizontalHeader();
    const int alias = page.grid().column("Alias");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(alias) + 5, header->height() / 2));
    EXPECT_EQ(page.checks(), (QStringList{"1", "1", "0"}));
    EXPECT_EQ(page.grid().TextMatrix(3, "ObjectID"), list.value("CallHandlerObjectID").toString());   // not sorted
    const QModelIndex cell = page.grid().model()->index(0, alias);
    EXPECT_FALSE(page.grid().model()->flags(cell) & Qt::ItemIsEditable);
    EXPECT_FALSE(page.grid().model()->setData(cell, "changed"));

    page.click("cmdUnselectAll");
    EXPECT_EQ(page.checks(), (QStringList{"0", "0", "0"}));
    page.click("cmdSelectAll");
    EXPECT_EQ(page.checks(), (QStringList{"1", "1", "1"}));
}

TEST(HandlerPageNavigation, NextNeedsACheckedRowAndPreviousKeepsEverything)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    const QString empty = page.session.languages.mymyLoadString(295);
    const QString noneChecked = page.session.languages.mymyLoadString(297);
    EXPECT_EQ(empty, "You must first select call handlers to edit");
    page.click("cmdNext");
    EXPECT_EQ(page.shown, QStringList{empty});
    page.click("cmdView");
    page.click("cmdUnselectAll");
    page.click("cmdNext");
    EXPECT_EQ(page.shown, (QStringList{empty, noneChecked}));
    EXPECT_EQ(page.optionsPageOpened, 0);

    page.grid().setChecked(2, true);
    page.click("cmdNext");
    EXPECT_EQ(page.shown.size(), 2);
    EXPECT_EQ(page.optionsPageOpened, 1);
    const WizardState& state = page.context.state;
    ASSERT_EQ(state.selectionGridRowCount(), page.grid().Rows());
    EXPECT_EQ(state.selectionGridRows[1],
              (SelectionGridRow{true, page.grid().TextMatrix(2, "Alias"), page.grid().TextMatrix(2, "ObjectID")}));
    EXPECT_FALSE(state.selectionGridRows[0].checked);
    expectNextWaitsForTheOptionsPage(*page.form, page.form->optionsPage);

    // Previous hides the page; the start page's Next shows the same instance, rows and checks.
    const QStringList checks = page.checks();
    const int rows = page.grid().Rows();
    page.chooseType(2);
    page.form->show();
    page.click("cmdPrevious");
    EXPECT_TRUE(page.form->isHidden());
    EXPECT_TRUE(page.startPage().isVisible());
    QPointer<frmChooseHandlers> before = page.form;
    findByName<QRadioButton>(page.startPage(), "optEditCallHandlers")->setChecked(true);
    ::click(page.startPage(), "cmdNext");
    EXPECT_EQ(page.form, before);
    EXPECT_TRUE(page.form->isVisible());
    EXPECT_EQ(page.grid().Rows(), rows);
    EXPECT_EQ(page.checks(), checks);
    EXPECT_EQ(page.child<QComboBox>("cmbHandlerSelectType")->currentData().toInt(), 2);
}

TEST(HandlerPagePickers, FindUsesTheSharedPickersAndCancelEmptiesBothBoxes)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    frmSubscriberSearch subscribers(page.context);
    subscribers.bShowRemoteSubscribers = true;
    page.chooseType(3);
    page.child<QLineEdit>("txtCallHandlerOwnerSubscriber")->setText("Earlier pick");
    whileShown(subscribers, [&] { click(subscribers, "cmdCancel"); },
               [&] { page.click("cmdChooseCallHandlerOwnerSubscriber"); });
    EXPECT_FALSE(subscribers.bShowRemoteSubscribers);
    EXPECT_EQ(page.text("txtCallHandlerOwnerSubscriber"), "");
    EXPECT_EQ(page.text("txtCallHandlerOwnerSubscriberObjectID"), "");

    frmDistributionListSearch lists(page.context);
    const auto first = page.session.database.select(
        "SELECT DisplayName, SystemDListObjectID FROM vw_DistributionList ORDER BY DisplayName LIMIT 1");
    whileShown(lists, [&] {
        findByName<QLineEdit>(lists, "txtSearchString")->setText("*");
        click(lists, "cmdSearch");
        auto* view = findByName<QTableView>(lists, "myGrid");
        view->selectRow(0);
        lists.strDisplayName.clear();
        click(lists, "cmdOK");
    }, [&] { page.click("cmdChooseCallHandlerRecipientDL"); });
    EXPECT_FALSE(page.text("txtCallHandlerRecipientDL").isEmpty());
    EXPECT_EQ(page.text("txtCallHandlerRecipientDLObjectID"), lists.strObjectID);
}

TEST(HandlerPageImport, FreeQueryRowsFillThisGrid)
{
    HandlerPage page;
    ASSERT_TRUE(page.open());
    const QueryResult result = runFreeQuery(page.session, FreeQueryKind::Handlers, "WHERE IsPrimary = 0");
    importFreeQueryRows(result, FreeQueryKind::Handlers, page.session, [&] { page.form->AddHandlerToGrid(); });
    EXPECT_EQ(page.grid().Rows(), nonPrimaryHandlers(page.session) + 1);
}
