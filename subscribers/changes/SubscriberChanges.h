#pragma once
// The change categories of the subscriber engine, each in a file of its own in this folder;
// subscriberChangeCategories() (SubscriberEngine.cpp) runs them in their order.
#include "subscribers/SubscriberEngine.h"

#include <QDateTime>

namespace SubscriberChanges {

extern const SubscriberChangeCategory primaryExtension;             // PrimaryExtension.cpp
extern const SubscriberChangeCategory profileSettings;              // ProfileSettings.cpp
extern const SubscriberChangeCategory conversationStyleAndTiming;   // ConversationStyleAndTiming.cpp
extern const SubscriberChangeCategory languageSwitchTimeZoneAndSchedule;   // LanguageSwitchTimeZoneAndSchedule.cpp
extern const SubscriberChangeCategory accountAndPassword;           // AccountAndPassword.cpp
extern const SubscriberChangeCategory conversationAndPlaybackFlags; // ConversationAndPlaybackFlags.cpp
extern const SubscriberChangeCategory transferRules;                // TransferRules.cpp
extern const SubscriberChangeCategory enhancedAlternateGreeting;    // EnhancedAlternateGreeting.cpp
extern const SubscriberChangeCategory notificationDevices;          // NotificationDevices.cpp

// The expiry that marks a transfer rule or a greeting disabled: 25 December 1990, 08:00:00
// ("12/25/1990 8:00:00 AM"); null enables it.
QDateTime disabledDate();   // TransferRules.cpp

}  // namespace SubscriberChanges
