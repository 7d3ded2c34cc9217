#include "subscribers/ui/frmChooseSubscribers.h"

#include "core/ui/WizardContext.h"
#include "core/ui/frmMain.h"
#include "subscribers/ui/SubscriberGrid.h"
#include "core/ui/frmSubscriberLoadProgress.h"
#include "tests/support/widgets/PageHarness.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

velmo::InstallationOptions server(int major, int minor, int release, int build)
{
    return TempInstallation::smallServer(major, minor, release, build);
}

// The selection page of a started run whose start page chose `kind`; message boxes are
// recorded and answered OK.
class SelectionPage : public WizardRun {
public:
    explicit SelectionPage(qint16 kind, const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                           QStringList arguments = {})
        : WizardRun(options, std::move(arguments))
    {
        context.state.iSelectedSubscriberType = kind;
    }
    ~SelectionPage() { delete form.data(); }

    ::testing::AssertionResult open()
    {
        const ::testing::AssertionResult started = start();
        if (!started)
            return started;
        form = new frmChooseSubscribers(context);
        return ::testing::AssertionSuccess();
    }

    template <typename Widget>
    Widget* child(const char* name) const
    {
        return findByName<Widget>(*form, QLatin1String(name));
    }
    SubscriberGrid& grid() const { return *child<SubscriberGrid>("myGrid"); }
    void click(const char* button) const { ::click(*form, QLatin1String(button)); }

    QList<int> typeCodes() const
    {
        QList<int> codes;
        const auto* types = child<QComboBox>("cmbSubscriberSelectType");
        for (int i = 0; i < types->count(); ++i)
            codes << types->itemData(i).toInt();
        return codes;
    }
    void chooseType(int code) const
    {
        auto* types = child<QComboBox>("cmbSubscriberSelectType");
        types->setCurrentIndex(types->findData(code));
    }
    static QStringList items(const QComboBox* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }
    QStringList column(const QString& sql) const
    {
        QStringList values;
        for (const auto& row : const_cast<Session&>(session).database.select(sql).rows)
            values << row.value(0).toString();
        return values;
    }
    QStringList visibleCriteria() const
    {
        QStringList names;
        for (const char* name : {"txtSubscriberExtensionRangeLow", "lblExtensionRangeTo", "txtSubscriberExtensionRangeHigh",
                                 "txtPublicDistributionListName", "cmdChoosePublicDL", "comSubscriberSwitch", "txtCSVPath",
                                 "cmdBrowseForCSV", "ComSubscribersCOS", "comSubscriberMailServer", "comSubscriberLocation",
                                 "comSubscriberNodeID", "txtPublicDistributionListObjectID", "comHiddenCOS",
                                 "comSubscriberLocationHidden"})
            if (!child<QWidget>(name)->isHidden())
                names << QLatin1String(name);
        return names;
    }

    QPointer<frmChooseSubscribers> form;
};

const QString kOrdinaryWithHandler = QStringLiteral(
    "SELECT DISTINCT s.SubscriberObjectID FROM vw_Subscriber s JOIN vw_CallHandler h "
    "ON s.CallHandlerObjectID = h.CallHandlerObjectID JOIN vw_COS c ON s.COSObjectID = c.COSObjectID "
    "WHERE s.SubscriberType IN (1, 3)");

