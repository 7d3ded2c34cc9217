#include "subscribers/ui/options/NotificationDevicePage.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "OptionsInventory.h"
#include "core/ui/FormBuilding.h"
#include "resources/EnglishStrings.h"

#include <QHash>
#include <QTabWidget>

namespace {

using Device = NotificationDevicePage;

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

constexpr const char* TriggerBoxes[] = {
    "chkNotificationTriggerAllMessages", "chkNotificationTriggerAllMessagesUrgent",
    "chkNotificationTriggerVoiceMail",   "chkNotificationTriggerVoiceMailUrgent",
    "chkNotificationTriggerEmail",       "chkNotificationTriggerEmailUrgent",
    "chkNotificationTriggerFaxes",       "chkNotificationTriggerFaxesUrgent",
};
constexpr const char* CopiedUrgentBoxes[] = {"chkNotificationTriggerVoiceMailUrgent", "chkNotificationTriggerEmailUrgent",
                                             "chkNotificationTriggerFaxesUrgent"};

// The device tabs' strings, by device: Home Phone ... Phone 6, Text Pager 1 and 2, VMI, SMS.
constexpr int DeviceTabStrings[Device::DeviceCount] = {154, 293, 201, 249, 200, 204, 205, 206, 207, 208, 263, 264, 290, 413};

std::vector<InventoryRow> notificationInventory()
{
    std::vector<InventoryRow> rows{{QStringLiteral("TabNotification"), ControlKind::TabControl, {}}};
    for (int d = 0; d < Device::DeviceCount; ++d) {
        const QString tab = QStringLiteral("TabNotification:%1").arg(d);
        const bool framed = d < 12;
        const QString body = framed ? element("Frame1", d) : tab;
        if (framed)
            rows.push_back({body, ControlKind::Frame, tab});
        rows.push_back({element("label11", 6 + d), ControlKind::Label, body});
        rows.push_back({element("comNotificationDisableDevice", d), ControlKind::ComboBox, body});
        if (d < 10) {
            rows.push_back({element("Label28", d), ControlKind::Label, body});
            rows.push_back({element("comNotificationSwitchID", d), ControlKind::ComboBox, body});
        } else {
            rows.push_back({element("Label29", d + 4), ControlKind::Label, body});
            rows.push_back({element("comTextNotificationIncludeVmailEmailFaxCounts", d - 10), ControlKind::ComboBox, body});
            rows.push_back({element("Label28", d + 4), ControlKind::Label, body});
            rows.push_back({element("comTextNotificationIncludeCallerInfo", d - 10), ControlKind::ComboBox, body});
        }
        const QString triggers = element("frameNotificationTriggers", d);
        rows.push_back({triggers, ControlKind::Frame, body});
        rows.push_back({element("chkUpdateNotificationTriggers", d), ControlKind::CheckBox, triggers});
        for (const char* box : TriggerBoxes)
            rows.push_back({element(box, d), ControlKind::CheckBox, triggers});
        // Work Phone's schedule controls stand beside its frame.
        const QString schedule = d == 1 ? tab : body;
        rows.push_back({element("chkUpdateNotificationSchedule", d), ControlKind::CheckBox, schedule});
        rows.push_back({element("cmdSetNotificationSchedule", d), ControlKind::Button, schedule});
        rows.push_back({element("txtNotificationSchedule", d), ControlKind::LineEdit, schedule});
    }
    return rows;
}

// Every caption the caption routine sets on the tab: control name -> string number.
QHash<QString, int> routineCaptions()
{
    QHash<QString, int> captions;
    for (int d = 0; d < Device::DeviceCount; ++d) {
        const std::pair<const char*, int> common[] = {
            {"frameNotificationTriggers", 414},       {"chkUpdateNotificationTriggers", 415},
            {"chkNotificationTriggerAllMessages", 416}, {"chkNotificationTriggerAllMessagesUrgent", 420},
            {"chkNotificationTriggerVoiceMail", 417}, {"chkNotificationTriggerEmail", 418},
            {"chkNotificationTriggerFaxes", 419},     {"chkUpdateNotificationSchedule", 561},
            {"cmdSetNotificationSchedule", 562},
        };
        for (const auto& [name, string] : common)
            captions.insert(element(name, d), string);
        for (const char* box : CopiedUrgentBoxes)
            captions.insert(element(box, d), 420);
        captions.insert(element("label11", 6 + d), 108);
        if (d < 10) {
            captions.insert(element("Label28", d), 95);
        } else {
            captions.insert(element("Label28", d + 4), 503);
            captions.insert(element("Label29", d + 4), 556);
        }
    }
    return captions;
}

class NotificationTab : public ::testing::Test {
protected:
    void SetUp() override { SubscriberOptions::notificationTab.build(&page); }

