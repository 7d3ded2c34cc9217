#pragma once
// The options page's choices made in a dialog: the caller-input destinations (Find), the
// greetings' WAV files (Browse), the notification schedules and the conversation style limits;
// and the greeting lists that show or hide the file controls or warn about alternate greetings.
#include <QtGlobal>

class QWidget;
class frmSelectSubscriberChanges;
struct WizardContext;

namespace SubscriberOptions {

// Connects the Find, Browse, schedule and "Limit List" buttons and the greeting lists.
void connectPickersAndGreetingFiles(frmSelectSubscriberChanges& page, WizardContext& context);

// Greeting `greeting`'s Browse button and path box as its source list now stands: enabled and
// shown for "Recording" only, the path emptied either way.
void UpdateGreetingSourceControls(QWidget& page, qint16 greeting);

}  // namespace SubscriberOptions