TEST(SelectionPageLoad, OrdinarySubscribersOnARemoteNodeServerGetEightTypesAndTheNodeColumns)
{
    SelectionPage page(1, server(4, 0, 2, 23));
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.typeCodes(), (QList<int>{1, 2, 3, 4, 6, 7, 5, 9}));
    const auto* types = page.child<QComboBox>("cmbSubscriberSelectType");
    EXPECT_EQ(types->itemText(0), "All subscribers");
    EXPECT_EQ(types->itemText(6), "Subscribers homed on this mail server:");
    EXPECT_EQ(types->itemText(7), "Subscribers associated with this remote node ID:");
    EXPECT_EQ(types->currentIndex(), 0);
    EXPECT_EQ(focusedName(*page.form), "cmbSubscriberSelectType");
    EXPECT_TRUE(page.grid().isColumnShown("RemoteNodeID"));
    EXPECT_TRUE(page.grid().isColumnShown("LegacyMailbox"));

    const QStringList nodes = page.column("SELECT DISTINCT RemoteNodeID FROM Subscriber WHERE RemoteNodeID IS NOT NULL "
                                          "ORDER BY RemoteNodeID");
    EXPECT_FALSE(nodes.isEmpty());
    EXPECT_EQ(SelectionPage::items(page.child<QComboBox>("comSubscriberNodeID")), nodes);
    QStringList homeServers = SelectionPage::items(page.child<QComboBox>("comSubscriberMailServer"));
    homeServers.sort();
    EXPECT_EQ(homeServers, page.column("SELECT DISTINCT HomeServer FROM Subscriber WHERE HomeServer IS NOT NULL "
                                       "ORDER BY HomeServer"));

    // Class of service names in name order, each carrying the position of its alias.
    const auto* names = page.child<QComboBox>("ComSubscribersCOS");
    const auto* aliases = page.child<QComboBox>("comHiddenCOS");
    EXPECT_EQ(SelectionPage::items(names), page.column("SELECT TextName FROM vw_COS ORDER BY TextName"));
    EXPECT_EQ(SelectionPage::items(aliases), page.column("SELECT Alias FROM vw_COS ORDER BY TextName"));
    for (int i = 0; i < names->count(); ++i)
        EXPECT_EQ(names->itemData(i).toInt(), i);
    EXPECT_EQ(page.child<QComboBox>("comSubscriberSwitch")->count(), page.session.switchInfo.iSwitchCount());
    EXPECT_EQ(page.child<QComboBox>("comSubscriberSwitch")->currentText(), QString());   // nothing chosen yet
    EXPECT_TRUE(page.shown.isEmpty()) << page.shown.join('\n').toStdString();
}

TEST(SelectionPageLoad, RemoteNodesNeedOrdinarySubscribersOn4_0_2_23OrLater)
{
    SelectionPage older(1, server(4, 0, 2, 22));
    ASSERT_TRUE(older.open());
    EXPECT_EQ(older.typeCodes(), (QList<int>{1, 2, 3, 4, 6, 7, 5}));
    EXPECT_FALSE(older.grid().isColumnShown("RemoteNodeID"));
    EXPECT_FALSE(older.grid().isColumnShown("LegacyMailbox"));

    SelectionPage major5(1, server(5, 0, 0, 1));
    ASSERT_TRUE(major5.open());
    EXPECT_EQ(major5.typeCodes().last(), 9);
}

TEST(SelectionPageLoad, InternetSubscribersGetSixTypesAndNoLocations)
{
    SelectionPage page(2, server(4, 0, 2, 23));
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.typeCodes(), (QList<int>{1, 2, 3, 4, 6, 7}));
    EXPECT_FALSE(page.grid().isColumnShown("RemoteNodeID"));
    EXPECT_EQ(page.child<QComboBox>("comSubscriberLocation")->count(), 0);
    EXPECT_TRUE(page.shown.isEmpty());
}

TEST(SelectionPageLoad, AmisSubscribersGetTheLocationsOfTheirKindAndTheListIsUnfilteredAgain)
{
    SelectionPage page(5, server(4, 0, 2, 23));
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.typeCodes(), (QList<int>{1, 2, 3, 4, 6, 7, 8}));
    EXPECT_FALSE(page.grid().isColumnShown("LegacyMailbox"));
    const QStringList names = page.column("SELECT TextName FROM vw_Location WHERE DestinationType = 5 ORDER BY LocationObjectID");
    EXPECT_FALSE(names.isEmpty());
    EXPECT_EQ(SelectionPage::items(page.child<QComboBox>("comSubscriberLocation")), names);
    EXPECT_EQ(SelectionPage::items(page.child<QComboBox>("comSubscriberLocationHidden")),
              page.column("SELECT LocationObjectID FROM vw_Location WHERE DestinationType = 5 ORDER BY LocationObjectID"));
    EXPECT_TRUE(page.session.rsLocations.filter().isEmpty());
    EXPECT_EQ(page.session.rsLocations.recordCount(), page.column("SELECT LocationObjectID FROM vw_Location").size());
}

