// The Profile, Account, Passwords, Conversation, Extension and Alt. Extensions tabs of the
// subscriber options page: their controls, captions and laid-out states.
#include "subscribers/ui/options/OptionsTabs.h"

#include "OptionsInventory.h"
#include "core/ControlNames.h"
#include "resources/EnglishStrings.h"

#include <QLineEdit>
#include <QScrollBar>

#include <map>

namespace {

using SubscriberOptions::TabBuilder;

QString element(const char* array, int index)
{
    return elementName(QLatin1String(array), index);
}

// Inventory rows added by kind, in one container.
struct Inventory {
    std::vector<InventoryRow> rows;
    QString container;

    Inventory& in(const QString& name)
    {
        container = name;
        return *this;
    }
    Inventory& add(ControlKind kind, std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            rows.push_back({QLatin1String(name), kind, container});
        return *this;
    }
    Inventory& elements(ControlKind kind, const char* array, std::initializer_list<int> indexes)
    {
        for (int index : indexes)
            rows.push_back({element(array, index), kind, container});
        return *this;
    }
};

std::vector<InventoryRow> profileInventory()
{
    Inventory inventory;
    inventory.elements(ControlKind::Label, "lblSubscriberProfile", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13})
        .add(ControlKind::ComboBox,
             {"comProfileSubscriberEnrollment", "cmbSubscribersProfileTimeZoneIDs", "comProfileDirList",
              "comProfileShowInAddressBook", "comProfileWarnForAlternateGreeting", "comProfileWarnFollowMeRuleActive",
              "comProfileForceDisplayName", "cmbSubscriberProfileSwitchAssignment", "cmbSubscriberProfileSchedule",
              "cmbSubscriberProfileDefaultLanguage", "cmbSubscriberProfileOutsideCallerLanguage",
              "cmbSubscriberProfileTimeZoneDisplayNames"});
    return inventory.rows;
}

std::vector<InventoryRow> accountInventory()
{
    Inventory inventory;
    inventory.elements(ControlKind::Label, "label11", {28, 29})
        .add(ControlKind::LineEdit, {"txtAccountBillingID"})
        .add(ControlKind::CheckBox, {"chkAccountForceBillingIDBlank", "chkAccountUnlock"});
    return inventory.rows;
}

std::vector<InventoryRow> passwordsInventory()
{
    Inventory inventory;
    inventory.elements(ControlKind::Label, "label11", {30, 31, 32, 33, 34})
        .elements(ControlKind::Label, "Label9", {21})
        .add(ControlKind::ComboBox,
             {"comPasswordsCannotChange", "comPasswordsMustChange", "comPasswordsNeverExpires",
              "comConversationSkipPWForKnownDevice"})
        .add(ControlKind::CheckBox, {"chkPasswordsChangePassword"})
        .add(ControlKind::LineEdit, {"txtPasswordsNewPassword"});
    return inventory.rows;
}

