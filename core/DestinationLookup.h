#pragma once
// The destination look-up both engines share: a caller-input element's choice on an options
// page (take an action, go to a directory handler, a call handler, a subscriber or an
// interview handler) turned into a CallerAction. Each engine keeps what differs: its
// take-action table, its key names, its error line and the controls it lists.
#include "core/CallerAction.h"
#include "core/StringLookup.h"

#include <QString>

#include <functional>
#include <span>

class EngineOptions;
class Recordset;

// An entry of a take-action list, by resource string, and what it stands for.
struct TakeActionEntry {
    int string;
    qint16 code;
    const char* conversation;
    enum Extra { None, Self, NumberToDial } extra = None;
};

// The entries both options pages' take-action lists begin with, and those that follow each
// page's own entries; the order is the lists' (the first entry whose text matches is taken).
inline constexpr TakeActionEntry kLeadingTakeActions[] = {
    {158, CallerActionCode::Ignore, ""},
    {248, CallerActionCode::SkipGreeting, ""},
    {260, CallerActionCode::TakeMessage, ""},
    {152, CallerActionCode::HangUp, ""},
    {247, CallerActionCode::GoTo, "SubSignIn"},
};
inline constexpr TakeActionEntry kTrailingTakeActions[] = {
    {149, CallerActionCode::GoTo, "GreetingsAdministrator"},
    {365, CallerActionCode::GoTo, "BhConvSystemTransfer"},
    {366, CallerActionCode::GoTo, "BhConvSubSystemTransfer"},
    {444, CallerActionCode::GoTo, "BroadcastMessageAdministrator"},
};

// An engine's take-action list, in parts searched in order. A NumberToDial entry takes its
// number from `numberToDialBox`, which only the first `elementsWithNumberBox` elements have.
struct TakeActionList {
    std::span<const std::span<const TakeActionEntry>> parts;
    const char* numberToDialBox = nullptr;
    int elementsWithNumberBox = 0;
};

// True when a run applies element `element`: its "<Don't Change>" button is not the one set.
bool callerInputApplies(const EngineOptions& options, int element);

// Turns element `element`'s choice into `action`: every member but `destinationObjectIDType`,
// which only the choices that name a destination set ("Loop Back To Self" names
// `selfHandlerObjectID`; "go to a subscriber" takes that subscriber's call handler from
// `subscribers`, left where it stands). The resource string that refuses the choice (164 to
// 167) when it cannot be applied, else 0. A control the snapshot lacks throws as EngineOptions does.
int lookUpDestination(const EngineOptions& options, const StringLookup& strings, const Recordset& subscribers,
                      const TakeActionList& takeActions, const QString& selfHandlerObjectID, int element,
                      CallerAction& action);

// Go's check before a run: the refusal of the first of `count` elements the run would apply
// whose choice cannot be applied, as `message` words it; empty when there is none. An element
// whose controls cannot be read is passed over: the run logs it as its own error.
QString firstDestinationRefusal(const EngineOptions& options, const StringLookup& strings, const Recordset& subscribers,
                                const TakeActionList& takeActions, int count,
                                const std::function<QString(int element, int refusal)>& message);

// A refusal as Go shows it: the refusal string + `keyName` + " key tab.  Please correct and try again".
QString callerInputRefusalMessage(const StringLookup& strings, int refusalString, const QString& keyName);

// The look-up inside a run: true when `lookUp` gives no refusal. A refusal (logged with
// `refusalMessage`), a KestraneError or a control the snapshot lacks goes to `logFailure` as an
// error number and description, and gives false: the caller then leaves the entry as it is.
bool lookUpInRun(const std::function<int()>& lookUp, const std::function<QString(int refusal)>& refusalMessage,
                 const std::function<void(long number, const QString& description)>& logFailure);
