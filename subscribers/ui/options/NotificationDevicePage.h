#pragma once
// One notification device of the options page: tab d of `TabNotification`, d from 0 to 13 (Home
// Phone, Work Phone, Pager Phone, Spare Phone, Pager 2, Phone 2 to Phone 6, Text Pager 1 and 2,
// VMI, SMS). Every device has its disable-device row, its nine trigger check boxes in
// `frameNotificationTriggers` and its schedule controls. The phone devices 0 to 9 add a switch
// row; the text devices 10 to 13 add the counts and caller-information rows in its place. The
// devices 0 to 11 hold their rows in the frame `Frame1`(d); VMI and SMS stand on the tab itself.
#include "core/ui/CompositeGroup.h"

class NotificationDevicePage : public CompositeGroup {
public:
    static constexpr int DeviceCount = 14;
    static constexpr int FirstTextDevice = 10;
    static constexpr int FirstUnframedDevice = 12;
    // Work Phone: its schedule controls stand on the tab beside `Frame1`(1), not inside it.
    static constexpr int ScheduleBesideFrame = 1;

    NotificationDevicePage(int device, QWidget* parent);

    bool isTextDevice() const { return index() >= FirstTextDevice; }

    // The caption routine's step for this device: its own captions, then the caption that the
    // All Messages urgent box now has, copied to the three other urgent boxes. Returns the
    // controls it found no caption for.
    QStringList applyDeviceCaptions(const StringLookup& text);

protected:
    QList<Caption> captions() const override;

private:
    void copyUrgentCaption();
};
