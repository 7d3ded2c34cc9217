#include "handlers/HandlerEntryRules.h"

#include "core/ExtensionRules.h"
#include "handlers/HandlerOptionNames.h"

namespace HandlerEntryRules {
namespace {

constexpr int None = -1;
constexpr int LastTransferRule = HandlerOptionNames::TransferRuleCount - 1;
constexpr int LastGreeting = HandlerOptionNames::GreetingCount - 1;

// box, elements, range (0, 0: none), message, keeps the focus
constexpr LeaveRule kLeaveRules[] = {
    // Its message names 2000 as the limit: the check holds to it.
    {"txtCallerInputMilisecondsToWait", None, None, 0, 2000, 269, true},
    {"txtCallerInputPrependDigits", None, None, 0, 0, 522, false},
    {"txtCallerInputPostPendDigits", None, None, 0, 0, 522, false},
    {"txtMessagesMaxMessageLength", None, None, 1, 1200, 268, true},
    {"txtTransferRingsToWait", 0, LastTransferRule, 2, 19, 278, true},
    // Two characters: the numbers 0 to 99 that the messages name.
    {"txtGreetingReplayTimes", 0, LastGreeting, 0, 99, 221, true},
    {"txtGreetingSecondsBetweenReplays", 0, LastGreeting, 0, 99, 227, true},
};

constexpr NeedsPick kDestinationKinds[] = {
    {"optCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandler", 0},
    {"optCallerInputGoToCallHandler", "txtCallerInputGoToCallHandler", 0},
    {"optCallerInputGoToSubscriber", "txtCallerInputGoToSubscriber", 0},
    {"optCallerInputgoToInterviewHandler", "txtCallerInputGoToInterview", 0},
};

constexpr NeedsPick kOwnerAndRecipient[] = {
    {"optCallHandlerOwnerChangeDL", "txtCallHandlerOwnerDL", 345},
    {"optCallHandlerOwnerChangeSubscriber", "txtCallHandlerOwnerSubscriber", 346},
    {"optCallHandlerRecipientDL", "txtCallHandlerRecipientDL", 347},
    {"optCallHandlerRecipientSubscriber", "txtCallHandlerRecipientSubscriber", 348},
};

}  // namespace

std::span<const LeaveRule> leaveRules()
{
    return kLeaveRules;
}

std::optional<int> leaveRefusal(const LeaveRule& rule, const QString& text)
{
    if (text.isEmpty() || MyIsNumber(text, rule.minimum, rule.maximum))
        return std::nullopt;
    return rule.message;
}

std::span<const NeedsPick> destinationKinds()
{
    return kDestinationKinds;
}

std::span<const NeedsPick> ownerAndRecipient()
{
    return kOwnerAndRecipient;
}

int missingDestinationMessage(int element)
{
    if (element < HandlerOptionNames::AfterMessageInput)
        return 337;
    return element == HandlerOptionNames::AfterMessageInput ? 338 : 339;
}

}  // namespace HandlerEntryRules
