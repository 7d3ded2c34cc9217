// The subscriber's notification devices, one tab of the options page per device: each device
// found is enabled or disabled and given its switch (phones and pagers) or its text options,
// then its rule gets the tab's trigger list and schedule. Only ordinary subscribers (type 1 or
// 3) have devices; the exit action (caller-input slot 19) is applied to every subscriber.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Criterion.h"
#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"
#include "subscribers/changes/DestinationLookup.h"

#include <QByteArray>

#include <array>

namespace {

constexpr const char* kPage = "frmSelectSubscriberChanges";
constexpr int kDeviceCount = 14;
constexpr int kDevicesBeforeSms = 13;   // servers before 4.0(3).120 have no SMS device
constexpr int kFirstTextDevice = 10;    // the text devices' lists are indexed from here
constexpr int kTextDevices = kDeviceCount - kFirstTextDevice;
constexpr int kExitSlot = 19;

constexpr const char* kDeviceAliases[kDeviceCount] = {
    "Home Phone", "Work Phone", "Pager",        "Spare Phone",  "Pager 2",      "Phone 2", "Phone 3",
    "Phone 4",    "Phone 5",    "Phone 6",      "Text Pager 1", "Text Pager 2", "Text for VMI", "SMS",
};

// One kind of message a rule can be triggered by, and its urgent variant.
struct TriggerCodes {
    int criteria;
    int eventRepeatOn;
    int eventRepeatOff;
    const char* line;   // followed by the rule's device
};
struct TriggerKind {
    const char* box;
    const char* urgentBox;
    TriggerCodes plain, urgent;
};
constexpr TriggerKind kAllMessages{
    "chkNotificationTriggerAllMessages", "chkNotificationTriggerAllMessagesUrgent",
    {7, 13, 15, "    Notification trigger of all messages set on device with alias="},
    {8, 14, 16, "    Notification trigger for all urgent message set on device with alias="}};
// Read only when all messages is not chosen, in this order.
constexpr TriggerKind kMessageTypes[] = {
    {"chkNotificationTriggerVoiceMail", "chkNotificationTriggerVoiceMailUrgent",
     {1, 1, 3, "    Notification trigger for voice mail set on device with alias="},
     {2, 2, 4, "    Notification trigger for urgent voice mail set on device with alias="}},
    {"chkNotificationTriggerEmail", "chkNotificationTriggerEmailUrgent",
     {3, 5, 7, "    Notification trigger for email set on device with alias="},
     {4, 6, 8, "    Notification trigger for urgent email set on device with alias="}},
    {"chkNotificationTriggerFaxes", "chkNotificationTriggerFaxesUrgent",
     {5, 9, 11, "    Notification trigger for fax set on device with alias="},
     {6, 10, 12, "    Notification trigger for urgent fax set on device with alias="}},
};

constexpr EngineControl kControls[] = {
    {kPage, "comNotificationDisableDevice", kDeviceCount},
    {kPage, "comNotificationSwitchID", kFirstTextDevice},
    {kPage, "comTextNotificationIncludeCallerInfo", kTextDevices},
    {kPage, "comTextNotificationIncludeVmailEmailFaxCounts", kTextDevices},
    {kPage, "chkUpdateNotificationTriggers", kDeviceCount},
    {kPage, "chkNotificationTriggerAllMessages", kDeviceCount},
    {kPage, "chkNotificationTriggerAllMessagesUrgent", kDeviceCount},
    {kPage, "chkNotificationTriggerVoiceMail", kDeviceCount},
    {kPage, "chkNotificationTriggerVoiceMailUrgent", kDeviceCount},
    {kPage, "chkNotificationTriggerEmail", kDeviceCount},
    {kPage, "chkNotificationTriggerEmailUrgent", kDeviceCount},
    {kPage, "chkNotificationTriggerFaxes", kDeviceCount},
    {kPage, "chkNotificationTriggerFaxesUrgent", kDeviceCount},
    {kPage, "chkUpdateNotificationSchedule", kDeviceCount},
    {kPage, "txtNotificationSchedule", kDeviceCount},
};

// A trigger list as the server stores it: one 32-bit little-endian entry per trigger.
void appendEntry(QByteArray& list, int code)
{
    for (int byte = 0; byte < 4; ++byte)
        list.append(char((code >> (8 * byte)) & 0xFF));
}

// The choices of one device's tab, applied to its device row and its rule row.
class DeviceEdit {
public:
    DeviceEdit(SubscriberEdit& edit, int device) : m_edit(edit), m_device(device) {}

