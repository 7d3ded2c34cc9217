// The options page's Features tab and the options of later servers, as PopulateControls leaves
// them on installations of chosen versions, kinds, directory connectors and engineering specials.
#include "OptionsPageFixture.h"

#include "core/ControlNames.h"
#include "core/ui/TabFlags.h"

#include <QComboBox>
#include <QTabBar>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using velmo::DirectoryConnector;

// Opens the page on that server and kind; checks the snapshot on first entry and after one more
// run (every later entry), and that no statement failed.
template <typename Check>
void checkTwice(OptionsPage& run, Check check)
{
    ASSERT_TRUE(run.open());
    for (int entry = 0; entry < 2; ++entry) {
        SCOPED_TRACE(entry == 0 ? "first entry" : "repeated run");
        if (entry == 1)
            run.page->PopulateControls();
        check(run.page->snapshot());
    }
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

// "Name_first" to "Name_last".
QStringList elements(const char* array, int first, int last)
{
    QStringList names;
    for (int index = first; index <= last; ++index)
        names << elementName(array, index);
    return names;
}

const QList<ListItem> kTriState{{"<Don't Change>", {}, 20}, {"TRUE", {}, 279}, {"FALSE", {}, 137}};
const QList<ListItem> kEncryption{{"<Don't Change>", {}, 20}, {"Do not encrypt messages", {}, 544},
                                  {"Encrypt only private messages", {}, 545}, {"Encrypt all messages", {}, 546}};

struct FeaturesCase {
    const char* name;
    int major, minor, release, build;
    qint16 kind;
    DirectoryConnector connector;
    bool productKeyLayout;
    bool opens;               // the tab's version flag
    QString shownFeatures;    // the lists shown with their labels, by index
    QString shownHeadings;    // of lblSubscriberProfile 10, 11 and 12: "0", "1", "2"
};

class FeaturesTab : public ::testing::TestWithParam<FeaturesCase> {};

TEST_P(FeaturesTab, OpensFillsAndHidesByKindVersionAndConnector)
{
    const FeaturesCase& c = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(c.major, c.minor, c.release, c.build);
    options.connector = c.connector;
    options.productKeyLayout = c.productKeyLayout;
    OptionsPage run(c.kind, options);
    const bool choices = std::tuple(c.major, c.minor, c.release, c.build) >= std::tuple(5, 0, 0, 10);   // encryption choices
    checkTwice(run, [&](const OptionsSnapshot& snapshot) {
        EXPECT_EQ(snapshot.control("tabMain").tabs[13].versionFlag, c.opens);
        for (int feature = 0; feature < 7; ++feature) {
            const ControlState& list = snapshot.control("cmbSubscriberFeatures", feature);
            const bool shown = c.shownFeatures.contains(QString::number(feature));
            EXPECT_EQ(list.visible, shown) << feature;
            EXPECT_EQ(snapshot.control("lblSubscriberFeatures", feature).visible, shown) << feature;
            // A closed tab's tri-state lists are left unfilled; the encryption list is filled whatever the tab.
            EXPECT_EQ(list.items, feature == 0 && choices ? kEncryption : c.opens ? kTriState : QList<ListItem>{}) << feature;
            EXPECT_EQ(list.currentIndex, list.items.isEmpty() ? -1 : 0) << feature;
        }
        for (int heading = 0; heading < 3; ++heading)
            EXPECT_EQ(snapshot.control("lblSubscriberProfile", 10 + heading).visible,
                      c.shownHeadings.contains(QString::number(heading))) << heading;
        EXPECT_EQ(snapshot.control("lblSubscriberFeatures", 6).text, "Enable Phone View message locator feature");
        if (c.opens) {
            const QStringList headings{choices ? "Message Security:" : "When sending a message by phone:",
                                       "Broadcast messages:", "Finding messages by phone:"};
            for (int heading = 0; heading < 3; ++heading)
                EXPECT_EQ(snapshot.control("lblSubscriberProfile", 10 + heading).text, headings[heading]) << heading;
            const QStringList captions{choices ? "When sending a message " : "Encrypt all messages marked private",
                                       "Subscriber can send broadcast messages to subscribers on this server",
                                       "Subscriber can update broadcast messages stored on this server",
                                       "Subscribers can use Message Locator",
                                       "Subscriber can send broadcast messages to subscribers on multiple servers",
                                       "Include receipts in searches "};
            for (int feature = 0; feature < 6; ++feature)
                EXPECT_EQ(snapshot.control("lblSubscriberFeatures", feature).text, captions[feature]) << feature;
        }
    });
    const auto* encryption = run.child<QComboBox>("cmbSubscriberFeatures_0");
    EXPECT_EQ(encryption->minimumWidth() == 3000 * encryption->logicalDpiX() / 1440, choices);
    for (int item = 0; choices && item < encryption->count(); ++item)
        EXPECT_GT(encryption->sizeHint().width(), encryption->fontMetrics().horizontalAdvance(encryption->itemText(item)));
}

INSTANTIATE_TEST_SUITE_P(
    KindsVersionsConnectors, FeaturesTab,
    ::testing::Values(FeaturesCase{"Kind1_5_0_0_10", 5, 0, 0, 10, 1, DirectoryConnector::ActiveDirectory, false, true, "0123456", "012"},
                      FeaturesCase{"Kind1_5_0_0_9", 5, 0, 0, 9, 1, DirectoryConnector::ActiveDirectory, false, true, "0123456", "012"},
                      FeaturesCase{"Kind1_4_1_0_20", 4, 1, 0, 20, 1, DirectoryConnector::ActiveDirectory, false, true, "012345", "012"},
                      FeaturesCase{"Kind1_4_1_0_19", 4, 1, 0, 19, 1, DirectoryConnector::ActiveDirectory, false, true, "01234", "012"},
                      FeaturesCase{"Kind1_4_0_4_40", 4, 0, 4, 40, 1, DirectoryConnector::ActiveDirectory, false, true, "01234", "012"},
                      FeaturesCase{"Kind1_4_0_4_39", 4, 0, 4, 39, 1, DirectoryConnector::ActiveDirectory, false, false, "012345", "012"},
                      FeaturesCase{"Kind1_5_0_0_1_Exchange", 5, 0, 0, 1, 1, DirectoryConnector::Exchange55, false, true, "126", "1"},
                      FeaturesCase{"Kind1_5_0_0_0_Exchange", 5, 0, 0, 0, 1, DirectoryConnector::Exchange55, false, true, "12", "1"},
                      FeaturesCase{"Kind1_5_0_0_10_Domino", 5, 0, 0, 10, 1, DirectoryConnector::Domino, false, true, "12", "1"},
                      // Servers whose version has the product key never report the Domino connector.
                      FeaturesCase{"Kind1_5_0_0_10_DominoProductKey", 5, 0, 0, 10, 1, DirectoryConnector::Domino, true, true, "126", "1"},
                      FeaturesCase{"Kind7_5_0_0_10", 5, 0, 0, 10, 7, DirectoryConnector::ActiveDirectory, false, false, "0123456", "012"},
                      FeaturesCase{"Kind7_5_0_0_10_Domino", 5, 0, 0, 10, 7, DirectoryConnector::Domino, false, false, "012345", "012"}),
    [](const ::testing::TestParamInfo<FeaturesCase>& info) { return std::string(info.param.name); });

TEST(FeaturesTabAcrossKinds, AClosedTabKeepsTheChoicesOfItsTriStateLists)
{
    OptionsPage run(1, TempInstallation::smallServer(5, 0, 0, 10));
    ASSERT_TRUE(run.open());
    auto* broadcast = run.child<QComboBox>("cmbSubscriberFeatures_1");
    auto* encryption = run.child<QComboBox>("cmbSubscriberFeatures_0");
    for (const qint16 kind : {7, 1}) {
        broadcast->setCurrentIndex(2);
        encryption->setCurrentIndex(3);
        run.context.state.iSelectedSubscriberType = kind;
        run.page->PopulateControls();
        EXPECT_EQ(broadcast->currentIndex(), kind == 1 ? 0 : 2) << kind;
        EXPECT_EQ(encryption->currentIndex(), 0) << kind;
        EXPECT_EQ(broadcast->count() + encryption->count(), 7) << kind;
        // What the closed tab keeps is not handed over: the snapshot reads the first fill's choice.
        EXPECT_EQ(run.page->snapshot().control("cmbSubscriberFeatures", 1).current.text, "<Don't Change>") << kind;
    }
}

// The controls each gate of the later servers offers, shown (or enabled) when it passes; "single
// DCR" is the single recovery list, offered while the split lists are not.
struct GatedControls {
    QStringList shown, enabled;
};
const std::map<QString, GatedControls> kGatedControls{
    {"menu", {QStringList{"chkConversationAccessibilityUpdate"} + elements("Label9", 14, 19), elements("txtConversationAccessibility", 0, 2)}},
    {"command", {{"Label9_34", "Label9_35"}, {"txtConversationAccessibility_3"}}},
    {"rules", {{"Label9_36", "Label9_37", "cmbConversationOptions_4", "cmbConversationSendScopeLimit"}, {"comTransferRuleEnabled_0"}}},
    {"skip", {elements("Label9", 43, 46), {"txtSubscriberMessageReviewSkipAheadTime", "txtSubscriberMessageReviewSkipBackTime"}}},
    {"dcr", {{"Label9_38", "Label9_39", "Label9_41", "Label9_42"}, {"txtDCRMessageReviewTimeout", "txtDCRSendTimeout"}}},
    {"split", {elements("label11", 48, 51) + elements("cmbConversationOptions", 6, 8) + QStringList{"Label9_51", "Label9_52", "Label9_53",
               "chkCallerInputPrependDigitsClear", "chkCallerInputPostPendDigitsClear"}, {"txtCallerInputPrependDigits", "txtCallerInputPostPendDigits"}}},
    {"single DCR", {{"Label9_40", "cmbConversationOptions_5"}, {}}},
};

struct LaterCase {
    int major, minor, release, build;
    bool special8;        // engineering special 8 installed
    QStringList passing;  // the gates that pass, and "followMe" for 7.0(0).1
};

class LaterVersionGates : public ::testing::TestWithParam<LaterCase> {};

TEST_P(LaterVersionGates, OfferTheOptionsTheServerHas)
{
    const LaterCase& c = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(c.major, c.minor, c.release, c.build);
    if (c.special8)
        options.engineeringSpecials = {8};
    OptionsPage run(1, options);
    const bool rules = c.passing.contains("rules");
    checkTwice(run, [&](const OptionsSnapshot& snapshot) {
        for (const auto& [gate, controls] : kGatedControls) {
            for (const QString& name : controls.shown)
                EXPECT_EQ(snapshot.control(name).visible, c.passing.contains(gate)) << name.toStdString();
            for (const QString& name : controls.enabled)
                EXPECT_EQ(snapshot.control(name).enabled, c.passing.contains(gate)) << name.toStdString();
        }
        const QList<TabState>& tabs = snapshot.control("tabSubscriberTransfer").tabs;
        EXPECT_EQ(tabs[0].caption, rules ? "Alternate" : "");
        for (int rule = 1; rule < 6; ++rule)
            EXPECT_EQ(tabs[rule].versionFlag, c.passing.contains(rule < 3 ? "rules" : "followMe")) << rule;
        EXPECT_EQ(snapshot.control("Label9_40").text, "Dropped call recovery - enable:");
        EXPECT_EQ(snapshot.control("label11_50").text, "(blank skips field)");
    });
    EXPECT_EQ(run.child<QTabWidget>("tabSubscriberTransfer")->tabBar()->isHidden(), !rules);
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, LaterVersionGates,
    ::testing::Values(LaterCase{4, 0, 4, 144, false, {"single DCR"}}, LaterCase{4, 0, 4, 145, false, {"menu", "single DCR"}},
                      LaterCase{4, 1, 0, 50, true, {"menu", "single DCR"}}, LaterCase{4, 2, 0, 0, true, {"menu", "split"}},
                      LaterCase{4, 2, 0, 97, false, {"menu", "single DCR"}}, LaterCase{4, 2, 0, 98, false, {"menu", "command", "single DCR"}},
                      LaterCase{4, 3, 0, 8, false, {"menu", "command", "single DCR"}},
                      LaterCase{4, 3, 0, 9, false, {"menu", "command", "rules", "single DCR"}},
                      LaterCase{4, 3, 0, 30, false, {"menu", "command", "rules", "single DCR"}},
                      LaterCase{4, 3, 0, 31, false, {"menu", "command", "rules", "skip", "single DCR"}},
                      LaterCase{5, 0, 0, 30, false, {"menu", "command", "rules", "skip", "single DCR"}},
                      LaterCase{5, 0, 0, 30, true, {"menu", "command", "rules", "skip", "split"}},
                      LaterCase{5, 0, 0, 31, false, {"menu", "command", "rules", "skip", "dcr", "split"}},
                      LaterCase{7, 0, 0, 0, false, {"menu", "command", "rules", "skip", "dcr", "split"}},
                      LaterCase{7, 0, 0, 1, false, {"menu", "command", "rules", "skip", "dcr", "split", "followMe"}}),
    [](const ::testing::TestParamInfo<LaterCase>& info) {
        const LaterCase& c = info.param;
        return QString("v%1_%2_%3_%4%5").arg(c.major).arg(c.minor).arg(c.release).arg(c.build).arg(c.special8 ? "_special8" : "").toStdString();
    });

}  // namespace
