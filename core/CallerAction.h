#pragma once
// A caller action as the server stores it for a one-key menu entry, an after-message or an
// after-greeting action: the action code, the conversation and the destination object. Both
// engines turn a caller-input choice of their options page into one.
#include <QString>

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
