#include "subscribers/changes/DestinationLookup.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"

#include <iterator>

namespace {

constexpr const char* kPage = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "optCallerInputDontChange", CallerInputSlot::Count},
    {kPage, "optCallerInputTakeAction", CallerInputSlot::Count},
    {kPage, "optCallerInputGoToDirectoryHandler", CallerInputSlot::Count},
    {kPage, "optCallerInputGoToCallHandler", CallerInputSlot::Count},
    {kPage, "optCallerInputGoToSubscriber", CallerInputSlot::Count},
    {kPage, "cmbCallerInputTakeAction", CallerInputSlot::Count},
    {kPage, "txtCallerInputGoToDirectoryHandlerObjectID", CallerInputSlot::Count},
    {kPage, "txtCallerInputGoToCallHandlerObjectID", CallerInputSlot::Count},
    {kPage, "txtCallerInputGoToSubscriberObjectID", CallerInputSlot::Count},
    {kPage, "txtCallerInputGoToInterviewObjectID", CallerInputSlot::Count},
    {kPage, "chkCallerInputGoToCallHandlerSkipGreeting", CallerInputSlot::Count},
    {kPage, "chkCallerInputGoToSubscriberSkipGreeting", CallerInputSlot::Count},
    {kPage, "txtSubscriberCallerInputNumbertoDial", CallerInputSlot::KeyCount},
};

namespace Refusal = CallerActionRefusal;

// The entries of the take-action lists, by resource string, and what each stands for.
struct TakeAction {
    int string;
    qint16 code;
    const char* conversation;
    enum Extra { None, Self, NumberToDial } extra = None;
};
constexpr TakeAction kTakeActions[] = {
    {158, CallerActionCode::Ignore, ""},
    {248, CallerActionCode::SkipGreeting, ""},
    {260, CallerActionCode::TakeMessage, ""},
    {152, CallerActionCode::HangUp, ""},
    {247, CallerActionCode::GoTo, "SubSignIn"},
    {359, CallerActionCode::GoTo, "BhConvEasySignIn"},
    {175, CallerActionCode::GoTo, "PHGreeting", TakeAction::Self},
    {149, CallerActionCode::GoTo, "GreetingsAdministrator"},
    {365, CallerActionCode::GoTo, "BhConvSystemTransfer"},
    {366, CallerActionCode::GoTo, "BhConvSubSystemTransfer"},
    {444, CallerActionCode::GoTo, "BroadcastMessageAdministrator"},
    {504, CallerActionCode::GoTo, "TransferAltContactNumber", TakeAction::NumberToDial},
};

QString keyLabel(int slot)
{
    if (slot >= 0 && slot <= 9)
        return paddedNumber(slot);
    if (slot == 10)
        return QStringLiteral("*");
    if (slot == 11)
        return QStringLiteral("#");
    return QStringLiteral("<unknown>");
}

}  // namespace

std::span<const EngineControl> destinationLookupControls()
{
    return kControls;
}

bool callerInputSlotApplies(const SubscriberOptions& options, int slot)
{
    return !options.control(QStringLiteral("optCallerInputDontChange"), slot).selected;
}

