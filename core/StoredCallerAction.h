#pragma once
// A caller action as a row keeps it: the action code, the conversation and the destination, each
// in a column of the row's own, each change reported by a line of its own. The one-key menu
// entries, the handler's after-message action and the greetings' after-greeting actions store
// their lookups alike, in both engines.
#include "core/CallerAction.h"

class Recordset;
class RunLog;

// The columns a row keeps a caller action in, and the lines that report each change.
struct CallerActionColumns {
    const char* action;
    const char* actionLine;           // + the code (ActionCodeForm)
    const char* conversation;
    const char* conversationLine;     // + the name, which may be empty
    const char* objectID;
    const char* objectIDType;
    const char* objectIDLine;         // + the object ID
    const char* objectIDClearedLine;
};

// How the code follows its line: with the leading blank of a number that is not negative (the
// subscriber engine's lines) or plain (the call handler engine's).
enum class ActionCodeForm { Padded, Plain };

// Writes `action` into `row`: the code and the conversation always; the destination only for a
// go-to with an object ID, otherwise null and type 0. The row is not saved here.
void storeCallerAction(RunLog& log, Recordset& row, const CallerAction& action, const CallerActionColumns& columns,
                       ActionCodeForm form);
