// What the subscriber's primary call handler does after a caller has left a message: caller-input
// slot 12, into four columns of the handler row, which the engine saves at its end.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Recordset.h"
#include "subscribers/changes/DestinationLookup.h"
#include "core/StoredCallerAction.h"

namespace {

constexpr int kAfterMessageSlot = 12;

// The slot's action controls are read through the destination lookup, which lists them too. An
// array is listed whole: the engine keeps one element count per name.
constexpr EngineControl kControls[] = {
    {"frmSelectSubscriberChanges", "optCallerInputDontChange", CallerInputSlot::Count},
};

constexpr CallerActionColumns kHandlerColumns{
    "AfterMessageAction",       "   After message action value set to:",
    "AfterMessageConversation", "   After message conversation name set to:",
    "AfterMessageObjectID", "AfterMessageObjectIDType", "    After message Object ID set to:",
    "    After message object ID cleared",
};

void applyAfterMessageAction(SubscriberEdit& edit)
{
    if (!callerInputSlotApplies(edit.options, kAfterMessageSlot))
        return;
    CallerAction action;
    if (GetDestinationInfo(edit, edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString(),
                           kAfterMessageSlot, action))
        storeCallerAction(edit.log, edit.handler(), action, kHandlerColumns, ActionCodeForm::Padded);
}

}  // namespace

const SubscriberChangeCategory SubscriberChanges::afterMessageAction{"after-message action", applyAfterMessageAction,
                                                                    kControls};
