// The notification category of the subscriber engine on the loaded options page: the devices a
// run visits and what their tabs change, the rules' trigger lists and schedules, the exit action.
#include "tests/subscribers_ui/EngineScenario.h"

#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kFirst = "(SELECT SubscriberObjectID FROM vw_Subscriber ORDER BY SubscriberObjectID LIMIT 1)";
const QStringList kAliases{"Home Phone", "Work Phone", "Pager", "Spare Phone", "Pager 2", "Phone 2", "Phone 3", "Phone 4", "Phone 5", "Phone 6", "Text Pager 1", "Text Pager 2", "Text for VMI", "SMS"};

// The first subscriber's values, " "-joined, of "table.column" or "table.column.alias".
QString stored(EngineScenario& run, const QStringList& columns)
{
    QStringList values;
    for (const QString& column : columns) {
        const QStringList part = column.split('.');
        const QString owner = part[0] == "Subscriber" ? "SubscriberObjectID" : "Alias='" + part.value(2) + "' AND ParentObjectID";
        const QVariant value = run.stored(QString("SELECT %2 FROM %1 WHERE %3=%4").arg(part[0], part[1], owner, kFirst));
        values << (value.isNull() ? "NULL" : value.typeId() == QMetaType::QByteArray ? value.toByteArray().toHex() : value.toString());
    }
    return values.join(' ');
}

// A run over the first subscriber: `setup` on the database ("%F" that subscriber), then choices "name=value": "[x]" ticks,
// "@1"/"@0" sets an option button, "#n" selects an entry with item data n, "=n" shows resource string n, else typed or shown.
std::unique_ptr<EngineScenario> ran(const velmo::InstallationOptions& server, const QStringList& setup, const QStringList& choices)
{
    auto run = std::make_unique<EngineScenario>(server);
    for (const QString& statement : setup)
        run->sql(QString(statement).replace("%F", kFirst));
    EXPECT_TRUE(run->open());
    for (const QString& choice : choices) {
        const QString name = choice.section('=', 0, 0), value = choice.section('=', 1);
        if (value == "[x]")
            run->tick(name);
        else if (value.startsWith('@'))
            run->pick(name, value == "@1");
        else if (value.startsWith('#'))
            run->chooseItem(name, value, value.mid(1).toInt());
        else if (value.startsWith('=') && value.size() > 1)
            run->chooseString(name, value.mid(1).toInt());
        else
            name.startsWith("txt") ? run->type(name, value) : run->choose(name, value);
    }
    run->run(1);
    return run;
}

const QString kDisabled = "      Notification device disabled", kCleared = "    Notification triggers cleared on device with alias=";

