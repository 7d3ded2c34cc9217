#pragma once
// A caller-input choice of the call handler options page turned into the values the server
// stores for a routing action. Elements: 0 to 9 the keys "0" to "9", 10 "*", 11 "#", 12 the
// action after a message, 13 to 18 the actions after the six greetings (HandlerOptionNames).
//
// The run routes an element only when it applies (callerInputApplies, core/DestinationLookup.h:
// its "<Don't Change>" button is not the one set); the look-up itself is core's
// lookUpDestination with this page's take-action list. Go checks every element that applies
// with OneKeyRouting::firstRefusal() before the log opens, so that a choice the run could not
// apply is refused before anything is written.
//
//     CallerAction action;
//     if (GetOneKeyRoutingSelections(edit, element, action)) ... write action ...
#include "core/CallerAction.h"
#include "core/DestinationLookup.h"
#include "core/StringLookup.h"
#include "handlers/HandlerEngine.h"

#include <QString>

#include <span>

class Recordset;

namespace OneKeyRouting {

// The controls the routing reads (the caller-input section lists them with its own).
std::span<const EngineControl> controls();

// Go's check of the options page's snapshot before a run: the refusal of the first element the
// run would apply whose choice cannot be applied; empty when there is none. An element whose
// controls cannot be read is passed over: the run logs it as the routine's error.
QString firstRefusal(const OptionsSnapshot& page, const StringLookup& strings, const Recordset& subscribers);

}  // namespace OneKeyRouting

// The routing inside the run, for the handler being edited. False, with the routine's counted
// line "(error) encountered in GetOneKeyRoutingSelections procedure:..." logged, when the choice
// cannot be read or applied: the caller then leaves that entry as it is.
bool GetOneKeyRoutingSelections(HandlerEdit& edit, int element, CallerAction& action);