    void applyToDevice(Recordset& row)
    {
        m_edit.writeLine(u' ' + row.value(QStringLiteral("Alias")).toString() + QStringLiteral(" Notification device edits"));
        m_edit.step([&] { activeState(row); });
        if (m_device < kFirstTextDevice) {
            m_edit.step([&] { switchAssignment(row); });
        } else {
            const int list = m_device - kFirstTextDevice;
            if (m_edit.session.isVersionAtLeast(4, 2, 0, 38))
                m_edit.step([&] {
                    m_edit.applyTriState(row, QStringLiteral("comTextNotificationIncludeCallerInfo"), list,
                                         QStringLiteral("DlvdeviceSendCallerInfo"), QStringLiteral("   Send Caller Info set to: "));
                });
            m_edit.step([&] {
                m_edit.applyTriState(row, QStringLiteral("comTextNotificationIncludeVmailEmailFaxCounts"), list,
                                     QStringLiteral("DlvdeviceSendCount"),
                                     QStringLiteral("   Include voice mail, e-mail, and fax counts set to: "));
            });
        }
        m_edit.step([&] { row.update(); });
    }

    void applyToRule(Recordset& rule)
    {
        m_edit.step([&] {
            if (ticked("chkUpdateNotificationTriggers"))
                triggers(rule);
        });
        m_edit.step([&] {
            if (!ticked("chkUpdateNotificationSchedule"))
                return;
            // An empty schedule is stored as the empty text, never as no value.
            const QString schedule = control("txtNotificationSchedule").text;
            rule.setValue(QStringLiteral("DlvRuleSchedule"), schedule.isNull() ? QStringLiteral("") : schedule);
            rule.update();
        });
    }

private:
    const ControlState& control(const char* name) const { return m_edit.options.control(name, m_device); }
    bool ticked(const char* name) const { return control(name).checkState == CheckValue::Ticked; }

    // The list asks whether to disable the device: the column says whether it is active.
    void activeState(Recordset& row)
    {
        const qint16 disable = m_edit.triState(control("comNotificationDisableDevice"));
        if (disable != 0 && disable != 1)
            return;
        row.setValue(QStringLiteral("DLVDeviceActive"), QVariant::fromValue<qint16>(disable == 0));
        m_edit.writeLine(disable == 1 ? QStringLiteral("      Notification device disabled")
                                      : QStringLiteral("      Notification device enabled"));
    }

    void switchAssignment(Recordset& row)
    {
        const ControlState& list = control("comNotificationSwitchID");
        if (list.currentIndex <= 0)   // entry 0 is "<Don't Change>"
            return;
        const qint16 switchId = leadingWholeNumber<qint16>(list.current.data.toString());
        row.setValue(QStringLiteral("SwitchID"), QVariant::fromValue(switchId));
        m_edit.writeLine(QStringLiteral("      Switch assignment set to: ") + paddedNumber(switchId));
    }

    // All messages stands alone; otherwise voice mail, e-mail and fax as chosen, each urgent
    // only when its own urgent box is ticked too.
    void triggers(Recordset& rule)
    {
        QByteArray criteria;
        QByteArray events;
        const auto add = [&](const TriggerKind& kind) {
            const TriggerCodes& codes = ticked(kind.urgentBox) ? kind.urgent : kind.plain;
            const QVariant repeat = rule.value(QStringLiteral("DlvruleRepeatNotify"));
            appendEntry(criteria, codes.criteria);
            appendEntry(events, !repeat.isNull() && repeat.toBool() ? codes.eventRepeatOn : codes.eventRepeatOff);
            m_edit.writeLine(QLatin1String(codes.line) + device(rule));
        };
        if (ticked(kAllMessages.box)) {
            add(kAllMessages);
        } else {
            for (const TriggerKind& kind : kMessageTypes)
                if (ticked(kind.box))
                    add(kind);
        }
        // An empty list is no list at all, never an empty value.
        if (criteria.isEmpty()) {
            rule.setValue(QStringLiteral("dlvruleCriteriaID"), QVariant());
            rule.setValue(QStringLiteral("dlvruleevent"), QVariant());
            m_edit.writeLine(QStringLiteral("    Notification triggers cleared on device with alias=") + device(rule));
        } else {
            rule.setValue(QStringLiteral("dlvruleCriteriaID"), criteria);
            rule.setValue(QStringLiteral("dlvruleevent"), events);
        }
        rule.update();
    }

    static QString device(const Recordset& rule) { return rule.value(QStringLiteral("dlvRuleDevice")).toString(); }

