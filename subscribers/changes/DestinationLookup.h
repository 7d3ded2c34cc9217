#pragma once
// What a caller-input slot of the options page asks for, turned into the values the server
// stores for a caller action. Slots: 0 to 9 the keys "0" to "9", 10 "*", 11 "#", 12 the action
// after a message, 13 to 18 the actions after the six greetings, 19 the exit action.
//
// The categories that apply a slot do so only when callerInputSlotApplies() holds, and then
// take its values from GetDestinationInfo(). Go checks the same slots with
// firstInvalidCallerInput() before the run starts, so that a choice that cannot be applied is
// refused before anything is written.
//
//     if (callerInputSlotApplies(edit.options, slot)) {
//         CallerAction action;
//         if (GetDestinationInfo(edit, handlerObjectID, slot, action)) ... write action ...
//     }
#include "core/CallerAction.h"
#include "core/StringLookup.h"
#include "subscribers/SubscriberEngine.h"

#include <QString>

#include <span>

class Recordset;

namespace CallerInputSlot {
constexpr int Count = 20;
constexpr int KeyCount = 12;   // the keys "0" to "9", "*" and "#"
}

// The controls the destination lookup reads (the engine lists them with its own).
std::span<const EngineControl> destinationLookupControls();

// True when the run applies slot `slot`: its "<Don't Change>" button is not the one set.
bool callerInputSlotApplies(const SubscriberOptions& options, int slot);

// Turns slot `slot`'s choice into `action` ("Loop Back To Self" names `selfHandlerObjectID`);
// "go to a subscriber" takes that subscriber's call handler from `subscribers` (the directory
// list, left where it stands). The resource string that refuses the choice (164 to 167) when it
// cannot be applied, else 0. A control the snapshot lacks throws as SubscriberOptions does.
int resolveCallerAction(const SubscriberOptions& options, const StringLookup& strings, const Recordset& subscribers,
                        const QString& selfHandlerObjectID, int slot, CallerAction& action);

// The refusal of slot `slot`'s choice: "Invalid <...> destination on the Caller Input " + the
// key's label + " key tab.  Please correct and try again".
QString invalidCallerInputMessage(const StringLookup& strings, int slot, int refusalString);

// Go's check before a run: the refusal of the first slot the run would apply whose choice
// cannot be applied; empty when there is none. A slot whose controls cannot be read is passed
// over, as the run passes over it.
QString firstInvalidCallerInput(const SubscriberOptions& options, const StringLookup& strings, const Recordset& subscribers);

// The lookup inside the run. False, with the procedure's error line logged, when the choice
// cannot be read or applied: the caller then leaves the slot as it is.
bool GetDestinationInfo(SubscriberEdit& edit, const QString& selfHandlerObjectID, int slot, CallerAction& action);
