#include "OptionsPageFixture.h"

#include "core/ControlNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <array>

namespace {

// A server with every governing control and "Alternate Contact Number".
class DependentControls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(run.open()); }
    bool enabled(const QString& name) const { return !run.child(name)->testAttribute(Qt::WA_ForceDisabled); }
    OptionsPage run{1, TempInstallation::smallServer(4, 2, 0, 43)};
};

TEST_F(DependentControls, GoverningBoxesEmptyLockOrOpenWhatTheyGovern)
{
    struct Case {
        const char* governor;
        const char* governed;
        bool enabledTicked, enabledCleared, emptied;
    };
    for (const Case& c : {Case{"chkAccountForceBillingIDBlank", "txtAccountBillingID", true, true, true},
                          Case{"chkCallerInputPrependDigitsClear", "txtCallerInputPrependDigits", false, true, true},
                          Case{"chkCallerInputPostPendDigitsClear", "txtCallerInputPostPendDigits", false, true, true},
                          Case{"chkMessagesMWIDisable", "txtMessagesMWICode", false, true, true},
                          Case{"chkConversationAccessibilityUpdate", "txtConversationAccessibility_3", true, false, false},
                          Case{"chkFlexStackMakeChange", "upDownFlexStackOldMessage", true, false, false},
                          Case{"chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings", "chkGreetingAlternatePreventSkip", true, false, false},
                          Case{"chkSubscriberAlternateExtensionRemoveSelected", "chkAltExtSubtractValue", false, true, false}}) {
        SCOPED_TRACE(c.governor);
        auto* box = qobject_cast<QLineEdit*>(run.child(c.governed));
        auto* tick = qobject_cast<QCheckBox*>(run.child(c.governed));
        if (box)
            box->setText("42");
        if (tick)
            tick->setChecked(true);
        click(*run.page, c.governor);
        EXPECT_EQ(enabled(c.governed), c.enabledTicked);
        click(*run.page, c.governor);
        EXPECT_EQ(enabled(c.governed), c.enabledCleared);
        EXPECT_EQ(box ? box->text() : "", c.emptied || !box ? "" : "42");
        EXPECT_TRUE(!tick || tick->isChecked());
    }
}

TEST_F(DependentControls, NotificationTriggersOfOneDeviceFollowTheirTicks)
{
    const QStringList boxes{"AllMessages", "AllMessagesUrgent", "VoiceMail", "VoiceMailUrgent",
                            "Email",       "EmailUrgent",       "Faxes",     "FaxesUrgent"};
    struct Step {
        const char* click;
        QStringList enabled;   // of device 9
    };
    for (const Step& step : {Step{"chkUpdateNotificationTriggers_9", {"AllMessages", "VoiceMail", "Email", "Faxes"}},
                             Step{"chkNotificationTriggerFaxes_9", {"AllMessages", "VoiceMail", "Email", "Faxes", "FaxesUrgent"}},
                             Step{"chkNotificationTriggerAllMessages_9", {"AllMessages", "AllMessagesUrgent"}},
                             Step{"chkUpdateNotificationTriggers_9", {}}}) {
        click(*run.page, step.click);
        for (int device : {8, 9})
            for (const QString& box : boxes)
                EXPECT_EQ(enabled("chkNotificationTrigger" + box + "_" + QString::number(device)),
                          device == 9 && step.enabled.contains(box))
                    << step.click << " " << box.toStdString() << device;
    }
    EXPECT_TRUE(run.child<QCheckBox>("chkNotificationTriggerFaxes_9")->isChecked());

    // A box the device lacks is reported, and the rest still follow.
    delete run.child("chkNotificationTriggerEmail_9");
    click(*run.page, "chkUpdateNotificationTriggers_9");
    EXPECT_EQ(run.shown.value(0), "(error):424 (Object required (chkNotificationTriggerEmail_9)) in procedure "
                                  "UpdateNotificationTriggerCheckBoxes of Form frmSelectSubscriberChanges");
    EXPECT_TRUE(enabled("chkNotificationTriggerAllMessagesUrgent_9"));
}

TEST_F(DependentControls, BroadcastPermissionsKeepSendingOnThisServerFirst)
{
    // Positions of the lists 1, 2 and 4: 0 no change, 1 true, 2 false.
    struct Case {
        std::array<int, 3> before;
        int list, position;
        std::array<int, 3> after;
    };
    const int lists[] = {1, 2, 4};
    for (const Case& c : {Case{{0, 0, 0}, 4, 1, {1, 0, 1}}, Case{{0, 0, 0}, 2, 1, {1, 1, 0}},
                          Case{{1, 1, 0}, 1, 2, {2, 2, 2}}, Case{{2, 2, 2}, 4, 0, {2, 2, 2}},
                          Case{{0, 0, 0}, 1, 2, {2, 2, 2}}, Case{{2, 1, 0}, 2, 0, {2, 2, 0}}}) {
        auto list = [&](int i) { return run.child<QComboBox>(elementName("cmbSubscriberFeatures", lists[i])); };
        for (int i = 0; i < 3; ++i) {
            const QSignalBlocker quiet(list(i));
            list(i)->setCurrentIndex(c.before[i]);
        }
        run.child<QComboBox>(elementName("cmbSubscriberFeatures", c.list))->setCurrentIndex(c.position);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(list(i)->currentIndex(), c.after[i]) << c.list << " set to " << c.position << ", list " << lists[i];
    }
}

TEST_F(DependentControls, AlternateContactNumberShowsTheKeysNumberToDialUntilTheListsAreRefilled)
{
    const QStringList row{"txtSubscriberCallerInputNumbertoDial_9", "Label34_15", "Label34_27"};
    const auto rowShown = [&](bool shown) {
        for (const QString& name : row)
            EXPECT_EQ(run.child(name)->isHidden(), !shown) << name.toStdString();
    };
    auto* actions = run.child<QComboBox>("cmbCallerInputTakeAction_9");
    actions->setCurrentText("Alternate Contact Number");
    rowShown(true);
    EXPECT_TRUE(run.child("Label34_14")->isHidden());
    run.child<QLineEdit>(row[0])->setText("5551234");
    actions->setCurrentText("Sign In");
    rowShown(false);
    EXPECT_EQ(run.child<QLineEdit>(row[0])->text(), "5551234");

    // A refill puts the action back to "Ignore Key" silently; the MWI code stays locked though
    // the refill enables it for subscribers.
    actions->setCurrentText("Alternate Contact Number");
    click(*run.page, "chkMessagesMWIDisable");
    run.page->PopulateControls();
    rowShown(false);
    EXPECT_FALSE(enabled("txtMessagesMWICode"));
}

}  // namespace
