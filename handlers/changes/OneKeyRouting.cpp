#include "handlers/changes/OneKeyRouting.h"

#include "core/Criterion.h"
#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "handlers/HandlerOptionNames.h"

namespace {

using namespace HandlerOptionNames;

constexpr const char* kPage = "frmSelectCallHandlerChanges";
constexpr EngineControl kControls[] = {
    {kPage, "optCallerInputDontChange", CallerInputCount},
    {kPage, "optCallerInputTakeAction", CallerInputCount},
    {kPage, "cmbCallerInputTakeAction", CallerInputCount},
    {kPage, "optCallerInputGoToDirectoryHandler", CallerInputCount},
    {kPage, "txtCallerInputGoToDirectoryHandlerObjectID", CallerInputCount},
    {kPage, "optCallerInputGoToCallHandler", CallerInputCount},
    {kPage, "chkCallerInputGoToCallHandlerSkipGreeting", CallerInputCount},
    {kPage, "txtCallerInputGoToCallHandlerObjectID", CallerInputCount},
    {kPage, "optCallerInputGoToSubscriber", CallerInputCount},
    {kPage, "chkCallerInputGoToSubscriberSkipGreeting", CallerInputCount},
    {kPage, "txtCallerInputGoToSubscriberObjectID", CallerInputCount},
    {kPage, "txtCallerInputGoToInterviewObjectID", CallerInputCount},
};

namespace Refusal = CallerActionRefusal;

// The entries of the take-action lists, by resource string, and what each stands for.
struct TakeAction {
    int string;
    qint16 code;
    const char* conversation;
    bool self = false;   // the handler being edited is the destination
};
constexpr TakeAction kTakeActions[] = {
    {158, CallerActionCode::Ignore, ""},
    {248, CallerActionCode::SkipGreeting, ""},
    {260, CallerActionCode::TakeMessage, ""},
    {152, CallerActionCode::HangUp, ""},
    {247, CallerActionCode::GoTo, "SubSignIn"},
    // The lists offer 175 "Loop Back To Self", the server's routine knew it as 176: a language
    // may spell the two apart by more than letter case.
    {176, CallerActionCode::GoTo, "PHGreeting", true},
    {175, CallerActionCode::GoTo, "PHGreeting", true},
    {149, CallerActionCode::GoTo, "GreetingsAdministrator"},
    {365, CallerActionCode::GoTo, "BhConvSystemTransfer"},
    {366, CallerActionCode::GoTo, "BhConvSubSystemTransfer"},
    {444, CallerActionCode::GoTo, "BroadcastMessageAdministrator"},
};

QString keyName(int element)
{
    return element >= 0 && element < KeyCount ? QLatin1String(kKeyCaptions[element]) : QStringLiteral("<unknown>");
}

}  // namespace

namespace OneKeyRouting {

std::span<const EngineControl> controls()
{
    return kControls;
}

bool applies(const HandlerOptions& options, int element)
{
    return !options.control(QStringLiteral("optCallerInputDontChange"), element).selected;
}

int route(const HandlerOptions& options, const StringLookup& strings, const Recordset& subscribers,
          const QString& selfHandlerObjectID, int element, CallerAction& action)
{
    action = CallerAction{};
    const auto chosen = [&](const char* option) { return options.control(QLatin1String(option), element).selected; };
    const auto text = [&](const char* box) { return options.control(QLatin1String(box), element).text; };
    const auto refusedWhenShort = [&](int refusal) {
        return action.destinationObjectID.size() < Refusal::ShortestObjectID ? refusal : 0;
    };

    if (chosen("optCallerInputTakeAction")) {
        const QString entry = text("cmbCallerInputTakeAction");
        for (const TakeAction& take : kTakeActions) {
            if (entry.compare(strings(take.string), Qt::CaseInsensitive) != 0)
                continue;
            action.actionCode = take.code;
            action.conversationName = QLatin1String(take.conversation);
            if (take.self) {
                action.destinationObjectID = selfHandlerObjectID;
                action.destinationObjectIDType = DestinationType::CallHandler;
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
    action.destinationObjectIDType = DestinationType::CallHandler;
    if (chosen("optCallerInputGoToCallHandler")) {
        action.conversationName =
            ringOrGreeting(options.control(QStringLiteral("chkCallerInputGoToCallHandlerSkipGreeting"), element));
        action.destinationObjectID = text("txtCallerInputGoToCallHandlerObjectID");
        return refusedWhenShort(Refusal::CallHandler);
    }
    if (chosen("optCallerInputGoToSubscriber")) {
        // A subscriber is reached through its own call handler.
        action.conversationName =
            ringOrGreeting(options.control(QStringLiteral("chkCallerInputGoToSubscriberSkipGreeting"), element));
        const std::optional<QVariant> handler = subscribers.lookUp(
            QStringLiteral("SubscriberObjectID=") + quoteLiteral(text("txtCallerInputGoToSubscriberObjectID")),
            QStringLiteral("CallHandlerObjectID"));
        if (handler)
            action.destinationObjectID = handler->toString();
        return refusedWhenShort(Refusal::Subscriber);
    }
    action.conversationName = QStringLiteral("CHInterview");
    action.destinationObjectID = text("txtCallerInputGoToInterviewObjectID");
    action.destinationObjectIDType = DestinationType::InterviewHandler;
    return refusedWhenShort(Refusal::Interview);
}

QString refusalMessage(const StringLookup& strings, int element, int refusalString)
{
    return strings(refusalString) + keyName(element) + strings(Refusal::KeyTabTail);
}

QString firstRefusal(const OptionsSnapshot& page, const StringLookup& strings, const Recordset& subscribers)
{
    const HandlerOptions options(page);
    return firstCallerInputRefusal(
        CallerInputCount,
        [&](int element) {
            CallerAction action;
            return applies(options, element) ? route(options, strings, subscribers, QString(), element, action) : 0;
        },
        [&](int element, int refusal) { return refusalMessage(strings, element, refusal); });
}

}  // namespace OneKeyRouting

bool GetOneKeyRoutingSelections(HandlerEdit& edit, int element, CallerAction& action)
{
    const auto logFailure = [&](long number, const QString& description) {
        edit.writeLine(QStringLiteral("(error) encountered in GetOneKeyRoutingSelections procedure:") + description
                       + QStringLiteral(" number=") + QString::number(number));
        return false;
    };
    const StringLookup strings = edit.session.languages.stringLookup();
    try {
        const int refusal = OneKeyRouting::route(
            edit.options, strings, edit.session.rsSubscribers,
            edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString(), element, action);
        // Go refuses such a choice before the run; one that gets here is logged, never applied.
        if (refusal != 0)
            return logFailure(ErrorNumber::InvalidProcedureCall, OneKeyRouting::refusalMessage(strings, element, refusal));
        return true;
    } catch (const KestraneError& failure) {
        return logFailure(failure.number(), failure.description());
    } catch (const OptionsSnapshot::UnknownName& missing) {
        return logFailure(ErrorNumber::ItemNotFound, QString::fromStdString(missing.what()));
    }
}
