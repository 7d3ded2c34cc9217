// The options page's alternate extension and play-order lists, the tabs each kind can open, and
// the two lists with hidden object IDs: delivery locations and send scopes.
#include "OptionsPageFixture.h"

#include "core/ControlNames.h"
#include "core/ui/TabFlags.h"
#include "resources/EnglishStrings.h"
#include "subscribers/ui/options/MessagePlayOrderLists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

QString english(int string)
{
    return resources::englishString(string);
}

QStringList englishStrings(std::initializer_list<int> strings)
{
    QStringList texts;
    for (int string : strings)
        texts << english(string);
    return texts;
}

QVariantList itemData(const ControlState& list)
{
    QVariantList data;
    for (const ListItem& item : list.items)
        data << item.data;
    return data;
}

QVariantList positions(int count)
{
    QVariantList data;
    for (int position = 0; position < count; ++position)
        data << position;
    return data;
}

// ---- The alternate extension slotList, the play orders and the inner conversation tabs ----

struct VersionCase {
    int major, minor, release, build;
    velmo::DirectoryConnector connector;
    bool bySlot;           // one slot written or deleted rather than all removed
    bool deletedItems;     // the deleted-items play order row
    bool optionsTab;       // the conversation's Options tab can be opened
};

void PrintTo(const VersionCase& version, std::ostream* out)
{
    *out << version.major << '.' << version.minor << '(' << version.release << ")." << version.build;
}

class AlternateExtensionAndPlayOrder : public ::testing::TestWithParam<VersionCase> {};

