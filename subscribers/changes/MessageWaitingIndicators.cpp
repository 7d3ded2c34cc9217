// The subscriber's message-waiting (MWI) devices: all switched off, the primary device's code,
// its phone system and whether it sends message counts to the phone's display. The devices are
// read only when one of these is chosen; each change is saved at once. Switching devices off and
// a new code tell the run that the notifier may need a restart; the switch and the display do not.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/RunLog.h"

namespace {

constexpr int kSwitchList = 10;   // the MWI element of the notification switch lists
const QString kMissingPrimaryDevice = QStringLiteral("(error) could not find primary MWI device for this subscriber");

// Positions `devices` on the primary device; false when the subscriber has none.
bool onPrimaryDevice(Recordset& devices)
{
    devices.moveFirst();
    return devices.find(QStringLiteral("Alias='MWI-1'"));
}

void disableAll(SubscriberEdit& edit, Recordset& devices)
{
    if (edit.options.control(QStringLiteral("chkMessagesMWIDisable")).checkState != CheckValue::Ticked)
        return;
    if (devices.recordCount() < 1) {
        edit.writeLine(QStringLiteral("(error) could not find any MWI devices for this subscriber."));
        return;
    }
    for (devices.moveFirst(); !devices.eof(); devices.moveNext()) {
        devices.setValue(QStringLiteral("MWIExtension"), QVariant());
        devices.update();
        edit.requestNotifierRestart();
    }
    edit.writeLine(QStringLiteral("    All MWI codes for user disabled"));
}

// After all devices were switched off the primary one gets the new code.
void setCode(SubscriberEdit& edit, Recordset& devices)
{
    const QString code = edit.options.control(QStringLiteral("txtMessagesMWICode")).text;
    if (code.isEmpty() || devices.recordCount() < 1)
        return;
    if (!onPrimaryDevice(devices)) {
        edit.writeLine(QStringLiteral("(error) could not find primary MWI extension by alias='MWI-1'"));
        return;
    }
    devices.setValue(QStringLiteral("MWIExtension"), code);
    devices.update();
    edit.writeLine(QStringLiteral("    MWI code set to:") + code);
    edit.requestNotifierRestart();
}

void setSwitch(SubscriberEdit& edit, Recordset& devices)
{
    const ControlState& list = edit.options.control(QStringLiteral("comNotificationSwitchID"), kSwitchList);
    if (list.currentIndex <= 0)   // entry 0 is "<Don't Change>"
        return;
    if (!onPrimaryDevice(devices)) {
        edit.writeLine(kMissingPrimaryDevice);
        return;
    }
    const qint16 switchId = leadingWholeNumber<qint16>(list.current.data.toString());
    devices.setValue(QStringLiteral("SwitchID"), QVariant::fromValue(switchId));
    devices.update();
    edit.writeLine(QStringLiteral("  Primary MWI switch device set to: ") + paddedNumber(switchId));
}

void setDisplay(SubscriberEdit& edit, Recordset& devices)
{
    const qint16 code = edit.triState(edit.options.control(QStringLiteral("comMessagesSendCounts")));
    if (code != 0 && code != 1)
        return;
    if (!onPrimaryDevice(devices)) {
        edit.writeLine(kMissingPrimaryDevice);
        return;
    }
    devices.setValue(QStringLiteral("MWIUpdateDisplay"), QVariant::fromValue(code));
    devices.update();
    edit.writeLine(QStringLiteral("  Primary MWI UpdateDisplay set to: ") + paddedNumber(code));
}

// True when any of the four changes is chosen.
bool anyChosen(SubscriberEdit& edit)
{
    const SubscriberOptions& options = edit.options;
    const qint16 display = edit.triState(options.control(QStringLiteral("comMessagesSendCounts")));
    return options.control(QStringLiteral("chkMessagesMWIDisable")).checkState == CheckValue::Ticked
           || !options.control(QStringLiteral("txtMessagesMWICode")).text.isEmpty()
           || options.control(QStringLiteral("comNotificationSwitchID"), kSwitchList).currentIndex > 0
           || display == 0 || display == 1;
}

void applyMessageWaitingIndicators(SubscriberEdit& edit)
{
    if (!anyChosen(edit))
        return;
    Recordset& devices =
        edit.scratch(ScratchQuery::MWIs, QStringLiteral("SELECT * FROM vw_NotificationMWI WHERE ParentObjectID=?"),
                     {edit.subscriber().value(QStringLiteral("SubscriberObjectID"))});
    for (void (*change)(SubscriberEdit&, Recordset&) : {disableAll, setCode, setSwitch, setDisplay})
        edit.step([&] { change(edit, devices); });
    devices.close();
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "chkMessagesMWIDisable"},
    {kPage, "txtMessagesMWICode"},
    {kPage, "comNotificationSwitchID", kSwitchList + 1},
    {kPage, "comMessagesSendCounts"},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::messageWaitingIndicators{
    "message waiting indicators", applyMessageWaitingIndicators, kControls};
