#pragma once
// The first section of the per-handler procedure: the edits of the handler row itself (owner,
// language, schedule, message options, recipient), written back at the section's end.
#include "handlers/HandlerEngine.h"

namespace HandlerChanges {

void applyRecordEdits(HandlerEdit& edit);
// Every control applyRecordEdits reads.
std::span<const EngineControl> recordEditControls();

}  // namespace HandlerChanges
