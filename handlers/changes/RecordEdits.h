#pragma once
// The first section of the per-handler procedure: the edits of the handler row itself (owner,
// language, schedule, message options, recipient), written back at the section's end.
#include "handlers/HandlerEngine.h"

void applyHandlerRecordEdits(HandlerEdit& edit);
// Every control applyHandlerRecordEdits reads.
extern const std::span<const EngineControl> handlerRecordEditControls;
