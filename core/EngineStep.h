#pragma once
// One step of an engine's work on an object (a change and its log line), run inside the
// object's transaction (RunFrame). The rule of which failure ends the object is the same for
// both engines:
//
//     runEngineStep([&] { ... set a column, log its line ... },
//                   [&](const KestraneError& failure) { log the engine's error line });
//
// A failure of the database (isDatabaseFailure) is let through, so the frame rolls the object
// back. Any other failure (a field the row lacks, a conversion, a control the snapshot lacks,
// as ItemNotFound) goes to `failed` and ends only this step: the statements after the failing
// one, its change line among them, are not run, and the object goes on with its next step.
#include "core/Errors.h"

#include <functional>

void runEngineStep(const std::function<void()>& work, const std::function<void(const KestraneError&)>& failed);
