// The transfer rules section of the call handler engine: each choice's columns and lines, the
// transfer numbers, the rules a server version has, a missing rule and a refused rule.
#include "core/DisabledDate.h"
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include <gtest/gtest.h>

namespace {

const QStringList kHeadings{"   Alternate Transfer Rule Edits:", "   Standard Transfer Rule Edits:", "   Off Hours Transfer Rule Edits",
                            "   Follow-Me Here Transfer Rule Edits", "   Follow-Me Home Transfer Rule Edits", "   Follow-Me Mobile Transfer Rule Edits"};
const QStringList kAliases{"Alternate", "Standard", "Off Hours"};
const QString kOff = "1990-12-25T08:00:00.000";   // the disabled date as the database holds it
const QString kFirst = "(SELECT MIN(CallHandlerObjectID) FROM CallHandler WHERE IsPrimary=0)";
// The first handler's own extension, then none or 4711.
const QString kNoExtension = "DELETE FROM DTMFAccessID WHERE ParentObjectID=" + kFirst;
const QString kExtension = "INSERT INTO DTMFAccessID(DTMFAccessID, ParentObjectID, IsPrimaryID) VALUES('4711', " + kFirst + ", 1)";
const QString kSubscriber = "(SELECT MIN(s.SubscriberObjectID) FROM vw_Subscriber s JOIN vw_CallHandler h ON h.CallHandlerObjectID=s.CallHandlerObjectID WHERE h.DTMFAccessID IS NOT NULL)";
const QString kList = "(SELECT MIN(SystemDListObjectID) FROM DistributionList)";
const QString kRecipient = "UPDATE CallHandler SET RecipientObjectIDType=%1, RecipientObjectID=%2 WHERE CallHandlerObjectID=" + kFirst;

// "%2" is the recipient subscriber's extension.
TEST(HandlerTransferRules, EachChoiceWritesItsColumnsAndLines)
{
    const struct { int rule; QStringList setup; QList<std::pair<QString, QString>> choices; QStringList lines; QString columns, stored; } cases[] = {
        {2, {}, {{"comTransferEnabled_2", "=137"}, {"txtTransferRingsToWait_2", "2.5"}}, {"   Transfer rule enabled set to: 0", "   Rings to wait set to 2"}, "TimeExpires,Action,TransferRings", kOff + "|0|2"},
        {2, {kNoExtension, kExtension}, {{"comTransferEnabled_2", "=137"}, {"comTransferTo_2", "=83"}}, {"   Transfer rule enabled set to: 0", "   Transfer extension set to:4711"}, "TimeExpires,Action,Extension", kOff + "|1|4711"},
        {0, {}, {{"txtTransferRingsToWait_0", "7"}, {"comVoiceTransferPrompt_0", "=279"}, {"comTransferType_0", "=217"}, {"comTransferBusyAction_0", "=65"}, {"comTransferAnnounce_0", "=279"}, {"comTransferAskCallersName_0", "=137"}}, {"       Play transfer wait prompt set to: 1", "   Transfer type set to Release", "   Rings to wait set to 7", "   Holding mode set to Ask Caller", "   Announce option set", "   Ask Caller Name Option set"}, "PlayTransferWaitPrompt,TransferType,TransferRings,TransferHoldingMode,TransferAnnounce,TransferScreening", "0|0|7|2|1|0"},
        {1, {kNoExtension, kExtension, "UPDATE ContactRule SET Extension=NULL WHERE Alias='Standard'"}, {{"comTransferEnabled_1", "=279"}, {"txtTransferRingsToWait_1", "-3"}, {"cmbCallHandlerSwitchAssignment", "@2"}}, {"   Switch assignment set to: 2", "   Transfer rule enabled set to: 1", "   Transfer extension set to: 4711"}, "Extension,Action,TransferRings,SwitchID", "4711|1|4|2"},
        {1, {kNoExtension, "UPDATE ContactRule SET Extension=NULL, Action=1 WHERE Alias='Standard'"}, {{"comTransferEnabled_1", "=279"}}, {"   Transfer rule enabled set to: 1", "   Turning transfer off because no transfer number could be found"}, "Extension,Action", "null|0"},
        {0, {kRecipient.arg("1", kSubscriber)}, {{"comTransferTo_0", "=216"}, {"comTransferEnabled_0", "=279"}}, {"   Transfer rule enabled set to: 1", "    Transfer extension set to: %2"}, "Extension,Action", "%2|1"},
        {0, {kRecipient.arg("1", "'nobody'")}, {{"comTransferTo_0", "=216"}}, {"(error) could not find the subscriber configured as the recipient for this handler.  Object ID=nobody", "    Transfer disabled since no transfer number found for recipient object."}, "Action", "0"},
        {2, {"DELETE FROM DTMFAccessID WHERE ParentObjectID=" + kList, kRecipient.arg("NULL", kList), "UPDATE ContactRule SET Extension='5'"}, {{"comTransferTo_2", "=216"}}, {"    Transfer disabled since no tranfer number found for recipient object"}, "Extension,Action", "null|0"},
        {1, {"DELETE FROM ContactRule WHERE Alias='Standard'"}, {{"txtTransferRingsToWait_2", "9"}}, {"(error) could not find contact rule!  Skipping and moving on - this is a serious error and you should contact Norwick.", kHeadings[2], "   Rings to wait set to 9"}, "Action", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(" / ").toStdString());
        HandlerEngineScenario run;
        ASSERT_TRUE(run.open("transfer rules", c.setup));
        run.make(c.choices);
        run.run(1);
        const QString recipients = run.stored("SELECT h.DTMFAccessID FROM vw_CallHandler h JOIN vw_Subscriber s ON "
                                              "h.CallHandlerObjectID=s.CallHandlerObjectID WHERE s.SubscriberObjectID=" + kSubscriber).toString();
        const QStringList expected = QStringList(c.lines).replaceInStrings("%2", recipients);
        EXPECT_EQ(run.changesOf(0).mid(run.changesOf(0).indexOf(kHeadings[c.rule]) + 1, expected.size()), expected);
        EXPECT_EQ(run.columnsOf("ContactRule", 0, kAliases[c.rule], c.columns), QString(c.stored).replace("%2", recipients));
        EXPECT_EQ(run.log->LogErrorCount(), c.lines.filter("(error)").size());
    }
}

// A server has the Follow-Me rules from 7.0(0).1 on. With nothing chosen every rule is saved as it
// was, but the Standard rule is enabled.
TEST(HandlerTransferRules, TheServersRulesAreVisitedAndOnlyTheStandardRuleIsEnabled)
{
    for (const int build : {0, 1}) {
        HandlerEngineScenario run(3, TempInstallation::smallServer(7, 0, 0, build));
        ASSERT_TRUE(run.open("transfer rules"));
        const auto disableStandard = [&] { run.session.database.execute("UPDATE ContactRule SET TimeExpires=? WHERE Alias='Standard'", {disabledDate()}); };
        const auto rules = [&] { return run.session.database.select("SELECT * FROM ContactRule ORDER BY ParentObjectID, Alias").rows; };
        disableStandard();
        const auto before = rules();
        run.run(1);
        EXPECT_EQ(run.changesOf(0), kHeadings.mid(0, build ? 6 : 3));
        EXPECT_EQ(run.columnsOf("ContactRule", 0, "Standard", "TimeExpires"), "null");
        EXPECT_EQ(run.log->LogErrorCount(), 0);
        disableStandard();
        EXPECT_EQ(rules(), before);
    }
}

// The server refuses the second handler's Off Hours rule: its Alternate rule keeps no change.
TEST(HandlerTransferRules, ARefusedRuleKeepsNoneOfTheHandlersChanges)
{
    HandlerEngineScenario run;
    ASSERT_TRUE(run.open("transfer rules"));
    const QList<SelectionGridRow> rows = run.firstHandlers(3);
    run.refuseUpdates("ContactRule", rows[1].objectID, "Off Hours");
    run.make({{"txtTransferRingsToWait_0", "7"}, {"txtTransferRingsToWait_2", "7"}});
    run.run(rows);
    for (int handler = 0; handler < 3; ++handler)
        EXPECT_EQ(run.columnsOf("ContactRule", handler, "Alternate", "TransferRings"), handler == 1 ? "4" : "7") << handler;
    EXPECT_EQ(run.log->LogErrorCount(), 1);
    EXPECT_TRUE(run.shown.size() == 1 && run.shown[0].startsWith(run.string(121))) << run.shown.join(" / ").toStdString();
}

}  // namespace
