// The Caller Input, Messages, Exit Dest., Delivery Location and Features tabs of the subscriber
// options page: their controls, laid-out states and captions.
#include "subscribers/ui/options/OptionsTabs.h"

#include "OptionsInventory.h"
#include "resources/EnglishStrings.h"

#include <QRegularExpression>

#include <set>

using namespace SubscriberOptions;

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

void append(std::vector<InventoryRow>& rows, const std::vector<InventoryRow>& more)
{
    rows.insert(rows.end(), more.begin(), more.end());
}

std::vector<InventoryRow> callerInputInventory()
{
    std::vector<InventoryRow> rows{
        {"label11_26", ControlKind::Label, {}},
        {"txtCallerInputMilisecondsToWait", ControlKind::LineEdit, {}},
        {"label11_27", ControlKind::Label, {}},
        {"label11_48", ControlKind::Label, {}},
        {"txtCallerInputPrependDigits", ControlKind::LineEdit, {}},
        {"chkCallerInputPrependDigitsClear", ControlKind::CheckBox, {}},
        {"label11_50", ControlKind::Label, {}},
        {"label11_49", ControlKind::Label, {}},
        {"txtCallerInputPostPendDigits", ControlKind::LineEdit, {}},
        {"chkCallerInputPostPendDigitsClear", ControlKind::CheckBox, {}},
        {"label11_51", ControlKind::Label, {}},
        {"tabCallerInput_0", ControlKind::TabControl, {}},
    };
    for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key)
        append(rows, actionGroupInventory(key, element("Frame4", key), QStringLiteral("tabCallerInput_0:%1").arg(key)));
    return rows;
}

std::vector<InventoryRow> messagesInventory()
{
    std::vector<InventoryRow> rows{
        {"Label14_2", ControlKind::Label, {}},
        {"txtMessagesMaxMessageLength", ControlKind::LineEdit, {}},
        {"Label21_0", ControlKind::Label, {}},
        {"chkMessagesMWIDisable", ControlKind::CheckBox, {}},
        {"Frame6", ControlKind::Frame, {}},
        {"label11_54", ControlKind::Label, "Frame6"},
        {"comMessagesCallersCanEdit", ControlKind::ComboBox, "Frame6"},
        {"label11_53", ControlKind::Label, "Frame6"},
        {"comMessagesMarkUrgent", ControlKind::ComboBox, "Frame6"},
        {"label11_52", ControlKind::Label, "Frame6"},
        {"comMessagesMarkPrivate", ControlKind::ComboBox, "Frame6"},
        {"Frame2", ControlKind::Frame, {}},
        {"Label14_1", ControlKind::Label, "Frame2"},
        {"txtMessagesMWICode", ControlKind::LineEdit, "Frame2"},
        {"Label21_1", ControlKind::Label, "Frame2"},
        {"Label28_11", ControlKind::Label, "Frame2"},
        {"comNotificationSwitchID_10", ControlKind::ComboBox, "Frame2"},
        {"Label1", ControlKind::Label, "Frame2"},
        {"comMessagesSendCounts", ControlKind::ComboBox, "Frame2"},
        {"Label28_10", ControlKind::Label, {}},
    };
    append(rows, actionGroupInventory(CallerInputActionGroup::AfterMessage, "Frame1_12"));
    return rows;
}

std::vector<InventoryRow> featuresInventory()
{
    std::vector<InventoryRow> rows;
    for (int heading : {10, 11, 12})
        rows.push_back({element("lblSubscriberProfile", heading), ControlKind::Label, {}});
    for (int feature = 0; feature <= 6; ++feature) {
        rows.push_back({element("lblSubscriberFeatures", feature), ControlKind::Label, {}});
        rows.push_back({element("cmbSubscriberFeatures", feature), ControlKind::ComboBox, {}});
    }
    return rows;
}

