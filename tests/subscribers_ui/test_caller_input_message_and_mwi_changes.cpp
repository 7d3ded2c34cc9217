// The caller input digits, message-waiting and message options categories of the subscriber
// engine, run on the loaded options page: the lines each choice logs, in their order, and the
// columns and device rows it leaves. Choices the page cannot combine are made in the snapshot.
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const QString kFirst = "(SELECT SubscriberObjectID FROM vw_Subscriber ORDER BY SubscriberObjectID LIMIT 1)";
const QString kFirstHandler = "(SELECT CallHandlerObjectID FROM Subscriber WHERE SubscriberObjectID=" + kFirst + ")";
const QString kMissingDevice = "(error) could not find primary MWI device for this subscriber";

struct Case {
    std::vector<std::pair<const char*, const char*>> choices;   // check boxes are ticked; the switch list takes item data
    QStringList lines;    // the category's lines, in order
    QString stored;       // the columns (or device rows) after the run
    int errors = 0;
    bool notifierRestart = false;
};

// Runs each case over the first subscriber, `setup` applied first; `stored` reads the result.
void runCases(const std::vector<Case>& cases, const QStringList& setup, const QString& stored, const QString& lines)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        EngineScenario run;
        for (const QString& statement : setup)
            run.sql(statement);
        ASSERT_TRUE(run.open());
        for (const auto& [name, text] : c.choices) {
            const QString control = name;
            if (control.startsWith("chk"))
                run.tick(control);
            else if (control.startsWith("txt"))
                run.type(control, text);
            else if (control.startsWith("comNotificationSwitchID"))
                run.chooseItem(control, "Second integration", QString(text).toInt(), 2);
            else
                run.choose(control, text);
        }
        run.run(1);
        EXPECT_EQ(run.changesOf(0).filter(QRegularExpression(lines)).join('\n').toStdString(), c.lines.join('\n').toStdString());
        EXPECT_EQ(run.stored(stored, {run.rows[0].objectID}).toString().toStdString(), c.stored.toStdString());
        EXPECT_EQ(run.log->LogErrorCount(), c.errors);
        EXPECT_EQ(run.session.bNotifierRestartPending, c.notifierRestart);
    }
}

const QString kHandlerColumns = "SELECT h.%1 FROM CallHandler h JOIN Subscriber s ON s.CallHandlerObjectID = "
                                "h.CallHandlerObjectID WHERE s.SubscriberObjectID=?";

}  // namespace

TEST(CallerInputDigitsChange, DelayFromZeroOnAndEachClearAfterItsText)
{
    runCases({{{{"txtCallerInputMilisecondsToWait", "0"}, {"txtCallerInputPrependDigits", "9"},
                {"chkCallerInputPrependDigitsClear", ""}, {"chkCallerInputPostPendDigitsClear", ""}},
               {"   One key digit delay set to: 0", "    Prepend Digits set to: 9", "    Prepend Digits cleared",
                "    Postpend Digits cleared."},
               "0,NULL,NULL"},
              {{{"txtCallerInputMilisecondsToWait", "2000"}, {"txtCallerInputPostPendDigits", "*1"}},
               {"   One key digit delay set to: 2000", "    Postpend Digits set to: *1"},
               "2000,old,*1"},
              {{{"txtCallerInputMilisecondsToWait", "-1"}}, {}, "7,old,old"}},
             {"UPDATE CallHandler SET OneKeyDelay=7, PrePendDigits='old', PostPendDigits='old' WHERE CallHandlerObjectID=" + kFirstHandler},
             kHandlerColumns.arg("OneKeyDelay || ',' || ifnull(h.PrePendDigits, 'NULL') || ',' || ifnull(h.PostPendDigits, 'NULL')"),
             "digit delay|Digits");
}

TEST(MessageOptionsChange, LengthAboveZeroTriStateEditAndMarkingsIgnoringCase)
{
    runCases({{{{"txtMessagesMaxMessageLength", "300"}, {"comMessagesCallersCanEdit", "TRUE"},
                {"comMessagesMarkUrgent", "always"}, {"comMessagesMarkPrivate", "Ask Caller"}},
               {"   Maximum message length set to: 300", "   Callers can edit messages set to: 1",
                "   Mark messages as urgent set to Always", "   Mark messages as private set to Ask Caller"},
               "300,1,1,2"},
              {{{"txtMessagesMaxMessageLength", "0"}, {"comMessagesCallersCanEdit", "FALSE"},
                {"comMessagesMarkUrgent", "Never"}, {"comMessagesMarkPrivate", "<Don't Change>"}},
               {"   Callers can edit messages set to: 0", "   Mark messages as urgent set to Never"},
               "7,0,0,7"}},
             {"UPDATE CallHandler SET MaxMsgLen=7, EditMsg=7, SendUrgentMsg=7, SendPrivateMsg=7 WHERE CallHandlerObjectID=" + kFirstHandler},
             kHandlerColumns.arg("MaxMsgLen || ',' || h.EditMsg || ',' || h.SendUrgentMsg || ',' || h.SendPrivateMsg"),
             "message length|edit messages|Mark messages");
}

TEST(MessageWaitingChange, AllOffThenTheCodeAndOnlyTheseAskForANotifierRestart)
{
    const auto devices = [](const QStringList& aliases) {
        QStringList setup{"DELETE FROM NotificationMWI WHERE ParentObjectID=" + kFirst};
        for (const QString& alias : aliases)
            setup << QString("INSERT INTO NotificationMWI (ParentObjectID, Alias, MWIExtension, SwitchID, MWIUpdateDisplay) "
                             "VALUES (%1, '%2', '%2 code', 1, 1)").arg(kFirst, alias);
        return setup;
    };
    const QString rows = "SELECT group_concat(Alias || '=' || ifnull(MWIExtension, 'NULL') || '/' || SwitchID || '/' || "
                         "MWIUpdateDisplay, ' ') FROM (SELECT * FROM NotificationMWI WHERE ParentObjectID=? ORDER BY Alias)";
    const QString lines = "MWI";
    // Switching off and a code together: the page empties the code box, the snapshot need not.
    runCases({{{{"chkMessagesMWIDisable", ""}, {"txtMessagesMWICode", "X"}},
               {"    All MWI codes for user disabled", "    MWI code set to:X"},
               "MWI-1=X/1/1 MWI-2=NULL/1/1", 0, true},
              {{{"comNotificationSwitchID_10", "2"}, {"comMessagesSendCounts", "FALSE"}},
               {"  Primary MWI switch device set to:  2", "  Primary MWI UpdateDisplay set to:  0"},
               "MWI-1=MWI-1 code/2/0 MWI-2=MWI-2 code/1/1"}},
             devices({"MWI-1", "MWI-2"}), rows, lines);
    runCases({{{{"chkMessagesMWIDisable", ""}, {"txtMessagesMWICode", "5"}, {"comNotificationSwitchID_10", "2"},
                {"comMessagesSendCounts", "TRUE"}},
               {"(error) could not find any MWI devices for this subscriber.", kMissingDevice, kMissingDevice}, "", 3}},
             devices({}), rows, lines);
    runCases({{{{"txtMessagesMWICode", "5"}, {"comMessagesSendCounts", "TRUE"}},
               {"(error) could not find primary MWI extension by alias='MWI-1'", kMissingDevice},
               "MWI-2=MWI-2 code/1/1", 2}},
             devices({"MWI-2"}), rows, lines);
}
