// The notification category of the subscriber engine on the loaded options page: which devices
// a run visits and what each device's tab changes, the rules' trigger lists and schedules, and
// the exit action.
#include "tests/subscribers_ui/EngineScenario.h"

#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kFirst = "(SELECT SubscriberObjectID FROM vw_Subscriber ORDER BY SubscriberObjectID LIMIT 1)";
const QStringList kAliases{"Home Phone", "Work Phone", "Pager",   "Spare Phone",  "Pager 2",      "Phone 2",      "Phone 3",
                           "Phone 4",    "Phone 5",    "Phone 6", "Text Pager 1", "Text Pager 2", "Text for VMI", "SMS"};

// A run over the first subscriber of `server`: `setup` on its database, then the choices, each
// "name=value": "[x]" ticks a box, "@1"/"@0" sets an option button, "#n" selects an entry with
// item data n, "=n" shows resource string n, any other value is typed or shown; "%H" stands for
// the subscriber's call handler.
std::unique_ptr<EngineScenario> ran(const velmo::InstallationOptions& server, const QStringList& setup,
                                    const QStringList& choices)
{
    auto run = std::make_unique<EngineScenario>(server);
    for (const QString& statement : setup)
        run->sql(QString(statement).replace("%F", kFirst));
    EXPECT_TRUE(run->open());
    const QString handler = run->stored("SELECT CallHandlerObjectID FROM Subscriber WHERE SubscriberObjectID=" + kFirst).toString();
    for (const QString& choice : choices) {
        const QString name = choice.section('=', 0, 0), value = choice.section('=', 1).replace("%H", handler);
        if (value == "[x]")
            run->tick(name);
        else if (value.startsWith('@'))
            run->pick(name, value == "@1");
        else if (value.startsWith('#'))
            run->chooseItem(name, value, value.mid(1).toInt());
        else if (value.startsWith('=') && value.size() > 1)
            run->chooseString(name, value.mid(1).toInt());
        else if (name.startsWith("txt"))
            run->type(name, value);
        else
            run->choose(name, value);
    }
    run->run(1);
    return run;
}

// The category's lines: from its first one (each names a notification device) to the end.
QStringList notificationLines(const EngineScenario& run)
{
    const QStringList changes = run.changesOf(0);
    const qsizetype first = changes.indexOf(QRegularExpression(".*otification.*"));
    return first < 0 ? QStringList() : changes.mid(first);
}

QString shown(const QVariant& value)
{
    return value.isNull() ? "NULL" : value.typeId() == QMetaType::QByteArray ? value.toByteArray().toHex() : value.toString();
}

const QString kDisabled = "      Notification device disabled";
const QString kPagerCleared = "    Notification triggers cleared on device with alias=Pager";

