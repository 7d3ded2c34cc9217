#pragma once
// The entry rules of the call handler options page, read by the page's wiring
// (handlers/ui/HandlerOptionsInput.cpp): the boxes checked when the focus leaves them, and the
// choices that Next refuses while their name box is empty. The rules read no widget.
#include <QString>

#include <optional>
#include <span>

namespace HandlerEntryRules {

// A box, or elements firstIndex to lastIndex of a box array, checked when the focus leaves it:
// a whole number, within minimum to maximum unless both are 0.
struct LeaveRule {
    const char* box;
    int firstIndex;   // -1: a single box
    int lastIndex;
    qint32 minimum;
    qint32 maximum;
    int message;
    // A range box keeps the focus and is emptied before the message; a digits box is emptied
    // after it and lets the focus go.
    bool keepsFocus;
};
std::span<const LeaveRule> leaveRules();

// The message that refuses `text` in a box of `rule`; nothing when it is accepted (the empty
// text always is).
std::optional<int> leaveRefusal(const LeaveRule& rule, const QString& text);

// An option that needs the pick of its name box before Next goes on.
struct NeedsPick {
    const char* option;
    const char* nameBox;
    int message;   // 0: the caller-input element's (missingDestinationMessage)
};
// Each caller-input destination kind, in the order Next looks at them.
std::span<const NeedsPick> destinationKinds();
// The owner and recipient choices, in order: only the first failing one is told.
std::span<const NeedsPick> ownerAndRecipient();
// The message for caller-input element `element` chosen with no destination: a key, the after
// message action or an after greeting action.
int missingDestinationMessage(int element);

constexpr int RecordingWithoutFileMessage = 457;

}  // namespace HandlerEntryRules
