#pragma once
// What the administrator does on the call handler options page besides choosing options: the
// Find buttons, the greetings' Browse buttons and source lists, the Clear boxes of the caller-input
// digits, the checks of typed entries when the focus leaves them, and the checks of Next.
#include <QString>

class Languages;
class QWidget;
class frmSelectCallHandlerChanges;
struct WizardContext;

namespace HandlerOptions {

// Connects the page's Find and Browse buttons, greeting source lists and Clear boxes, and its
// entry checks (the wizard buttons first run the leave check of the box that holds the focus).
void connectHandlerOptionsInput(frmSelectCallHandlerChanges& page, WizardContext& context);

// The message of the first choice that Next refuses; empty when the page may be left.
QString firstEntryFault(const QWidget& page, const Languages& languages);

}  // namespace HandlerOptions
