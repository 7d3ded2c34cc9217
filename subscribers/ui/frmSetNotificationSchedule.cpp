#include "subscribers/ui/frmSetNotificationSchedule.h"

#include "core/ControlNames.h"
#include "core/ui/FormBuilding.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kFormName = QStringLiteral("frmSetNotificationSchedule");
constexpr int kHalfHours = 48;
constexpr int kDays = 7;
const char* const kDayNames[kDays] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// The day bits as two hexadecimal digits: Monday is bit 0, Saturday bit 5, Sunday bit 6.
const char* const kDayCodes[kDays] = {"40", "01", "02", "04", "08", "10", "20"};

// The time `halfHours` half-hours after midnight as "hhmm".
QString timeText(int halfHours)
{
    return QStringLiteral("%1%2").arg(halfHours / 2, 2, 10, QLatin1Char('0')).arg(halfHours % 2 * 30, 2, 10, QLatin1Char('0'));
}

}  // namespace

frmSetNotificationSchedule* frmSetNotificationSchedule::instance(QWidget* optionsPage)
{
    if (auto* dialog = optionsPage->findChild<frmSetNotificationSchedule*>(kFormName, Qt::FindDirectChildrenOnly))
        return dialog;
    return new frmSetNotificationSchedule(optionsPage);
}

void frmSetNotificationSchedule::showFor(QWidget* optionsPage, qint16 deviceIndex)
{
    frmSetNotificationSchedule* dialog = instance(optionsPage);
    dialog->DeviceIndex = deviceIndex;
    dialog->move(optionsPage->pos());
    dialog->exec();
}

frmSetNotificationSchedule::frmSetNotificationSchedule(QWidget* optionsPage)
    : QDialog(optionsPage), m_optionsPage(optionsPage)
{
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Edit Schedule"));
    auto* layout = new QVBoxLayout(this);
    grdSchedule = named(new QTableWidget(kHalfHours + 1, kDays + 1), "grdSchedule");
    grdSchedule->horizontalHeader()->hide();
    grdSchedule->verticalHeader()->hide();
    grdSchedule->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSchedule->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(grdSchedule);
    cmdExit = named(new QPushButton(QStringLiteral("&Close")), "cmdExit");
    cmdExit->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    layout->addLayout(buttons);
    connect(cmdExit, &QPushButton::clicked, this, &frmSetNotificationSchedule::cmdExit_Click);
    clearGrid();
    // The whole week side by side, and as many half-hours as a 768-pixel screen leaves room for.
    grdSchedule->resizeColumnsToContents();
    resize(grdSchedule->horizontalHeader()->length() + 2 * grdSchedule->frameWidth() + 60, 680);
}

void frmSetNotificationSchedule::showEvent(QShowEvent* event)
{
    clearGrid();
    QDialog::showEvent(event);
}

// Row 0 names the days; column 0 labels the hours on the odd rows ("12 AM" ... "11 PM"); the
// other cells are clear check boxes, row r covering the half-hour r - 1.
void frmSetNotificationSchedule::clearGrid()
{
    grdSchedule->clearContents();
    for (int day = 0; day < kDays; ++day) {
        auto* heading = new QTableWidgetItem(QString::fromLatin1(kDayNames[day]));
        heading->setTextAlignment(Qt::AlignCenter);
        heading->setFlags(Qt::ItemIsEnabled);
        grdSchedule->setItem(0, day + 1, heading);
    }
    for (int row = 1; row <= kHalfHours; ++row) {
        if (row % 2 == 1) {
            const int hour = (row - 1) / 2;
            auto* label = new QTableWidgetItem(QString::number(hour % 12 == 0 ? 12 : hour % 12)
                                               + (hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM")));
            label->setFlags(Qt::ItemIsEnabled);
            grdSchedule->setItem(row, 0, label);
        }
        for (int day = 0; day < kDays; ++day) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            cell->setCheckState(Qt::Unchecked);
            grdSchedule->setItem(row, day + 1, cell);
        }
    }
}

QString frmSetNotificationSchedule::EncodeScheduleDay(int day) const
{
    QString groups;
    int runStart = -1;
    const auto closeRun = [&](int end) {
        groups += QString::fromLatin1(kDayCodes[day]) + timeText(runStart) + timeText(end);
        runStart = -1;
    };
    for (int halfHour = 0; halfHour < kHalfHours; ++halfHour) {
        const bool ticked = grdSchedule->item(halfHour + 1, day + 1)->checkState() == Qt::Checked;
        if (ticked && runStart < 0)
            runStart = halfHour;
        else if (!ticked && runStart >= 0)
            closeRun(halfHour);
    }
    if (runStart >= 0)
        closeRun(kHalfHours);
    return groups;
}

QString frmSetNotificationSchedule::BuildScheduleString() const
{
    QString schedule;
    for (int day = 0; day < kDays; ++day)
        schedule += EncodeScheduleDay(day);
    return schedule;
}

void frmSetNotificationSchedule::cmdExit_Click()
{
    auto* box = qobject_cast<QLineEdit*>(
        findControl(m_optionsPage, elementName(QStringLiteral("txtNotificationSchedule"), DeviceIndex)));
    if (box)
        box->setText(BuildScheduleString());
    accept();
}
