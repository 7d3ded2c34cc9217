// The steps of PopulateControls for the transfer rules, the greetings and the caller-input action
// lists. The action lists have no "<Don't Change>": the group's own option button leaves a
// destination alone, so item 0 is the action a run would otherwise take.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "search/ui/CallerInputActionGroup.h"
#include "subscribers/ui/options/GreetingPage.h"
#include "subscribers/ui/options/TransferRulePage.h"

namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

// The actions that move a caller on, without taking a message, shared by the after-greeting,
// exit destination and after-message lists: "Hang Up", "Sign In", "Loop Back To Self",
// "Greetings Administrator", then the transfers and the broadcast administrator by version.
QList<int> routingActions(const PopulateRun& populate)
{
    QList<int> actions{152, 247, 175, 149};
    if (populate.versionAtLeast(4, 0, 3, 60))
        actions += {365, 366};
    if (populate.versionAtLeast(4, 0, 4, 40))
        actions += 444;
    return actions;
}

void fillActions(PopulateRun& populate, int group, const QList<int>& actions)
{
    populate.run.fillFixedTexts(element("cmbCallerInputTakeAction", group), actions);
}

}  // namespace

void fillTransferRuleLists(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    for (int rule = 0; rule < TransferRulePage::RuleCount; ++rule) {
        run.fillTriState(element("comTransferRuleEnabled", rule));
        run.fillTriState(element("comTransferEnabled", rule));
        run.fillTriState(element("comTransferPlayPleaseWaitPrompt", rule));
        run.setShown(element("comTransferPlayPleaseWaitPrompt", rule), populate.versionAtLeast(4, 1, 0, 0));
        for (const char* list : {"comTransferAnnounce", "comTransferIntroduce", "comTransferConfirm", "comTransferAskCallersName"})
            run.fillTriState(element(list, rule));
        // "Release", "Supervised"; "Always Hold", "No Holding", "Ask Caller".
        run.fillFixedTexts(element("comTransferType", rule), {20, 217, 258});
        run.fillFixedTexts(element("comTransferBusyAction", rule), {20, 46, 192, 65});
    }
}

void gateEnhancedAlternateGreeting(PopulateRun& populate)
{
    populate.run.setShown({QStringLiteral("chkGreetingAlternateDontRingPhone"), QStringLiteral("chkGreetingAlternatePreventMessage"),
                           QStringLiteral("chkGreetingAlternatePreventSkip"),
                           QStringLiteral("chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings")},
                          populate.versionAtLeast(4, 0, 3, 60));
}

void fillGreetingLists(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    for (int greeting = 0; greeting < GreetingPage::GreetingCount; ++greeting) {
        run.fillTriState(element("comGreetingEnabled", greeting));
        run.fillTriState(element("comGreetingPlayPleaseRecord", greeting));
        run.setShown(element("comGreetingPlayPleaseRecord", greeting), populate.versionAtLeast(4, 1, 0, 0));
        run.fillTriState(element("comGreetingAllowInput", greeting));
        // "System", "Recording", "Blank".
        run.fillFixedTexts(element("comGreetingSource", greeting), {20, 453, 454, 455});
    }
}

void fillAfterGreetingAndExitActions(PopulateRun& populate)
{
    const QList<int> routing = routingActions(populate);
    for (int group = CallerInputActionGroup::FirstAfterGreeting; group < CallerInputActionGroup::ExitDestination; ++group)
        fillActions(populate, group, QList<int>{260} + routing);   // "Take Message" first
    fillActions(populate, CallerInputActionGroup::ExitDestination, routing);
}

void fillKeyActionsAndLockKeys(PopulateRun& populate)
{
    // "Ignore Key", "Skip Greeting", "Take Message", "Hang Up", "Sign In", then by version "Easy
    // Sign In" with the transfers and the broadcast administrator, "Loop Back To Self",
    // "Greetings Administrator", and last by version "Alternate Contact Number".
    QList<int> actions{158, 248, 260, 152, 247};
    if (populate.versionAtLeast(4, 0, 3, 60))
        actions += {359, 365, 366};
    if (populate.versionAtLeast(4, 0, 4, 40))
        actions += 444;
    actions += {175, 149};
    if (populate.versionAtLeast(4, 2, 0, 43))
        actions += 504;
    for (int key = 0; key < CallerInputActionGroup::KeyGroups; ++key) {
        fillActions(populate, key, actions);
        populate.run.fillTriState(element("cmbCallerInputLockKey", key));
    }
}

void fillAfterMessageActions(PopulateRun& populate)
{
    fillActions(populate, CallerInputActionGroup::AfterMessage, routingActions(populate));
}

}  // namespace SubscriberOptions
