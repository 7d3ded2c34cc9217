#pragma once
// A caller action as the server stores it for a one-key menu entry, an after-message or an
// after-greeting action: the action code, the conversation and the destination object. Both
// engines turn a caller-input choice of their options page into one.
#include "core/OptionsSnapshot.h"

#include <QString>

#include <functional>

// Action codes and destination kinds as the server stores them.
namespace CallerActionCode {
constexpr qint16 Ignore = 0;
constexpr qint16 HangUp = 1;
constexpr qint16 GoTo = 2;   // a conversation, with or without a destination object
constexpr qint16 TakeMessage = 4;
constexpr qint16 SkipGreeting = 5;
}
namespace DestinationType {
constexpr qint16 CallHandler = 3;
constexpr qint16 InterviewHandler = 5;
constexpr qint16 DirectoryHandler = 6;
}

// A choice as stored values. A lookup sets every member but `destinationObjectIDType`, which
// only the choices that name a destination set; a caller stores a destination only when the
// code is GoTo and the object ID is not empty.
struct CallerAction {
    qint16 actionCode = CallerActionCode::Ignore;
    QString conversationName;
    QString destinationObjectID;
    qint16 destinationObjectIDType = 0;
    QString altContactNumber;   // the subscriber page's number to dial, for its keys
};

// The messages that refuse a caller-input choice at Go, by what was chosen: resource string
// 164 / 165 / 166 / 167 + the key's name + string 6 (" key tab.  Please correct and try again").
namespace CallerActionRefusal {
constexpr int CallHandler = 164;
constexpr int Interview = 165;
constexpr int Subscriber = 166;
constexpr int TakeAction = 167;
constexpr int KeyTabTail = 6;
// A destination object ID is never shorter.
constexpr int ShortestObjectID = 10;
}

// The conversation of a destination handler or subscriber: "PHGreeting" skips ringing the
// destination's phone, "PHTransfer" tries it first.
inline QString ringOrGreeting(const ControlState& dontRingPhone)
{
    return dontRingPhone.checkState != CheckValue::Clear ? QStringLiteral("PHGreeting") : QStringLiteral("PHTransfer");
}

// The check at Go of either engine: the message of the first of `count` caller-input elements
// whose routing is refused (`refusalOf` gives its refusal, 0 when there is none), or the empty
// text. An element that cannot be read is passed over: the run logs it as its own error.
QString firstCallerInputRefusal(int count, const std::function<int(int element)>& refusalOf,
                                const std::function<QString(int element, int refusal)>& message);