TEST(SelectionPageLoad, AKindWithoutDeliveryLocationsIsToldOnceAndThePageStillOpens)
{
    SelectionPage page(7);
    page.sql("DELETE FROM Location WHERE DestinationType = 7");
    ASSERT_TRUE(page.open());
    EXPECT_EQ(page.shown, QStringList{page.session.languages.mymyLoadString(330)});
    EXPECT_TRUE(page.typeCodes().contains(8));
    EXPECT_EQ(page.child<QComboBox>("comSubscriberLocation")->count(), 0);
    EXPECT_TRUE(page.session.rsLocations.filter().isEmpty());
}

TEST(SelectionPageLoad, TheWordAdvancedInAnyCaseShowsTheAdvancedSearchButton)
{
    for (const QString& argument : {QStringLiteral("advanced"), QStringLiteral("/ADVANCED"), QStringLiteral("AdVaNcEd")}) {
        SelectionPage page(1, TempInstallation::smallOptions(), {argument});
        ASSERT_TRUE(page.open());
        EXPECT_FALSE(page.child<QPushButton>("cmdAdvancedSearch")->isHidden()) << argument.toStdString();
    }
    SelectionPage plain(1, TempInstallation::smallOptions(), {"/debug"});
    ASSERT_TRUE(plain.open());
    EXPECT_TRUE(plain.child<QPushButton>("cmdAdvancedSearch")->isHidden());
}

TEST(SelectionPageCriteria, EachTypeShowsItsOwnControlsAndKeepsWhatWasEntered)
{
    SelectionPage page(1, server(4, 0, 2, 23));
    ASSERT_TRUE(page.open());
    EXPECT_TRUE(page.visibleCriteria().isEmpty());

    page.chooseType(2);
    EXPECT_EQ(page.visibleCriteria(),
              (QStringList{"txtSubscriberExtensionRangeLow", "lblExtensionRangeTo", "txtSubscriberExtensionRangeHigh"}));
    page.child<QLineEdit>("txtSubscriberExtensionRangeLow")->setText("1000");
    page.chooseType(6);
    EXPECT_EQ(page.visibleCriteria(), (QStringList{"txtCSVPath", "cmdBrowseForCSV"}));
    page.chooseType(9);
    EXPECT_EQ(page.visibleCriteria(), QStringList{"comSubscriberNodeID"});
    page.chooseType(2);
    EXPECT_EQ(page.child<QLineEdit>("txtSubscriberExtensionRangeLow")->text(), "1000");
    page.chooseType(1);
    EXPECT_TRUE(page.visibleCriteria().isEmpty());
    EXPECT_TRUE(page.shown.isEmpty());

    auto* types = page.child<QComboBox>("cmbSubscriberSelectType");
    types->addItem("bogus", 42);
    types->setCurrentIndex(types->count() - 1);
    EXPECT_EQ(page.shown, QStringList{"Error! Invalid subscriber selection value."});
    EXPECT_TRUE(page.visibleCriteria().isEmpty());
}

