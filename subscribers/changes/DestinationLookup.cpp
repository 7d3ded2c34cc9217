#include "subscribers/changes/DestinationLookup.h"

#include "core/DestinationLookup.h"
#include "core/Errors.h"
#include "core/RunLog.h"
#include "core/Session.h"

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

// This page's own entries of the take-action lists, around the entries both pages share.
constexpr TakeActionEntry kSignInAndSelf[] = {
    {359, CallerActionCode::GoTo, "BhConvEasySignIn"},
    {175, CallerActionCode::GoTo, "PHGreeting", TakeActionEntry::Self},
};
constexpr TakeActionEntry kNumberToDial[] = {
    {504, CallerActionCode::GoTo, "TransferAltContactNumber", TakeActionEntry::NumberToDial},
};
constexpr std::span<const TakeActionEntry> kTakeActionParts[] = {kLeadingTakeActions, kSignInAndSelf,
                                                                 kTrailingTakeActions, kNumberToDial};
// Only the keys offer the number-to-dial entry, and only they have a number box.
constexpr TakeActionList kTakeActionList{kTakeActionParts, "txtSubscriberCallerInputNumbertoDial",
                                         CallerInputSlot::KeyCount};

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
    return callerInputApplies(options, slot);
}

int resolveCallerAction(const SubscriberOptions& options, const StringLookup& strings, const Recordset& subscribers,
                        const QString& selfHandlerObjectID, int slot, CallerAction& action)
{
    return lookUpDestination(options, strings, subscribers, kTakeActionList, selfHandlerObjectID, slot, action);
}

QString invalidCallerInputMessage(const StringLookup& strings, int slot, int refusalString)
{
    return callerInputRefusalMessage(strings, refusalString, keyLabel(slot));
}

QString firstInvalidCallerInput(const SubscriberOptions& options, const StringLookup& strings, const Recordset& subscribers)
{
    return firstDestinationRefusal(options, strings, subscribers, kTakeActionList, CallerInputSlot::Count,
                                   [&](int slot, int refusal) { return invalidCallerInputMessage(strings, slot, refusal); });
}

bool GetDestinationInfo(SubscriberEdit& edit, const QString& selfHandlerObjectID, int slot, CallerAction& action)
{
    const StringLookup strings = edit.session.languages.stringLookup();
    return lookUpInRun(
        [&] { return resolveCallerAction(edit.options, strings, edit.subscriber(), selfHandlerObjectID, slot, action); },
        [&](int refusal) { return invalidCallerInputMessage(strings, slot, refusal); },
        [&](long number, const QString& description) {
            edit.writeLine(formatProcedureError(number, description, QStringLiteral("GetDestinationInfo"),
                                                QStringLiteral("Form"), QStringLiteral("frmMakeSubscriberChanges")));
        });
}