    SubscriberEdit& m_edit;
    const int m_device;
};

// Moves to the row of `rows` whose alias is the device's (or its rule's); false when there is none.
// The texts are the same for every subscriber: they are written once.
bool findAlias(Recordset& rows, int device, bool rule)
{
    static const auto criteria = [] {
        std::array<std::array<QString, 2>, kDeviceCount> texts;
        for (int each = 0; each < kDeviceCount; ++each) {
            const QString alias = QLatin1String(kDeviceAliases[each]);
            texts[each] = {QStringLiteral("Alias=") + quoteLiteral(alias),
                           QStringLiteral("Alias=") + quoteLiteral(alias + QStringLiteral(" Rule"))};
        }
        return texts;
    }();
    rows.moveFirst();
    return rows.find(criteria[device][rule]);
}

void applyDevices(SubscriberEdit& edit)
{
    const QVariant type = edit.subscriber().value(QStringLiteral("SubscriberType"));
    if (type.isNull() || (type.toInt() != 1 && type.toInt() != 3))
        return;
    const int count = edit.session.isVersionAtLeast(4, 0, 3, 120) ? kDeviceCount : kDevicesBeforeSms;
    const QVariantList subscriberId{edit.subscriber().value(QStringLiteral("SubscriberObjectID"))};

    Recordset& devices = edit.scratch(ScratchQuery::NotificationDevices,
                                      QStringLiteral("SELECT * FROM vw_NotificationDevice WHERE ParentObjectID=?"), subscriberId);
    if (devices.recordCount() < count) {
        edit.writeLine(QStringLiteral("(error) this subscriber is missing notification devices!  This is a serious error, "
                                      "you shoudl contact Norwick."));
        return;
    }
    Recordset& rules = edit.scratch(ScratchQuery::NotificationRules,
                                    QStringLiteral("SELECT * FROM vw_NotificationRule WHERE ParentObjectID=?"), subscriberId);
    if (rules.recordCount() < count) {
        edit.writeLine(QStringLiteral("(error) this subscriber is missing notification rules!  This is a serious error, "
                                      "you shoudl contact Norwick."));
        return;
    }
    // Every device and rule is looked for by its alias: an index instead of a scan for each.
    devices.setOptimize(QStringLiteral("Alias"));
    rules.setOptimize(QStringLiteral("Alias"));
    for (int device = 0; device < count; ++device) {
        DeviceEdit choices(edit, device);
        if (findAlias(devices, device, false))
            choices.applyToDevice(devices);
        else
            edit.writeLine(QStringLiteral("(error) could not find notification device for this subscriber by index=")
                           + paddedNumber(device));
        if (findAlias(rules, device, true))
            choices.applyToRule(rules);
        else
            edit.writeLine(QStringLiteral("(error) could not find notification rule for this sybscriber by index=")
                           + paddedNumber(device));
    }
}

void applyExitAction(SubscriberEdit& edit)
{
    if (!callerInputSlotApplies(edit.options, kExitSlot))
        return;
    CallerAction action;
    if (!GetDestinationInfo(edit, edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString(), kExitSlot, action))
        return;
    Recordset& subscriber = edit.subscriber();
    subscriber.setValue(QStringLiteral("ExitAction"), QVariant::fromValue(action.actionCode));
    subscriber.setValue(QStringLiteral("ExitConversation"), action.conversationName);
    edit.writeLine(QStringLiteral("   Exit action value set to:") + paddedNumber(action.actionCode));
    edit.writeLine(QStringLiteral("   Exit conversation name set to:") + action.conversationName);
    const bool destination = action.actionCode == CallerActionCode::GoTo && !action.destinationObjectID.isEmpty();
    subscriber.setValue(QStringLiteral("ExitObjectID"), destination ? QVariant(action.destinationObjectID) : QVariant());
    subscriber.setValue(QStringLiteral("ExitObjectIDType"),
                        destination ? QVariant::fromValue(action.destinationObjectIDType) : QVariant());
}

void applyNotificationDevices(SubscriberEdit& edit)
{
    edit.step([&] { applyDevices(edit); });
    // Nothing of the device pass is kept for the next subscriber.
    edit.session.rsNotificationRules.close();
    edit.session.rsNotificationDevices.close();
    edit.step([&] { applyExitAction(edit); });
}

}  // namespace

const SubscriberChangeCategory SubscriberChanges::notificationDevices{
    "notification devices, rules, triggers, schedule and exit action", &applyNotificationDevices, kControls};
