// Tabs of the options page whose builders are not in this branch yet: empty pages until they land.
#include "subscribers/ui/options/OptionsTabs.h"

namespace SubscriberOptions {

namespace {
void buildNothing(QWidget*) {}
void captionNothing(QWidget*, const StringLookup&) {}
}  // namespace

const TabBuilder profileTab{buildNothing, captionNothing};
const TabBuilder accountTab{buildNothing, captionNothing};
const TabBuilder passwordsTab{buildNothing, captionNothing};
const TabBuilder conversationTab{buildNothing, captionNothing};
const TabBuilder transferTab{buildNothing, captionNothing};
const TabBuilder greetingsTab{buildNothing, captionNothing};
const TabBuilder callerInputTab{buildNothing, captionNothing};
const TabBuilder messagesTab{buildNothing, captionNothing};
const TabBuilder notificationTab{buildNothing, captionNothing};
const TabBuilder extensionTab{buildNothing, captionNothing};
const TabBuilder altExtensionsTab{buildNothing, captionNothing};
const TabBuilder exitDestinationTab{buildNothing, captionNothing};
const TabBuilder deliveryLocationTab{buildNothing, captionNothing};
const TabBuilder featuresTab{buildNothing, captionNothing};

}  // namespace SubscriberOptions