    QTabWidget* devices() { return page.findChild<QTabWidget*>(QStringLiteral("TabNotification")); }

    QWidget page;
};

}  // namespace

TEST_F(NotificationTab, HoldsEveryDeviceControlInItsContainer)
{
    const auto rows = notificationInventory();
    EXPECT_EQ(rows.size(), 259u);
    expectInventory(&page, rows);
    ASSERT_EQ(devices()->count(), Device::DeviceCount);
}

TEST_F(NotificationTab, OpensLaidOutInEnglishWithTriggersAndScheduleButtonsClosed)
{
    const OptionsSnapshot laidOut = captureOptions(&page);
    for (int d = 0; d < Device::DeviceCount; ++d) {
        SCOPED_TRACE(d);
        EXPECT_EQ(laidOut.control("TabNotification").tabs.value(d).caption, resources::englishString(DeviceTabStrings[d]));
        EXPECT_EQ(laidOut.control("chkNotificationTriggerAllMessagesUrgent", d).text, QStringLiteral("Only if Urgent"));
        for (const char* box : CopiedUrgentBoxes)
            EXPECT_EQ(laidOut.control(box, d).text, QStringLiteral("Only If Urgent")) << box;
        if (d < 12) {
            EXPECT_EQ(laidOut.control("Frame1", d).text, QString()) << "Frame1 has no caption";
        }

        // The update boxes are open; what they govern starts closed.
        for (const char* box : TriggerBoxes)
            EXPECT_FALSE(laidOut.control(box, d).enabled) << box;
        EXPECT_TRUE(laidOut.control("chkUpdateNotificationTriggers", d).enabled);
        EXPECT_TRUE(laidOut.control("chkUpdateNotificationSchedule", d).enabled);
        EXPECT_FALSE(laidOut.control("cmdSetNotificationSchedule", d).enabled);
        EXPECT_TRUE(laidOut.control("txtNotificationSchedule", d).text.isEmpty());
    }
    // Every check box clear and every list empty until PopulateControls fills it.
    for (const QString& name : namedControls(&page)) {
        const ControlState& state = laidOut.control(name);
        if (state.kind == ControlKind::CheckBox) {
            EXPECT_EQ(state.checkState, CheckValue::Clear) << name.toStdString();
        }
        if (state.kind == ControlKind::ComboBox) {
            EXPECT_TRUE(state.items.isEmpty()) << name.toStdString();
        }
    }
}

TEST_F(NotificationTab, CaptionRoutineSetsEachCaptionOnItsControlAndCopiesTheUrgentOne)
{
    SubscriberOptions::notificationTab.caption(&page, numberText);
    for (int d = 0; d < Device::DeviceCount; ++d)
        EXPECT_TRUE(dynamic_cast<Device*>(devices()->widget(d))->applyDeviceCaptions(numberText).isEmpty()) << d;

    const OptionsSnapshot captioned = captureOptions(&page);
    for (int d = 0; d < Device::DeviceCount; ++d)
        EXPECT_EQ(captioned.control("TabNotification").tabs.value(d).caption, numberText(DeviceTabStrings[d])) << d;
    // Each captioned control shows its own string, and no other control was given one.
    const QHash<QString, int> expected = routineCaptions();
    int checked = 0;
    for (const QString& name : namedControls(&page)) {
        const ControlState& state = captioned.control(name);
        if (state.kind != ControlKind::Label && state.kind != ControlKind::CheckBox && state.kind != ControlKind::Button &&
            state.kind != ControlKind::Frame)
            continue;
        EXPECT_EQ(state.text, expected.contains(name) ? numberText(expected.value(name)) : QString()) << name.toStdString();
        checked += expected.contains(name);
    }
    EXPECT_EQ(checked, expected.size());

    // A language switch re-runs the routine: the copies follow the All Messages box's new
    // caption, not their laid-out spelling.
    SubscriberOptions::notificationTab.caption(&page, resources::englishString);
    const OptionsSnapshot english = captureOptions(&page);
    for (int d = 0; d < Device::DeviceCount; ++d)
        for (const char* box : CopiedUrgentBoxes)
            EXPECT_EQ(english.control(box, d).text, resources::englishString(420)) << box << d;
}