std::vector<InventoryRow> conversationInventory()
{
    const QString tabs = QStringLiteral("tabSubscriberConversationOptions:");
    Inventory inventory;
    inventory.add(ControlKind::TabControl, {"tabSubscriberConversationOptions"});

    inventory.in(tabs + u'0')
        .elements(ControlKind::Label, "Label9", {11, 12, 13, 0, 1, 2, 3, 4, 20, 35, 34, 15, 18, 14, 17, 16, 19})
        .add(ControlKind::ComboBox,
             {"comConversationSpeed", "comConversationConvType", "comConversationGreetByName", "comConversationSayTotalNew",
              "comConversationSayTotalSaved", "comConversationSayTotalNewVoice", "comConversationSayTotalNewFax",
              "comConversationSayTotalNewEmail", "comConversationJumpToNewMessages"})
        .add(ControlKind::CheckBox, {"chkConversationAccessibilityUpdate"})
        .elements(ControlKind::LineEdit, "txtConversationAccessibility", {0, 1, 2, 3});

    inventory.in(tabs + u'1')
        .elements(ControlKind::Label, "Label9", {23, 22, 43, 44, 46, 45, 8, 32, 5, 6, 7, 54, 9, 10, 47})
        .add(ControlKind::ComboBox,
             {"comProfileTimeFormat", "comProfileConversationStyle", "comConversationVolumeLevel",
              "comConversationMessageSpeed", "comConversationAnnounceSender", "comConversationSayMessageNumber",
              "comConversationAnnounceTimestamp", "comConversationAnnounceDuration", "comConversationSaySenderExt",
              "comConversationSayANI", "comConversationReceiptOptions"})
        .add(ControlKind::Button, {"cmdSetSubscriberConversationLimits"})
        .add(ControlKind::LineEdit, {"txtSubscriberMessageReviewSkipAheadTime", "txtSubscriberMessageReviewSkipBackTime"});

    inventory.in(tabs + u'2')
        .elements(ControlKind::Label, "Label9", {24, 25, 37, 50, 55, 48, 49})
        .add(ControlKind::ComboBox,
             {"comConversationSendMode", "comConversationAddressMode", "cmbConversationSendScopeLimit",
              "cmbConversationSendScopeLimitObjectID", "cmbConversationAddressThenRecord", "cmbConversationConstantLookup",
              "cmbConversationSendOnHangup", "cmbConversationSendEncryptAllPrivate"});

    inventory.in(tabs + u'3')
        .add(ControlKind::CheckBox, {"chkFlexStackMakeChange", "chkFlexStackMessageTypeMenu"})
        .elements(ControlKind::Label, "Label9", {26, 27, 28})
        .elements(ControlKind::Label, "lblSortByMessageType", {0, 1})
        .elements(ControlKind::Label, "label11", {46, 47})
        .add(ControlKind::ListBox, {"listFlexStackOrderNewMessages", "listFlexStackOrderOldMessages"})
        .add(ControlKind::UpDown, {"upDownFlexStackNewMessagePlayOrder", "upDownFlexStackOldMessage"})
        .add(ControlKind::ComboBox,
             {"cmbFlexStackNewMessagesLIFOFIFO", "cmbFlexStackSavedMessagesLIFOFIFO", "cmbFlexStackDeletedItemsLIFOFIFO"});

    inventory.in(tabs + u'4')
        .elements(ControlKind::Label, "Label9", {29, 30, 31, 33, 36, 40, 53, 38, 41, 39, 42, 51, 52})
        .elements(ControlKind::ComboBox, "cmbConversationOptions", {0, 1, 2, 3, 4, 5, 6, 7, 8})
        .add(ControlKind::LineEdit, {"txtDCRMessageReviewTimeout", "txtDCRSendTimeout"});
    return inventory.rows;
}

std::vector<InventoryRow> extensionInventory()
{
    Inventory inventory;
    inventory.elements(ControlKind::Label, "label11", {45})
        .elements(ControlKind::Label, "Label31", {0, 1, 2, 3, 4, 5})
        .add(ControlKind::CheckBox,
             {"chkSubscriberExtensionStripAllButRightMost", "chkSubscriberExtensionStripAllButLeftMost",
              "chkSubscriberExtensionRemoveLeftMost", "chkSubscriberExtensionRemoveRightMost",
              "chkSubscriberExtensionAppendToLeft", "chkSubscriberExtensionAppendToRight", "chkSubscriberExtensionAddValue",
              "chkSubscriberExtensionSubtractValue"})
        .add(ControlKind::LineEdit,
             {"txtSubscriberExtensionStripAllButrightMost", "txtSubscriberExtensionStripAllButLeftMost",
              "txtSubscriberExtensionRemoveLeftMost", "txtSubscriberExtensionRemoveRightMost",
              "txtSubscriberExtensionAppendToLeft", "txtSubscriberExtensionAppendToRight", "txtSubscriberExtensionAdd",
              "txtSubscriberExtensionSubtract", "txtSubscriberExtensionTestNumber", "txtSubscriberExtensionTestResult"})
        .add(ControlKind::ScrollBar,
             {"scrollSubscriberExtensionStripAllButRightMost", "scrollSubscriberExtensionStripAllButLeftMost",
              "scrollSubscriberExtensionRemoveLeftMost", "scrollSubsciberExtensionRemoveRightMost"})
        .add(ControlKind::Button, {"cmdSubscriberExtensionTest"});
    return inventory.rows;
}

