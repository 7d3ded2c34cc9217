#pragma once
// The fourteen tabs of the subscriber options page (`tabMain` of frmSelectSubscriberChanges).
// Each tab is built by one function into its page and captioned by one function that the page's
// caption routine (frmSelectSubscriberChanges_Auto_Init) calls.
//
// build: creates every control of the tab under its name, in its container, in its laid-out
// state (English laid-out captions, hidden and read-only boxes, opening states); lists stay
// empty, PopulateControls fills them.
// caption: replaces the captions the caption routine sets with the strings of the current
// language (the captions PopulateControls sets are left to it).
#include "core/StringLookup.h"

class QWidget;

namespace SubscriberOptions {

enum Tab {
    ProfileTab,
    AccountTab,
    PasswordsTab,
    ConversationTab,
    TransferTab,
    GreetingsTab,
    CallerInputTab,
    MessagesTab,
    NotificationTab,
    ExtensionTab,
    AltExtensionsTab,
    ExitDestinationTab,
    DeliveryLocationTab,
    FeaturesTab,
    TabCount
};

struct TabBuilder {
    void (*build)(QWidget* page);
    void (*caption)(QWidget* page, const StringLookup& text);
};

extern const TabBuilder profileTab;
extern const TabBuilder accountTab;
extern const TabBuilder passwordsTab;
extern const TabBuilder conversationTab;
extern const TabBuilder transferTab;
extern const TabBuilder greetingsTab;
extern const TabBuilder callerInputTab;
extern const TabBuilder messagesTab;
extern const TabBuilder notificationTab;
extern const TabBuilder extensionTab;
extern const TabBuilder altExtensionsTab;
extern const TabBuilder exitDestinationTab;
extern const TabBuilder deliveryLocationTab;
extern const TabBuilder featuresTab;

}  // namespace SubscriberOptions