TEST(SelectionPageView, AllSubscribersFillTheGridAndASecondViewReplacesTheRows)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    const int expected = page.column(kOrdinaryWithHandler).size();
    ASSERT_GT(expected, 1);

    for (int pass = 0; pass < 2; ++pass) {
        page.click("cmdView");
        EXPECT_EQ(page.grid().Rows(), expected + 1);
        EXPECT_EQ(page.child<QLineEdit>("txtUsersInGrid")->text(), QString::number(expected));
    }
    EXPECT_TRUE(page.grid().isChecked(1));
    EXPECT_FALSE(page.grid().TextMatrix(1, "ObjectID").isEmpty());
    EXPECT_LE(page.grid().TextMatrix(1, "Alias").toLower(), page.grid().TextMatrix(2, "Alias").toLower());
    EXPECT_TRUE(page.shown.isEmpty()) << page.shown.join('\n').toStdString();
    EXPECT_TRUE(page.child<QWidget>("frmSubscriberLoadProgress")->isHidden());

    // A View whose check fails still leaves an empty grid behind.
    page.chooseType(7);
    page.click("cmdView");
    EXPECT_EQ(page.shown, QStringList{page.session.languages.mymyLoadString(333)});
    EXPECT_EQ(page.grid().Rows(), 1);
    EXPECT_EQ(page.child<QLineEdit>("txtUsersInGrid")->text(), "0");
}

TEST(SelectionPageView, ARefusedViewShowsItsMessageAboveTheProgressWindowWhichStartsFromEmptyCounts)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    page.click("cmdView");   // leaves "n of n" behind in the progress window
    auto* progress = page.form->findChild<frmSubscriberLoadProgress*>("frmSubscriberLoadProgress");
    ASSERT_NE(progress, nullptr);
    ASSERT_FALSE(progress->labelTotal()->text().isEmpty());

    struct Seen {
        QWidget* owner;
        bool progressShown;
        QString counts;
    };
    QList<Seen> seen;
    page.messages.setAnswerer([&](const MessageBoxService::Request& request) {
        page.shown << request.text;
        seen.append({request.owner, progress->isVisible(),
                     progress->lblCount()->text() + progress->labelOf()->text() + progress->labelTotal()->text()});
        return QMessageBox::Ok;
    });
    const auto language = [&](int number) { return page.session.languages.mymyLoadString(number); };
    const std::tuple<int, const char*, const char*, QString> refusals[] = {
        {2, "200", "100", language(168)},
        {2, "a1", "5", language(169)},
        {3, "", "", language(334)},
        {3, "Nobody's list", "NO-SUCH-LIST", "No subscribers found in that distribution list"},
    };
    for (const auto& [type, first, second, message] : refusals) {
        SCOPED_TRACE(message.toStdString());
        page.shown.clear();
        seen.clear();
        page.chooseType(type);
        const char* firstBox = type == 2 ? "txtSubscriberExtensionRangeLow" : "txtPublicDistributionListName";
        const char* secondBox = type == 2 ? "txtSubscriberExtensionRangeHigh" : "txtPublicDistributionListObjectID";
        page.child<QLineEdit>(firstBox)->setText(first);
        page.child<QLineEdit>(secondBox)->setText(second);
        page.click("cmdView");
        EXPECT_EQ(page.shown, QStringList{message});
        ASSERT_EQ(seen.size(), 1);
        EXPECT_EQ(seen[0].owner, progress);
        EXPECT_TRUE(seen[0].progressShown);
        EXPECT_EQ(seen[0].counts, "of ");
        EXPECT_TRUE(progress->isHidden());
        EXPECT_EQ(page.child<QLineEdit>("txtUsersInGrid")->text(), "0");
    }
}