std::vector<InventoryRow> altExtensionsInventory()
{
    Inventory inventory;
    inventory.add(ControlKind::ComboBox, {"cmbSubscriberAlternateExtensionSlot"})
        .add(ControlKind::CheckBox,
             {"chkSubscriberAlternateExtensionsRemoveAll", "chkSubscriberAlternateExtensionRemoveSelected",
              "chkAltExtStripAllButRightMost", "chkAltExtStripAllButLeftMost", "chkAltExtRemoveLeftMost",
              "chkAltExtRemoveRightMost", "chkAltExtAppendToLeft", "chkAltExtAppendToRight", "chkAltExtAddValue",
              "chkAltExtSubtractValue"})
        .elements(ControlKind::Label, "label11", {41, 38, 39, 40})
        .elements(ControlKind::Label, "lblDigits", {0, 1, 2, 3})
        .add(ControlKind::LineEdit,
             {"txtAltExtStripAllButRightMost", "txtAltExtStripAllButLeftMost", "txtAltExtRemoveLeftMost",
              "txtAltExtRemoveRightMost", "txtAltExtAppendToLeft", "txtAltExtAppendToRight", "txtAltExtAddValue",
              "txtAltExtSubtractValue", "txtAltExtTestExtension", "txtAltExtTestExtensionResult"})
        .add(ControlKind::ScrollBar,
             {"scrollAltExtStripAllButrightMost", "scrollAltExtStripAllButLeftMost", "scrollAltExtRemoveLeftMost",
              "scrollAltExtRemoveRightMost"})
        .add(ControlKind::Button, {"cmdAltExtTest"});
    return inventory.rows;
}

// The captions the page's caption routine sets on a tab, by control name.
using Captions = std::map<QString, int>;

Captions elementCaptions(const char* array, std::initializer_list<std::pair<int, int>> indexAndString)
{
    Captions captions;
    for (auto [index, string] : indexAndString)
        captions[element(array, index)] = string;
    return captions;
}

Captions merged(std::initializer_list<Captions> parts)
{
    Captions all;
    for (const Captions& part : parts)
        all.insert(part.begin(), part.end());
    return all;
}

Captions profileCaptions()
{
    return elementCaptions("lblSubscriberProfile",
                           {{0, 243}, {1, 171}, {2, 357}, {3, 358}, {13, 551}, {4, 369}, {5, 95}, {6, 94}, {7, 91}, {8, 90}, {9, 96}});
}

Captions accountCaptions()
{
    return merged({elementCaptions("label11", {{28, 240}, {29, 12}}),
                   {{"chkAccountForceBillingIDBlank", 140}, {"chkAccountUnlock", 283}}});
}

Captions passwordsCaptions()
{
    return merged({elementCaptions("label11", {{30, 287}, {31, 288}, {32, 202}, {33, 13}, {34, 491}}),
                   {{"chkPasswordsChangePassword", 141}}});
}

Captions conversationCaptions()
{
    return merged({elementCaptions("Label9", {{11, 463}, {12, 378}, {13, 147}, {0, 55},  {1, 57},  {2, 56},  {3, 54},
                                              {4, 53},   {35, 509}, {34, 483}, {15, 485}, {18, 483}, {14, 484}, {17, 483},
                                              {16, 486}, {19, 483}, {23, 495}, {22, 353}, {8, 292},  {32, 502}, {5, 51},
                                              {6, 224},  {7, 52},   {54, 555}, {9, 351},  {10, 352}, {24, 496}, {25, 26},
                                              {37, 512}, {26, 409}, {27, 411}, {28, 360}, {29, 499}, {30, 500}, {31, 501},
                                              {33, 507}, {36, 511}}),
                   // The second sort label is copied from the first.
                   elementCaptions("lblSortByMessageType", {{0, 410}, {1, 410}}),
                   elementCaptions("label11", {{46, 412}, {47, 412}}),
                   {{"chkConversationAccessibilityUpdate", 487},
                    {"chkFlexStackMakeChange", 407},
                    {"chkFlexStackMessageTypeMenu", 408}}});
}

Captions extensionCaptions()
{
    return merged({elementCaptions("label11", {{45, 294}}),
                   elementCaptions("Label31", {{5, 106}, {4, 106}, {0, 106}, {1, 106}, {2, 262}, {3, 190}}),
                   {{"chkSubscriberExtensionStripAllButRightMost", 252},
                    {"chkSubscriberExtensionStripAllButLeftMost", 251},
                    {"chkSubscriberExtensionRemoveLeftMost", 218},
                    {"chkSubscriberExtensionRemoveRightMost", 219},
                    {"chkSubscriberExtensionAppendToLeft", 59},
                    {"chkSubscriberExtensionAppendToRight", 60},
                    {"chkSubscriberExtensionAddValue", 25},
                    {"chkSubscriberExtensionSubtractValue", 257},
                    {"cmdSubscriberExtensionTest", 261}}});
}

