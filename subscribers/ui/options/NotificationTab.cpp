// Tab 8 of the options page: the tab control `TabNotification`, one tab per notification device.
#include "subscribers/ui/options/NotificationDevicePage.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "resources/EnglishStrings.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace {

// The device tabs' captions, by device index.
constexpr std::array<CaptionRow, NotificationDevicePage::DeviceCount> DeviceTabCaptions{{
    {"TabNotification", 0, 154},  {"TabNotification", 1, 293},  {"TabNotification", 2, 201},
    {"TabNotification", 3, 249},  {"TabNotification", 4, 200},  {"TabNotification", 5, 204},
    {"TabNotification", 6, 205},  {"TabNotification", 7, 206},  {"TabNotification", 8, 207},
    {"TabNotification", 9, 208},  {"TabNotification", 10, 263}, {"TabNotification", 11, 264},
    {"TabNotification", 12, 290}, {"TabNotification", 13, 413},
}};

void buildNotificationTab(QWidget* page)
{
    auto* devices = named(new QTabWidget, "TabNotification");
    for (const CaptionRow& tab : DeviceTabCaptions)
        devices->addTab(new NotificationDevicePage(tab.index, devices), resources::englishString(tab.string));
    (new QVBoxLayout(page))->addWidget(devices);
}

void captionNotificationTab(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, DeviceTabCaptions, text);
    auto* devices = qobject_cast<QTabWidget*>(findControl(page, QStringLiteral("TabNotification")));
    for (int d = 0; devices && d < devices->count(); ++d)
        if (auto* device = dynamic_cast<NotificationDevicePage*>(devices->widget(d)))
            device->applyDeviceCaptions(text);
}

}  // namespace

namespace SubscriberOptions {
const TabBuilder notificationTab{buildNotificationTab, captionNotificationTab};
}
