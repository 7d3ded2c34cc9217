#pragma once
// The steps of the options page's PopulateControls. The page runs them in the order of its step
// table; each step issues its statements through `run`, so a failing statement costs one message
// and the step goes on with its next statement. A loop runs as one statement: when its own test
// fails the loop is left rather than retried.
//
// Conventions of every list: emptied before it is filled; "<Don't Change>" first and selected
// (the speed lists excepted); fixed texts carry their string number and no item data; lists
// from the registry or the database carry their codes as item data. Lists are filled with
// their signals blocked, and a step that fills a list calls the rules that depend on it itself.
#include "core/OptionsSnapshot.h"
#include "core/ui/FormStatements.h"
#include "core/ui/InstallationLists.h"

class QTabWidget;
class Session;
struct WizardState;

namespace SubscriberOptions {

struct PopulateRun {
    FormStatements& run;
    Session& session;
    const WizardState& state;

    bool versionAtLeast(qint16 major, qint16 minor, qint16 release, qint16 build) const;
};

using PopulateStep = void (*)(PopulateRun& populate);

// The frame and profile lists, in their order.
void enableLanguageLists(PopulateRun& populate);
void gateSwitchAssignment(PopulateRun& populate);
void enableNotificationSwitchLists(PopulateRun& populate);
void fillDefaultLanguageStart(PopulateRun& populate);
void gateConversationStyleRow(PopulateRun& populate);
void gatePromptSpeeds(PopulateRun& populate);
void gateMessageSpeedRow(PopulateRun& populate);
void gateLoginShortcuts(PopulateRun& populate);
void fillDisplayNames(PopulateRun& populate);
void applyRestrictedRights(PopulateRun& populate);
void fillTimeFormats(PopulateRun& populate);
void fillConversationStyles(PopulateRun& populate);

// The lists from the registry and the database: languages, schedules, switches, time zones.
void fillOutsideCallerLanguageStart(PopulateRun& populate);
void fillInstalledLanguages(PopulateRun& populate);
void fillSchedules(PopulateRun& populate);
void fillSwitchAssignment(PopulateRun& populate);
void fillNotificationSwitchLists(PopulateRun& populate);
void fillTimeZones(PopulateRun& populate);

// The yes/no lists of the profile and passwords tabs and the lists of the conversation tab.
void fillProfileYesNoLists(PopulateRun& populate);
void fillPasswordLists(PopulateRun& populate);
void gateAnnouncementRows(PopulateRun& populate);
void fillConversationYesNoLists(PopulateRun& populate);
void fillPromptAndAddressModes(PopulateRun& populate);
void gateSendModeRow(PopulateRun& populate);
void fillConversationOptions(PopulateRun& populate);
void fillSendTimestampAndVolumeLists(PopulateRun& populate);

// The transfer, greeting and caller-input action lists, then the Messages and notification
// lists, in their order.
void fillTransferRuleLists(PopulateRun& populate);
void gateEnhancedAlternateGreeting(PopulateRun& populate);
void fillGreetingLists(PopulateRun& populate);
void fillAfterGreetingAndExitActions(PopulateRun& populate);
void fillKeyActionsAndLockKeys(PopulateRun& populate);
void fillAfterMessageActions(PopulateRun& populate);
void fillMessageLists(PopulateRun& populate);
void fillDisableDeviceLists(PopulateRun& populate);
void gateSmsDevice(PopulateRun& populate);
void fillTextNotificationLists(PopulateRun& populate);

// The alternate extension slots, the play orders and the tabs the kind being edited can open.
void gateAlternateExtensionRemoval(PopulateRun& populate);
void captionAlternateExtensionTab(PopulateRun& populate);
void fillAlternateExtensionSlots(PopulateRun& populate);
void captionAlternateExtensionActions(PopulateRun& populate);
void fillMessagePlayOrders(PopulateRun& populate);
void captionDeliveryLocationTab(PopulateRun& populate);
void gateDeletedItemsPlayOrder(PopulateRun& populate);
void captionConversationTabs(PopulateRun& populate);
void applySubscriberKindToTabs(PopulateRun& populate);
void gateDeliveryLocationTab(PopulateRun& populate);
// The delivery locations of the kind; other kinds' lists are left empty.
void fillDeliveryLocations(PopulateRun& populate);
// The name lookup handlers that can limit message addressing; the last step of all.
void fillSendScopes(PopulateRun& populate);

// True for the kinds that have delivery locations (neither subscribers nor Internet subscribers).
bool hasDeliveryLocations(qint16 kind);
// Values typed or ticked survive PopulateControls. The snapshot hands over the controls of the
// tabs the kind cannot open (type flag False), and for kinds other than subscribers the
// controls that only subscribers can change, with the values of `freshlyFilled` (the page as
// its first fill left it), so that nothing set for one kind reaches another kind unseen.
void handOverUnreachableControls(const QTabWidget& tabMain, qint16 kind, const OptionsSnapshot& freshlyFilled,
                                 OptionsSnapshot& snapshot);

// The Features tab, in its order: the tab gate with its captions, lists and hidden options, the
// encryption choices and the phone view option (these two whatever the tab gate decided).
void prepareFeaturesTab(PopulateRun& populate);
void fillFeaturesEncryptionList(PopulateRun& populate);
void gateFeaturesPhoneView(PopulateRun& populate);

// The options of later servers, in their order.
void gateMenuTiming(PopulateRun& populate);
void gateMenuCommandTiming(PopulateRun& populate);
void gateVoiceNavigationAndTransferRules(PopulateRun& populate);
void gateFollowMeRules(PopulateRun& populate);
void gateMessageReviewSkipTimes(PopulateRun& populate);
void gateDroppedCallRecovery(PopulateRun& populate);
void gateCallerInputDigitsAndSplitRecovery(PopulateRun& populate);

// The dependent controls follow what the fill changed silently: each key's number to dial its
// refilled action list, and the boxes a ticked governing box locks stay locked where a gate or
// the kind enabled them (subscribers/ui/options/DependentControls.cpp).
void keepDependentControls(PopulateRun& populate);

}  // namespace SubscriberOptions