int resolveCallerAction(const SubscriberOptions& options, const StringLookup& strings, const Recordset& subscribers,
                        const QString& selfHandlerObjectID, int slot, CallerAction& action)
{
    action.actionCode = CallerActionCode::Ignore;
    action.conversationName.clear();
    action.destinationObjectID.clear();
    action.altContactNumber.clear();
    const auto chosen = [&](const char* option) { return options.control(QLatin1String(option), slot).selected; };
    const auto text = [&](const char* box) { return options.control(QLatin1String(box), slot).text; };

    if (chosen("optCallerInputTakeAction")) {
        const QString entry = text("cmbCallerInputTakeAction");
        for (const TakeAction& take : kTakeActions) {
            if (entry.compare(strings(take.string), Qt::CaseInsensitive) != 0)
                continue;
            action.actionCode = take.code;
            action.conversationName = QLatin1String(take.conversation);
            if (take.extra == TakeAction::Self) {
                action.destinationObjectID = selfHandlerObjectID;
                action.destinationObjectIDType = DestinationType::CallHandler;
            } else if (take.extra == TakeAction::NumberToDial && slot < CallerInputSlot::KeyCount) {
                // Only the keys offer this entry, and only they have a number box.
                action.altContactNumber = text("txtSubscriberCallerInputNumbertoDial");
            }
            return 0;
        }
        return Refusal::TakeAction;
    }

    action.actionCode = CallerActionCode::GoTo;
    if (chosen("optCallerInputGoToDirectoryHandler")) {
        action.conversationName = QStringLiteral("AD");
        action.destinationObjectID = text("txtCallerInputGoToDirectoryHandlerObjectID");
        action.destinationObjectIDType = DestinationType::DirectoryHandler;
        return 0;
    }
    if (chosen("optCallerInputGoToCallHandler")) {
        action.conversationName = ringOrGreeting(options.control(QStringLiteral("chkCallerInputGoToCallHandlerSkipGreeting"), slot));
        action.destinationObjectID = text("txtCallerInputGoToCallHandlerObjectID");
        action.destinationObjectIDType = DestinationType::CallHandler;
        return action.destinationObjectID.size() < Refusal::ShortestObjectID ? Refusal::CallHandler : 0;
    }
    if (!chosen("optCallerInputGoToSubscriber")) {
        action.conversationName = QStringLiteral("CHInterview");
        action.destinationObjectID = text("txtCallerInputGoToInterviewObjectID");
        action.destinationObjectIDType = DestinationType::InterviewHandler;
        return action.destinationObjectID.size() < Refusal::ShortestObjectID ? Refusal::Interview : 0;
    }

    // A subscriber is reached through its own call handler.
    action.conversationName = ringOrGreeting(options.control(QStringLiteral("chkCallerInputGoToSubscriberSkipGreeting"), slot));
    const std::optional<QVariant> handler =
        subscribers.lookUp(QStringLiteral("SubscriberObjectID=") + quoteLiteral(text("txtCallerInputGoToSubscriberObjectID")),
                           QStringLiteral("CallHandlerObjectID"));
    if (handler)
        action.destinationObjectID = handler->toString();
    action.destinationObjectIDType = DestinationType::CallHandler;
    return action.destinationObjectID.size() < Refusal::ShortestObjectID ? Refusal::Subscriber : 0;
}

QString invalidCallerInputMessage(const StringLookup& strings, int slot, int refusalString)
{
    return strings(refusalString) + keyLabel(slot) + strings(Refusal::KeyTabTail);
}

QString firstInvalidCallerInput(const SubscriberOptions& options, const StringLookup& strings, const Recordset& subscribers)
{
    return firstCallerInputRefusal(
        CallerInputSlot::Count,
        [&](int slot) {
            CallerAction action;
            return callerInputSlotApplies(options, slot)
                       ? resolveCallerAction(options, strings, subscribers, QString(), slot, action)
                       : 0;
        },
        [&](int slot, int refusal) { return invalidCallerInputMessage(strings, slot, refusal); });
}

bool GetDestinationInfo(SubscriberEdit& edit, const QString& selfHandlerObjectID, int slot, CallerAction& action)
{
    const auto logFailure = [&](long number, const QString& description) {
        edit.writeLine(formatProcedureError(number, description, QStringLiteral("GetDestinationInfo"),
                                            QStringLiteral("Form"), QStringLiteral("frmMakeSubscriberChanges")));
        return false;
    };
    const StringLookup strings = edit.session.languages.stringLookup();
    try {
        const int refusal =
            resolveCallerAction(edit.options, strings, edit.subscriber(), selfHandlerObjectID, slot, action);
        // Go refuses such a choice before the run; one that gets here is logged, never applied.
        if (refusal != 0)
            return logFailure(ErrorNumber::InvalidProcedureCall, invalidCallerInputMessage(strings, slot, refusal));
        return true;
    } catch (const KestraneError& failure) {
        return logFailure(failure.number(), failure.description());
    } catch (const OptionsSnapshot::UnknownName& missing) {
        return logFailure(ErrorNumber::ItemNotFound, QString::fromStdString(missing.what()));
    }
}
