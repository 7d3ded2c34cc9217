// The transfer, greeting and caller-input action lists, and the Messages and notification lists
// of the options page, as PopulateControls leaves them on servers of chosen versions.
#include "core/ControlNames.h"
#include "resources/EnglishStrings.h"
#include "subscribers/ui/options/OptionsTabs.h"
#include "tests/subscribers_ui/OptionsPageFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using velmo::DirectoryConnector;

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

const QList<int> kTriState{20, 279, 137};
const QList<int> kTransferTypes{20, 217, 258};
const QList<int> kBusyActions{20, 46, 192, 65};
const QList<int> kGreetingSources{20, 453, 454, 455};
const QList<int> kMarkings{20, 45, 189, 65};
const QList<int> kDisableDevice{20, 279};

// The one-key actions as they grow with the server version.
const QList<int> kKeysBefore4036{158, 248, 260, 152, 247, 175, 149};
const QList<int> kKeysFrom4036{158, 248, 260, 152, 247, 359, 365, 366, 175, 149};
const QList<int> kKeysFrom40440{158, 248, 260, 152, 247, 359, 365, 366, 444, 175, 149};
const QList<int> kKeysFrom42043{158, 248, 260, 152, 247, 359, 365, 366, 444, 175, 149, 504};
// The after-greeting actions; the exit destination and after-message lists are these without
// "Take Message".
const QList<int> kAfterGreetingBefore4036{260, 152, 247, 175, 149};
const QList<int> kAfterGreetingFrom4036{260, 152, 247, 175, 149, 365, 366};
const QList<int> kAfterGreetingFrom40440{260, 152, 247, 175, 149, 365, 366, 444};

// Every list the steps fill, with its items by string number.
QList<std::pair<QString, QList<int>>> expectedLists(const QList<int>& keyActions, const QList<int>& afterGreeting)
{
    QList<std::pair<QString, QList<int>>> lists;
    for (int rule = 0; rule < 6; ++rule) {
        for (const char* list : {"comTransferRuleEnabled", "comTransferEnabled", "comTransferPlayPleaseWaitPrompt",
                                 "comTransferAnnounce", "comTransferIntroduce", "comTransferConfirm", "comTransferAskCallersName"})
            lists.append({element(list, rule), kTriState});
        lists.append({element("comTransferType", rule), kTransferTypes});
        lists.append({element("comTransferBusyAction", rule), kBusyActions});
    }
    for (int greeting = 0; greeting < 6; ++greeting) {
        for (const char* list : {"comGreetingEnabled", "comGreetingPlayPleaseRecord", "comGreetingAllowInput"})
            lists.append({element(list, greeting), kTriState});
        lists.append({element("comGreetingSource", greeting), kGreetingSources});
        lists.append({element("cmbCallerInputTakeAction", 13 + greeting), afterGreeting});
    }
    const QList<int> routing = afterGreeting.mid(1);
    lists.append({element("cmbCallerInputTakeAction", 19), routing});
    lists.append({element("cmbCallerInputTakeAction", 12), routing});
    for (int key = 0; key < 12; ++key) {
        lists.append({element("cmbCallerInputTakeAction", key), keyActions});
        lists.append({element("cmbCallerInputLockKey", key), kTriState});
    }
    for (const char* list : {"comMessagesCallersCanEdit", "comMessagesSendCounts"})
        lists.append({QString::fromLatin1(list), kTriState});
    lists.append({QStringLiteral("comMessagesMarkUrgent"), kMarkings});
    lists.append({QStringLiteral("comMessagesMarkPrivate"), kMarkings});
    for (int device = 0; device < 14; ++device)
        lists.append({element("comNotificationDisableDevice", device), kDisableDevice});
    for (int text = 0; text < 4; ++text) {
        lists.append({element("comTextNotificationIncludeCallerInfo", text), kTriState});
        lists.append({element("comTextNotificationIncludeVmailEmailFaxCounts", text), kTriState});
    }
    return lists;
}

// The list holds the fixed texts of `strings` in that order, each once, without item data, and
// its first item is selected.
::testing::AssertionResult holdsFixedTexts(const ControlState& list, const QList<int>& strings)
{
    QList<ListItem> expected;
    for (int string : strings)
        expected.append({resources::englishString(string), {}, string});
    if (list.items != expected)
        return ::testing::AssertionFailure() << "items " << itemTexts(list).join(" | ").toStdString();
    if (list.currentIndex != 0)
        return ::testing::AssertionFailure() << "selected " << list.currentIndex;
    return ::testing::AssertionSuccess();
}

struct VersionCase {
    int major, minor, release, build;
    qint16 kind;
    DirectoryConnector connector;
    QList<int> keyActions;
    QList<int> afterGreeting;
    bool promptLists;     // the transfer wait and greeting record prompt lists shown
    bool enhancedBoxes;   // the enhanced alternate greeting check boxes shown
    bool smsDevice;       // the SMS device tab's version flag
    bool callerInfo;      // the text devices' caller-information rows shown
};