TEST(NotificationDevices, EachVisitedDeviceGetsItsHeaderAndItsTabsChoices)
{
    const auto server = TempInstallation::smallServer;
    const QString touch = "UPDATE NotificationDevice SET DLVDeviceActive=5, SwitchID=5, DlvdeviceSendCount=5";
    const char* pager = "DLVDeviceActive FROM NotificationDevice WHERE Alias='Pager'";
    const QStringList pagerChoices{"comNotificationDisableDevice_2=TRUE", "chkUpdateNotificationTriggers_2=[x]"};
    const struct {
        velmo::InstallationOptions server;
        QStringList setup, choices;
        int count;                       // devices visited; 0: `lines`[0] is every line
        QMap<int, QStringList> lines;    // the lines of the devices whose tab changes something
        const char* column;              // of the first subscriber's devices
        QVariant stored;
    } cases[] = {
        {server(4, 0, 3, 12), {touch}, {"comNotificationDisableDevice_1=TRUE"}, 13, {{1, {" Work Phone Notification device edits", kDisabled}}},
         "DLVDeviceActive FROM NotificationDevice WHERE Alias='Work Phone'", 0},
        {server(4, 0, 3, 12), {touch}, {"comNotificationDisableDevice_0=FALSE", "comNotificationDisableDevice_3=maybe"}, 13,
         {{0, {" Home Phone Notification device edits", "      Notification device enabled"}}}, "SUM(DLVDeviceActive) FROM NotificationDevice WHERE Alias IN ('Home Phone', 'Spare Phone')", 6},
        {server(4, 0, 3, 12), {touch}, {"comNotificationSwitchID_9=#2"}, 13, {{9, {" Phone 6 Notification device edits", "      Switch assignment set to:  2"}}},
         "SwitchID FROM NotificationDevice WHERE Alias='Phone 6'", 2},
        {server(4, 0, 3, 12), {touch}, {"comTextNotificationIncludeVmailEmailFaxCounts_2=FALSE"}, 13,
         {{12, {" Text for VMI Notification device edits", "   Include voice mail, e-mail, and fax counts set to:  0"}}},
         "DlvdeviceSendCount FROM NotificationDevice WHERE Alias='Text for VMI'", 0},
        {server(4, 2, 0, 38), {}, {"comTextNotificationIncludeCallerInfo_0=TRUE"}, 14,
         {{10, {" Text Pager 1 Notification device edits", "   Send Caller Info set to:  1"}}},
         "DlvdeviceSendCallerInfo FROM NotificationDevice WHERE Alias='Text Pager 1'", 1},
        {server(4, 2, 0, 37), {touch}, {"comTextNotificationIncludeCallerInfo_0=TRUE"}, 14, {}, "DLVDeviceActive FROM NotificationDevice WHERE Alias='Text Pager 1'", 5},
        {server(4, 0, 3, 120), {touch}, {"comTextNotificationIncludeVmailEmailFaxCounts_3=TRUE"}, 14,
         {{13, {" SMS Notification device edits", "   Include voice mail, e-mail, and fax counts set to:  1"}}},
         "DlvdeviceSendCount FROM NotificationDevice WHERE Alias='SMS'", 1},
        {server(4, 0, 3, 119), {touch}, {"comTextNotificationIncludeVmailEmailFaxCounts_3=TRUE"}, 13, {}, "DlvdeviceSendCount FROM NotificationDevice WHERE Alias='SMS'", 5},
        // Which subscribers and devices are visited.
        {server(4, 0, 3, 12), {"UPDATE Subscriber SET SubscriberType=3 WHERE SubscriberObjectID=%F"}, pagerChoices, 13,
         {{2, {" Pager Notification device edits", kDisabled, kPagerCleared}}}, pager, 0},
        {server(4, 0, 3, 12), {"UPDATE Subscriber SET SubscriberType=2 WHERE SubscriberObjectID=%F", touch}, pagerChoices, 0, {{0, {}}}, pager, 5},
        {server(4, 0, 3, 12), {"UPDATE Subscriber SET SubscriberType=NULL WHERE SubscriberObjectID=%F", touch}, pagerChoices, 0, {{0, {}}}, pager, 5},
        {server(4, 0, 3, 120), {"DELETE FROM NotificationDevice WHERE Alias='SMS'", touch}, pagerChoices, 0,
         {{0, {"(error) this subscriber is missing notification devices!  This is a serious error, you shoudl contact Norwick."}}}, pager, 5},
        {server(4, 0, 3, 119), {"DELETE FROM NotificationDevice WHERE Alias='SMS'"}, pagerChoices, 13,
         {{2, {" Pager Notification device edits", kDisabled, kPagerCleared}}}, pager, 0},
        {server(4, 0, 3, 120), {"DELETE FROM NotificationRule WHERE Alias='SMS Rule'", touch}, pagerChoices, 0,
         {{0, {"(error) this subscriber is missing notification rules!  This is a serious error, you shoudl contact Norwick."}}}, pager, 5},
        {server(4, 0, 3, 12), {"UPDATE NotificationDevice SET Alias='Pager X' WHERE Alias='Pager'"}, pagerChoices, 13,
         {{2, {"(error) could not find notification device for this subscriber by index= 2", kPagerCleared}}},
         "COUNT(*) FROM NotificationRule WHERE dlvruleCriteriaID IS NULL AND Alias='Pager Rule'", 1},
        {server(4, 0, 3, 12), {"UPDATE NotificationRule SET Alias='Pager X' WHERE Alias='Pager Rule'"}, pagerChoices, 13,
         {{2, {" Pager Notification device edits", kDisabled, "(error) could not find notification rule for this sybscriber by index= 2"}}}, pager, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        auto run = ran(c.server, c.setup, c.choices);
        QStringList expected = c.count == 0 ? c.lines.value(0) : QStringList();
        for (int device = 0; device < c.count; ++device)
            expected << c.lines.value(device, {" " + kAliases[device] + " Notification device edits"});
        EXPECT_EQ(notificationLines(*run), expected);
        EXPECT_EQ(run->log->LogErrorCount(), expected.filter("(error)").size());
        EXPECT_EQ(run->stored(QString("SELECT %1 AND ParentObjectID=%2").arg(c.column, kFirst)), c.stored);
        EXPECT_FALSE(run->session.bDirectoryWriteThroughPending || run->session.bNotifierRestartPending);
    }
}

TEST(NotificationRules, TheTriggerBoxesAndTheScheduleRewriteTheRule)
{
    const QString all = "    Notification trigger of all messages set on device with alias=Home Phone";
    const QString voice = "    Notification trigger for voice mail set on device with alias=Home Phone";
    const struct {
        const char* repeat;
        QStringList ticked;   // boxes of the Home Phone tab
        const char *criteria, *events, *schedule;
        QStringList lines;
    } cases[] = {
        {"0", {"UpdateNotificationTriggers", "NotificationTriggerVoiceMail", "NotificationTriggerFaxes"}, "0100000005000000",
         "030000000b000000", "old", {voice, "    Notification trigger for fax set on device with alias=Home Phone"}},
        {"1", {"UpdateNotificationTriggers", "NotificationTriggerVoiceMail", "NotificationTriggerVoiceMailUrgent", "NotificationTriggerEmail",
               "NotificationTriggerEmailUrgent", "NotificationTriggerFaxes", "NotificationTriggerFaxesUrgent"},
         "020000000400000006000000", "02000000060000000a000000", "old",
         {"    Notification trigger for urgent voice mail set on device with alias=Home Phone",
          "    Notification trigger for urgent email set on device with alias=Home Phone",
          "    Notification trigger for urgent fax set on device with alias=Home Phone"}},
        {"NULL", {"UpdateNotificationTriggers", "NotificationTriggerAllMessages", "NotificationTriggerVoiceMail"}, "07000000", "0f000000", "old", {all}},
        {"1", {"UpdateNotificationTriggers", "NotificationTriggerAllMessages", "NotificationTriggerAllMessagesUrgent"}, "08000000", "0e000000", "old",
         {"    Notification trigger for all urgent message set on device with alias=Home Phone"}},
        {"0", {"UpdateNotificationTriggers", "NotificationTriggerEmailUrgent", "NotificationTriggerVoiceMail"}, "01000000", "03000000", "old", {voice}},
        {"1", {"UpdateNotificationTriggers", "UpdateNotificationSchedule"}, "NULL", "NULL", "", {"    Notification triggers cleared on device with alias=Home Phone"}},
        {"1", {"UpdateNotificationSchedule", "NotificationTriggerVoiceMail"}, "ff", "ff", "0108001700", {}},
        {"1", {"NotificationTriggerAllMessages"}, "ff", "ff", "old", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticked.join(' ').toStdString());
        QStringList choices;
        for (const QString& box : c.ticked)
            choices << "chk" + box + "_0=[x]";
        choices << QString("txtNotificationSchedule_0=") + c.schedule;
        auto run = ran(TempInstallation::smallOptions(),
                       {QString("UPDATE NotificationRule SET DlvruleRepeatNotify=%1, dlvruleCriteriaID=X'FF', dlvruleevent=X'FF', "
                                "DlvRuleSchedule='old' WHERE Alias='Home Phone Rule'").arg(c.repeat)},
                       choices);
        EXPECT_EQ(notificationLines(*run).mid(1, c.lines.size() + 1), c.lines + QStringList{" Work Phone Notification device edits"});
        const QString rule = " FROM NotificationRule WHERE Alias='Home Phone Rule' AND ParentObjectID=" + kFirst;
        EXPECT_EQ(shown(run->stored("SELECT dlvruleCriteriaID" + rule)), c.criteria);
        EXPECT_EQ(shown(run->stored("SELECT dlvruleevent" + rule)), c.events);
        EXPECT_EQ(shown(run->stored("SELECT DlvRuleSchedule" + rule)), c.schedule);
    }
}

TEST(ExitAction, SlotNineteenSetsTheExitColumnsOfEverySubscriber)
{
    const QString chosen = "optCallerInputDontChange_19=@0";
    const struct {
        int type;
        QStringList choices;
        const char* stored;   // ExitAction, ExitConversation, ExitObjectID, ExitObjectIDType; "%H" the handler
    } cases[] = {
        {1, {}, "9 old old 9"},
        {1, {chosen, "optCallerInputTakeAction_19=@1", "cmbCallerInputTakeAction_19==152"}, "1  NULL NULL"},
        {5, {chosen, "optCallerInputTakeAction_19=@1", "cmbCallerInputTakeAction_19==175"}, "2 PHGreeting %H 3"},
        {1, {chosen, "optCallerInputTakeAction_19=@1", "cmbCallerInputTakeAction_19==247"}, "2 SubSignIn NULL NULL"},
        {2, {chosen, "optCallerInputGoToCallHandler_19=@1", "txtCallerInputGoToCallHandlerObjectID_19=%H"}, "2 PHTransfer %H 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        auto run = ran(TempInstallation::smallOptions(),
                       {QString("UPDATE Subscriber SET SubscriberType=%1, ExitAction=9, ExitConversation='old', ExitObjectID='old', "
                                "ExitObjectIDType=9 WHERE SubscriberObjectID=%F").arg(c.type)},
                       c.choices);
        const QString handler = run->stored("SELECT CallHandlerObjectID FROM Subscriber WHERE SubscriberObjectID=" + kFirst).toString();
        QStringList stored;
        for (const char* column : {"ExitAction", "ExitConversation", "ExitObjectID", "ExitObjectIDType"})
            stored << shown(run->stored(QString("SELECT %1 FROM Subscriber WHERE SubscriberObjectID=").arg(column) + kFirst));
        EXPECT_EQ(stored.join(' '), QString(c.stored).replace("%H", handler));
        const QStringList lines{"   Exit action value set to:" + (" " + stored[0]), "   Exit conversation name set to:" + stored[1]};
        EXPECT_EQ(run->changesOf(0).filter(QRegularExpression("^   Exit ")), c.choices.isEmpty() ? QStringList() : lines);
    }
}

}  // namespace