TEST(SelectionPageView, ACsvFileAddsTheSubscribersItNames)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    const QStringList aliases = page.column("SELECT s.Alias FROM vw_Subscriber s JOIN vw_CallHandler h ON "
                                            "s.CallHandlerObjectID = h.CallHandlerObjectID "
                                            "WHERE s.SubscriberType IN (1, 3) ORDER BY s.Alias LIMIT 3");
    ASSERT_EQ(aliases.size(), 3);
    QTemporaryDir folder;
    QFile csv(folder.filePath("pick.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(("Alias\r\n" + aliases.join("\r\n") + "\r\nnobody-by-this-alias\r\n").toUtf8());
    csv.close();

    page.chooseType(6);
    page.child<QLineEdit>("txtCSVPath")->setText(csv.fileName());
    page.click("cmdView");
    EXPECT_EQ(page.grid().Rows(), 4) << page.shown.join('\n').toStdString();
    EXPECT_EQ(page.grid().TextMatrix(3, "Alias"), aliases[2]);
    EXPECT_EQ(page.child<QLineEdit>("txtUsersInGrid")->text(), "3");
    ASSERT_EQ(page.shown.size(), 1);
    EXPECT_TRUE(page.shown[0].startsWith("Import complete.")) << page.shown[0].toStdString();
}

TEST(SelectionPageView, AChosenDistributionListSurvivesALanguageSwitch)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    const auto list = page.session.database.select(
        "SELECT d.SystemDListObjectID, d.DisplayName FROM vw_DistributionList d JOIN vw_SystemDListMember m "
        "ON m.ParentObjectID = d.SystemDListObjectID GROUP BY d.SystemDListObjectID ORDER BY COUNT(*) DESC LIMIT 1");
    ASSERT_EQ(list.rows.size(), 1);
    page.chooseType(3);
    page.child<QLineEdit>("txtPublicDistributionListName")->setText(list.rows[0][1].toString());
    page.child<QLineEdit>("txtPublicDistributionListObjectID")->setText(list.rows[0][0].toString());

    page.forms.runAutoInits();
    page.click("cmdView");
    EXPECT_GT(page.grid().Rows(), 1) << page.shown.join('\n').toStdString();
}

TEST(SelectionPageRows, AddUserToGridTakesOnlySubscribersOfTheChosenKind)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    Session& s = page.session;
    const auto positionOn = [&](const QString& where) {
        const QString id = page.column("SELECT SubscriberObjectID FROM vw_Subscriber WHERE " + where + " LIMIT 1").value(0);
        s.rsSubscribers.moveFirst();
        ASSERT_TRUE(s.rsSubscribers.find("SubscriberObjectID='" + id + "'"));
        s.rsPrimaryCallHandlers.moveFirst();
        ASSERT_TRUE(s.rsPrimaryCallHandlers.find(
            "CallHandlerObjectID='" + s.rsSubscribers.value("CallHandlerObjectID").toString() + "'"));
    };

    positionOn("SubscriberType = 2");
    page.form->AddUserToGrid();
    EXPECT_EQ(page.grid().Rows(), 1);

    positionOn("SubscriberType = 1");
    page.form->AddUserToGrid();
    page.form->AddUserToGrid();   // no duplicate check: two rows
    ASSERT_EQ(page.grid().Rows(), 3);
    EXPECT_EQ(page.grid().TextMatrix(2, "Alias"), s.rsSubscribers.value("Alias").toString());
    EXPECT_EQ(page.grid().TextMatrix(2, "HandlerObjectID"), s.rsPrimaryCallHandlers.value("CallHandlerObjectID").toString());
    EXPECT_FALSE(page.grid().TextMatrix(2, "COS").isEmpty());
    EXPECT_TRUE(page.shown.isEmpty());

    page.context.state.iSelectedSubscriberType = 2;
    positionOn("SubscriberType = 5");   // any special kind is taken for a special kind
    page.form->AddUserToGrid();
    EXPECT_EQ(page.grid().Rows(), 4);
}