struct TabCase {
    const char* name;
    const TabBuilder& builder;
    std::vector<InventoryRow> (*inventory)();
    size_t count;
    Captions (*captions)();
};

const TabCase tabCases[] = {
    {"Profile", SubscriberOptions::profileTab, profileInventory, 23, profileCaptions},
    {"Account", SubscriberOptions::accountTab, accountInventory, 5, accountCaptions},
    {"Passwords", SubscriberOptions::passwordsTab, passwordsInventory, 12, passwordsCaptions},
    {"Conversation", SubscriberOptions::conversationTab, conversationInventory, 116, conversationCaptions},
    {"Extension", SubscriberOptions::extensionTab, extensionInventory, 30, extensionCaptions},
    {"Alt. Extensions", SubscriberOptions::altExtensionsTab, altExtensionsInventory, 34, [] { return Captions{}; }},
};

bool hasCaption(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::CheckBox || kind == ControlKind::Button ||
           kind == ControlKind::OptionButton || kind == ControlKind::Frame;
}

}  // namespace

TEST(SubscriberOptionsTabs, EachTabHoldsItsInventory)
{
    for (const TabCase& tab : tabCases) {
        SCOPED_TRACE(tab.name);
        QWidget page;
        tab.builder.build(&page);
        const auto rows = tab.inventory();
        EXPECT_EQ(rows.size(), tab.count);
        expectInventory(&page, rows);
    }
}

TEST(SubscriberOptionsTabs, CaptionRoutineSetsItsCaptionsAndLeavesTheLaidOutOnes)
{
    for (const TabCase& tab : tabCases) {
        SCOPED_TRACE(tab.name);
        QWidget page;
        tab.builder.build(&page);
        const OptionsSnapshot laidOut = captureOptions(&page);
        tab.builder.caption(&page, numberText);
        const OptionsSnapshot captioned = captureOptions(&page);

        const Captions expected = tab.captions();
        for (const QString& name : namedControls(&page)) {
            const ControlState& before = laidOut.control(name);
            if (!hasCaption(before.kind))
                continue;
            SCOPED_TRACE(name.toStdString());
            EXPECT_FALSE(before.text.isEmpty());
            if (const auto found = expected.find(name); found != expected.end()) {
                EXPECT_EQ(before.text, resources::englishString(found->second));
                EXPECT_EQ(captioned.control(name).text, numberText(found->second));
            } else {
                EXPECT_EQ(captioned.control(name).text, before.text);
            }
        }
        for (const auto& [name, string] : expected)
            EXPECT_TRUE(page.findChild<QWidget*>(name)) << name.toStdString();
    }
}

TEST(SubscriberOptionsTabs, InnerConversationTabsKeepTheirLaidOutCaptions)
{
    QWidget page;
    SubscriberOptions::conversationTab.build(&page);
    SubscriberOptions::conversationTab.caption(&page, numberText);
    const ControlState tabs = captureOptions(&page).control(QStringLiteral("tabSubscriberConversationOptions"));
    QStringList captions;
    for (const TabState& inner : tabs.tabs)
        captions << inner.caption;
    EXPECT_EQ(captions, (QStringList{"General Conversation", "Message Review", "Message Send", "Flex Stack", "Options"}));
}

