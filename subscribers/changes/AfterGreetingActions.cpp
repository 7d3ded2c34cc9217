// What happens to a caller after each greeting: caller-input slots 13 to 18 of the options page,
// turned into action values by the destination lookup.
#include "subscribers/changes/DestinationLookup.h"
#include "subscribers/changes/MessagingRules.h"
#include "subscribers/changes/SubscriberChanges.h"

#include "core/RunLog.h"

namespace {

// The button that passes a slot over; the destination lookup lists the rest of a slot's controls.
constexpr EngineControl kControls[] = {
    {"frmSelectSubscriberChanges", "optCallerInputDontChange", CallerInputSlot::Count},
};

constexpr int kFirstSlot = 13;
// A handler with five rules still passes: its missing rule is reported by its slot.
constexpr int kFewestRules = 5;

void applyAction(SubscriberEdit& edit, Recordset& rule, const QString& handlerID, int slot)
{
    edit.writeLine(QStringLiteral("   Edits for ") + rule.value(QStringLiteral("Alias")).toString() + QStringLiteral(" greeting:"));
    CallerAction action;
    if (!GetDestinationInfo(edit, handlerID, slot, action))
        return;
    rule.setValue(QStringLiteral("Action"), QVariant::fromValue(action.actionCode));
    rule.setValue(QStringLiteral("ConversationName"), action.conversationName);
    edit.writeLine(QStringLiteral("   After greeting action value set to:") + paddedNumber(action.actionCode));
    edit.writeLine(QStringLiteral("   After greeting action conversation name set to:") + action.conversationName);
    if (!action.destinationObjectID.isEmpty() && action.actionCode == CallerActionCode::GoTo) {
        rule.setValue(QStringLiteral("DestinationObjectID"), action.destinationObjectID);
        rule.setValue(QStringLiteral("DestinationObjectIDType"), QVariant::fromValue(action.destinationObjectIDType));
        edit.writeLine(QStringLiteral("    After greeting action destination object id=") + action.destinationObjectID);
    } else {
        edit.writeLine(QStringLiteral("    After greeting action destination object id cleared"));
        rule.setValue(QStringLiteral("DestinationObjectID"), QVariant());
        rule.setValue(QStringLiteral("DestinationObjectIDType"), QVariant::fromValue<qint16>(0));
    }
    rule.update();
}

void applyAfterGreetingActions(SubscriberEdit& edit)
{
    Recordset& rules = MessagingRules::open(edit);
    if (rules.recordCount() < kFewestRules) {
        edit.writeLine(QStringLiteral("(error) messaging rules are missing for this subscriber!  This is a serious error, "
                                      "you should contact Norwick."));
        return;
    }
    const QString handlerID = edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString();
    for (int slot = kFirstSlot; slot < kFirstSlot + MessagingRules::Count; ++slot)
        edit.step([&] {
            if (!callerInputSlotApplies(edit.options, slot))
                return;
            if (!MessagingRules::find(rules, slot - kFirstSlot)) {
                edit.writeLine(QStringLiteral("(error) could not find messaging rule by index=") + paddedNumber(slot));
                return;
            }
            applyAction(edit, rules, handlerID, slot);
        });
}

}  // namespace

const SubscriberChangeCategory SubscriberChanges::afterGreetingActions{"after-greeting actions", &applyAfterGreetingActions,
                                                                       kControls};
