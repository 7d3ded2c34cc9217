#pragma once
// The options page's schedule dialog ("Edit Schedule"): a week of 48 half-hours a day to tick.
// Close writes the ticked week as a schedule string into the options page's
// txtNotificationSchedule_<DeviceIndex> and hides the dialog; any other way of closing it
// changes nothing. Each showing starts from a clear grid.
//
// Schedule string: one group per run of ticked half-hours of one day, Sunday to Saturday and
// top to bottom: the day's code ("40" Sunday, "01" Monday, "02", "04", "08", "10", "20"
// Saturday), the run's first half-hour and the half-hour after it, as "hhmm" ("2400" at the end
// of the day).
#include <QDialog>

class QPushButton;
class QTableWidget;

class frmSetNotificationSchedule : public QDialog {
    Q_OBJECT
public:
    // The options page's one instance, created on first use.
    static frmSetNotificationSchedule* instance(QWidget* optionsPage);
    // A device's "schedule" button: the dialog for that device at the page's position, modal.
    static void showFor(QWidget* optionsPage, qint16 deviceIndex);

    qint16 DeviceIndex = 0;   // the notification device whose schedule box Close fills

protected:
    void showEvent(QShowEvent* event) override;

private:
    explicit frmSetNotificationSchedule(QWidget* optionsPage);
    void clearGrid();
    void cmdExit_Click();
    QString EncodeScheduleDay(int day) const;
    QString BuildScheduleString() const;

    QWidget* m_optionsPage;
    QTableWidget* grdSchedule;
    QPushButton* cmdExit;
};
