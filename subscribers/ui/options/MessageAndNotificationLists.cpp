// The steps of PopulateControls for the Messages tab's lists and the notification devices' lists,
// with the version flag of the SMS device tab.
#include "subscribers/ui/options/PopulateSteps.h"

#include "core/ControlNames.h"
#include "subscribers/ui/options/NotificationDevicePage.h"


namespace SubscriberOptions {

namespace {

QString element(const char* arrayName, int index)
{
    return elementName(QLatin1String(arrayName), index);
}

constexpr int SmsDevice = 13;
constexpr int TextDeviceCount = NotificationDevicePage::DeviceCount - NotificationDevicePage::FirstTextDevice;
// `Label28`(14 + i) is the caller-information label of text device i.
constexpr int CallerInfoLabel = 14;

}  // namespace

void fillMessageLists(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    run.fillTriState(QStringLiteral("comMessagesCallersCanEdit"));
    run.fillTriState(QStringLiteral("comMessagesSendCounts"));
    // "Always", "Never", "Ask Caller".
    run.fillFixedTexts(QStringLiteral("comMessagesMarkUrgent"), {20, 45, 189, 65});
    run.fillFixedTexts(QStringLiteral("comMessagesMarkPrivate"), {20, 45, 189, 65});
}

void fillDisableDeviceLists(PopulateRun& populate)
{
    // A device can only be disabled here, never enabled: "TRUE" and no "FALSE".
    for (int device = 0; device < NotificationDevicePage::DeviceCount; ++device)
        populate.run.fillFixedTexts(element("comNotificationDisableDevice", device), {20, 279});
}

void gateSmsDevice(PopulateRun& populate)
{
    populate.run.setTabVersionFlag(QStringLiteral("TabNotification"), SmsDevice, populate.versionAtLeast(4, 0, 3, 100));
}

void fillTextNotificationLists(PopulateRun& populate)
{
    FormStatements& run = populate.run;
    for (int text = 0; text < TextDeviceCount; ++text) {
        run.fillTriState(element("comTextNotificationIncludeCallerInfo", text));
        run.setShown({element("Label28", CallerInfoLabel + text), element("comTextNotificationIncludeCallerInfo", text)},
                     populate.versionAtLeast(4, 2, 0, 38));
        run.fillTriState(element("comTextNotificationIncludeVmailEmailFaxCounts", text));
    }
}

}  // namespace SubscriberOptions
