#include "OptionsPageFixture.h"

#include "core/ControlNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

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
    struct Case { const char *governor, *governed; bool enabledTicked, enabledCleared, emptied; };
    for (const Case& c : {Case{"chkAccountForceBillingIDBlank", "txtAccountBillingID", true, true, true},
                          {"chkCallerInputPrependDigitsClear", "txtCallerInputPrependDigits", false, true, true},
                          {"chkCallerInputPostPendDigitsClear", "txtCallerInputPostPendDigits", false, true, true},
                          {"chkMessagesMWIDisable", "txtMessagesMWICode", false, true, true},
                          {"chkConversationAccessibilityUpdate", "txtConversationAccessibility_3", true, false, false},
                          {"chkFlexStackMakeChange", "chkFlexStackMessageTypeMenu", true, false, false},
                          {"chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings", "chkGreetingAlternatePreventSkip", true, false, false},
                          {"chkSubscriberAlternateExtensionRemoveSelected", "chkAltExtSubtractValue", false, true, false},
                          {"chkUpdateNotificationSchedule_5", "cmdSetNotificationSchedule_5", true, false, false}}) {
        SCOPED_TRACE(c.governor);
        auto* box = qobject_cast<QLineEdit*>(run.child(c.governed));
        auto* tick = qobject_cast<QCheckBox*>(run.child(c.governed));
        if (box)
            box->setText("42");
        else if (tick)
            tick->setChecked(true);
        click(*run.page, c.governor);
        EXPECT_EQ(enabled(c.governed), c.enabledTicked);
        click(*run.page, c.governor);
        EXPECT_EQ(enabled(c.governed), c.enabledCleared);
        EXPECT_TRUE(box ? box->text() == (c.emptied ? "" : "42") : !tick || tick->isChecked());
    }
}

TEST_F(DependentControls, NotificationTriggersOfOneDeviceFollowTheirTicks)
{
    const QStringList boxes{"AllMessages", "AllMessagesUrgent", "VoiceMail", "VoiceMailUrgent", "Email", "EmailUrgent", "Faxes", "FaxesUrgent"};
    const QStringList plain{"AllMessages", "VoiceMail", "Email", "Faxes"};
    const std::pair<const char*, QStringList> steps[] = {   // the box clicked, device 9's boxes enabled
        {"chkUpdateNotificationTriggers_9", plain}, {"chkNotificationTriggerFaxes_9", plain + QStringList{"FaxesUrgent"}},
        {"chkNotificationTriggerAllMessages_9", {"AllMessages", "AllMessagesUrgent"}},
        {"chkUpdateNotificationTriggers_9", {}}};
    for (const auto& [clicked, open] : steps) {
        click(*run.page, clicked);
        for (const QString& box : boxes)
            for (int device : {8, 9})
                EXPECT_EQ(enabled(elementName("chkNotificationTrigger" + box, device)), device == 9 && open.contains(box)) << clicked;
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
    // Positions (0 no change, 1 true, 2 false) of the lists 1, 2 and 4 before, the list set, and after.
    const std::tuple<QList<int>, int, int, QList<int>> cases[] = {
        {{0, 0, 0}, 4, 1, {1, 0, 1}}, {{0, 0, 0}, 2, 1, {1, 1, 0}}, {{1, 1, 0}, 1, 2, {2, 2, 2}},
        {{2, 2, 2}, 4, 0, {2, 2, 2}}, {{0, 0, 0}, 1, 2, {2, 2, 2}}, {{2, 1, 0}, 2, 0, {2, 2, 0}}};
    const auto list = [&](int i) { return run.child<QComboBox>(elementName("cmbSubscriberFeatures", i)); };
    const int lists[] = {1, 2, 4};
    for (const auto& [before, changed, position, after] : cases) {
        for (int i : {0, 1, 2}) {
            const QSignalBlocker quiet(list(lists[i]));
            list(lists[i])->setCurrentIndex(before[i]);
        }
        list(changed)->setCurrentIndex(position);
        EXPECT_EQ((QList<int>{list(1)->currentIndex(), list(2)->currentIndex(), list(4)->currentIndex()}), after) << changed;
    }
}

TEST_F(DependentControls, AlternateContactNumberShowsTheKeysNumberToDialUntilTheListsAreRefilled)
{
    const auto rowShown = [&](bool shown) {
        for (const char* name : {"txtSubscriberCallerInputNumbertoDial_9", "Label34_15", "Label34_27"})
            EXPECT_NE(run.child(name)->isHidden(), shown) << name;
    };
    auto* actions = run.child<QComboBox>("cmbCallerInputTakeAction_9");
    actions->setCurrentText("Alternate Contact Number");
    rowShown(true);
    auto* number = run.child<QLineEdit>("txtSubscriberCallerInputNumbertoDial_9");
    number->setText("5551234");
    actions->setCurrentText("Sign In");
    rowShown(false);
    EXPECT_EQ(number->text(), "5551234");

    // A refill puts the action back to "Ignore Key" silently; the MWI code stays locked though it enables it.
    actions->setCurrentText("Alternate Contact Number");
    click(*run.page, "chkMessagesMWIDisable");
    run.page->PopulateControls();
    rowShown(false);
    EXPECT_FALSE(enabled("txtMessagesMWICode"));
}

}  // namespace