struct TabCase {
    const char* title;
    const TabBuilder* builder;
    std::vector<InventoryRow> inventory;
    size_t count;
    std::vector<int> actionGroups;
    // Captions the caption routine sets on the tab's own controls (the groups' alike).
    std::vector<std::pair<QString, int>> routineCaptions;
    // Captions PopulateControls sets: the caption routine leaves their laid-out texts.
    std::vector<std::pair<QString, QString>> laidOutCaptions;
    QStringList hiddenOwn;   // hidden controls besides the action groups' hidden boxes
};

const std::vector<TabCase>& tabCases()
{
    static const std::vector<TabCase> cases = [] {
        TabCase callerInput{"Caller Input", &callerInputTab, callerInputInventory(), 348, {}, {{"label11_26", 187}, {"label11_27", 12}},
                            {{"label11_48", "Prepend digits with:"}, {"chkCallerInputPrependDigitsClear", "Clear"},
                             {"label11_50", "(blank skips field)"}, {"label11_49", "Postpend digits with:"},
                             {"chkCallerInputPostPendDigitsClear", "Clear"}, {"label11_51", "(blank skips field)"}},
                            {}};
        for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key) {
            callerInput.actionGroups.push_back(key);
            callerInput.routineCaptions.push_back({element("Label24", key), 174});
            callerInput.laidOutCaptions.push_back({element("Frame4", key), QString()});
        }
        return std::vector<TabCase>{
            callerInput,
            {"Messages", &messagesTab, messagesInventory(), 42, {CallerInputActionGroup::AfterMessage},
             {{"Label14_2", 181}, {"Label21_0", 12}, {"chkMessagesMWIDisable", 109}, {"Frame6", 549}, {"label11_54", 86},
              {"label11_53", 87}, {"label11_52", 548}, {"Frame2", 550}, {"Label14_1", 178}, {"Label21_1", 12},
              {"Label28_11", 95}, {"Label1", 547}, {"Label28_10", 95}, {"Frame1_12", 29}, {"optCallerInputDontChange_12", 20}},
             {}, {}},
            {"Exit Dest.", &exitDestinationTab, actionGroupInventory(CallerInputActionGroup::ExitDestination, "Frame1_13"), 22,
             {CallerInputActionGroup::ExitDestination}, {{"cmdCallerInputFindSubscriber_19", 138}},
             {{"Frame1_13", "Subscriber Exit Destination"}}, {}},
            {"Delivery Location", &deliveryLocationTab,
             {{"label11_42", ControlKind::Label, {}}, {"cmbLocationNewLocation", ControlKind::ComboBox, {}},
              {"cmbLocationHiddenLocationObjectID", ControlKind::ComboBox, {}}},
             3, {}, {},
             {{"label11_42", "You can change the delivery location that all selected subscribers are assigned to by choosing a new "
                             "location from the list box below."}},
             {"cmbLocationHiddenLocationObjectID"}},
            {"Features", &featuresTab, featuresInventory(), 17, {}, {},
             {{"lblSubscriberProfile_11", "Broadcast messages:"},
              {"lblSubscriberFeatures_1", "Subscriber can send broadcast messages to subscribers on this server"},
              {"lblSubscriberFeatures_4", "Subscriber can send broadcast messages to subscribers on multiple servers"},
              {"lblSubscriberFeatures_2", "Subscriber can update broadcast messages stored on this server"},
              {"lblSubscriberProfile_12", "Finding messages by phone:"},
              {"lblSubscriberFeatures_3", "Subscribers can use Message Locator "},
              {"lblSubscriberFeatures_5", "Include receipts in searches "},
              {"lblSubscriberFeatures_6", "Enable visual message locator feature "},
              {"lblSubscriberProfile_10", "When sending a message by phone:"},
              {"lblSubscriberFeatures_0", "Encrypt all messages marked private"}},
             {}},
        };
    }();
    return cases;
}

bool hasCaption(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::Frame || kind == ControlKind::Button ||
           kind == ControlKind::CheckBox || kind == ControlKind::OptionButton;
}

}  // namespace

