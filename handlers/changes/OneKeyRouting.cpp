#include "handlers/changes/OneKeyRouting.h"

#include "core/DestinationLookup.h"
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

// This page's own entry of the take-action lists, between the entries both pages share. The
// lists offer 175 "Loop Back To Self", the server's routine knew it as 176: a language may spell
// the two apart by more than letter case.
constexpr TakeActionEntry kLoopBackToSelf[] = {
    {176, CallerActionCode::GoTo, "PHGreeting", TakeActionEntry::Self},
    {175, CallerActionCode::GoTo, "PHGreeting", TakeActionEntry::Self},
};
constexpr std::span<const TakeActionEntry> kTakeActionParts[] = {kLeadingTakeActions, kLoopBackToSelf,
                                                                 kTrailingTakeActions};
constexpr TakeActionList kTakeActionList{kTakeActionParts};

// The refusal of element `element`'s choice, as Go shows it: the key's name ("4", "*", or
// "<unknown>" past the keys).
QString refusalMessage(const StringLookup& strings, int element, int refusalString)
{
    const QString keyName =
        element >= 0 && element < KeyCount ? QLatin1String(kKeyCaptions[element]) : QStringLiteral("<unknown>");
    return callerInputRefusalMessage(strings, refusalString, keyName);
}

}  // namespace

std::span<const EngineControl> OneKeyRouting::controls()
{
    return kControls;
}

QString OneKeyRouting::firstRefusal(const OptionsSnapshot& page, const StringLookup& strings, const Recordset& subscribers)
{
    return firstDestinationRefusal(HandlerOptions(page), strings, subscribers, kTakeActionList, CallerInputCount,
                                   [&](int element, int refusal) { return refusalMessage(strings, element, refusal); });
}

bool GetOneKeyRoutingSelections(HandlerEdit& edit, int element, CallerAction& action)
{
    const StringLookup strings = edit.session.languages.stringLookup();
    return lookUpInRun(
        [&] {
            const QString self = edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString();
            // The handler's routing starts from a blank action: the destination type too is cleared.
            action = CallerAction{};
            return lookUpDestination(edit.options, strings, edit.session.rsSubscribers, kTakeActionList, self, element,
                                     action);
        },
        [&](int refusal) { return refusalMessage(strings, element, refusal); },
        [&](long number, const QString& description) {
            edit.writeLine(QStringLiteral("(error) encountered in GetOneKeyRoutingSelections procedure:") + description
                           + QStringLiteral(" number=") + QString::number(number));
        });
}
