// The call handler options page's lists: what each server version offers, and the lists read
// from the installation (languages, schedules).
#include "HandlerOptionsPageFixture.h"

#include "resources/EnglishStrings.h"

#include <functional>

namespace {

ListItem fixed(int string, QVariant data = {}) { return {resources::englishString(string), std::move(data), string}; }
ListItem coded(const QString& text, QVariant data = {}) { return {text, std::move(data), -1}; }

struct Opened { OptionsSnapshot page; QStringList messages; };

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

struct GateCase {
    const char* name;
    ServerVersion version;
    QList<int> specials;
    QList<int> laterActions;   // ending every action list
    bool profile, prompts, followMe, digits;
};

class VersionGates : public ::testing::TestWithParam<GateCase> {};

TEST_P(VersionGates, OfferWhatTheServerHas)
{
    const GateCase& gate = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.engineeringSpecials = gate.specials;
    // Start-up refuses servers before 4.0(1): the version is set after it.
    const Opened opened = openPage(options, [&](HandlerOptionsPage& run) { run.session.gServerVersion = gate.version; });
    const OptionsSnapshot& page = opened.page;
    EXPECT_EQ(opened.messages, QStringList());
    for (const char* list : {"cmbCallHandlerDefaultLanguage", "cmbCallHandlerSwitchAssignment"})
        EXPECT_EQ(page.control(list).enabled, gate.profile) << list;
    for (const char* list : {"cmbCallHandlerDefaultLanguage", "cmbCallHandlerSwitchAssignment", "cmbCallHandlerSchedule"})
        EXPECT_EQ(page.control(list).items.isEmpty(), !gate.profile) << list;
    EXPECT_EQ(page.control("comVoiceTransferPrompt", 4).visible && page.control("comGreetingPlayPleaseRecord", 5).visible, gate.prompts);
    for (int rule = 0; rule < 6; ++rule)
        EXPECT_EQ(page.control("SSTab4").tabs[rule].enabled, rule < 3 || gate.followMe) << rule;
    for (const QString name : {"label11_48", "label11_49", "label11_50", "label11_51", "chkCallerInputPrependDigitsClear",
                               "chkCallerInputPostPendDigitsClear"})
        EXPECT_EQ(page.control(name).visible, gate.digits) << name.toStdString();
    for (const char* box : {"txtCallerInputPrependDigits", "txtCallerInputPostPendDigits"})
        EXPECT_EQ(page.control(box).enabled, gate.digits) << box;
    // Keys start on "Ignore Key", the after-message action on "Hang Up", the after-greeting
    // actions on "Take Message".
    QList<ListItem> later;
    for (int string : gate.laterActions)
        later << fixed(string);
    for (int k = 0; k < 19; ++k) {
        const QList<ListItem>& items = page.control("cmbCallerInputTakeAction", k).items;
        EXPECT_EQ(items.first(), fixed(k < 12 ? 158 : k == 12 ? 152 : 260)) << k;
        EXPECT_EQ(items.mid(items.size() - later.size()), later) << k;
    }
    EXPECT_EQ(page.control("cmbCallerInputTakeAction", 11).items.size(), 7 + later.size());
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, VersionGates,
    ::testing::Values(GateCase{"Below2_5", {false, 2, 4, 9, 99}, {}, {}, false, false, false, false},
                      GateCase{"At2_5", {false, 2, 5, 0, 0}, {}, {}, true, false, false, false},
                      GateCase{"Exactly4_0_3_60", {false, 4, 0, 3, 60}, {}, {365, 366}, true, false, false, false},
                      GateCase{"At4_0_4_40", {false, 4, 0, 4, 40}, {}, {365, 366, 444}, true, false, false, false},
                      GateCase{"At4_2_0_5", {false, 4, 2, 0, 5}, {}, {365, 366, 444}, true, true, false, false},
                      GateCase{"At4_2_0_5WithSpecial8", {false, 4, 2, 0, 5}, {8}, {365, 366, 444}, true, true, false, true},
                      GateCase{"At4_3_0_31", {false, 4, 3, 0, 31}, {}, {365, 366, 444}, true, true, false, true},
                      GateCase{"At7_0_0_0", {false, 7, 0, 0, 0}, {}, {365, 366, 444}, true, true, false, true},
                      GateCase{"At7_0_0_1", {false, 7, 0, 0, 1}, {}, {365, 366, 444}, true, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HandlerLanguages, InstalledLanguagesFollowDontChangeAndInherited)
{
    const ListItem german = coded("German (Germany)", 1031), unitedStates = coded("English (United States)", 1033);
    // "TUI Languages Loaded" pieces; an empty piece, or one with a blank, is no code: it reads as 1033.
    const std::pair<QStringList, QList<ListItem>> cases[] = {
        {{"DEU"}, {german}},
        {{"ENX"}, {coded("English (TDD/TTY)", 33801)}},
        {{"DEU", ""}, {german, unitedStates}},
        {{"DEU", " ENX"}, {german, unitedStates}},
        {{}, {}},
    };
    for (const auto& [loaded, languages] : cases) {
        velmo::InstallationOptions options = TempInstallation::smallOptions();
        options.languages = loaded;
        const ControlState list = openPage(options).page.control("cmbCallHandlerDefaultLanguage");
        EXPECT_EQ(list.items, QList<ListItem>({fixed(20, 0), fixed(159, 1)}) + languages) << loaded.join(",").toStdString();
        EXPECT_EQ(list.currentIndex, 0);
    }
}

TEST(HandlerSchedules, ListInQueryOrderAndEachFailureCostsOneMessage)
{
    const Opened listed = openPage(TempInstallation::smallOptions(), [](HandlerOptionsPage& run) {
        run.sql("DELETE FROM Schedule");
        run.sql("INSERT INTO Schedule (ScheduleObjectID, Alias, DisplayName) VALUES "
                "('1', 'w', 'Weekdays'), ('0', 'n', NULL), ('2', 'a', 'All Hours')");
    });
    EXPECT_EQ(listed.page.control("cmbCallHandlerSchedule").items, QList<ListItem>({fixed(20), coded("Weekdays"), coded("All Hours")}));
    EXPECT_EQ(listed.messages, QStringList{resources::englishString(47) + "Invalid use of Null" + resources::englishString(1) + " 94"});

    const Opened refused = openPage(TempInstallation::smallOptions(), [](HandlerOptionsPage& run) { run.sql("DROP TABLE Schedule"); });
    EXPECT_EQ(refused.page.control("cmbCallHandlerSchedule").items, QList<ListItem>{fixed(20)});
    ASSERT_EQ(refused.messages.size(), 1);
    EXPECT_TRUE(refused.messages[0].startsWith(resources::englishString(47))) << refused.messages[0].toStdString();
    EXPECT_EQ(refused.page.control("cmbCallHandlerSwitchAssignment").items.size(), 3);   // filling went on
}

}  // namespace
