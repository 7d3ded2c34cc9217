#pragma once
// The Test buttons of the Extension and Alt. Extensions tabs: the tab's extension rules tried on
// a sample number, exactly as a run would apply them.
class QWidget;
struct WizardContext;

namespace SubscriberOptions {

void connectExtensionTests(QWidget& page, WizardContext& context);

}  // namespace SubscriberOptions
