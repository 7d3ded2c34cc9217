#pragma once
// The greeting rules section of the handler engine: the handler's six messaging rules, one
// greeting tab of the options page each.
#include "core/EngineOptions.h"

#include <span>

class HandlerEdit;

namespace HandlerChanges {

void applyGreetingRules(HandlerEdit& edit);
// Every control applyGreetingRules reads.
std::span<const EngineControl> greetingRuleControls();

}  // namespace HandlerChanges
