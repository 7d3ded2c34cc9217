#pragma once
// The first section of the per-handler procedure: the edits of the handler row itself (owner,
// language, schedule, message options, recipient), written back with what the later sections set
// on the row once all sections have run (HandlerEngine).
#include "handlers/HandlerEngine.h"

namespace HandlerChanges {

void applyRecordEdits(HandlerEdit& edit);
// Every control applyRecordEdits reads.
std::span<const EngineControl> recordEditControls();

}  // namespace HandlerChanges
