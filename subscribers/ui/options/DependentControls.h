#pragma once
// The options page's governing controls and what each governs: check boxes that empty, lock or
// open value boxes and groups, the notification triggers of each device, the key actions that
// call for a number to dial, and the broadcast permissions of the Features tab. The rules change
// only enabled and visible states, texts and list positions; the engine reads the results.
class QWidget;
struct WizardContext;

namespace SubscriberOptions {

// Connects every governing control of the built options page to its rule. What a fill changes
// silently is followed up by the populate step `keepDependentControls` (PopulateSteps.h).
void connectDependentControls(QWidget* page, WizardContext& context);

}  // namespace SubscriberOptions
