// Tab 0 of the options page, Profile: enrollment, directory listing, warnings, display name,
// switch, schedule, languages and time zone.
#include "subscribers/ui/options/OptionRows.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QComboBox>
#include <QLabel>

namespace SubscriberOptions {
namespace {

const CaptionRow profileCaptions[] = {
    {"lblSubscriberProfile", 0, 243}, {"lblSubscriberProfile", 1, 171}, {"lblSubscriberProfile", 2, 357},
    {"lblSubscriberProfile", 3, 358}, {"lblSubscriberProfile", 13, 551}, {"lblSubscriberProfile", 4, 369},
    {"lblSubscriberProfile", 5, 95},  {"lblSubscriberProfile", 6, 94},   {"lblSubscriberProfile", 7, 91},
    {"lblSubscriberProfile", 8, 90},  {"lblSubscriberProfile", 9, 96},
};

// The rows after the enrollment row, top to bottom.
const LabelledList profileRows[] = {
    {"lblSubscriberProfile", 1, "comProfileDirList"},
    {"lblSubscriberProfile", 2, "comProfileShowInAddressBook"},
    {"lblSubscriberProfile", 3, "comProfileWarnForAlternateGreeting"},
    {"lblSubscriberProfile", 13, "comProfileWarnFollowMeRuleActive"},
    {"lblSubscriberProfile", 4, "comProfileForceDisplayName"},
    {"lblSubscriberProfile", 5, "cmbSubscriberProfileSwitchAssignment"},
    {"lblSubscriberProfile", 6, "cmbSubscriberProfileSchedule"},
    {"lblSubscriberProfile", 7, "cmbSubscriberProfileDefaultLanguage"},
    {"lblSubscriberProfile", 8, "cmbSubscriberProfileOutsideCallerLanguage"},
    {"lblSubscriberProfile", 9, "cmbSubscriberProfileTimeZoneDisplayNames"},
};

void buildProfile(QWidget* page)
{
    OptionRows rows(page);
    // The time-zone identifiers, kept in step with the display names of the last row.
    rows.row({label("lblSubscriberProfile", 0), list("comProfileSubscriberEnrollment"),
              laidOutHidden(list("cmbSubscribersProfileTimeZoneIDs"))});
    rows.lists(profileRows).end();
    applyCaptions(page, profileCaptions, resources::englishString);
}

void captionProfile(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, profileCaptions, text);
}

}  // namespace

const TabBuilder profileTab{buildProfile, captionProfile};

}  // namespace SubscriberOptions