TEST(OptionsTabsCallerInputToFeatures, EveryControlInItsContainerOfItsKind)
{
    for (const TabCase& tab : tabCases()) {
        SCOPED_TRACE(tab.title);
        QWidget page;
        tab.builder->build(&page);
        EXPECT_EQ(tab.inventory.size(), tab.count);
        expectInventory(&page, tab.inventory);
    }
}

TEST(OptionsTabsCallerInputToFeatures, LaidOutEmptyClearAndOnlyTheValueBoxesHidden)
{
    for (const TabCase& tab : tabCases()) {
        SCOPED_TRACE(tab.title);
        QWidget page;
        tab.builder->build(&page);
        const OptionsSnapshot laidOut = captureOptions(&page);

        std::set<QString> expectedHidden(tab.hiddenOwn.begin(), tab.hiddenOwn.end());
        for (int group : tab.actionGroups) {
            for (const char* box : {"txtCallerInputGoToDirectoryHandlerObjectID", "txtCallerInputGoToCallHandlerObjectID",
                                    "txtCallerInputGoToSubscriberObjectID", "txtCallerInputGoToInterviewObjectID"})
                expectedHidden.insert(element(box, group));
            if (group < CallerInputActionGroup::KeyGroups)
                expectedHidden.insert({element("txtSubscriberCallerInputNumbertoDial", group), element("Label34", 6 + group),
                                       element("Label34", 18 + group)});
            EXPECT_TRUE(laidOut.control("optCallerInputDontChange", group).selected);
        }
        std::set<QString> hidden;
        for (const QString& name : namedControls(&page)) {
            const ControlState& control = laidOut.control(name);
            if (!control.visible)
                hidden.insert(name);
            EXPECT_TRUE(control.enabled) << name.toStdString();
            EXPECT_TRUE(control.items.isEmpty()) << name.toStdString();
            EXPECT_EQ(control.checkState, CheckValue::Clear) << name.toStdString();
        }
        EXPECT_EQ(hidden, expectedHidden);
    }
}

TEST(OptionsTabsCallerInputToFeatures, CaptionRoutineSetsItsCaptionsAndLeavesTheRest)
{
    static const QRegularExpression numbered(QStringLiteral("^#(\\d+)$"));
    for (const TabCase& tab : tabCases()) {
        SCOPED_TRACE(tab.title);
        QWidget page;
        tab.builder->build(&page);
        const OptionsSnapshot laidOut = captureOptions(&page);
        tab.builder->caption(&page, numberText);
        const OptionsSnapshot captioned = captureOptions(&page);

        for (const auto& [name, number] : tab.routineCaptions)
            EXPECT_EQ(captioned.control(name).text, numberText(number)) << name.toStdString();
        QStringList kept;
        for (const auto& [name, text] : tab.laidOutCaptions) {
            kept << name;
            EXPECT_EQ(laidOut.control(name).text, text) << name.toStdString();
            EXPECT_EQ(captioned.control(name).text, text) << name.toStdString();
        }
        // Every other caption is the routine's, laid out as the English text of its string.
        for (const QString& name : namedControls(&page)) {
            if (!hasCaption(captioned.control(name).kind) || kept.contains(name))
                continue;
            const QRegularExpressionMatch match = numbered.match(captioned.control(name).text);
            ASSERT_TRUE(match.hasMatch()) << name.toStdString() << " left as " << captioned.control(name).text.toStdString();
            EXPECT_EQ(laidOut.control(name).text, resources::englishString(match.captured(1).toInt())) << name.toStdString();
        }
    }
}

TEST(OptionsTabsCallerInputToFeatures, KeyTabsKeepTheirFixedCaptions)
{
    QWidget page;
    callerInputTab.build(&page);
    callerInputTab.caption(&page, numberText);
    QStringList captions;
    const OptionsSnapshot snapshot = captureOptions(&page);   // outlives the loop over its tabs
    for (const TabState& key : snapshot.control("tabCallerInput_0").tabs)
        captions << key.caption;
    EXPECT_EQ(captions, QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"}));
}
