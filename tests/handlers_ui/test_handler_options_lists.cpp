// The call handler options page's lists: what each server version offers, and the lists read
// from the installation (languages, schedules).
#include "HandlerOptionsPageFixture.h"

#include "resources/EnglishStrings.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

ListItem fixed(int string, QVariant data = {}) { return {resources::englishString(string), std::move(data), string}; }
ListItem coded(const QString& text, QVariant data = {}) { return {text, std::move(data), -1}; }
QList<ListItem> fixedItems(const QList<int>& strings)
{
    QList<ListItem> items;
    for (int string : strings)
        items << fixed(string);
    return items;
}

struct Opened {
    OptionsSnapshot snapshot;
    QStringList messages;
};

// Loads the page on `options`, after `prepare` has altered the started run.
Opened openPage(const velmo::InstallationOptions& options, const std::function<void(HandlerOptionsPage&)>& prepare = {})
{
    HandlerOptionsPage run(options);
    EXPECT_TRUE(run.start());
    if (prepare)
        prepare(run);
    run.context.handlerOptionsPage();
    return {run.page->snapshot(), run.shown};
}

// ---- What each server version offers --------------------------------------------------------

struct GateCase {
    const char* name;
    int major, minor, release, build;
    QList<int> specials;
    QList<int> laterActions;   // after every action list's base items
    bool profile;              // language and switch lists enabled and filled
    bool prompts;              // wait and record prompt lists shown
    bool followMe;             // Follow-Me tabs available
    bool digits;               // prepend and postpend rows offered
};

class VersionGates : public ::testing::TestWithParam<GateCase> {};

