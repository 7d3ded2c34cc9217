// The yes/no lists of the Profile and Passwords tabs, the lists of the Conversation tab and the
// rows of those tabs that only some server versions know.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"

namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

void fillTriStates(FormStatements& run, std::initializer_list<const char*> lists)
{
    for (const char* list : lists)
        run.fillTriState(QLatin1String(list));
}

}  // namespace

void fillProfileYesNoLists(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    fillTriStates(run, {"comProfileSubscriberEnrollment", "comProfileDirList"});

    // On older servers the rows are hidden and their lists left as they are: an empty list
    // reads as no change.
    if (populate.versionAtLeast(4, 0, 2, 91)) {
        run.setShown({QStringLiteral("comProfileShowInAddressBook"), element("lblSubscriberProfile", 2)}, true);
        run.fillTriState(QStringLiteral("comProfileShowInAddressBook"));
        run.setShown({QStringLiteral("comProfileWarnForAlternateGreeting"), element("lblSubscriberProfile", 3)}, true);
        run.fillTriState(QStringLiteral("comProfileWarnForAlternateGreeting"));
    } else {
        run.setShown({QStringLiteral("comProfileShowInAddressBook"), element("lblSubscriberProfile", 2),
                      QStringLiteral("comProfileWarnForAlternateGreeting"), element("lblSubscriberProfile", 3)},
                     false);
    }

    const bool followMe = populate.versionAtLeast(7, 0, 0, 1);
    run.setShown({QStringLiteral("comProfileWarnFollowMeRuleActive"), element("lblSubscriberProfile", 13)}, followMe);
    if (followMe)
        run.fillTriState(QStringLiteral("comProfileWarnFollowMeRuleActive"));
}

void fillPasswordLists(PopulateRun& populate)
{
    fillTriStates(populate.run, {"comPasswordsCannotChange", "comPasswordsMustChange", "comPasswordsNeverExpires"});
}

void gateAnnouncementRows(PopulateRun& populate)
{
    // The labels of the ANI and sender-extension rows keep their visibility on both branches.
    populate.run.setShown({QStringLiteral("comConversationSayANI"), QStringLiteral("comConversationSaySenderExt")},
                          populate.versionAtLeast(4, 0, 2, 66));
    populate.run.setShown({element("Label9", 54), QStringLiteral("comConversationAnnounceDuration")},
                          populate.versionAtLeast(7, 0, 0, 1));
}

void fillConversationYesNoLists(PopulateRun& populate)
{
    // Filled whether their rows are shown or not.
    fillTriStates(populate.run,
                  {"comConversationGreetByName", "comConversationSayTotalNew", "comConversationSayTotalSaved",
                   "comConversationSayTotalNewVoice", "comConversationSayTotalNewFax", "comConversationSayTotalNewEmail",
                   "comConversationAnnounceSender", "comConversationSayMessageNumber", "comConversationSaySenderExt",
                   "comConversationSayANI", "comConversationAnnounceDuration", "comConversationSkipPWForKnownDevice",
                   "comConversationJumpToNewMessages"});
}

void fillPromptAndAddressModes(PopulateRun& populate)
{
    // Full or brief prompts; addressing by first name, last name or ID.
    populate.run.fillFixedTexts(QStringLiteral("comConversationConvType"), {20, 142, 68});
    populate.run.fillFixedTexts(QStringLiteral("comConversationAddressMode"), {20, 139, 170, 156});
}

void gateSendModeRow(PopulateRun& populate)
{
    populate.run.setShown({QStringLiteral("comConversationSendMode"), element("Label9", 24)},
                          populate.versionAtLeast(4, 2, 0, 37));
}

void fillConversationOptions(PopulateRun& populate)
{
    for (int option = 0; option <= 8; ++option)
        populate.run.fillTriState(element("cmbConversationOptions", option));
}

void fillSendTimestampAndVolumeLists(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    // Standard or streamlined sending, filled whatever the send-mode gate decided.
    run.fillFixedTexts(QStringLiteral("comConversationSendMode"), {20, 250, 497});
    // Time stamp before the message, after it, or none.
    run.fillFixedTexts(QStringLiteral("comConversationAnnounceTimestamp"), {20, 67, 28, 312});
    // Quieter, medium, louder.
    run.fillFixedTexts(QStringLiteral("comConversationVolumeLevel"), {20, 215, 182, 177});
}

}  // namespace SubscriberOptions
