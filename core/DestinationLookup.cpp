#include "core/DestinationLookup.h"

#include "core/Criterion.h"
#include "core/EngineOptions.h"
#include "core/Errors.h"
#include "core/Recordset.h"

bool callerInputApplies(const EngineOptions& options, int element)
{
    return !options.control(QStringLiteral("optCallerInputDontChange"), element).selected;
}

int lookUpDestination(const EngineOptions& options, const StringLookup& strings, const Recordset& subscribers,
                      const TakeActionList& takeActions, const QString& selfHandlerObjectID, int element,
                      CallerAction& action)
{
    action.actionCode = CallerActionCode::Ignore;
    action.conversationName.clear();
    action.destinationObjectID.clear();
    action.altContactNumber.clear();
    const auto chosen = [&](const char* option) { return options.control(option, element).selected; };
    const auto text = [&](const char* box) { return options.control(box, element).text; };
    const auto refusedWhenShort = [&](int refusal) {
        return action.destinationObjectID.size() < CallerActionRefusal::ShortestObjectID ? refusal : 0;
    };

    if (chosen("optCallerInputTakeAction")) {
        const QString entry = text("cmbCallerInputTakeAction");
        for (const std::span<const TakeActionEntry> part : takeActions.parts)
            for (const TakeActionEntry& take : part) {
                if (entry.compare(strings(take.string), Qt::CaseInsensitive) != 0)
                    continue;
                action.actionCode = take.code;
                action.conversationName = QLatin1String(take.conversation);
                if (take.extra == TakeActionEntry::Self) {
                    action.destinationObjectID = selfHandlerObjectID;
                    action.destinationObjectIDType = DestinationType::CallHandler;
                } else if (take.extra == TakeActionEntry::NumberToDial && element < takeActions.elementsWithNumberBox) {
                    action.altContactNumber = text(takeActions.numberToDialBox);
                }
                return 0;
            }
        return CallerActionRefusal::TakeAction;
    }

    action.actionCode = CallerActionCode::GoTo;
    if (chosen("optCallerInputGoToDirectoryHandler")) {
        action.conversationName = QStringLiteral("AD");
        action.destinationObjectID = text("txtCallerInputGoToDirectoryHandlerObjectID");
        action.destinationObjectIDType = DestinationType::DirectoryHandler;
        return 0;
    }
    if (chosen("optCallerInputGoToCallHandler")) {
        action.conversationName = ringOrGreeting(options.control(QStringLiteral("chkCallerInputGoToCallHandlerSkipGreeting"), element));
        action.destinationObjectID = text("txtCallerInputGoToCallHandlerObjectID");
        action.destinationObjectIDType = DestinationType::CallHandler;
        return refusedWhenShort(CallerActionRefusal::CallHandler);
    }
    if (!chosen("optCallerInputGoToSubscriber")) {
        action.conversationName = QStringLiteral("CHInterview");
        action.destinationObjectID = text("txtCallerInputGoToInterviewObjectID");
        action.destinationObjectIDType = DestinationType::InterviewHandler;
        return refusedWhenShort(CallerActionRefusal::Interview);
    }

    // A subscriber is reached through its own call handler.
    action.conversationName = ringOrGreeting(options.control(QStringLiteral("chkCallerInputGoToSubscriberSkipGreeting"), element));
    const std::optional<QVariant> handler =
        subscribers.lookUp(QStringLiteral("SubscriberObjectID=") + quoteLiteral(text("txtCallerInputGoToSubscriberObjectID")),
                           QStringLiteral("CallHandlerObjectID"));
    if (handler)
        action.destinationObjectID = handler->toString();
    action.destinationObjectIDType = DestinationType::CallHandler;
    return refusedWhenShort(CallerActionRefusal::Subscriber);
}

QString firstDestinationRefusal(const EngineOptions& options, const StringLookup& strings, const Recordset& subscribers,
                                const TakeActionList& takeActions, int count,
                                const std::function<QString(int element, int refusal)>& message)
{
    return firstCallerInputRefusal(
        count,
        [&](int element) {
            CallerAction action;
            return callerInputApplies(options, element)
                       ? lookUpDestination(options, strings, subscribers, takeActions, QString(), element, action)
                       : 0;
        },
        message);
}

QString callerInputRefusalMessage(const StringLookup& strings, int refusalString, const QString& keyName)
{
    return strings(refusalString) + keyName + strings(CallerActionRefusal::KeyTabTail);
}

bool lookUpInRun(const std::function<int()>& lookUp, const std::function<QString(int refusal)>& refusalMessage,
                 const std::function<void(long number, const QString& description)>& logFailure)
{
    try {
        const int refusal = lookUp();
        // Go refuses such a choice before the run; one that gets here is logged, never applied.
        if (refusal != 0) {
            logFailure(ErrorNumber::InvalidProcedureCall, refusalMessage(refusal));
            return false;
        }
        return true;
    } catch (const KestraneError& failure) {
        logFailure(failure.number(), failure.description());
    } catch (const OptionsSnapshot::UnknownName& missing) {
        logFailure(ErrorNumber::ItemNotFound, QString::fromStdString(missing.what()));
    }
    return false;
}
