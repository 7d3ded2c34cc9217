#pragma once
// The change categories of the subscriber engine, each in a file of its own in this folder;
// subscriberChangeCategories() (SubscriberEngine.cpp) runs them in their order.
#include "core/DisabledDate.h"
#include "subscribers/SubscriberEngine.h"

namespace SubscriberChanges {

extern const SubscriberChangeCategory primaryExtension;             // PrimaryExtension.cpp
extern const SubscriberChangeCategory profileSettings;              // ProfileSettings.cpp
extern const SubscriberChangeCategory conversationStyleAndTiming;   // ConversationStyleAndTiming.cpp
extern const SubscriberChangeCategory languageSwitchTimeZoneAndSchedule;   // LanguageSwitchTimeZoneAndSchedule.cpp
extern const SubscriberChangeCategory accountAndPassword;           // AccountAndPassword.cpp
extern const SubscriberChangeCategory conversationAndPlaybackFlags; // ConversationAndPlaybackFlags.cpp
extern const SubscriberChangeCategory transferRules;                // TransferRules.cpp
extern const SubscriberChangeCategory enhancedAlternateGreeting;    // EnhancedAlternateGreeting.cpp
extern const SubscriberChangeCategory greetings;                    // Greetings.cpp
extern const SubscriberChangeCategory callerInputDigits;            // CallerInputDigits.cpp
extern const SubscriberChangeCategory messageWaitingIndicators;     // MessageWaitingIndicators.cpp
extern const SubscriberChangeCategory messageOptions;               // MessageOptions.cpp
extern const SubscriberChangeCategory oneKeyMenu;                   // OneKeyMenu.cpp
extern const SubscriberChangeCategory afterMessageAction;           // AfterMessageAction.cpp
extern const SubscriberChangeCategory afterGreetingActions;         // AfterGreetingActions.cpp
extern const SubscriberChangeCategory notificationDevices;          // NotificationDevices.cpp
extern const SubscriberChangeCategory alternateExtensions;          // AlternateExtensions.cpp
extern const SubscriberChangeCategory messageStackOrder;            // MessageStackOrder.cpp
extern const SubscriberChangeCategory locationMove;                 // LocationMove.cpp
extern const SubscriberChangeCategory features;                     // Features.cpp
extern const SubscriberChangeCategory phoneApplications;            // PhoneApplications.cpp

using ::disabledDate;   // core/DisabledDate.h

// A whole number typed into the page's box `box` goes into `column` of the handler row when it
// is `minimum` or more, and `line` + the number in padded form is logged. CallerInputDigits.cpp
void applyWholeNumber(SubscriberEdit& edit, const char* box, const char* column, const char* line, qint32 minimum);
// The text with its blanks (spaces) removed at both ends; other white space is kept.
QString withoutOuterBlanks(const QString& text);   // ProfileSettings.cpp

}  // namespace SubscriberChanges