TEST(SelectionPageRows, AddUserToGridFASTRefusesRowsWithoutTheirKeys)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    const SubscriberGridRow good{"jsmith", "John", "Smith", "John Smith", "1001", "", "", "", "Default", "S-1", "H-1"};
    SubscriberGridRow noAlias;   // every value empty: only the first check is told
    SubscriberGridRow noCos = good;
    noCos.cosTextName.clear();
    SubscriberGridRow noHandler = good;
    noHandler.callHandlerObjectID.clear();

    for (const SubscriberGridRow& row : {noAlias, noCos, noHandler})
        page.form->AddUserToGridFAST(row);
    EXPECT_EQ(page.grid().Rows(), 1);
    ASSERT_EQ(page.shown.size(), 3);
    EXPECT_EQ(page.shown[0], "Error, invalid Alias string passed into AdDUserToGridFast routine.  Skipping user");
    EXPECT_EQ(page.shown[1], "Error, invalid COSObjectID string passed into AdDUserToGridFast routine.  Skipping user");

    page.form->AddUserToGridFAST(good);
    EXPECT_EQ(page.grid().Rows(), 2);
    EXPECT_EQ(page.grid().TextMatrix(1, "ObjectID"), "S-1");
}

TEST(SelectionPageNavigation, NextNeedsACheckedRow)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    const QString emptyGrid = page.session.languages.mymyLoadString(296);
    const QString noneChecked = page.session.languages.mymyLoadString(298);

    page.click("cmdNext");
    EXPECT_EQ(page.shown, QStringList{emptyGrid});

    page.click("cmdView");
    page.click("cmdUnselectAll");
    page.click("cmdNext");
    EXPECT_EQ(page.shown, (QStringList{emptyGrid, noneChecked}));

    EXPECT_TRUE(page.context.state.selectionGridRows.isEmpty());   // a refused Next hands nothing on

    // Every row reaches the wizard state in grid order, with its check, alias and object ID.
    const auto handedOn = [&](const std::function<bool(int row)>& checked) {
        const WizardState& state = page.context.state;
        ASSERT_EQ(state.selectionGridRowCount(), page.grid().Rows());
        for (int row = 1; row < page.grid().Rows(); ++row) {
            const SelectionGridRow expected{checked(row), page.grid().TextMatrix(row, "Alias"),
                                            page.grid().TextMatrix(row, "ObjectID")};
            EXPECT_FALSE(expected.objectID.isEmpty());
            EXPECT_EQ(state.selectionGridRows[row - 1], expected) << "row " << row;
        }
    };
    const int lastRow = page.grid().Rows() - 1;
    page.grid().setChecked(lastRow, true);   // the last row alone is enough
    page.click("cmdNext");
    handedOn([&](int row) { return row == lastRow; });
    expectNextWaitsForTheOptionsPage(*page.form, page.context.subscriberOptionsPage);
    page.click("cmdSelectAll");
    page.click("cmdNext");
    handedOn([](int) { return true; });
    EXPECT_EQ(page.shown.size(), 2);
    EXPECT_EQ(page.grid().checkedSubscribers().size(), page.grid().Rows() - 1);

    page.click("cmdClearGrid");
    EXPECT_EQ(page.grid().Rows(), 1);
    EXPECT_EQ(page.child<QLineEdit>("txtUsersInGrid")->text(), "0");
}

TEST(SelectionPageNavigation, PreviousReturnsToTheStartPageAndUnloadsThePage)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    page.click("cmdView");
    ASSERT_GT(page.grid().Rows(), 1);
    page.form->move(140, 90);
    page.form->show();

    page.click("cmdPrevious");
    EXPECT_EQ(page.grid().Rows(), 1);
    EXPECT_TRUE(page.form->isHidden());
    EXPECT_TRUE(page.startPage().isVisible());
    EXPECT_EQ(page.startPage().pos(), page.form->pos());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(page.form.isNull());
    EXPECT_EQ(page.forms.find<frmChooseSubscribers>(), nullptr);
}

TEST(SelectionPageNavigation, ClosingTheWindowEndsTheToolLikeExit)
{
    SelectionPage page(1);
    ASSERT_TRUE(page.open());
    page.form->show();
    page.form->close();   // a hidden start page alone would leave the tool running unseen
    EXPECT_TRUE(page.context.exiting);
    EXPECT_TRUE(page.shown.isEmpty());
}

}  // namespace