TEST_P(AlternateExtensionAndPlayOrder, FollowTheServerVersionAndDirectory)
{
    const VersionCase& version = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(version.major, version.minor, version.release, version.build);
    options.connector = version.connector;
    OptionsPage run(1, options);
    ASSERT_TRUE(run.open());
    // Choices made on the page are undone by the next entry's run.
    auto* order = run.child<QListWidget>("listFlexStackOrderNewMessages");
    order->setCurrentRow(0);
    MoveFlexStackEntryDown(order);
    run.child<QComboBox>("cmbSubscriberAlternateExtensionSlot")->setCurrentIndex(4);
    run.child<QComboBox>("cmbFlexStackNewMessagesLIFOFIFO")->setCurrentIndex(1);
    run.page->PopulateControls();
    const OptionsSnapshot snapshot = run.page->snapshot();
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
    const std::pair<QString, int> captions[] = {
        {"label11_38", 402}, {"Frame1_13", 305}, {"label11_42", 515}, {"label11_39", 262}, {"label11_40", 190},
        {"cmdAltExtTest", 261}, {"chkAltExtStripAllButRightMost", 252}, {"chkAltExtStripAllButLeftMost", 251},
        {"chkAltExtRemoveLeftMost", 218}, {"chkAltExtRemoveRightMost", 219}, {"chkAltExtAppendToLeft", 59},
        {"chkAltExtAppendToRight", 60}, {"chkAltExtAddValue", 25}, {"chkAltExtSubtractValue", 404},
        {"lblDigits_0", 106}, {"lblDigits_3", 106}, {"chkSubscriberAlternateExtensionsRemoveAll", 306},
        {"chkSubscriberAlternateExtensionRemoveSelected", 371}, {"label11_41", version.bySlot ? 370 : 307}};
    for (const auto& [name, string] : captions)
        EXPECT_EQ(snapshot.control(name).text, english(string)) << name.toStdString();

    EXPECT_EQ(snapshot.control("chkSubscriberAlternateExtensionsRemoveAll").visible, !version.bySlot);
    EXPECT_EQ(snapshot.control("chkSubscriberAlternateExtensionRemoveSelected").visible, version.bySlot);

    // Filled whether shown or not; the engine reads the slot from the item's last character.
    const ControlState& slotList = snapshot.control("cmbSubscriberAlternateExtensionSlot");
    EXPECT_EQ(slotList.visible, version.bySlot);
    ASSERT_EQ(slotList.items.size(), 10);
    EXPECT_EQ(slotList.items[0], (ListItem{"<Don't Change>", {}, 20}));
    for (int slot = 1; slot <= 9; ++slot) {
        EXPECT_EQ(slotList.items[slot].text, english(403) + QString::number(slot));
        EXPECT_EQ(slotList.items[slot].text.right(1).toInt(), slot);
    }
    EXPECT_EQ(slotList.items[9].text, "Alternate Extension #9");
    EXPECT_EQ(slotList.currentIndex, 0);

    for (const char* list : {"listFlexStackOrderNewMessages", "listFlexStackOrderOldMessages"}) {
        SCOPED_TRACE(list);
        const ControlState& order = snapshot.control(list);
        EXPECT_EQ(itemTexts(order), englishStrings({320, 321, 322, 323, 324, 325, 326}));
        EXPECT_EQ(itemData(order), QVariantList({1, 2, 3, 4, 5, 6, 7}));
        EXPECT_EQ(order.currentIndex, -1);
    }
    for (const auto& [list, selected] : {std::pair{"cmbFlexStackNewMessagesLIFOFIFO", 0},
                                         {"cmbFlexStackSavedMessagesLIFOFIFO", 1}, {"cmbFlexStackDeletedItemsLIFOFIFO", 1}}) {
        SCOPED_TRACE(list);
        const ControlState& direction = snapshot.control(list);
        EXPECT_EQ(direction.items, (QList<ListItem>{{"Oldest first", {}, 327}, {"Newest first", {}, 328}}));
        EXPECT_EQ(direction.currentIndex, selected);
    }
    EXPECT_EQ(snapshot.control("cmbFlexStackDeletedItemsLIFOFIFO").visible, version.deletedItems);
    EXPECT_EQ(snapshot.control("Label9", 28).visible, version.deletedItems);

    const ControlState& conversationTabs = snapshot.control("tabSubscriberConversationOptions");
    ASSERT_EQ(conversationTabs.tabs.size(), 5);
    const int tabCaptions[] = {375, 376, 377, 381, 498};
    for (int tab = 0; tab < 5; ++tab) {
        EXPECT_EQ(conversationTabs.tabs[tab].caption, english(tabCaptions[tab]));
        EXPECT_EQ(conversationTabs.tabs[tab].versionFlag, tab != 4 || version.optionsTab) << tab;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, AlternateExtensionAndPlayOrder,
    ::testing::Values(VersionCase{4, 0, 3, 59, velmo::DirectoryConnector::ActiveDirectory, false, false, false},
                      VersionCase{4, 0, 3, 60, velmo::DirectoryConnector::Domino, false, false, false},
                      VersionCase{4, 0, 3, 60, velmo::DirectoryConnector::Exchange55, false, true, false},
                      VersionCase{4, 0, 3, 119, velmo::DirectoryConnector::ActiveDirectory, false, true, false},
                      VersionCase{4, 0, 3, 120, velmo::DirectoryConnector::ActiveDirectory, true, true, false},
                      VersionCase{4, 2, 0, 37, velmo::DirectoryConnector::Domino, true, false, false},
                      VersionCase{4, 2, 0, 38, velmo::DirectoryConnector::ActiveDirectory, true, true, true}),
    [](const ::testing::TestParamInfo<VersionCase>& info) {
        const VersionCase& version = info.param;
        return QString("v%1_%2_%3_%4_connector%5").arg(version.major).arg(version.minor).arg(version.release)
            .arg(version.build).arg(int(version.connector)).toStdString();
    });

// ---- The tabs each kind can open ----

const int kSubscriberOnlyTabs[] = {1, 2, 3, 8, 11, 13};
const char* const kSubscriberOnlyControls[] = {
    "comProfileSubscriberEnrollment", "cmbSubscriberProfileDefaultLanguage", "txtMessagesMWICode", "chkMessagesMWIDisable",
    "comNotificationSwitchID_10",     "comMessagesSendCounts",               "comProfileWarnForAlternateGreeting",
    "comProfileWarnFollowMeRuleActive"};

bool subscriberOnlyTab(int tab)
{
    return std::find(std::begin(kSubscriberOnlyTabs), std::end(kSubscriberOnlyTabs), tab) != std::end(kSubscriberOnlyTabs);
}

class TabAvailability : public ::testing::TestWithParam<int> {};

TEST_P(TabAvailability, TheKindClosesTabsDisablesItsControlsAndDecidesTheDeliveryLocationTab)
{
    const qint16 kind = qint16(GetParam());
    OptionsPage run(kind, TempInstallation::smallServer(7, 0, 0, 111));   // every version flag the kind allows
    ASSERT_TRUE(run.open());
    // A flag no kind sets stays as it was.
    TabFlags::setTypeFlag(&run.tabMain(), 4, false);
    run.page->PopulateControls();
    const OptionsSnapshot snapshot = run.page->snapshot();
    const QList<TabState>& tabs = snapshot.control("tabMain").tabs;
    ASSERT_EQ(tabs.size(), 14);
    for (int tab = 0; tab < 14; ++tab) {
        SCOPED_TRACE(tab);
        const bool typeFlag = kind == 1 || (!subscriberOnlyTab(tab) && tab != 4);
        EXPECT_EQ(tabs[tab].typeFlag, typeFlag);
        // Closed: by its type flag, Delivery Location by the kind, Features for every kind but 1.
        const bool versionFlag = tab == 12 ? kind != 1 && kind != 2 : tab != 13 || kind == 1;
        EXPECT_EQ(tabs[tab].versionFlag, versionFlag);
        EXPECT_EQ(tabs[tab].enabled, typeFlag && versionFlag);
    }
    for (const char* name : kSubscriberOnlyControls)
        EXPECT_EQ(snapshot.control(name).enabled, kind == 1) << name;
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Kinds, TabAvailability, ::testing::Values(1, 2, 5, 7, 8, 9),
                         [](const ::testing::TestParamInfo<int>& info) { return "kind" + std::to_string(info.param); });

TEST(TabAvailability, TheSnapshotHandsOverWhatTheKindCannotReachAsFirstFilled)
{
    OptionsPage run(1, TempInstallation::smallServer(5, 0, 0, 10));
    ASSERT_TRUE(run.open());
    run.child<QLineEdit>("txtAccountBillingID")->setText("4711");        // Account tab
    run.child<QLineEdit>("txtMessagesMWICode")->setText("99");          // open tab, subscribers only
    run.child<QCheckBox>("chkMessagesMWIDisable")->setChecked(true);
    run.child<QLineEdit>("txtAltExtAddValue")->setText("100");          // open to every kind
    const OptionsSnapshot asSubscribers = run.page->snapshot();
    EXPECT_EQ(asSubscribers.control("txtAccountBillingID").text, "4711");
    EXPECT_EQ(asSubscribers.control("txtMessagesMWICode").text, "99");
    EXPECT_EQ(asSubscribers.control("chkMessagesMWIDisable").checkState, CheckValue::Ticked);

    run.context.state.iSelectedSubscriberType = 7;
    run.page->PopulateControls();
    const OptionsSnapshot asBridge = run.page->snapshot();
    EXPECT_EQ(asBridge.control("txtAccountBillingID").text, "");
    EXPECT_EQ(asBridge.control("txtMessagesMWICode").text, "");
    EXPECT_EQ(asBridge.control("chkMessagesMWIDisable").checkState, CheckValue::Clear);
    EXPECT_EQ(asBridge.control("txtAltExtAddValue").text, "100");
    EXPECT_FALSE(asBridge.control("txtMessagesMWICode").enabled);
    // The widgets keep what was typed for when the kind comes back.
    EXPECT_EQ(run.child<QLineEdit>("txtAccountBillingID")->text(), "4711");

    // Back to subscribers: every tab opens again but Delivery Location.
    run.context.state.iSelectedSubscriberType = 1;
    run.page->PopulateControls();
    const OptionsSnapshot again = run.page->snapshot();
    EXPECT_EQ(again.control("txtAccountBillingID").text, "4711");
    EXPECT_EQ(again.control("chkMessagesMWIDisable").checkState, CheckValue::Ticked);
    for (int tab = 0; tab < 14; ++tab)
        EXPECT_EQ(again.control("tabMain").tabs[tab].enabled, tab != 12) << tab;
}

// ---- Delivery locations and send scopes ----

// A run whose directory holds, for one remote kind (AMIS unless told), only the given locations
// (name, object ID), and only the given name lookup handlers; a null name stands for a row
// without one.
class HiddenIdLists : public OptionsPage {
public:
    using Row = std::pair<std::optional<QString>, QString>;

    HiddenIdLists(qint16 kind, const QList<Row>& locations, const QList<Row>& handlers, int locationKind = 5)
        : OptionsPage(kind)
    {
        sql(QString("UPDATE Location SET DestinationType = 99 WHERE DestinationType = %1").arg(locationKind));
        for (const auto& [name, id] : locations)
            sql(QString("INSERT INTO Location (LocationObjectID, Alias, TextName, DestinationType) VALUES ('%1', '%1', %2, %3)")
                    .arg(id, literal(name)).arg(locationKind));
        sql("DELETE FROM NameLookupHandler");
        for (const auto& [name, id] : handlers)
            sql(QString("INSERT INTO NameLookupHandler (NameLookupHandlerObjectID, Alias, TextName) VALUES ('%1', '%1', %2)")
                    .arg(id, literal(name)));
    }

private:
    static QString literal(const std::optional<QString>& text) { return text ? "'" + *text + "'" : "NULL"; }
};

const QList<HiddenIdLists::Row> kAmisLocations{{"A", "loc-1"}, {"B", "loc-2"}, {"C", "loc-3"}};
const QList<HiddenIdLists::Row> kHandlers{{"X", "nlh-1"}, {"Y", "nlh-2"}};

struct LocationCase {
    const char* what;
    qint16 kind;
    QList<HiddenIdLists::Row> locations;
    QStringList names;         // after "<Don't Change>"; empty: both lists empty
    QStringList ids;           // after " "
    int messages;
    int locationKind = 5;      // the kind of the locations given
};

void PrintTo(const LocationCase& locations, std::ostream* out) { *out << locations.what; }

class DeliveryLocations : public ::testing::TestWithParam<LocationCase> {};

TEST_P(DeliveryLocations, PairEachLocationWithItsIdAndLeaveNoFilter)
{
    const LocationCase& locations = GetParam();
    HiddenIdLists run(locations.kind, locations.locations, kHandlers, locations.locationKind);
    ASSERT_TRUE(run.open());
    // A second run (the first entry's) leaves the lists as one run does.
    run.page->PopulateControls();
    const OptionsSnapshot snapshot = run.page->snapshot();
    const ControlState& names = snapshot.control("cmbLocationNewLocation");
    const ControlState& ids = snapshot.control("cmbLocationHiddenLocationObjectID");
    if (locations.names.isEmpty()) {
        EXPECT_TRUE(names.items.isEmpty());
        EXPECT_TRUE(ids.items.isEmpty());
    } else {
        EXPECT_EQ(itemTexts(names), QStringList{"<Don't Change>"} + locations.names);
        EXPECT_EQ(itemTexts(ids), QStringList{" "} + locations.ids);
        EXPECT_EQ(itemData(names), positions(int(names.items.size())));
        EXPECT_EQ(names.currentIndex, 0);
    }
    EXPECT_FALSE(ids.visible);
    EXPECT_TRUE(run.session.rsLocations.filter().isEmpty());
    EXPECT_EQ(run.shown.size(), 2 * locations.messages) << run.shown.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DeliveryLocations,
    ::testing::Values(LocationCase{"amis", 5, kAmisLocations, {"A", "B", "C"}, {"loc-1", "loc-2", "loc-3"}, 0},
                      LocationCase{"amisNamelessLeftOut", 5, {{"A", "loc-1"}, {std::nullopt, "loc-2"}, {"C", "loc-3"}},
                                   {"A", "C"}, {"loc-1", "loc-3"}, 1},
                      // The local server's own location is of kind 1.
                      LocationCase{"subscribers", 1, kAmisLocations, {}, {}, 0},
                      LocationCase{"internet", 2, kAmisLocations, {}, {}, 0, 2}),
    [](const ::testing::TestParamInfo<LocationCase>& info) { return std::string(info.param.what); });

TEST(DeliveryLocations, EachEntryOffersTheLocationsOfItsKindAndNoOtherKindsChoice)
{
    HiddenIdLists run(7, {}, kHandlers);   // the demo's locations, none of them AMIS
    ASSERT_TRUE(run.open());
    // Kinds in the order of entry; 5 has no location now, 1 none at all.
    for (const auto& [kind, filled] : {std::pair{7, true}, {8, true}, {9, true}, {5, false}, {7, true}, {1, false}}) {
        SCOPED_TRACE(kind);
        run.context.state.iSelectedSubscriberType = qint16(kind);
        run.page->PopulateControls();
        const OptionsSnapshot snapshot = run.page->snapshot();
        QStringList names, ids;
        if (filled) {
            names << "<Don't Change>";
            ids << " ";
            Recordset expected;
            expected.open(QString("SELECT TextName, LocationObjectID FROM vw_Location WHERE DestinationType = %1 "
                                  "ORDER BY LocationObjectID").arg(kind), run.session.database);
            for (expected.moveFirst(); !expected.eof(); expected.moveNext()) {
                names << expected.value("TextName").toString();
                ids << expected.value("LocationObjectID").toString();
            }
        }
        EXPECT_EQ(itemTexts(snapshot.control("cmbLocationNewLocation")), names);
        EXPECT_EQ(itemTexts(snapshot.control("cmbLocationHiddenLocationObjectID")), ids);
        EXPECT_EQ(snapshot.control("cmbLocationNewLocation").currentIndex, filled ? 0 : -1);
        EXPECT_EQ(snapshot.control("tabMain").tabs[12].enabled, kind != 1);
        EXPECT_TRUE(run.session.rsLocations.filter().isEmpty());
        run.child<QComboBox>("cmbLocationNewLocation")->setCurrentIndex(1);   // a choice for this kind
    }
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

struct SendScopeCase {
    const char* what;
    QList<HiddenIdLists::Row> handlers;
    QStringList names;   // after the two fixed items
    QStringList ids;     // after the two empty texts
    int messages;        // per run
};

void PrintTo(const SendScopeCase& scopes, std::ostream* out) { *out << scopes.what; }

class SendScopes : public ::testing::TestWithParam<SendScopeCase> {};

TEST_P(SendScopes, FollowTheTwoFixedItemsWithTheHandlersInTheirOrder)
{
    const SendScopeCase& scopes = GetParam();
    HiddenIdLists run(1, kAmisLocations, scopes.handlers);
    ASSERT_TRUE(run.open());
    run.page->PopulateControls();
    const OptionsSnapshot snapshot = run.page->snapshot();
    const ControlState& names = snapshot.control("cmbConversationSendScopeLimit");
    const ControlState& ids = snapshot.control("cmbConversationSendScopeLimitObjectID");
    EXPECT_EQ(itemTexts(names), QStringList({"<Don't Change>", "<Set to empty>"}) + scopes.names);
    EXPECT_EQ(names.items[1].stringNumber, 514);
    EXPECT_EQ(itemTexts(ids), QStringList({"", ""}) + scopes.ids);
    EXPECT_EQ(itemData(names), positions(int(names.items.size())));
    EXPECT_EQ(itemData(ids), positions(int(ids.items.size())));
    EXPECT_EQ(names.currentIndex, 0);
    EXPECT_FALSE(ids.visible);
    EXPECT_EQ(run.shown.size(), 2 * scopes.messages) << run.shown.join("\n").toStdString();
    if (scopes.messages > 0) {
        EXPECT_TRUE(run.shown[0].endsWith("Description=Invalid use of Null Number= 94")) << run.shown[0].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, SendScopes,
    ::testing::Values(SendScopeCase{"two", kHandlers, {"X", "Y"}, {"nlh-1", "nlh-2"}, 0},
                      SendScopeCase{"none", {}, {}, {}, 0},
                      SendScopeCase{"namelessLeftOut", {{"X", "nlh-1"}, {std::nullopt, "nlh-2"}, {"Y", "nlh-3"}},
                                    {"X", "Y"}, {"nlh-1", "nlh-3"}, 1}),
    [](const ::testing::TestParamInfo<SendScopeCase>& info) { return std::string(info.param.what); });

TEST(SendScopes, RowsPastAnyShortCountStillCarryTheirPositions)
{
    HiddenIdLists run(1, kAmisLocations, {});
    constexpr int handlers = 32'770;
    run.sql(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO NameLookupHandler (NameLookupHandlerObjectID, Alias, TextName) "
                    "SELECT printf('nlh-%05d', i), printf('nlh-%05d', i), printf('Directory %d', i) FROM n").arg(handlers));
    ASSERT_TRUE(run.open());
    auto* names = run.child<QComboBox>("cmbConversationSendScopeLimit");
    auto* ids = run.child<QComboBox>("cmbConversationSendScopeLimitObjectID");
    ASSERT_EQ(names->count(), handlers + 2);
    ASSERT_EQ(ids->count(), handlers + 2);
    const int last = handlers + 1;
    EXPECT_EQ(names->itemData(last).toInt(), last);
    EXPECT_EQ(ids->itemText(names->itemData(last).toInt()), QString("nlh-%1").arg(handlers, 5, 10, QChar('0')));
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.size();
}

TEST(SendScopes, AMissingTableCostsAMessageForEachStatementAndKeepsTheFixedItems)
{
    HiddenIdLists run(1, kAmisLocations, kHandlers);
    ASSERT_TRUE(run.open());
    run.sql("DROP TABLE NameLookupHandler");
    run.page->PopulateControls();
    EXPECT_EQ(run.shown.size(), 3) << run.shown.join("\n").toStdString();   // open, first row, end of rows
    const OptionsSnapshot snapshot = run.page->snapshot();
    EXPECT_EQ(itemTexts(snapshot.control("cmbConversationSendScopeLimit")), QStringList({"<Don't Change>", "<Set to empty>"}));
    EXPECT_EQ(itemData(snapshot.control("cmbConversationSendScopeLimitObjectID")), positions(2));
    EXPECT_EQ(snapshot.control("cmbConversationSendScopeLimit").currentIndex, 0);
}

TEST(OptionListFailures, StepsFailOneMessageEachInTheirOrderAndTheDigitLabelsSilently)
{
    HiddenIdLists run(5, kAmisLocations, kHandlers);
    ASSERT_TRUE(run.open());
    delete run.child<QLabel>("lblDigits_1");
    delete run.child<QComboBox>("cmbLocationHiddenLocationObjectID");
    delete run.child<QComboBox>("cmbConversationSendScopeLimitObjectID");
    run.child<QComboBox>("cmbFlexStackNewMessagesLIFOFIFO")->clear();
    run.child<QLabel>("lblDigits_2")->clear();

    run.page->PopulateControls();
    ASSERT_EQ(run.shown.size(), 2) << run.shown.join("\n").toStdString();
    EXPECT_TRUE(run.shown[0].contains("(cmbLocationHiddenLocationObjectID)"));
    EXPECT_TRUE(run.shown[1].contains("(cmbConversationSendScopeLimitObjectID)"));
    // The steps after each failure ran all the same, and the filter was removed.
    EXPECT_EQ(run.child<QLabel>("lblDigits_2")->text(), "Digits");
    EXPECT_EQ(run.child<QComboBox>("cmbFlexStackNewMessagesLIFOFIFO")->count(), 2);
    EXPECT_TRUE(run.session.rsLocations.filter().isEmpty());
}

}  // namespace
