// The one-key menu of the subscriber's primary call handler: for each key "0" to "9", "*" and
// "#" its lock, then its action. The category has no guard of its own: every key gets its line,
// and a key without exactly one menu entry is an error line.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Criterion.h"
#include "core/Recordset.h"
#include "subscribers/changes/DestinationLookup.h"
#include "core/StoredCallerAction.h"

namespace {

constexpr const char* kPage = "frmSelectSubscriberChanges";
// A key's action controls are read through the destination lookup, which lists them too. An array
// is listed whole: the engine keeps one element count per name.
constexpr EngineControl kControls[] = {
    {kPage, "optCallerInputDontChange", CallerInputSlot::Count},
    {kPage, "cmbCallerInputLockKey", CallerInputSlot::KeyCount},
    {kPage, "chkCallerInputChangeOnlyIfSetToIgnore", CallerInputSlot::KeyCount},
};

constexpr CallerActionColumns kMenuEntryColumns{
    "Action",           "   Key action set to:",
    "ConversationName", "    Key conversation set to:",
    "DestinationObjectID", "DestinationObjectIDType", "    DestinationObjectID set to:", "    DestinationObjectID cleared",
};

QString keyAlias(int slot)
{
    if (slot == 10)
        return QStringLiteral("*");
    if (slot == 11)
        return QStringLiteral("#");
    return QString::number(slot);
}

// `entries` holds the handler's menu entries, shown filtered to the key's.
void applyKey(SubscriberEdit& edit, Recordset& entries, const QString& handlerObjectID, int slot, const QString& alias)
{
    entries.setFilter(QStringLiteral("Alias=") + quoteLiteral(alias));
    if (entries.recordCount() != 1) {
        edit.writeLine(QStringLiteral("(error) could not find menu entry for this subscriber - alias=") + alias);
        return;
    }
    // The lock is saved first, whatever the key's action settings are.
    edit.step([&] {
        if (edit.applyTriState(entries, QStringLiteral("cmbCallerInputLockKey"), slot, QStringLiteral("Locked"),
                               QStringLiteral("   Key locked value set to:")))
            entries.update();
    });
    if (!callerInputSlotApplies(edit.options, slot))
        return;
    // An entry without an action (null) counts as set to ignore.
    const bool onlyIfIgnored =
        edit.options.control(QStringLiteral("chkCallerInputChangeOnlyIfSetToIgnore"), slot).checkState == CheckValue::Ticked;
    if (onlyIfIgnored && entries.value(QStringLiteral("Action")).toInt() != CallerActionCode::Ignore)
        return;
    CallerAction action;
    if (!GetDestinationInfo(edit, handlerObjectID, slot, action))
        return;
    storeCallerAction(edit.log, entries, action, kMenuEntryColumns, ActionCodeForm::Padded);
    // The subscriber row keeps the number; the engine saves that row at its end.
    if (action.conversationName.compare(QLatin1String("TransferAltContactNumber"), Qt::CaseInsensitive) == 0
        && !action.altContactNumber.isEmpty()) {
        edit.writeLine(QStringLiteral("    Referral extension set to:") + action.altContactNumber);
        edit.subscriber().setValue(QStringLiteral("ReferralExtension"), action.altContactNumber);
    }
    entries.update();
}

void applyOneKeyMenu(SubscriberEdit& edit)
{
    const QString handlerObjectID = edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString();
    // One query for the twelve keys: opening the scratch recordset costs more than filtering it.
    Recordset* entries = nullptr;
    edit.step([&] {
        entries = &edit.scratch(ScratchQuery::MenuEntries, QStringLiteral("SELECT * FROM MenuEntry WHERE ParentObjectID=?"),
                                {handlerObjectID});
        entries->setOptimize(QStringLiteral("Alias"));   // each key's entry by an index, not a scan
    });
    for (int slot = 0; slot < CallerInputSlot::KeyCount; ++slot) {
        const QString alias = keyAlias(slot);
        edit.writeLine(QStringLiteral("    Menu entry: ") + alias);
        if (entries)
            edit.step([&] { applyKey(edit, *entries, handlerObjectID, slot, alias); });
    }
}

}  // namespace

const SubscriberChangeCategory SubscriberChanges::oneKeyMenu{"one-key menu entries", applyOneKeyMenu, kControls};
