#pragma once
// The entry checks of the subscriber options page: each row of the entry rules
// (subscribers/EntryRules.h) wired to its boxes through the form kit's EntryChecks.
class QWidget;
struct WizardContext;

namespace SubscriberOptions {

// Gives each checked box its maximum length and its check; the wizard buttons and the two Test
// buttons first run the leave check of the box that holds the focus.
void installEntryChecks(QWidget* page, WizardContext& context);

}  // namespace SubscriberOptions
