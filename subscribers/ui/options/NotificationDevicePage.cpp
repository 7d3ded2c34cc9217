#include "subscribers/ui/options/NotificationDevicePage.h"

#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace {
// Arrays that number a device's element apart from the device.
constexpr int DisableDeviceLabel = 6;     // `label11`(6 + d)
constexpr int TextDeviceLabel = 4;        // `Label28`(d + 4) and `Label29`(d + 4) of the text devices
constexpr int TextDeviceList = -NotificationDevicePage::FirstTextDevice;   // lists (d - 10)

constexpr const char* AllMessagesUrgent = "chkNotificationTriggerAllMessagesUrgent";
// The urgent boxes whose caption is copied from the All Messages one; laid out with a capital I.
constexpr const char* CopiedUrgentBoxes[] = {"chkNotificationTriggerVoiceMailUrgent", "chkNotificationTriggerEmailUrgent",
                                             "chkNotificationTriggerFaxesUrgent"};
const QString LaidOutCopiedUrgentCaption = QStringLiteral("Only If Urgent");

// The message types of the trigger frame, each with its urgent box, top down.
constexpr const char* TriggerRows[][2] = {
    {"chkNotificationTriggerAllMessages", AllMessagesUrgent},
    {"chkNotificationTriggerVoiceMail", "chkNotificationTriggerVoiceMailUrgent"},
    {"chkNotificationTriggerEmail", "chkNotificationTriggerEmailUrgent"},
    {"chkNotificationTriggerFaxes", "chkNotificationTriggerFaxesUrgent"},
};
}  // namespace

NotificationDevicePage::NotificationDevicePage(int device, QWidget* parent) : CompositeGroup(device, parent)
{
    auto* page = new QHBoxLayout(this);
    QWidget* body = this;
    if (device < FirstUnframedDevice) {
        body = element(new QGroupBox, "Frame1");
        page->addWidget(body);
    }
    auto* rows = new QGridLayout;
    if (body == this)
        page->addLayout(rows);
    else
        body->setLayout(rows);

    rows->addWidget(element(new QLabel, "label11", DisableDeviceLabel), 0, 0);
    rows->addWidget(element(new QComboBox, "comNotificationDisableDevice"), 0, 1);
    if (isTextDevice()) {
        rows->addWidget(element(new QLabel, "Label29", TextDeviceLabel), 0, 2);
        rows->addWidget(element(new QComboBox, "comTextNotificationIncludeVmailEmailFaxCounts", TextDeviceList), 0, 3);
        rows->addWidget(element(new QLabel, "Label28", TextDeviceLabel), 1, 0);
        rows->addWidget(element(new QComboBox, "comTextNotificationIncludeCallerInfo", TextDeviceList), 1, 1);
    } else {
        rows->addWidget(element(new QLabel, "Label28"), 1, 0);
        rows->addWidget(element(new QComboBox, "comNotificationSwitchID"), 1, 1);
    }

    // Only the update box is enabled at first: it opens the triggers (UpdateNotificationTriggerCheckBoxes).
    auto* triggers = element(new QGroupBox, "frameNotificationTriggers");
    auto* triggerRows = new QGridLayout(triggers);
    triggerRows->addWidget(element(new QCheckBox, "chkUpdateNotificationTriggers"), 0, 0, 1, 2);
    for (int row = 0; row < int(std::size(TriggerRows)); ++row)
        for (int column = 0; column < 2; ++column) {
            auto* trigger = element(new QCheckBox, TriggerRows[row][column]);
            trigger->setEnabled(false);
            triggerRows->addWidget(trigger, row + 1, column);
        }
    rows->addWidget(triggers, 2, 0, 3, 2);

    // The schedule button opens only once its update box is ticked; the schedule dialog writes
    // the box.
    auto* updateSchedule = element(new QCheckBox, "chkUpdateNotificationSchedule");
    auto* setSchedule = element(new QPushButton, "cmdSetNotificationSchedule");
    setSchedule->setEnabled(false);
    auto* schedule = element(new QLineEdit, "txtNotificationSchedule");
    if (device == ScheduleBesideFrame) {
        auto* beside = new QVBoxLayout;
        for (QWidget* control : {static_cast<QWidget*>(updateSchedule), static_cast<QWidget*>(setSchedule),
                                 static_cast<QWidget*>(schedule)})
            beside->addWidget(control);
        beside->addStretch(1);
        page->addLayout(beside);
    } else {
        rows->addWidget(updateSchedule, 2, 2, 1, 2, Qt::AlignTop);
        rows->addWidget(setSchedule, 5, 0);
        rows->addWidget(schedule, 6, 0, 1, 4);
    }
    rows->setColumnStretch(1, 1);
    rows->setColumnStretch(3, 1);
    rows->setRowStretch(7, 1);

    applyCaptions(resources::englishString);
    for (const char* name : CopiedUrgentBoxes)
        findChild<QCheckBox*>(elementName(QLatin1String(name), device))->setText(LaidOutCopiedUrgentCaption);
}

QStringList NotificationDevicePage::applyDeviceCaptions(const StringLookup& text)
{
    const QStringList missing = applyCaptions(text);
    copyUrgentCaption();
    return missing;
}

void NotificationDevicePage::copyUrgentCaption()
{
    const QString caption = findChild<QCheckBox*>(elementName(QLatin1String(AllMessagesUrgent), index()))->text();
    for (const char* name : CopiedUrgentBoxes)
        findChild<QCheckBox*>(elementName(QLatin1String(name), index()))->setText(caption);
}

QList<CompositeGroup::Caption> NotificationDevicePage::captions() const
{
    QList<Caption> rows{
        {"frameNotificationTriggers", 414},
        {"chkUpdateNotificationTriggers", 415},
        {"chkNotificationTriggerAllMessages", 416},
        {"chkNotificationTriggerVoiceMail", 417},
        {"chkNotificationTriggerEmail", 418},
        {"chkNotificationTriggerFaxes", 419},
        {AllMessagesUrgent, 420},
        {"chkUpdateNotificationSchedule", 561},
        {"cmdSetNotificationSchedule", 562},
        {"label11", 108, DisableDeviceLabel},
    };
    if (isTextDevice())
        rows += {{"Label28", 503, TextDeviceLabel}, {"Label29", 556, TextDeviceLabel}};
    else
        rows += {{"Label28", 95}};
    return rows;
}