TEST(SubscriberOptionsTabs, ControlsOpenInTheirLaidOutStates)
{
    QWidget page;
    for (const TabCase& tab : tabCases) {
        auto* tabPage = new QWidget(&page);
        tab.builder.build(tabPage);
    }
    const OptionsSnapshot snapshot = captureOptions(&page);

    // Companion lists hidden; what a clear governing check box locks disabled.
    const QStringList hidden{"cmbSubscribersProfileTimeZoneIDs", "cmbConversationSendScopeLimitObjectID"};
    const QStringList disabled{element("txtConversationAccessibility", 0), element("txtConversationAccessibility", 1),
                               element("txtConversationAccessibility", 2), element("txtConversationAccessibility", 3),
                               "chkFlexStackMessageTypeMenu", "cmbFlexStackNewMessagesLIFOFIFO",
                               "cmbFlexStackSavedMessagesLIFOFIFO", "cmbFlexStackDeletedItemsLIFOFIFO",
                               "listFlexStackOrderNewMessages", "listFlexStackOrderOldMessages",
                               "upDownFlexStackNewMessagePlayOrder", "upDownFlexStackOldMessage"};
    for (const QString& name : namedControls(&page)) {
        SCOPED_TRACE(name.toStdString());
        const ControlState& state = snapshot.control(name);
        EXPECT_EQ(state.visible, !hidden.contains(name));
        EXPECT_EQ(state.enabled, !disabled.contains(name));
        EXPECT_EQ(state.checkState, CheckValue::Clear);
        EXPECT_TRUE(state.items.isEmpty()) << "lists are filled later";
    }

    // Each count box is read-only at 1, its spin control at the bottom of 0 to 9.
    const std::pair<const char*, const char*> counts[] = {
        {"txtSubscriberExtensionStripAllButrightMost", "scrollSubscriberExtensionStripAllButRightMost"},
        {"txtSubscriberExtensionStripAllButLeftMost", "scrollSubscriberExtensionStripAllButLeftMost"},
        {"txtSubscriberExtensionRemoveLeftMost", "scrollSubscriberExtensionRemoveLeftMost"},
        {"txtSubscriberExtensionRemoveRightMost", "scrollSubsciberExtensionRemoveRightMost"},
        {"txtAltExtStripAllButRightMost", "scrollAltExtStripAllButrightMost"},
        {"txtAltExtStripAllButLeftMost", "scrollAltExtStripAllButLeftMost"},
        {"txtAltExtRemoveLeftMost", "scrollAltExtRemoveLeftMost"},
        {"txtAltExtRemoveRightMost", "scrollAltExtRemoveRightMost"},
    };
    for (const auto& [countName, spinName] : counts) {
        SCOPED_TRACE(countName);
        const auto* count = page.findChild<QLineEdit*>(QLatin1String(countName));
        const auto* spin = page.findChild<QScrollBar*>(QLatin1String(spinName));
        ASSERT_TRUE(count && spin);
        EXPECT_TRUE(count->isReadOnly());
        EXPECT_EQ(count->text(), QStringLiteral("1"));
        EXPECT_EQ(spin->orientation(), Qt::Vertical);
        EXPECT_EQ(std::make_pair(spin->minimum(), spin->maximum()), std::make_pair(0, 9));
        EXPECT_EQ(spin->value(), 9);
        EXPECT_EQ(spin->singleStep(), 1);
    }

    // The boxes hold no more than their checks allow; the result boxes are written by the tests only.
    const std::pair<const char*, int> lengths[] = {
        {"txtAccountBillingID", 10}, {"txtPasswordsNewPassword", 10},
        {"txtConversationAccessibility_0", 5}, {"txtConversationAccessibility_1", 5},
        {"txtConversationAccessibility_2", 3}, {"txtConversationAccessibility_3", 5},
        {"txtSubscriberMessageReviewSkipAheadTime", 8}, {"txtSubscriberMessageReviewSkipBackTime", 8},
        {"txtDCRMessageReviewTimeout", 8}, {"txtDCRSendTimeout", 8},
        {"txtSubscriberExtensionAdd", 9}, {"txtSubscriberExtensionSubtract", 9},
        {"txtSubscriberExtensionAppendToLeft", 10}, {"txtSubscriberExtensionAppendToRight", 10},
        {"txtSubscriberExtensionTestNumber", 30},
        {"txtAltExtAddValue", 9}, {"txtAltExtSubtractValue", 9},
        {"txtAltExtAppendToLeft", 10}, {"txtAltExtAppendToRight", 10}, {"txtAltExtTestExtension", 30},
    };
    for (const auto& [name, length] : lengths) {
        const auto* box = page.findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_TRUE(box) << name;
        EXPECT_EQ(box->maxLength(), length) << name;
        EXPECT_FALSE(box->isReadOnly()) << name;
    }
    for (const char* name : {"txtSubscriberExtensionTestResult", "txtAltExtTestExtensionResult"})
        EXPECT_TRUE(page.findChild<QLineEdit*>(QLatin1String(name))->isReadOnly()) << name;
}
