#pragma once
// The section of the per-handler procedure that edits the handler's transfer (contact) rules:
// Alternate, Standard and Off Hours, and the three Follow-Me rules on a server that has them.
#include "core/EngineOptions.h"

#include <span>

class HandlerEdit;

namespace HandlerChanges {

void applyTransferRules(HandlerEdit& edit);
// Every control applyTransferRules reads.
std::span<const EngineControl> transferRuleControls();

}  // namespace HandlerChanges
