// The options page's Features tab and the options of later servers, as PopulateControls leaves
// them on installations of chosen versions, kinds, directory connectors and engineering specials.
#include "OptionsPageFixture.h"

#include "core/ControlNames.h"
#include "core/ui/TabFlags.h"
#include "resources/EnglishStrings.h"

#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

using velmo::DirectoryConnector;

QString versionName(int major, int minor, int release, int build)
{
    return QString("v%1_%2_%3_%4").arg(major).arg(minor).arg(release).arg(build);
}

// The page's snapshot on first entry, and again after one more run (every later entry).
template <typename Check>
void onFirstEntryAndAfterARepeatedRun(OptionsPage& run, Check check)
{
    for (int entry = 0; entry < 2; ++entry) {
        SCOPED_TRACE(entry == 0 ? "first entry" : "repeated run");
        if (entry == 1)
            run.page->PopulateControls();
        check(run.page->snapshot());
    }
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

const QList<ListItem> kTriState{{"<Don't Change>", {}, 20}, {"TRUE", {}, 279}, {"FALSE", {}, 137}};
const QList<ListItem> kEncryption{{"<Don't Change>", {}, 20},
                                  {"Do not encrypt messages", {}, 544},
                                  {"Encrypt only private messages", {}, 545},
                                  {"Encrypt all messages", {}, 546}};

// ---- The Features tab ----

enum FeatureList { Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer, LocatorReceipts, PhoneView };

struct FeaturesCase {
    const char* name;
    int major, minor, release, build;
    qint16 kind;
    DirectoryConnector connector;
    bool productKeyLayout;
    bool opens;                  // the tab's version flag
    QList<int> shownFeatures;    // the lists shown, each with its label
    QList<int> shownHeadings;    // of lblSubscriberProfile 10, 11, 12
};

class FeaturesTab : public ::testing::TestWithParam<FeaturesCase> {};

TEST_P(FeaturesTab, OpensFillsAndHidesByKindVersionAndConnector)
{
    const FeaturesCase& features = GetParam();
    velmo::InstallationOptions options =
        TempInstallation::smallServer(features.major, features.minor, features.release, features.build);
    options.connector = features.connector;
    options.productKeyLayout = features.productKeyLayout;
    OptionsPage run(features.kind, options);
    ASSERT_TRUE(run.open());
    const bool encryptionChoices = run.session.isVersionAtLeast(5, 0, 0, 10);

    onFirstEntryAndAfterARepeatedRun(run, [&](const OptionsSnapshot& snapshot) {
        EXPECT_EQ(snapshot.control("tabMain").tabs[13].versionFlag, features.opens);
        for (int feature = Encryption; feature <= PhoneView; ++feature) {
            SCOPED_TRACE(feature);
            const ControlState& list = snapshot.control("cmbSubscriberFeatures", feature);
            const bool shown = features.shownFeatures.contains(feature);
            EXPECT_EQ(list.visible, shown);
            EXPECT_EQ(snapshot.control("lblSubscriberFeatures", feature).visible, shown);
            // A closed tab's tri-state lists are never filled; the encryption list is, whatever the tab.
            const QList<ListItem>& expected = feature == Encryption && encryptionChoices ? kEncryption
                                              : features.opens                           ? kTriState
                                                                                         : QList<ListItem>{};
            EXPECT_EQ(list.items, expected);
            EXPECT_EQ(list.currentIndex, list.items.isEmpty() ? -1 : 0);
        }
        for (int heading : {10, 11, 12})
            EXPECT_EQ(snapshot.control("lblSubscriberProfile", heading).visible, features.shownHeadings.contains(heading))
                << heading;
        EXPECT_EQ(snapshot.control("lblSubscriberFeatures", PhoneView).text, resources::englishString(538));
        if (!features.opens)
            return;
        const auto caption = [&](const char* array, int index) { return snapshot.control(array, index).text; };
        EXPECT_EQ(caption("lblSubscriberFeatures", Encryption), resources::englishString(encryptionChoices ? 543 : 439));
        EXPECT_EQ(caption("lblSubscriberProfile", 10), resources::englishString(encryptionChoices ? 542 : 442));
        const int captions[] = {440, 441, 446, 448, 490};
        for (int feature = Broadcast; feature <= LocatorReceipts; ++feature)
            EXPECT_EQ(caption("lblSubscriberFeatures", feature), resources::englishString(captions[feature - 1])) << feature;
        EXPECT_EQ(caption("lblSubscriberProfile", 11), "Broadcast messages:");
        EXPECT_EQ(caption("lblSubscriberProfile", 12), "Finding messages by phone:");
    });

    // The encryption choices need 3000 twips, or more where their texts are wider.
    const auto* encryption = run.child<QComboBox>(elementName("cmbSubscriberFeatures", Encryption));
    const int twips3000 = 3000 * encryption->logicalDpiX() / 1440;
    EXPECT_EQ(encryption->minimumWidth() == twips3000, encryptionChoices);
    if (encryptionChoices) {
        for (int item = 0; item < encryption->count(); ++item)
            EXPECT_GT(encryption->sizeHint().width(), encryption->fontMetrics().horizontalAdvance(encryption->itemText(item)));
    }
}

const QList<int> kAllFeatures{Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer, LocatorReceipts, PhoneView};
const QList<int> kAllHeadings{10, 11, 12};

INSTANTIATE_TEST_SUITE_P(
    KindsVersionsConnectors, FeaturesTab,
    ::testing::Values(
        FeaturesCase{"Kind1_5_0_0_10_ActiveDirectory", 5, 0, 0, 10, 1, DirectoryConnector::ActiveDirectory, false, true,
                     kAllFeatures, kAllHeadings},
        FeaturesCase{"Kind1_5_0_0_9_ActiveDirectory", 5, 0, 0, 9, 1, DirectoryConnector::ActiveDirectory, false, true,
                     kAllFeatures, kAllHeadings},
        FeaturesCase{"Kind1_4_1_0_20_ActiveDirectory", 4, 1, 0, 20, 1, DirectoryConnector::ActiveDirectory, false, true,
                     {Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer, LocatorReceipts}, kAllHeadings},
        FeaturesCase{"Kind1_4_1_0_19_ActiveDirectory", 4, 1, 0, 19, 1, DirectoryConnector::ActiveDirectory, false, true,
                     {Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer}, kAllHeadings},
        FeaturesCase{"Kind1_4_0_4_40_ActiveDirectory", 4, 0, 4, 40, 1, DirectoryConnector::ActiveDirectory, false, true,
                     {Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer}, kAllHeadings},
        FeaturesCase{"Kind1_4_0_4_39_ActiveDirectory", 4, 0, 4, 39, 1, DirectoryConnector::ActiveDirectory, false, false,
                     {Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer, LocatorReceipts}, kAllHeadings},
        FeaturesCase{"Kind1_5_0_0_1_Exchange", 5, 0, 0, 1, 1, DirectoryConnector::Exchange55, false, true,
                     {Broadcast, UpdateBroadcast, PhoneView}, {11}},
        FeaturesCase{"Kind1_5_0_0_0_Exchange", 5, 0, 0, 0, 1, DirectoryConnector::Exchange55, false, true,
                     {Broadcast, UpdateBroadcast}, {11}},
        FeaturesCase{"Kind1_5_0_0_10_Domino", 5, 0, 0, 10, 1, DirectoryConnector::Domino, false, true,
                     {Broadcast, UpdateBroadcast}, {11}},
        // The Domino connector is never reported on servers whose version has the product key.
        FeaturesCase{"Kind1_5_0_0_10_DominoProductKey", 5, 0, 0, 10, 1, DirectoryConnector::Domino, true, true,
                     {Broadcast, UpdateBroadcast, PhoneView}, {11}},
        FeaturesCase{"Kind7_5_0_0_10_ActiveDirectory", 5, 0, 0, 10, 7, DirectoryConnector::ActiveDirectory, false, false,
                     kAllFeatures, kAllHeadings},
        FeaturesCase{"Kind2_5_0_0_9_Domino", 5, 0, 0, 9, 2, DirectoryConnector::Domino, false, false,
                     {Encryption, Broadcast, UpdateBroadcast, MessageLocator, BroadcastMultiServer, LocatorReceipts}, kAllHeadings}),
    [](const ::testing::TestParamInfo<FeaturesCase>& info) { return std::string(info.param.name); });

TEST(FeaturesTabAcrossKinds, AClosedTabKeepsWhatTheLastOpenRunGaveIt)
{
    velmo::InstallationOptions options = TempInstallation::smallServer(5, 0, 0, 10);
    options.connector = DirectoryConnector::Exchange55;
    OptionsPage run(1, options);
    ASSERT_TRUE(run.open());
    auto* broadcast = run.child<QComboBox>(elementName("cmbSubscriberFeatures", Broadcast));
    auto* encryption = run.child<QComboBox>(elementName("cmbSubscriberFeatures", Encryption));
    broadcast->setCurrentIndex(2);
    encryption->setCurrentIndex(3);

    // Under another kind the tab closes; its tri-state lists and hidden rows stay as they were,
    // while the encryption list and the phone view row are set again.
    run.context.state.iSelectedSubscriberType = 7;
    run.page->PopulateControls();
    EXPECT_FALSE(TabFlags::versionFlag(&run.tabMain(), 13));
    EXPECT_EQ(broadcast->count(), 3);
    EXPECT_EQ(broadcast->currentIndex(), 2);
    EXPECT_EQ(encryption->count(), 4);
    EXPECT_EQ(encryption->currentIndex(), 0);
    for (int feature : {Encryption, MessageLocator, BroadcastMultiServer, LocatorReceipts})
        EXPECT_TRUE(run.child(elementName("cmbSubscriberFeatures", feature))->isHidden()) << feature;
    EXPECT_FALSE(run.child(elementName("cmbSubscriberFeatures", PhoneView))->isHidden());

    // Back to subscribers: the tab opens with every list at "<Don't Change>".
    run.context.state.iSelectedSubscriberType = 1;
    run.page->PopulateControls();
    EXPECT_TRUE(TabFlags::versionFlag(&run.tabMain(), 13));
    EXPECT_EQ(broadcast->count(), 3);
    EXPECT_EQ(broadcast->currentIndex(), 0);
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
}

// ---- The options of later servers ----

struct LaterCase {
    int major, minor, release, build;
    bool special8;           // engineering special 8 installed
    bool menuTiming;         // 4.0(4).145
    bool menuCommandTiming;  // 4.2(0).98
    bool transferRules;      // 4.3(0).9: voice navigation, send scope, the Closed and Standard rules
    bool followMe;           // 7.0(0).1
    bool skipTimes;          // 4.3(0).31
    bool dcrTimeouts;        // 5.0(0).31
    bool splitDcr;           // 5.0(0).31, or 4.2(0).0 with engineering special 8
};

class LaterVersionGates : public ::testing::TestWithParam<LaterCase> {};

TEST_P(LaterVersionGates, OfferTheOptionsTheServerHas)
{
    const LaterCase& gates = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(gates.major, gates.minor, gates.release, gates.build);
    if (gates.special8)
        options.engineeringSpecials = {8};
    OptionsPage run(1, options);
    ASSERT_TRUE(run.open());

    onFirstEntryAndAfterARepeatedRun(run, [&](const OptionsSnapshot& snapshot) {
        const auto shown = [&](const QString& name) { return snapshot.control(name).visible; };
        const auto enabled = [&](const QString& name) { return snapshot.control(name).enabled; };
        const auto text = [&](const QString& name) { return snapshot.control(name).text; };
        const auto expectShown = [&](const char* array, int first, int last, bool expected) {
            for (int index = first; index <= last; ++index)
                EXPECT_EQ(shown(elementName(array, index)), expected) << array << index;
        };

        EXPECT_EQ(shown("chkConversationAccessibilityUpdate"), gates.menuTiming);
        for (int box = 0; box <= 2; ++box)
            EXPECT_EQ(enabled(elementName("txtConversationAccessibility", box)), gates.menuTiming) << box;
        expectShown("Label9", 14, 19, gates.menuTiming);

        EXPECT_EQ(enabled("txtConversationAccessibility_3"), gates.menuCommandTiming);
        expectShown("Label9", 34, 35, gates.menuCommandTiming);

        for (const char* name : {"Label9_36", "Label9_37", "cmbConversationOptions_4", "cmbConversationSendScopeLimit"})
            EXPECT_EQ(shown(name), gates.transferRules) << name;
        EXPECT_EQ(enabled("comTransferRuleEnabled_0"), gates.transferRules);
        const QList<TabState>& rules = snapshot.control("tabSubscriberTransfer").tabs;
        ASSERT_EQ(rules.size(), 6);
        EXPECT_TRUE(rules[0].versionFlag);
        EXPECT_EQ(rules[0].caption, gates.transferRules ? "Alternate" : "");
        for (int rule : {1, 2})
            EXPECT_EQ(rules[rule].versionFlag, gates.transferRules) << rule;
        for (int rule : {3, 4, 5})
            EXPECT_EQ(rules[rule].versionFlag, gates.followMe) << rule;
        EXPECT_EQ(snapshot.control("tabSubscriberTransfer").currentIndex, 0);

        EXPECT_EQ(text("Label9_43"), "Message review skip ahead time (milliseconds):");
        EXPECT_EQ(text("Label9_44"), resources::englishString(11));
        EXPECT_EQ(text("Label9_45"), resources::englishString(11));
        EXPECT_EQ(text("Label9_46"), "Message review skip back time (milliseconds):");
        for (const char* box : {"txtSubscriberMessageReviewSkipAheadTime", "txtSubscriberMessageReviewSkipBackTime"})
            EXPECT_EQ(enabled(box), gates.skipTimes) << box;
        expectShown("Label9", 43, 46, gates.skipTimes);

        const int dcrCaptions[] = {517, 518, 519, 12, 12};
        for (int label = 38; label <= 42; ++label)
            EXPECT_EQ(text(elementName("Label9", label)), resources::englishString(dcrCaptions[label - 38])) << label;
        for (int label : {38, 39, 41, 42})
            EXPECT_EQ(shown(elementName("Label9", label)), gates.dcrTimeouts) << label;
        for (const char* box : {"txtDCRMessageReviewTimeout", "txtDCRSendTimeout"})
            EXPECT_EQ(enabled(box), gates.dcrTimeouts) << box;
        // The single recovery list gives way to the split ones, whatever the time-outs do.
        EXPECT_EQ(shown("cmbConversationOptions_5"), !gates.splitDcr);
        EXPECT_EQ(shown("Label9_40"), !gates.splitDcr);

        const int digitCaptions[] = {520, 521, 12, 12};
        for (int label = 48; label <= 51; ++label)
            EXPECT_EQ(text(elementName("label11", label)), resources::englishString(digitCaptions[label - 48])) << label;
        expectShown("label11", 48, 51, gates.splitDcr);
        for (const char* box : {"txtCallerInputPrependDigits", "txtCallerInputPostPendDigits"})
            EXPECT_EQ(enabled(box), gates.splitDcr) << box;
        for (const char* clear : {"chkCallerInputPrependDigitsClear", "chkCallerInputPostPendDigitsClear"}) {
            EXPECT_EQ(shown(clear), gates.splitDcr) << clear;
            if (gates.splitDcr) {
                EXPECT_EQ(text(clear), "Clear");
            }
        }
        EXPECT_EQ(text("Label9_51"), "Enable DCR for calls dropped during message playback:");
        EXPECT_EQ(text("Label9_52"), "Enable DCR for calls dropped while addressing or recording messages:");
        for (const char* name : {"cmbConversationOptions_6", "cmbConversationOptions_7", "Label9_51", "Label9_52",
                                 "Label9_53", "cmbConversationOptions_8"})
            EXPECT_EQ(shown(name), gates.splitDcr) << name;
        if (gates.splitDcr) {
            EXPECT_EQ(text("Label9_53"), "Allow access to voice-recognition feature:");
        }
    });

    // Without the Closed and Standard rules the Alternate rule's page shows without a tab strip.
    EXPECT_EQ(run.child<QTabWidget>("tabSubscriberTransfer")->tabBar()->isHidden(), !gates.transferRules);
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, LaterVersionGates,
    ::testing::Values(LaterCase{4, 0, 4, 144, false, false, false, false, false, false, false, false},
                      LaterCase{4, 0, 4, 145, false, true, false, false, false, false, false, false},
                      LaterCase{4, 1, 0, 50, true, true, false, false, false, false, false, false},
                      LaterCase{4, 2, 0, 0, true, true, false, false, false, false, false, true},
                      LaterCase{4, 2, 0, 97, false, true, false, false, false, false, false, false},
                      LaterCase{4, 2, 0, 98, false, true, true, false, false, false, false, false},
                      LaterCase{4, 3, 0, 8, false, true, true, false, false, false, false, false},
                      LaterCase{4, 3, 0, 9, false, true, true, true, false, false, false, false},
                      LaterCase{4, 3, 0, 30, false, true, true, true, false, false, false, false},
                      LaterCase{4, 3, 0, 31, false, true, true, true, false, true, false, false},
                      LaterCase{5, 0, 0, 30, false, true, true, true, false, true, false, false},
                      LaterCase{5, 0, 0, 30, true, true, true, true, false, true, false, true},
                      LaterCase{5, 0, 0, 31, false, true, true, true, false, true, true, true},
                      LaterCase{7, 0, 0, 0, false, true, true, true, false, true, true, true},
                      LaterCase{7, 0, 0, 1, false, true, true, true, true, true, true, true}),
    [](const ::testing::TestParamInfo<LaterCase>& info) {
        const LaterCase& gates = info.param;
        return (versionName(gates.major, gates.minor, gates.release, gates.build) + (gates.special8 ? "_special8" : ""))
            .toStdString();
    });

}  // namespace
