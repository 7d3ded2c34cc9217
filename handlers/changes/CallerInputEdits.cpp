#include "handlers/changes/CallerInputEdits.h"

#include "core/Criterion.h"
#include "core/DialedDigits.h"
#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "core/StoredCallerAction.h"
#include "handlers/HandlerOptionNames.h"
#include "handlers/changes/OneKeyRouting.h"

#include <iterator>
#include <vector>

namespace {

using namespace HandlerOptionNames;

constexpr const char* kPage = "frmSelectCallHandlerChanges";
constexpr EngineControl kOwnControls[] = {
    {kPage, "txtCallerInputMilisecondsToWait"},
    {kPage, "txtCallerInputPrependDigits"},
    {kPage, "txtCallerInputPostPendDigits"},
    {kPage, "chkCallerInputPrependDigitsClear"},
    {kPage, "chkCallerInputPostPendDigitsClear"},
    {kPage, "cmbCallerInputLockKey", KeyCount},
    {kPage, "chkCallerInputChangeOnlyIfSetToIgnore", KeyCount},
};

constexpr CallerActionColumns kMenuEntryColumns{
    "Action", "   Key set to action: ", "ConversationName", "   Key set to go to conversation: ",
    "DestinationObjectID", "DestinationObjectIDType", "    Key destination object id=",
    "    Key destination object id cleared",
};
constexpr CallerActionColumns kHandlerColumns{
    "AfterMessageAction", "   After message action value set to: ",
    "AfterMessageConversation", "   After message action conversation name set to: ",
    "AfterMessageObjectID", "AfterMessageObjectIDType", "    After message destination object id=",
    "    After message destination object id cleared",
};
constexpr CallerActionColumns kMessagingRuleColumns{
    "Action", "   Action value set to:", "ConversationName", "   Conversation name set to ",
    "DestinationObjectID", "DestinationObjectIDType", "    Destination object id=",
    "    Destination object id cleared",
};

QString handlerObjectID(HandlerEdit& edit)
{
    return edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString();
}

void applyHandlerFields(HandlerEdit& edit)
{
    Recordset& handler = edit.handler();
    edit.step([&] {
        const QString text = edit.options.control(QStringLiteral("txtCallerInputMilisecondsToWait")).text;
        if (text.isEmpty())
            return;
        const qint32 delay = leadingWholeNumber<qint32>(text);
        if (delay < 0)
            return;
        handler.setValue(QStringLiteral("OnekeyDelay"), delay);
        edit.writeLine(QStringLiteral("   One key delay value set to: ") + QString::number(delay));
    });
    applyDialedDigits(edit);
}

// Key `key` of the menu entries in `entries`: its lock, then its action, saved in one write.
void applyMenuEntry(HandlerEdit& edit, Recordset& entries, int key)
{
    entries.moveFirst();
    const bool found = entries.find(QStringLiteral("Alias=") + quoteLiteral(QLatin1String(kKeyCaptions[key])));
    edit.writeLine(QStringLiteral("    Menu entry: ") + QLatin1String(kKeyCaptions[key]));
    if (!found) {
        edit.writeLine(QStringLiteral(
            "(error) could not find menu entry for call handler.  This is a serous error, you should contact Norwick."));
        return;
    }
    edit.step([&] {
        const qint16 lock = edit.triState(edit.options.control(QStringLiteral("cmbCallerInputLockKey"), key));
        if (lock != 0 && lock != 1)
            return;
        entries.setValue(QStringLiteral("Locked"), QVariant::fromValue(lock));
        edit.writeLine(QStringLiteral("   Setting Lock Key value to: ") + QString::number(lock));
    });
    edit.step([&] {
        if (!callerInputApplies(edit.options, key))
            return;
        // An entry without an action (null) counts as set to ignore.
        const bool onlyIfIgnored =
            edit.options.control(QStringLiteral("chkCallerInputChangeOnlyIfSetToIgnore"), key).checkState != CheckValue::Clear;
        if (onlyIfIgnored && entries.value(QStringLiteral("Action")).toInt() != CallerActionCode::Ignore)
            return;
        CallerAction action;
        if (!GetOneKeyRoutingSelections(edit, key, action))
            return;
        storeCallerAction(edit.log, entries, action, kMenuEntryColumns, ActionCodeForm::Plain);
    });
    edit.step([&] { entries.update(); });
}

void applyMenuEntries(HandlerEdit& edit)
{
    Recordset* entries = nullptr;
    edit.step([&] {
        entries = &edit.reopen(edit.session.rsMenuEntries, QStringLiteral("SELECT * FROM vw_MenuEntry WHERE ParentObjectID=?"),
                               {handlerObjectID(edit)});
        entries->setOptimize(QStringLiteral("Alias"));   // each key's entry by an index, not a scan
    });
    if (!entries)
        return;
    for (int key = 0; key < KeyCount; ++key)
        edit.step([&] { applyMenuEntry(edit, *entries, key); });
    entries->close();
}

// Stored on the handler row, which the per-handler edit saves at its end.
void applyAfterMessageAction(HandlerEdit& edit)
{
    edit.step([&] {
        if (!callerInputApplies(edit.options, AfterMessageInput))
            return;
        CallerAction action;
        if (GetOneKeyRoutingSelections(edit, AfterMessageInput, action))
            storeCallerAction(edit.log, edit.handler(), action, kHandlerColumns, ActionCodeForm::Plain);
    });
}

void applyAfterGreetingAction(HandlerEdit& edit, Recordset& rules, int greeting)
{
    const int element = FirstAfterGreetingInput + greeting;
    if (!callerInputApplies(edit.options, element))
        return;
    const QLatin1String alias(kGreetings[greeting].alias);
    rules.moveFirst();
    const bool found = rules.find(QStringLiteral("Alias=") + quoteLiteral(alias));
    edit.writeLine(QStringLiteral("    ") + alias + QStringLiteral(" messaging rule"));
    if (!found) {
        edit.writeLine(QStringLiteral(
            "(error) could not find messaging rule for this handler.  This is a serious error, you should contact Norwick."));
        return;
    }
    CallerAction action;
    if (!GetOneKeyRoutingSelections(edit, element, action))
        return;
    storeCallerAction(edit.log, rules, action, kMessagingRuleColumns, ActionCodeForm::Plain);
    rules.update();
}

void applyAfterGreetingActions(HandlerEdit& edit)
{
    // The rules are not read when no greeting's action changes.
    bool anyApplies = false;
    for (int greeting = 0; greeting < GreetingCount; ++greeting)
        anyApplies = anyApplies || callerInputApplies(edit.options, FirstAfterGreetingInput + greeting);
    if (!anyApplies)
        return;
    Recordset* rules = nullptr;
    edit.step([&] {
        rules = &edit.reopen(edit.session.rsMessagingRules,
                             QStringLiteral("SELECT * FROM vw_MessagingRule WHERE ParentObjectID=?"), {handlerObjectID(edit)});
    });
    if (!rules)
        return;
    for (int greeting = 0; greeting < GreetingCount; ++greeting)
        edit.step([&] { applyAfterGreetingAction(edit, *rules, greeting); });
    rules->close();
}

}  // namespace

void HandlerChanges::applyCallerInputEdits(HandlerEdit& edit)
{
    applyHandlerFields(edit);
    applyMenuEntries(edit);
    applyAfterMessageAction(edit);
    applyAfterGreetingActions(edit);
}

std::span<const EngineControl> HandlerChanges::callerInputEditControls()
{
    static const std::vector<EngineControl> controls = [] {
        std::vector<EngineControl> all(std::begin(kOwnControls), std::end(kOwnControls));
        const std::span<const EngineControl> routing = OneKeyRouting::controls();
        all.insert(all.end(), routing.begin(), routing.end());
        return all;
    }();
    return controls;
}
