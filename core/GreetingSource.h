#pragma once
// A messaging rule's greeting source as both engines set it from an options page's greeting
// source list and WAV path box:
//
//     applyGreetingSource(rule, {sourceText, sourcePath}, {alias, rootPath, actions, log, placeFailed}, strings);
//
// The list's text is compared exactly (case counts) with "System", "Blank" and "Recording";
// any other text changes nothing. A recording is copied through copyGreetingRecording, and the
// rule names the copy only once it is made: a missing file or a failed copy leaves the source
// as it was.
#include "core/Errors.h"
#include "core/StringLookup.h"

#include <QString>

#include <functional>

class ObjectActions;
class Recordset;
class RunLog;

struct GreetingSourceChoice {
    QString source;   // the source list's text
    QString path;     // the WAV file of a recording
};

// The object whose rule it is.
struct GreetingSourceObject {
    QString alias;
    QString rootPath;   // the server's folder, above "Stream Files"
    ObjectActions& actions;
    RunLog& log;
    std::function<void(const KestraneError&)> placeFailed;   // the copy could not be put in place at commit
};

// Sets `PlayWhat` (and `StreamPath`) of the current row of `rule` and logs the change. Throws
// KestraneError(PathFileAccessError) when the copy cannot be made.
void applyGreetingSource(Recordset& rule, const GreetingSourceChoice& choice, const GreetingSourceObject& object,
                         const StringLookup& strings);