class TransferGreetingAndCallerInputLists : public ::testing::TestWithParam<VersionCase> {};

TEST_P(TransferGreetingAndCallerInputLists, FollowTheServerVersion)
{
    const VersionCase& version = GetParam();
    velmo::InstallationOptions options = TempInstallation::smallServer(version.major, version.minor, version.release, version.build);
    options.connector = version.connector;
    OptionsPage run(version.kind, options);
    ASSERT_TRUE(run.open());
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
    const OptionsSnapshot snapshot = run.page->snapshot();

    for (const auto& [name, strings] : expectedLists(version.keyActions, version.afterGreeting))
        EXPECT_TRUE(holdsFixedTexts(snapshot.control(name), strings)) << name.toStdString();

    for (int index = 0; index < 6; ++index) {
        EXPECT_EQ(snapshot.control("comTransferPlayPleaseWaitPrompt", index).visible, version.promptLists) << index;
        EXPECT_EQ(snapshot.control("comGreetingPlayPleaseRecord", index).visible, version.promptLists) << index;
    }
    for (const char* box : {"chkGreetingAlternateDontRingPhone", "chkGreetingAlternatePreventMessage",
                            "chkGreetingAlternatePreventSkip", "chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings"})
        EXPECT_EQ(snapshot.control(box).visible, version.enhancedBoxes) << box;

    const QList<TabState>& devices = snapshot.control("TabNotification").tabs;
    ASSERT_EQ(devices.size(), 14);
    for (int device = 0; device < 14; ++device) {
        EXPECT_EQ(devices[device].versionFlag, device == 13 ? version.smsDevice : true) << device;
        EXPECT_TRUE(devices[device].typeFlag) << device;
        EXPECT_EQ(devices[device].enabled, devices[device].versionFlag) << device;
    }
    for (int text = 0; text < 4; ++text) {
        EXPECT_EQ(snapshot.control("comTextNotificationIncludeCallerInfo", text).visible, version.callerInfo) << text;
        EXPECT_EQ(snapshot.control("Label28", 14 + text).visible, version.callerInfo) << text;
        EXPECT_TRUE(snapshot.control("comTextNotificationIncludeVmailEmailFaxCounts", text).visible) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ServerVersions, TransferGreetingAndCallerInputLists,
    ::testing::Values(
        VersionCase{4, 0, 3, 59, 1, DirectoryConnector::ActiveDirectory, kKeysBefore4036, kAfterGreetingBefore4036,
                    false, false, false, false},
        VersionCase{4, 0, 3, 60, 1, DirectoryConnector::Domino, kKeysFrom4036, kAfterGreetingFrom4036,
                    false, true, false, false},
        VersionCase{4, 0, 3, 99, 7, DirectoryConnector::ActiveDirectory, kKeysFrom4036, kAfterGreetingFrom4036,
                    false, true, false, false},
        VersionCase{4, 0, 3, 100, 1, DirectoryConnector::ActiveDirectory, kKeysFrom4036, kAfterGreetingFrom4036,
                    false, true, true, false},
        VersionCase{4, 0, 4, 39, 1, DirectoryConnector::Exchange55, kKeysFrom4036, kAfterGreetingFrom4036,
                    false, true, true, false},
        VersionCase{4, 0, 4, 40, 1, DirectoryConnector::ActiveDirectory, kKeysFrom40440, kAfterGreetingFrom40440,
                    false, true, true, false},
        VersionCase{4, 0, 99, 0, 1, DirectoryConnector::ActiveDirectory, kKeysFrom40440, kAfterGreetingFrom40440,
                    false, true, true, false},
        VersionCase{4, 1, 0, 0, 1, DirectoryConnector::ActiveDirectory, kKeysFrom40440, kAfterGreetingFrom40440,
                    true, true, true, false},
        VersionCase{4, 2, 0, 37, 1, DirectoryConnector::ActiveDirectory, kKeysFrom40440, kAfterGreetingFrom40440,
                    true, true, true, false},
        VersionCase{4, 2, 0, 38, 5, DirectoryConnector::ActiveDirectory, kKeysFrom40440, kAfterGreetingFrom40440,
                    true, true, true, true},
        VersionCase{4, 2, 0, 42, 1, DirectoryConnector::ActiveDirectory, kKeysFrom40440, kAfterGreetingFrom40440,
                    true, true, true, true},
        VersionCase{4, 2, 0, 43, 1, DirectoryConnector::ActiveDirectory, kKeysFrom42043, kAfterGreetingFrom40440,
                    true, true, true, true},
        VersionCase{7, 0, 0, 111, 7, DirectoryConnector::Domino, kKeysFrom42043, kAfterGreetingFrom40440,
                    true, true, true, true}),
    [](const ::testing::TestParamInfo<VersionCase>& info) {
        const VersionCase& version = info.param;
        return QString("v%1_%2_%3_%4_kind%5").arg(version.major).arg(version.minor).arg(version.release).arg(version.build)
            .arg(version.kind).toStdString();
    });

TEST(TransferGreetingAndCallerInputLists, ARepeatedRunSelectsTheFirstItemsAgainAndKeepsTheCheckBoxes)
{
    OptionsPage run;
    ASSERT_TRUE(run.open());
    const auto lists = expectedLists(kKeysBefore4036, kAfterGreetingBefore4036);
    // The administrator's choices in every list, and an enhanced alternate greeting setting.
    for (const auto& [name, strings] : lists) {
        auto* list = run.child<QComboBox>(name);
        ASSERT_NE(list, nullptr);
        list->setCurrentIndex(list->count() - 1);
    }
    run.child<QCheckBox>("chkGreetingAlternateDontRingPhone")->setChecked(true);
    const OptionsSnapshot first = run.page->snapshot();

    run.page->PopulateControls();
    EXPECT_TRUE(run.shown.isEmpty()) << run.shown.join("\n").toStdString();
    const OptionsSnapshot second = run.page->snapshot();
    for (const auto& [name, strings] : lists) {
        EXPECT_EQ(second.control(name).items, first.control(name).items) << name.toStdString();
        EXPECT_EQ(second.control(name).currentIndex, 0) << name.toStdString();
    }
    EXPECT_EQ(second.control("cmbCallerInputTakeAction", 12).current.text, "Hang Up");
    EXPECT_EQ(second.control("cmbCallerInputTakeAction", 19).current.text, "Hang Up");
    EXPECT_EQ(second.control("cmbCallerInputTakeAction", 13).current.text, "Take Message");
    EXPECT_EQ(second.control("cmbCallerInputTakeAction", 11).current.text, "Ignore Key");
    EXPECT_EQ(second.control("chkGreetingAlternateDontRingPhone").checkState, CheckValue::Ticked);
}

// Where the server hides the record-prompt rows, the Alternate greeting's check boxes beside its
// rows are taller than they are: the rows keep the spacing of the other greetings all the same.
TEST(TransferGreetingAndCallerInputLists, TheAlternateGreetingRowsKeepTheirSpacingBesideItsCheckBoxes)
{
    OptionsPage run(1, TempInstallation::smallServer(4, 0, 3, 60));
    ASSERT_TRUE(run.open());
    auto* greetings = run.child<QTabWidget>("tabGreetings");
    ASSERT_NE(greetings, nullptr);
    run.tabMain().setCurrentIndex(SubscriberOptions::GreetingsTab);
    const auto rowTops = [&](int greeting) {
        greetings->setCurrentIndex(greeting);
        QCoreApplication::processEvents();
        QList<int> tops;
        for (const char* list : {"comGreetingEnabled", "comGreetingAllowInput", "comGreetingSource"})
            tops << run.child<QComboBox>(element(list, greeting))->mapTo(greetings, QPoint()).y();
        return tops;
    };
    const QList<int> standard = rowTops(0);
    EXPECT_EQ(rowTops(3), standard);
    EXPECT_TRUE(run.child<QCheckBox>("chkGreetingAlternatePreventMessage")->isVisible());
}

// A control the page lacks: the messages its statements cost, and lists filled after it, in
// the same pass of its loop and in the passes and steps that follow.
struct MissingControlCase {
    const char* missing;
    int messages;
    std::vector<const char*> filledAfter;
};

class TransferGreetingAndCallerInputFailures : public ::testing::TestWithParam<MissingControlCase> {};

TEST_P(TransferGreetingAndCallerInputFailures, CostOneMessagePerStatementAndTheRestIsFilled)
{
    const MissingControlCase& failure = GetParam();
    OptionsPage run;
    ASSERT_TRUE(run.open());
    const QString missing = QString::fromLatin1(failure.missing);
    delete run.child<QWidget>(missing);
    for (const char* name : failure.filledAfter)
        run.child<QComboBox>(name)->clear();

    run.page->PopulateControls();
    ASSERT_EQ(run.shown.size(), failure.messages) << run.shown.join("\n").toStdString();
    for (const QString& message : run.shown)
        EXPECT_TRUE(message.contains("Object required (" + missing + ")")) << message.toStdString();
    for (const char* name : failure.filledAfter)
        EXPECT_GT(run.child<QComboBox>(name)->count(), 0) << name;
}

INSTANTIATE_TEST_SUITE_P(
    MissingControls, TransferGreetingAndCallerInputFailures,
    ::testing::Values(
        MissingControlCase{"comTransferPlayPleaseWaitPrompt_2", 2,
                           {"comTransferAnnounce_2", "comTransferBusyAction_2", "comTransferRuleEnabled_3"}},
        MissingControlCase{"cmbCallerInputTakeAction_4", 1, {"cmbCallerInputLockKey_4", "cmbCallerInputTakeAction_5"}},
        MissingControlCase{"comTextNotificationIncludeCallerInfo_1", 2,
                           {"comTextNotificationIncludeVmailEmailFaxCounts_1", "comTextNotificationIncludeCallerInfo_2"}}),
    [](const ::testing::TestParamInfo<MissingControlCase>& info) { return std::string(info.param.missing); });

}  // namespace
