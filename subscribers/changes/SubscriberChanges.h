#pragma once
// The change categories of the subscriber engine, each in a file of its own in this folder;
// subscriberChangeCategories() (SubscriberEngine.cpp) runs them in their order.
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

}  // namespace SubscriberChanges