TEST(NotificationDevices, EachVisitedDeviceGetsItsHeaderAndItsTabsChoices)
{
    const QString touch = "UPDATE NotificationDevice SET DLVDeviceActive=5, SwitchID=5, DlvdeviceSendCount=5";
    const QStringList choices{"comNotificationDisableDevice_1=TRUE", "comNotificationDisableDevice_0=FALSE", "comNotificationDisableDevice_3=maybe", "comNotificationDisableDevice_5=TRUE",
                              "chkUpdateNotificationTriggers_2=[x]", "comNotificationSwitchID_9=#2", "comTextNotificationIncludeVmailEmailFaxCounts_2=FALSE",
                              "comTextNotificationIncludeVmailEmailFaxCounts_3=TRUE", "comTextNotificationIncludeCallerInfo_0=TRUE"};
    const QStringList columns{"NotificationDevice.DLVDeviceActive.Work Phone", "NotificationDevice.DLVDeviceActive.Home Phone", "NotificationDevice.DLVDeviceActive.Spare Phone",
                              "NotificationDevice.SwitchID.Phone 6", "NotificationDevice.DlvdeviceSendCount.Text for VMI", "NotificationDevice.DlvdeviceSendCount.SMS"};
    // The lines the choices give a device below its header: caller info needs 4.2(0).38.
    const QString counts = "   Include voice mail, e-mail, and fax counts set to:  ";
    const QMap<int, QStringList> applied{{0, {"      Notification device enabled"}}, {1, {kDisabled}}, {2, {kCleared + "Pager"}}, {5, {kDisabled}},
                                         {9, {"      Switch assignment set to:  2"}}, {10, {"   Send Caller Info set to:  1"}}, {12, {counts + "0"}}, {13, {counts + "1"}}};
    const QString missing = "(error) this subscriber is missing notification %1!  This is a serious error, you shoudl contact Norwick.";
    const auto server = TempInstallation::smallServer;
    // `devices` visited (0: `lines`[0] are all the lines); `lines` a device's where not its header and `applied`.
    const struct { velmo::InstallationOptions server; QStringList setup; int devices; QMap<int, QStringList> lines; const char* stored; } cases[] = {
        {server(4, 2, 0, 38), {touch, "UPDATE Subscriber SET SubscriberType=3 WHERE SubscriberObjectID=%F"}, 14, {}, "0 1 5 2 0 1"},
        {server(4, 2, 0, 38), {touch, "UPDATE Subscriber SET SubscriberType=2 WHERE SubscriberObjectID=%F"}, 0, {{0, {}}}, "5 5 5 5 5 5"},
        {server(4, 2, 0, 37), {touch}, 14, {{10, {" Text Pager 1 Notification device edits"}}}, "0 1 5 2 0 1"},
        {server(4, 0, 3, 119), {touch}, 13, {{10, {" Text Pager 1 Notification device edits"}}}, "0 1 5 2 0 5"},
        {server(4, 0, 3, 120), {touch, "DELETE FROM NotificationDevice WHERE Alias='SMS'"}, 0, {{0, {missing.arg("devices")}}}, "5 5 5 5 5 NULL"},
        {server(4, 0, 3, 119), {touch, "DELETE FROM NotificationDevice WHERE Alias='SMS'"}, 13, {{10, {" Text Pager 1 Notification device edits"}}}, "0 1 5 2 0 NULL"},
        {server(4, 0, 3, 120), {touch, "DELETE FROM NotificationRule WHERE Alias='SMS Rule'"}, 0, {{0, {missing.arg("rules")}}}, "5 5 5 5 5 5"},
        {server(4, 2, 0, 38), {touch, "UPDATE NotificationDevice SET Alias='Pager X' WHERE Alias='Pager'", "UPDATE NotificationRule SET Alias='X' WHERE Alias='Phone 2 Rule'"}, 14,
         {{2, {"(error) could not find notification device for this subscriber by index= 2", kCleared + "Pager"}},
          {5, {" Phone 2 Notification device edits", kDisabled, "(error) could not find notification rule for this sybscriber by index= 5"}}}, "0 1 5 2 0 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setup.join("; ").toStdString());
        auto run = ran(c.server, c.setup, choices);
        QStringList expected = c.devices > 0 ? QStringList() : c.lines.value(0);
        for (int device = 0; device < c.devices; ++device)
            expected << c.lines.value(device, QStringList{" " + kAliases[device] + " Notification device edits"} + applied.value(device));
        // The category's lines: from the first that names a notification device to the end.
        const QStringList changes = run->changesOf(0);
        const qsizetype first = changes.indexOf(QRegularExpression(".*otification.*"));
        EXPECT_EQ(first < 0 ? QStringList() : changes.mid(first), expected);
        EXPECT_EQ(run->log->LogErrorCount(), expected.filter("(error)").size());
        EXPECT_EQ(stored(*run, columns), c.stored);
        EXPECT_FALSE(run->session.bDirectoryWriteThroughPending || run->session.bNotifierRestartPending);
    }
}

TEST(NotificationRules, TheTriggerBoxesAndTheScheduleRewriteTheRule)
{
    const QMap<QChar, QString> boxes{{'T', "UpdateNotificationTriggers"}, {'S', "UpdateNotificationSchedule"}, {'A', "NotificationTriggerAllMessages"},
                                     {'a', "NotificationTriggerAllMessagesUrgent"}, {'V', "NotificationTriggerVoiceMail"}, {'v', "NotificationTriggerVoiceMailUrgent"},
                                     {'E', "NotificationTriggerEmail"}, {'e', "NotificationTriggerEmailUrgent"}, {'F', "NotificationTriggerFaxes"}, {'f', "NotificationTriggerFaxesUrgent"}};
    const auto set = [](const QString& trigger) { return "    Notification trigger " + trigger + " set on device with alias=Home Phone"; };
    // `ticked` boxes of the Home Phone tab; `stored` criteria list, event list, schedule.
    const struct { const char *repeat, *ticked, *stored; QStringList lines; } cases[] = {
        {"0", "TVF", "0100000005000000 030000000b000000 old", {set("for voice mail"), set("for fax")}},
        {"1", "TVvEeFf", "020000000400000006000000 02000000060000000a000000 old", {set("for urgent voice mail"), set("for urgent email"), set("for urgent fax")}},
        {"NULL", "TAV", "07000000 0f000000 old", {set("of all messages")}},
        {"1", "TAa", "08000000 0e000000 old", {set("for all urgent message")}},
        {"0", "TeV", "01000000 03000000 old", {set("for voice mail")}},
        {"1", "TS", "NULL NULL ", {kCleared + "Home Phone"}},
        {"1", "SV", "ff ff 0108001700", {}},
        {"1", "A", "ff ff old", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticked);
        QStringList choices{QString("txtNotificationSchedule_0=") + QString(c.stored).section(' ', 2)};
        for (const QChar box : QString(c.ticked))
            choices << "chk" + boxes[box] + "_0=[x]";
        auto run = ran(TempInstallation::smallOptions(), {QString("UPDATE NotificationRule SET DlvruleRepeatNotify=%1, dlvruleCriteriaID=X'FF', dlvruleevent=X'FF', "
                                                                  "DlvRuleSchedule='old' WHERE Alias='Home Phone Rule'").arg(c.repeat)}, choices);
        const QStringList changes = run->changesOf(0);
        EXPECT_EQ(changes.mid(changes.indexOf(" Home Phone Notification device edits") + 1, c.lines.size() + 1), c.lines + QStringList{" Work Phone Notification device edits"});
        EXPECT_EQ(stored(*run, {"NotificationRule.dlvruleCriteriaID.Home Phone Rule", "NotificationRule.dlvruleevent.Home Phone Rule", "NotificationRule.DlvRuleSchedule.Home Phone Rule"}), c.stored);
    }
}

TEST(ExitAction, SlotNineteenSetsTheExitColumnsOfEverySubscriber)
{
    // `action` the resource string slot 19 takes (0: "<Don't Change>"); `stored`: ExitAction, ExitConversation, ExitObjectID,
    // ExitObjectIDType; "%H" the handler.
    const struct { int type, action; const char* stored; } cases[] = {
        {1, 0, "9 old old 9"},
        {1, 152, "1  NULL NULL"},
        {5, 175, "2 PHGreeting %H 3"},
        {2, 247, "2 SubSignIn NULL NULL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        auto run = ran(TempInstallation::smallOptions(), {QString("UPDATE Subscriber SET SubscriberType=%1, ExitAction=9, ExitConversation='old', ExitObjectID='old', "
                                                                  "ExitObjectIDType=9 WHERE SubscriberObjectID=%F").arg(c.type)},
                       c.action ? QStringList{"optCallerInputDontChange_19=@0", "optCallerInputTakeAction_19=@1", "cmbCallerInputTakeAction_19==" + QString::number(c.action)} : QStringList());
        const QString exit = stored(*run, {"Subscriber.ExitAction", "Subscriber.ExitConversation", "Subscriber.ExitObjectID", "Subscriber.ExitObjectIDType"});
        EXPECT_EQ(exit, QString(c.stored).replace("%H", stored(*run, {"Subscriber.CallHandlerObjectID"})));
        const QStringList lines{"   Exit action value set to: " + exit.section(' ', 0, 0), "   Exit conversation name set to:" + exit.section(' ', 1, 1)};
        EXPECT_EQ(run->changesOf(0).filter(QRegularExpression("^   Exit ")), c.action ? lines : QStringList());
    }
}

}  // namespace
