#pragma once
// The options page's choices made in a dialog: the caller-input destinations (Find), the
// greetings' WAV files (Browse), the notification schedules and the conversation style limits;
// and the greeting lists that show or hide the file controls or warn about alternate greetings.

class frmSelectSubscriberChanges;
struct WizardContext;

namespace SubscriberOptions {

// Connects the Find, Browse, schedule and "Limit List" buttons and the greeting lists.
void connectPickersAndGreetingFiles(frmSelectSubscriberChanges& page, WizardContext& context);

}  // namespace SubscriberOptions