TEST_P(VersionGates, OfferWhatTheServerHas)
{
    const GateCase& gate = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.engineeringSpecials = gate.specials;
    // Start-up refuses servers before 4.0(1): the version is set after it.
    const Opened opened = openPage(options, [&gate](HandlerOptionsPage& run) {
        ServerVersion& version = run.session.gServerVersion;
        version.iMajor = gate.major;
        version.iMinor = gate.minor;
        version.iRelease = gate.release;
        version.iBuild = gate.build;
    });
    const OptionsSnapshot& page = opened.snapshot;
    EXPECT_TRUE(opened.messages.isEmpty()) << opened.messages.join("\n").toStdString();

    for (const char* list : {"cmbCallHandlerDefaultLanguage", "cmbCallHandlerSwitchAssignment"}) {
        EXPECT_EQ(page.control(list).enabled, gate.profile) << list;
        EXPECT_EQ(page.control(list).items.isEmpty(), !gate.profile) << list;
    }
    EXPECT_EQ(page.control("cmbCallHandlerSchedule").items.isEmpty(), !gate.profile);
    EXPECT_EQ(page.control("comVoiceTransferPrompt", 4).visible, gate.prompts);
    EXPECT_EQ(page.control("comGreetingPlayPleaseRecord", 5).visible, gate.prompts);
    const QList<TabState>& rules = page.control("SSTab4").tabs;
    for (int rule = 0; rule < rules.size(); ++rule)
        EXPECT_EQ(rules[rule].enabled, rule < 3 || gate.followMe) << rule;
    for (int label = 48; label <= 51; ++label)
        EXPECT_EQ(page.control("label11", label).visible, gate.digits) << label;
    EXPECT_EQ(page.control("txtCallerInputPrependDigits").enabled, gate.digits);
    EXPECT_EQ(page.control("txtCallerInputPostPendDigits").enabled, gate.digits);
    EXPECT_EQ(page.control("chkCallerInputPrependDigitsClear").visible, gate.digits);
    EXPECT_EQ(page.control("chkCallerInputPostPendDigitsClear").visible, gate.digits);

    // Keys start on "Ignore Key", the after-message action on "Hang Up", the after-greeting
    // actions on "Take Message"; every list ends on the later actions.
    const QList<ListItem> later = fixedItems(gate.laterActions);
    for (int k = 0; k < 19; ++k) {
        const ControlState& actions = page.control("cmbCallerInputTakeAction", k);
        SCOPED_TRACE(k);
        EXPECT_EQ(actions.currentIndex, 0);
        EXPECT_EQ(actions.items.first(), fixed(k < 12 ? 158 : k == 12 ? 152 : 260));
        EXPECT_EQ(actions.items.mid(actions.items.size() - later.size()), later);
    }
    EXPECT_EQ(page.control("cmbCallerInputTakeAction", 11).items.size(), 7 + later.size());
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, VersionGates,
    ::testing::Values(GateCase{"Below2_5", 2, 4, 9, 99, {}, {}, false, false, false, false},
                      GateCase{"At2_5", 2, 5, 0, 0, {}, {}, true, false, false, false},
                      GateCase{"Just4_0_3_59", 4, 0, 3, 59, {}, {}, true, false, false, false},
                      GateCase{"Exactly4_0_3_60", 4, 0, 3, 60, {}, {365, 366}, true, false, false, false},
                      GateCase{"At4_0_4_40", 4, 0, 4, 40, {}, {365, 366, 444}, true, false, false, false},
                      GateCase{"At4_2_0_5", 4, 2, 0, 5, {}, {365, 366, 444}, true, true, false, false},
                      GateCase{"At4_2_0_5WithSpecial8", 4, 2, 0, 5, {8}, {365, 366, 444}, true, true, false, true},
                      GateCase{"At4_3_0_31", 4, 3, 0, 31, {}, {365, 366, 444}, true, true, false, true},
                      GateCase{"At7_0_0_0", 7, 0, 0, 0, {}, {365, 366, 444}, true, true, false, true},
                      GateCase{"At7_0_0_1", 7, 0, 0, 1, {}, {365, 366, 444}, true, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Lists from the installation ---------------------------------------------------------------

struct LanguageCase {
    const char* name;
    QStringList loaded;   // "TUI Languages Loaded", joined by ","
    QList<ListItem> languages;
};

class InstalledLanguages : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(InstalledLanguages, FollowDontChangeAndInherited)
{
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.languages = GetParam().loaded;
    const ControlState list = openPage(options).snapshot.control("cmbCallHandlerDefaultLanguage");
    EXPECT_EQ(list.items, QList<ListItem>({fixed(20, 0), fixed(159, 1)}) + GetParam().languages);
    EXPECT_EQ(list.currentIndex, 0);
}

const ListItem kEnglish = coded("English (United States)", 1033);
INSTANTIATE_TEST_SUITE_P(
    LanguageValues, InstalledLanguages,
    ::testing::Values(LanguageCase{"OneCode", {"DEU"}, {coded("German (Germany)", 1031)}},
                      LanguageCase{"TddTty", {"ENX"}, {coded("English (TDD/TTY)", 33801)}},
                      // An empty piece, or one with a blank, is no code: it reads as 1033.
                      LanguageCase{"TrailingComma", {"DEU", ""}, {coded("German (Germany)", 1031), kEnglish}},
                      LanguageCase{"BlankAfterTheComma", {"DEU", " ENX"}, {coded("German (Germany)", 1031), kEnglish}},
                      LanguageCase{"NoValue", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HandlerSchedules, ListInQueryOrderAndEachFailureCostsOneMessage)
{
    const Opened listed = openPage(TempInstallation::smallOptions(), [](HandlerOptionsPage& run) {
        run.sql("DELETE FROM Schedule");
        run.sql("INSERT INTO Schedule (ScheduleObjectID, Alias, DisplayName) VALUES "
                "('1', 'w', 'Weekdays'), ('0', 'n', NULL), ('2', 'a', 'All Hours')");
    });
    EXPECT_EQ(listed.snapshot.control("cmbCallHandlerSchedule").items,
              QList<ListItem>({fixed(20), coded("Weekdays"), coded("All Hours")}));
    EXPECT_EQ(listed.messages, QStringList{resources::englishString(47) + "Invalid use of Null" + resources::englishString(1) + " 94"});

    const Opened refused = openPage(TempInstallation::smallOptions(), [](HandlerOptionsPage& run) { run.sql("DROP TABLE Schedule"); });
    EXPECT_EQ(refused.snapshot.control("cmbCallHandlerSchedule").items, QList<ListItem>{fixed(20)});
    ASSERT_EQ(refused.messages.size(), 1);
    EXPECT_TRUE(refused.messages[0].startsWith(resources::englishString(47))) << refused.messages[0].toStdString();
    // Filling went on.
    EXPECT_EQ(refused.snapshot.control("cmbCallHandlerSwitchAssignment").items.size(), 3);
    EXPECT_EQ(refused.snapshot.control("comMessagesMarkPrivate").items.size(), 4);
}

}  // namespace
