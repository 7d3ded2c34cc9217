// What the options page takes from outside its tabs: the message play-order lists, the
// conversation style dialog and the notification schedule dialog, driven on a stand-in page.
#include "core/ui/ControlValues.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"
#include "subscribers/ui/frmSetNotificationSchedule.h"
#include "subscribers/ui/options/MessagePlayOrderLists.h"
#include "subscribers/ui/options/OptionsTabs.h"
#include "tests/support/widgets/PageHarness.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

QList<int> codes(const QListWidget& list)
{
    QList<int> order;
    for (int row = 0; row < list.count(); ++row)
        order << list.item(row)->data(ListRole::ItemData).toInt();
    return order;
}

// Driven through the arrows of the up-down controls beside the lists, on the tab that holds them.
TEST(MessagePlayOrderListsTest, ArrowsMoveTheSelectedEntryWithinItsOwnList)
{
    QWidget page;
    SubscriberOptions::conversationTab.build(&page);
    QListWidget& newMessages = *findByName<QListWidget>(page, "listFlexStackOrderNewMessages");
    QListWidget& oldMessages = *findByName<QListWidget>(page, "listFlexStackOrderOldMessages");
    QSpinBox& newArrows = *findByName<QSpinBox>(page, "upDownFlexStackNewMessagePlayOrder");
    QSpinBox& oldArrows = *findByName<QSpinBox>(page, "upDownFlexStackOldMessage");
    newArrows.setEnabled(true);
    oldArrows.setEnabled(true);
    const StringLookup text = [](int number) { return QString("string %1").arg(number); };
    for (QListWidget* list : {&newMessages, &oldMessages}) {
        list->addItem("left over");
        FillFlexStackOrderList(list, text);
    }
    const QList<int> first{1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(codes(newMessages), first);
    EXPECT_EQ(newMessages.item(6)->text(), "string 326");
    EXPECT_EQ(newMessages.item(6)->data(ListRole::StringNumber).toInt(), 326);
    EXPECT_EQ(newMessages.currentRow(), -1);
    newArrows.stepUp();
    newArrows.stepDown();
    EXPECT_EQ(codes(newMessages), first);

    newMessages.setCurrentRow(6);
    for (int click = 0; click < 7; ++click) {   // the seventh click finds it at the top
        newArrows.stepUp();
        EXPECT_EQ(newMessages.currentRow(), std::max(5 - click, 0));
    }
    EXPECT_EQ(codes(newMessages), (QList<int>{7, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(newMessages.item(0)->text(), "string 326");
    EXPECT_EQ(codes(oldMessages), first);

    oldMessages.setCurrentRow(0);
    oldArrows.stepDown();
    EXPECT_EQ(codes(oldMessages), (QList<int>{2, 1, 3, 4, 5, 6, 7}));
    EXPECT_EQ(oldMessages.currentRow(), 1);
    oldArrows.stepDown();
    oldArrows.stepDown();
    EXPECT_EQ(codes(oldMessages), (QList<int>{2, 3, 4, 1, 5, 6, 7}));
    oldMessages.setCurrentRow(6);
    oldArrows.stepDown();
    EXPECT_EQ(codes(oldMessages), (QList<int>{2, 3, 4, 1, 5, 6, 7}));
}

// A stand-in options page with the schedule boxes of the fourteen devices.
class SubDialogs : public WizardRun {
public:
    SubDialogs()
    {
        optionsPage.setObjectName("frmSelectSubscriberChanges");
        for (int device = 0; device < 14; ++device) {
            auto* box = new QLineEdit(&optionsPage);
            box->setObjectName(QString("txtNotificationSchedule_%1").arg(device));
            box->setText("earlier schedule");
        }
    }
    QString schedule(int device) const
    {
        return findByName<QLineEdit>(optionsPage, QString("txtNotificationSchedule_%1").arg(device))->text();
    }

    QWidget optionsPage;
};

QList<bool> styleBoxes(const QDialog& dialog, bool (QCheckBox::*state)() const)
{
    QList<bool> states;
    for (const char* name : {"chkAlternateN", "chkAlternateS", "chkAlternateX", "chkCustom1", "chkCustom2", "chkCustom3",
                             "chkHVM", "chkOptional1", "chkStandard"})
        states << (findByName<QCheckBox>(dialog, name)->*state)();
    return states;
}

TEST(ConversationStyleLimitsTest, TheChoiceIsKeptByCloseAndDiscardedByTheCloseBox)
{
    SubDialogs run;
    frmSetConversationStyleLimits* dialog = frmSetConversationStyleLimits::instance(run.context, &run.optionsPage);
    EXPECT_EQ(frmSetConversationStyleLimits::instance(run.context, &run.optionsPage), dialog);
    const QList<bool> none(9, false);
    const QList<bool> allButHospitality{true, true, true, true, true, true, false, true, true};
    EXPECT_EQ(styleBoxes(*dialog, &QCheckBox::isEnabled), none);
    EXPECT_EQ(findByName<QCheckBox>(*dialog, "chkHVM")->text(), run.session.languages.mymyLoadString(384));

    const auto open = [&] { frmSetConversationStyleLimits::showFor(run.context, &run.optionsPage); };
    whileShown(*dialog, [&] {
        click(*dialog, "chkNoChange");
        EXPECT_EQ(styleBoxes(*dialog, &QCheckBox::isEnabled), QList<bool>(9, true));
        EXPECT_EQ(styleBoxes(*dialog, &QCheckBox::isChecked), allButHospitality);
        for (const char* name : {"chkAlternateN", "chkAlternateS", "chkAlternateX", "chkCustom1", "chkCustom2",
                                 "chkCustom3", "chkOptional1", "chkStandard"})
            click(*dialog, name);
        click(*dialog, "cmdExit");
        EXPECT_EQ(run.shown, QStringList{run.session.languages.mymyLoadString(541)});
        EXPECT_TRUE(dialog->isVisible());
        click(*dialog, "chkStandard");
        click(*dialog, "cmdExit");
    }, open);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(frmSetConversationStyleLimits::instance(run.context, &run.optionsPage), dialog);
    QList<bool> onlyStandard = none;
    onlyStandard[8] = true;
    EXPECT_EQ(styleBoxes(*dialog, &QCheckBox::isChecked), onlyStandard);

    // The close box: refused while nothing is chosen, then the dialog is unloaded.
    whileShown(*dialog, [&] {
        click(*dialog, "chkStandard");
        dialog->close();
        EXPECT_TRUE(dialog->isVisible());
        click(*dialog, "chkNoChange");
        dialog->close();
    }, open);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmSetConversationStyleLimits* reloaded = frmSetConversationStyleLimits::instance(run.context, &run.optionsPage);
    EXPECT_TRUE(findByName<QCheckBox>(*reloaded, "chkNoChange")->isChecked());
    EXPECT_EQ(styleBoxes(*reloaded, &QCheckBox::isChecked), allButHospitality);
    EXPECT_EQ(styleBoxes(*reloaded, &QCheckBox::isEnabled), none);
}

TEST(NotificationScheduleTest, CloseWritesTheTickedWeekIntoTheDevicesBox)
{
    enum Day { Sun = 1, Mon, Tue, Wed, Thu, Fri, Sat };   // grid columns
    struct Run {
        int day;
        int firstRow;   // rows 1 to 48: the half-hours from 00:00
        int lastRow;
    };
    const struct {
        const char* what;
        QList<Run> ticked;
        QString schedule;
    } cases[] = {
        {"two days", {{Mon, 17, 34}, {Sun, 45, 48}}, "40220024000108001700"},
        {"last half-hour", {{Sat, 48, 48}}, "2023302400"},
        {"whole day", {{Wed, 1, 48}}, "0400002400"},
        {"two runs, one day", {{Tue, 1, 1}, {Tue, 3, 4}}, "02000000300201000200"},
        {"nothing", {}, ""},
    };
    SubDialogs run;
    frmSetNotificationSchedule* dialog = frmSetNotificationSchedule::instance(&run.optionsPage);
    auto* grid = findByName<QTableWidget>(*dialog, "grdSchedule");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        whileShown(*dialog, [&] {
            for (int row = 1; row <= 48; ++row)
                for (int column = 1; column <= 7; ++column)
                    ASSERT_EQ(grid->item(row, column)->checkState(), Qt::Unchecked);
            for (const Run& ticked : c.ticked)
                for (int row = ticked.firstRow; row <= ticked.lastRow; ++row)
                    grid->item(row, ticked.day)->setCheckState(Qt::Checked);
            click(*dialog, "cmdExit");
        }, [&] { frmSetNotificationSchedule::showFor(&run.optionsPage, 3); });
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(run.schedule(3), c.schedule);
    }
    EXPECT_EQ(run.schedule(2), "earlier schedule");

    const QStringList labels{grid->item(1, 0)->text(), grid->item(23, 0)->text(), grid->item(25, 0)->text(),
                             grid->item(47, 0)->text(), grid->item(0, 1)->text(), grid->item(0, 7)->text()};
    EXPECT_EQ(labels, (QStringList{"12 AM", "11 AM", "12 PM", "11 PM", "Sun", "Sat"}));
    EXPECT_EQ(grid->item(2, 0), nullptr);

    // Closed another way: the box keeps its text.
    whileShown(*dialog, [&] {
        grid->item(1, Mon)->setCheckState(Qt::Checked);
        dialog->reject();
    }, [&] { frmSetNotificationSchedule::showFor(&run.optionsPage, 4); });
    EXPECT_EQ(run.schedule(4), "earlier schedule");
}

}  // namespace
