#pragma once
// A WAV file chosen as a greeting's source, copied into the server's "Stream Files" folder under
// a name of its own. Both change engines copy recordings through it; each writes its own lines.
//
//     const GreetingRecording copy = copyGreetingRecording(source, rootPath, {objectAlias, ruleAlias},
//                                                          actions, [&log](const KestraneError& e) { ... });
//     rule.setValue("PlayWhat", 1);
//     rule.setValue("StreamPath", copy.streamPath);
//
// The copy is made under a temporary name in that folder while the object is worked on; the
// object's commit renames it to its name, its rollback deletes it, so that no file outlives
// changes that were not kept and no rule names a file that is not there.
#include "core/Errors.h"

#include <QString>

#include <functional>

class ObjectActions;

// The time a recording's name is built from, and the pause before a name is tried again.
struct RecordingClock {
    std::function<qint64()> secondsNow;   // whole seconds from 1970-01-01 00:00 to the local date and time
    std::function<void()> pauseOneSecond;
    static RecordingClock system();
};

struct GreetingRecordingName {
    QString objectAlias;   // the subscriber's or handler's Alias ("/" is left out of the name)
    QString ruleAlias;     // the messaging rule's Alias
};

struct GreetingRecording {
    QString targetPath;   // where the copy is put when the object commits
    QString streamPath;   // its file name, for the rule's StreamPath
};

// The server's "Stream Files" folder under `rootPath`, joined with exactly one separator.
QString streamFilesFolder(const QString& rootPath);

// Copies `sourcePath` to a temporary file in the stream-file folder and registers its placing
// (commit) and removal (rollback) with `actions`. The name is the object alias without "/",
// "_", the rule alias, "_CustomGreeting_", clock.secondsNow() and ".WAV"; while a file of that
// name exists, the clock pauses a second and the name is built again. Throws
// KestraneError(PathFileAccessError) when the copy cannot be made; a placing that fails at
// commit is handed to `placeFailed` (the object's changes are kept by then).
GreetingRecording copyGreetingRecording(const QString& sourcePath, const QString& rootPath,
                                        const GreetingRecordingName& name, ObjectActions& actions,
                                        std::function<void(const KestraneError&)> placeFailed,
                                        const RecordingClock& clock = RecordingClock::system());
