#pragma once
// The caller-input section of the per-handler edit, the last one: the handler's one-key delay
// and its prepend and postpend digits, the lock and action of each of its twelve one-key menu
// entries, its after-message action and the after-greeting action of each of its six greetings.
#include "handlers/HandlerEngine.h"

#include <span>

namespace HandlerChanges {

void applyCallerInputEdits(HandlerEdit& edit);
// Every control the section reads, the routing's among them.
std::span<const EngineControl> callerInputEditControls();

}  // namespace HandlerChanges
