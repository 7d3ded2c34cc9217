// The options page's lists that come from the installation (languages, schedules, switches, time
// zones) and its profile, password and conversation lists with their version-dependent rows.
// Every test fills the page twice, after choosing the last item of every list.
#include "core/ControlNames.h"
#include "core/Registry.h"
#include "resources/EnglishStrings.h"
#include "tests/subscribers_ui/OptionsPageFixture.h"

#include <QComboBox>
#include <QLabel>
#include <gtest/gtest.h>

#include <functional>

namespace {

ListItem fixed(int string, QVariant data = {}) { return {resources::englishString(string), std::move(data), string}; }
ListItem coded(const QString& text, QVariant data = {}) { return {text, std::move(data), -1}; }
QList<ListItem> fixedItems(std::initializer_list<int> strings)
{
    QList<ListItem> items;
    for (int string : strings)
        items << fixed(string);
    return items;
}
const QList<ListItem> kTriState = fixedItems({20, 279, 137});
const QString kTimeZones = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

struct Filled {
    OptionsSnapshot snapshot;
    QStringList messages;
};

// Opens the page, lets `change` alter the run, then fills the page a second time.
Filled fillTwice(qint16 kind, const velmo::InstallationOptions& options, const std::function<void(OptionsPage&)>& change = {})
{
    OptionsPage run(kind, options);
    EXPECT_TRUE(run.open());
    if (change)
        change(run);
    for (QComboBox* list : run.page->findChildren<QComboBox*>())
        list->setCurrentIndex(list->count() - 1);
    run.page->PopulateControls();
    return {run.page->snapshot(), run.shown};
}

void expectList(const OptionsSnapshot& snapshot, const QString& name, const QList<ListItem>& items)
{
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(snapshot.control(name).items, items);
    EXPECT_EQ(snapshot.control(name).currentIndex, items.isEmpty() ? -1 : 0);
}

// ---- Lists from the registry and the database -------------------------------------------------

struct LanguageCase {
    const char* name;
    QStringList loaded;   // "TUI Languages Loaded", joined by ","
    bool deleted;         // the value deleted before the second fill
    QList<ListItem> languages;
};

class InstalledLanguages : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(InstalledLanguages, FollowTheFixedItemsOfBothLanguageLists)
{
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.languages = GetParam().loaded;
    const Filled filled = fillTwice(1, options, [](OptionsPage& run) {
        if (GetParam().deleted)
            run.session.registry.DeleteRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal\\SystemParameters\\1.0", "TUI Languages Loaded");
    });
    expectList(filled.snapshot, "cmbSubscriberProfileDefaultLanguage", QList<ListItem>{fixed(20, 0)} + GetParam().languages);
    expectList(filled.snapshot, "cmbSubscriberProfileOutsideCallerLanguage",
               QList<ListItem>{fixed(20, 0), fixed(159, 1)} + GetParam().languages);
    EXPECT_TRUE(filled.messages.isEmpty());
}

const ListItem kEnglish = coded("English (United States)", 1033);
INSTANTIATE_TEST_SUITE_P(
    LanguageValues, InstalledLanguages,
    ::testing::Values(LanguageCase{"EnglishAndTddTty", {"ENU", "ENX"}, false, {kEnglish, coded("English (TDD/TTY)", 33801)}},
                      LanguageCase{"LowerCase", {"deu", "jpn"}, false, {coded("German (Germany)", 1031), coded("Japanese (Japan)", 1041)}},
                      // Not trimmed: " DEU" is unknown and reads as the language 1033.
                      LanguageCase{"BlankAfterTheComma", {"ENU", " DEU"}, false, {kEnglish, kEnglish}},
                      LanguageCase{"EmptyValue", {}, false, {}}, LanguageCase{"MissingValue", {"ENU", "DEU"}, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScheduleCase {
    const char* name;
    QString statement;       // run on the database before the second fill
    QStringList schedules;   // after "<Don't Change>"
    QString failure;         // the message of the second fill; "*": any, empty: none
};

class Schedules : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedules, ListTheNamesAndReportEachFailureOncePerRun)
{
    const Filled filled = fillTwice(1, TempInstallation::smallOptions(), [](OptionsPage& run) {
        run.sql("DELETE FROM Schedule");
        run.sql(GetParam().statement);
    });
    QList<ListItem> items{fixed(20)};
    for (const QString& name : GetParam().schedules)
        items << coded(name);
    expectList(filled.snapshot, "cmbSubscriberProfileSchedule", items);
    ASSERT_EQ(filled.messages.size(), GetParam().failure.isEmpty() ? 0 : 1) << filled.messages.join("\n").toStdString();
    for (const QString& message : filled.messages)
        EXPECT_TRUE(GetParam().failure == "*" ? message.startsWith(resources::englishString(48)) : message == GetParam().failure)
            << message.toStdString();
    // The later steps fill their lists all the same.
    EXPECT_EQ(filled.snapshot.control("comNotificationSwitchID_10").items.size(), 3);
    EXPECT_EQ(filled.snapshot.control("cmbSubscriberProfileTimeZoneDisplayNames").items.size(), 17);
}

const QString kInsert = "INSERT INTO Schedule (ScheduleObjectID, Alias, DisplayName) VALUES ";
INSTANTIATE_TEST_SUITE_P(
    ScheduleTables, Schedules,
    ::testing::Values(ScheduleCase{"InQueryOrder", kInsert + "('1', 'w', 'Weekdays'), ('2', 'a', 'All Hours')", {"Weekdays", "All Hours"}, {}},
                      ScheduleCase{"EmptyTable", "SELECT 1", {}, {}},
                      ScheduleCase{"NullName", kInsert + "('1', 'w', 'Weekdays'), ('0', 'n', NULL), ('2', 'a', 'All Hours')",
                                   {"Weekdays", "All Hours"},
                                   resources::englishString(48) + "Invalid use of Null" + resources::englishString(1) + " 94"},
                      ScheduleCase{"QueryRefused", "DROP TABLE Schedule", {}, "*"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SwitchLists, TheAssignmentAndElevenNotificationListsHoldEveryIntegration)
{
    const QStringList names{"Corvane 4400 (Serial)", "Talvik PBX-20 (Analog)", "Hestmark IP Switch", "Orrin Cordless PBX"};
    for (int count : {0, 2, 4}) {
        SCOPED_TRACE(count);
        velmo::InstallationOptions options = TempInstallation::smallServer(4, 2, 0, 27);
        options.switchCount = count;
        const Filled filled = fillTwice(1, options);
        QList<ListItem> items{fixed(20)};
        for (int id = 1; id <= count; ++id)
            items << coded(names[id - 1], id);
        expectList(filled.snapshot, "cmbSubscriberProfileSwitchAssignment", items);
        for (int device = 0; device <= 10; ++device)
            expectList(filled.snapshot, elementName("comNotificationSwitchID", device), items);
    }
}

struct TimeZoneCase {
    const char* name;
    std::function<void(RegistryStore&)> change;   // made before the page is filled again
    int zones;
    QString firstDisplay;
};

class TimeZones : public ::testing::TestWithParam<TimeZoneCase> {};

TEST_P(TimeZones, EveryZoneLeadsToItsKeyNameAndNoneCarriesTheDefaultsZero)
{
    QStringList zones;
    QStringList displays;
    const Filled filled = fillTwice(1, TempInstallation::smallOptions(), [&](OptionsPage& run) {
        GetParam().change(run.session.registryStore);
        run.child<QComboBox>("cmbSubscriberProfileTimeZoneDisplayNames")->setEnabled(false);
        zones = run.session.registry.EnumRegKeys(HKEY_LOCAL_MACHINE, kTimeZones);
        for (const QString& zone : zones)
            displays << QString::fromUtf8(run.session.registryStore.value(kTimeZones + "\\" + zone, "Display").value_or(RegistryValue{}).data);
    });
    ASSERT_EQ(zones.size(), GetParam().zones);
    // Hidden position 0 holds no zone; each zone item carries its key's position.
    QList<ListItem> names{fixed(20, -1), fixed(19, 0)};
    QList<ListItem> keys{coded({}, 0)};
    for (int zone = 0; zone < zones.size(); ++zone) {
        names << coded(displays[zone], zone + 1);
        keys << coded(zones[zone], zone + 1);
    }
    expectList(filled.snapshot, "cmbSubscriberProfileTimeZoneDisplayNames", names);
    EXPECT_EQ(filled.snapshot.control("cmbSubscribersProfileTimeZoneIDs").items, keys);
    EXPECT_EQ(filled.snapshot.control("cmbSubscribersProfileTimeZoneIDs").currentIndex, -1);   // nothing selected
    EXPECT_TRUE(filled.snapshot.control("cmbSubscriberProfileTimeZoneDisplayNames").enabled);
    EXPECT_EQ(filled.snapshot.control("cmbSubscriberProfileTimeZoneDisplayNames").items.value(2).text, GetParam().firstDisplay);
    EXPECT_TRUE(filled.messages.isEmpty());
}

const QString kFirstZone = "(GMT+10:00) Canberra, Melbourne, Sydney";
INSTANTIATE_TEST_SUITE_P(
    Registries, TimeZones,
    ::testing::Values(TimeZoneCase{"AsInstalled", [](RegistryStore&) {}, 15, kFirstZone},
                      TimeZoneCase{"ZoneWithoutDisplay",
                                   [](RegistryStore& store) { store.setValue(kTimeZones + "\\Yukon Standard Time", "Std", RegistryValue::text("Y")); },
                                   16, kFirstZone},
                      TimeZoneCase{"KeyUnreadable", [](RegistryStore& store) { store.setKeyReadable(kTimeZones, false); }, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Profile, password and conversation lists --------------------------------------------------

// Filled on every server.
const char* const kAlwaysTriState[] = {
    "comProfileSubscriberEnrollment", "comProfileDirList", "comPasswordsCannotChange", "comPasswordsMustChange",
    "comPasswordsNeverExpires", "comConversationGreetByName", "comConversationSayTotalNew", "comConversationSayTotalSaved",
    "comConversationSayTotalNewVoice", "comConversationSayTotalNewFax", "comConversationSayTotalNewEmail",
    "comConversationAnnounceSender", "comConversationSayMessageNumber", "comConversationSkipPWForKnownDevice",
    "comConversationJumpToNewMessages", "comConversationAnnounceDuration", "comConversationSayANI", "comConversationSaySenderExt",
    "cmbConversationOptions_0", "cmbConversationOptions_1", "cmbConversationOptions_2", "cmbConversationOptions_3",
    "cmbConversationOptions_4", "cmbConversationOptions_5", "cmbConversationOptions_6", "cmbConversationOptions_7",
    "cmbConversationOptions_8"};
const std::pair<const char*, QList<ListItem>> kAlwaysFixed[] = {
    {"comConversationConvType", fixedItems({20, 142, 68})},
    {"comConversationAddressMode", fixedItems({20, 139, 170, 156})},
    {"comConversationSendMode", fixedItems({20, 250, 497})},
    {"comConversationAnnounceTimestamp", fixedItems({20, 67, 28, 312})},
    {"comConversationVolumeLevel", fixedItems({20, 215, 182, 177})}};

struct RowGateCase {
    int major, minor, release, build;
    bool addressBook;    // address-book and alternate-greeting rows shown, their lists filled
    bool followMe;       // Follow-Me warning row shown and filled, announce-duration row shown
    bool announceRows;   // ANI and sender-extension lists shown
    bool sendMode;       // send conversation style row shown
};

class ProfileAndConversationRows : public ::testing::TestWithParam<RowGateCase> {};

TEST_P(ProfileAndConversationRows, ShowFillOrLeaveByServerVersion)
{
    const RowGateCase& gate = GetParam();
    const Filled filled = fillTwice(1, TempInstallation::smallServer(gate.major, gate.minor, gate.release, gate.build),
                                    [&](OptionsPage& run) {
                                        // Their labels are left alone on both sides of the gate.
                                        run.child<QLabel>("Label9_9")->setVisible(!gate.announceRows);
                                        run.child<QLabel>("Label9_10")->setVisible(!gate.announceRows);
                                    });
    const OptionsSnapshot& snapshot = filled.snapshot;
    for (const char* list : kAlwaysTriState)
        expectList(snapshot, list, kTriState);
    for (const auto& [list, items] : kAlwaysFixed)
        expectList(snapshot, list, items);
    for (const char* list : {"comProfileShowInAddressBook", "comProfileWarnForAlternateGreeting"})
        expectList(snapshot, list, gate.addressBook ? kTriState : QList<ListItem>{});
    expectList(snapshot, "comProfileWarnFollowMeRuleActive", gate.followMe ? kTriState : QList<ListItem>{});

    const std::pair<QStringList, bool> rows[] = {
        {{"comProfileShowInAddressBook", "lblSubscriberProfile_2", "comProfileWarnForAlternateGreeting", "lblSubscriberProfile_3"},
         gate.addressBook},
        {{"comProfileWarnFollowMeRuleActive", "lblSubscriberProfile_13", "comConversationAnnounceDuration", "Label9_54"}, gate.followMe},
        {{"comConversationSayANI", "comConversationSaySenderExt"}, gate.announceRows},
        {{"Label9_9", "Label9_10"}, !gate.announceRows},
        {{"comConversationSendMode", "Label9_24"}, gate.sendMode}};
    for (const auto& [names, shown] : rows)
        for (const QString& name : names)
            EXPECT_EQ(snapshot.control(name).visible, shown) << name.toStdString();
    EXPECT_TRUE(filled.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, ProfileAndConversationRows,
    ::testing::Values(RowGateCase{4, 0, 2, 65, false, false, false, false}, RowGateCase{4, 0, 2, 66, false, false, true, false},
                      RowGateCase{4, 0, 2, 90, false, false, true, false}, RowGateCase{4, 0, 2, 91, true, false, true, false},
                      RowGateCase{4, 2, 0, 36, true, false, true, false}, RowGateCase{4, 2, 0, 37, true, false, true, true},
                      RowGateCase{7, 0, 0, 0, true, false, true, true}, RowGateCase{7, 0, 0, 1, true, true, true, true}),
    [](const auto& info) {
        return QString("v%1_%2_%3_%4").arg(info.param.major).arg(info.param.minor).arg(info.param.release).arg(info.param.build).toStdString();
    });

}  // namespace
