// The caller input digits, message-waiting and message options categories of the subscriber
// engine on the loaded options page: each choice's lines, in order, and the columns or device
// rows it leaves. Choices the page cannot combine are made in the snapshot.
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kFirst = "(SELECT SubscriberObjectID FROM vw_Subscriber ORDER BY SubscriberObjectID LIMIT 1)";
const QString kNoPrimary = "(error) could not find primary MWI device for this subscriber";
const QString kHandler = "SELECT %1 FROM CallHandler h JOIN Subscriber s USING (CallHandlerObjectID) WHERE s.SubscriberObjectID=?";

// Each case over the first subscriber, `setup` run before start-up. Choices "name=text": boxes
// ticked, the switch list takes item data, other lists show the text (a text box takes it as
// typed); `lines` the category's (matching `pattern`), in order; `stored` what `query` reads after.
struct Case { QStringList choices, lines; QString stored; bool notifierRestart = false; };
void runCases(const std::vector<Case>& cases, const QStringList& setup, const QString& query, const QString& pattern)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        EngineScenario run;
        for (const QString& statement : setup)
            run.sql(statement);
        ASSERT_TRUE(run.open());
        for (const QString& choice : c.choices) {
            const QString name = choice.section('=', 0, 0), text = choice.section('=', 1);
            if (name.startsWith("chk"))
                run.tick(name);
            else if (name.startsWith("comNotificationSwitchID"))
                run.chooseItem(name, "Second integration", text.toInt(), 2);
            else
                run.choose(name, text);
        }
        run.run(1);
        EXPECT_EQ(run.changesOf(0).filter(QRegularExpression(pattern)).join('\n').toStdString(), c.lines.join('\n').toStdString());
        EXPECT_EQ(run.stored(query, {run.rows[0].objectID}).toString().toStdString(), c.stored.toStdString());
        EXPECT_EQ(run.log->LogErrorCount(), c.lines.filter("(error)").size());
        EXPECT_EQ(run.session.bNotifierRestartPending, c.notifierRestart);
    }
}

}  // namespace

TEST(CallerInputDigitsChange, DelayFromZeroOnAndEachClearAfterItsText)
{
    runCases({{{"txtCallerInputMilisecondsToWait=0", "txtCallerInputPrependDigits=9", "chkCallerInputPrependDigitsClear", "chkCallerInputPostPendDigitsClear"},
               {"   One key digit delay set to: 0", "    Prepend Digits set to: 9", "    Prepend Digits cleared", "    Postpend Digits cleared."}, "0,NULL,NULL"},
              {{"txtCallerInputMilisecondsToWait=2000", "txtCallerInputPostPendDigits=*1"}, {"   One key digit delay set to: 2000", "    Postpend Digits set to: *1"}, "2000,old,*1"},
              {{"txtCallerInputMilisecondsToWait=-1"}, {}, "7,old,old"}},
             {"UPDATE CallHandler SET OneKeyDelay=7, PrePendDigits='old', PostPendDigits='old'"},
             kHandler.arg("OneKeyDelay || ',' || ifnull(PrePendDigits, 'NULL') || ',' || ifnull(PostPendDigits, 'NULL')"), "digit delay|Digits");
}

TEST(MessageOptionsChange, LengthAboveZeroTriStateEditAndMarkingsIgnoringCase)
{
    runCases({{{"txtMessagesMaxMessageLength=300", "comMessagesCallersCanEdit=TRUE", "comMessagesMarkUrgent=always", "comMessagesMarkPrivate=Ask Caller"},
               {"   Maximum message length set to: 300", "   Callers can edit messages set to: 1", "   Mark messages as urgent set to Always",
                "   Mark messages as private set to Ask Caller"}, "300,1,1,2"},
              {{"txtMessagesMaxMessageLength=0", "comMessagesCallersCanEdit=FALSE", "comMessagesMarkUrgent=Never", "comMessagesMarkPrivate=<Don't Change>"},
               {"   Callers can edit messages set to: 0", "   Mark messages as urgent set to Never"}, "7,0,0,7"}},
             {"UPDATE CallHandler SET MaxMsgLen=7, EditMsg=7, SendUrgentMsg=7, SendPrivateMsg=7"},
             kHandler.arg("MaxMsgLen || ',' || EditMsg || ',' || SendUrgentMsg || ',' || SendPrivateMsg"), "message length|edit messages|Mark messages");
}

TEST(MessageWaitingChange, AllOffThenTheCodeAndOnlyTheseAskForANotifierRestart)
{
    const auto devices = [](const QStringList& aliases) {
        QStringList setup{"DELETE FROM NotificationMWI WHERE ParentObjectID=" + kFirst};
        for (const QString& alias : aliases)
            setup << QString("INSERT INTO NotificationMWI VALUES (%1, '%2', '%2 code', 1, 1)").arg(kFirst, alias);
        return setup;
    };
    const QString rows = "SELECT group_concat(Alias || '=' || ifnull(MWIExtension, 'NULL') || '/' || SwitchID || '/' || "
                         "MWIUpdateDisplay, ' ') FROM (SELECT * FROM NotificationMWI WHERE ParentObjectID=? ORDER BY Alias)";
    runCases({{{"chkMessagesMWIDisable", "txtMessagesMWICode=X"}, {"    All MWI codes for user disabled", "    MWI code set to:X"}, "MWI-1=X/1/1 MWI-2=NULL/1/1", true},
              {{"comNotificationSwitchID_10=2", "comMessagesSendCounts=FALSE"}, {"  Primary MWI switch device set to:  2", "  Primary MWI UpdateDisplay set to:  0"},
               "MWI-1=MWI-1 code/2/0 MWI-2=MWI-2 code/1/1"}},
             devices({"MWI-1", "MWI-2"}), rows, "MWI");
    runCases({{{"chkMessagesMWIDisable", "txtMessagesMWICode=5", "comNotificationSwitchID_10=2", "comMessagesSendCounts=TRUE"},
               {"(error) could not find any MWI devices for this subscriber.", kNoPrimary, kNoPrimary}, ""}},
             devices({}), rows, "MWI");
    runCases({{{"txtMessagesMWICode=5", "comMessagesSendCounts=TRUE"}, {"(error) could not find primary MWI extension by alias='MWI-1'", kNoPrimary}, "MWI-2=MWI-2 code/1/1"}},
             devices({"MWI-2"}), rows, "MWI");
}
