// The transfer rules section of the call handler engine: each choice's columns and lines, the
// transfer numbers, the rules a server version has, a missing rule and a refused rule.
#include "core/DisabledDate.h"
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include <gtest/gtest.h>

namespace {

const QStringList kHeadings{"   Alternate Transfer Rule Edits:", "   Standard Transfer Rule Edits:",
                            "   Off Hours Transfer Rule Edits", "   Follow-Me Here Transfer Rule Edits",
                            "   Follow-Me Home Transfer Rule Edits", "   Follow-Me Mobile Transfer Rule Edits"};
const QStringList kAliases{"Alternate", "Standard", "Off Hours"};
const QString kFirst = "(SELECT MIN(CallHandlerObjectID) FROM CallHandler WHERE IsPrimary=0)";
// The first handler's own extension, then none or 4711.
const QString kNoExtension = "DELETE FROM DTMFAccessID WHERE ParentObjectID=" + kFirst;
const QString kExtension = "INSERT INTO DTMFAccessID(DTMFAccessID, ParentObjectID, IsPrimaryID) VALUES('4711', " + kFirst + ", 1)";
const QString kSubscriber = "(SELECT MIN(s.SubscriberObjectID) FROM vw_Subscriber s JOIN vw_CallHandler h "
                            "ON h.CallHandlerObjectID=s.CallHandlerObjectID WHERE h.DTMFAccessID IS NOT NULL)";
const QString kList = "(SELECT MIN(SystemDListObjectID) FROM DistributionList)";
const QString kRecipient = "UPDATE CallHandler SET RecipientObjectIDType=%1, RecipientObjectID=%2 WHERE CallHandlerObjectID=" + kFirst;

// A run whose installation `setup` changed before start-up.
struct TransferRun : HandlerEngineScenario {
    explicit TransferRun(const QStringList& setup = {}, velmo::InstallationOptions options = TempInstallation::smallOptions())
        : HandlerEngineScenario(3, options)
    {
        section = "transfer rules";
        for (const QString& statement : setup)
            sql(statement);
        EXPECT_TRUE(open());
    }
    QVariant rule(int handler, const QString& alias, const QString& column)
    {
        return stored("SELECT " + column + " FROM ContactRule WHERE ParentObjectID=? AND Alias=?", {rows[handler].objectID, alias});
    }
};

TEST(HandlerTransferRules, EachChoiceWritesItsColumnsAndLines)
{
    // "=N" shows resource string N, the switch list shows "Switch <data>"; "%2" is the recipient
    // subscriber's extension.
    const QString missing = "(error) could not find contact rule!  Skipping and moving on - this is a serious error and you should contact Norwick.";
    const struct {
        int rule;
        QStringList setup;
        QList<std::pair<QString, QString>> choices;
        QStringList lines;
        QList<std::pair<QString, QVariant>> after;
    } cases[] = {
        {2, {}, {{"comTransferEnabled_2", "=137"}, {"txtTransferRingsToWait_2", "2.5"}}, {"   Transfer rule enabled set to: 0", "   Rings to wait set to 2"},
         {{"TimeExpires", disabledDate()}, {"Action", 0}, {"TransferRings", 2}}},
        {2, {kNoExtension, kExtension}, {{"comTransferEnabled_2", "=137"}, {"comTransferTo_2", "=83"}},
         {"   Transfer rule enabled set to: 0", "   Transfer extension set to:4711"}, {{"TimeExpires", disabledDate()}, {"Action", 1}, {"Extension", "4711"}}},
        {0, {}, {{"txtTransferRingsToWait_0", "7"}, {"comVoiceTransferPrompt_0", "=279"}, {"comTransferType_0", "=217"},
                 {"comTransferBusyAction_0", "=65"}, {"comTransferAnnounce_0", "=279"}, {"comTransferAskCallersName_0", "=137"}},
         {"       Play transfer wait prompt set to: 1", "   Transfer type set to Release", "   Rings to wait set to 7",
          "   Holding mode set to Ask Caller", "   Announce option set", "   Ask Caller Name Option set"},
         {{"PlayTransferWaitPrompt", 0}, {"TransferType", 0}, {"TransferRings", 7}, {"TransferHoldingMode", 2}, {"TransferAnnounce", 1}, {"TransferScreening", 0}}},
        {1, {kNoExtension, kExtension, "UPDATE ContactRule SET Extension=NULL WHERE Alias='Standard'"},
         {{"comTransferEnabled_1", "=279"}, {"txtTransferRingsToWait_1", "-3"}, {"cmbCallHandlerSwitchAssignment", "2"}},
         {"   Switch assignment set to: 2", "   Transfer rule enabled set to: 1", "   Transfer extension set to: 4711"},
         {{"Extension", "4711"}, {"Action", 1}, {"TransferRings", 4}, {"SwitchID", 2}}},
        {1, {kNoExtension, "UPDATE ContactRule SET Extension=NULL, Action=1 WHERE Alias='Standard'"}, {{"comTransferEnabled_1", "=279"}},
         {"   Transfer rule enabled set to: 1", "   Turning transfer off because no transfer number could be found"}, {{"Extension", QVariant()}, {"Action", 0}}},
        {0, {kRecipient.arg("1", kSubscriber)}, {{"comTransferTo_0", "=216"}, {"comTransferEnabled_0", "=279"}},
         {"   Transfer rule enabled set to: 1", "    Transfer extension set to: %2"}, {{"Extension", "%2"}, {"Action", 1}}},
        {0, {kRecipient.arg("1", "'nobody'")}, {{"comTransferTo_0", "=216"}},
         {"(error) could not find the subscriber configured as the recipient for this handler.  Object ID=nobody",
          "    Transfer disabled since no transfer number found for recipient object."}, {{"Action", 0}}},
        {2, {"DELETE FROM DTMFAccessID WHERE ParentObjectID=" + kList, kRecipient.arg("NULL", kList), "UPDATE ContactRule SET Extension='5'"}, {{"comTransferTo_2", "=216"}},
         {"    Transfer disabled since no tranfer number found for recipient object"}, {{"Extension", QVariant()}, {"Action", 0}}},
        // A missing rule: its heading, its line, and the next rule is still changed.
        {1, {"DELETE FROM ContactRule WHERE Alias='Standard'"}, {{"txtTransferRingsToWait_2", "9"}},
         {missing, kHeadings[2], "   Rings to wait set to 9"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(" / ").toStdString());
        TransferRun run(c.setup);
        for (const auto& [name, value] : c.choices)
            name.startsWith("cmb") ? run.chooseItem(name, "Switch " + value, value.toInt())
            : value.startsWith('=') ? run.chooseString(name, value.mid(1).toInt()) : run.type(name, value);
        run.run(1);
        ASSERT_EQ(run.rows[0].objectID, run.stored("SELECT " + kFirst).toString());
        const QString recipients = run.stored("SELECT h.DTMFAccessID FROM vw_CallHandler h JOIN vw_Subscriber s ON "
                                              "h.CallHandlerObjectID=s.CallHandlerObjectID WHERE s.SubscriberObjectID=" + kSubscriber).toString();
        QStringList expected = c.lines;
        expected.replaceInStrings("%2", recipients);
        EXPECT_EQ(run.changesOf(0).mid(run.changesOf(0).indexOf(kHeadings[c.rule]) + 1, expected.size()), expected);
        for (const auto& [column, value] : c.after) {
            const QVariant stored = run.rule(0, kAliases[c.rule], column);   // a date-time read back as one
            EXPECT_EQ(value.typeId() == QMetaType::QDateTime ? QVariant(stored.toDateTime()) : stored,
                      value.toString() == "%2" ? recipients : value) << column.toStdString();
        }
        EXPECT_EQ(run.log->LogErrorCount(), c.lines.filter("(error)").size());
    }
}

// A server has the Follow-Me rules from 7.0(0).1 on. With nothing chosen every rule is saved as it
// was, but the Standard rule is enabled.
TEST(HandlerTransferRules, TheServersRulesAreVisitedAndOnlyTheStandardRuleIsEnabled)
{
    for (const int build : {0, 1}) {
        TransferRun run({}, TempInstallation::smallServer(7, 0, 0, build));
        const auto disableStandard = [&] { run.session.database.execute("UPDATE ContactRule SET TimeExpires=? WHERE Alias='Standard'", {disabledDate()}); };
        const auto rules = [&] { return run.session.database.select("SELECT * FROM ContactRule ORDER BY ParentObjectID, Alias").rows; };
        disableStandard();
        const auto before = rules();
        run.run(1);
        EXPECT_EQ(run.changesOf(0), kHeadings.mid(0, build ? 6 : 3));
        EXPECT_TRUE(run.rule(0, "Standard", "TimeExpires").isNull());
        EXPECT_EQ(run.log->LogErrorCount(), 0);
        disableStandard();
        EXPECT_EQ(rules(), before);
    }
}

// The server refuses the second handler's Off Hours rule: its Alternate rule keeps no change.
TEST(HandlerTransferRules, ARefusedRuleKeepsNoneOfTheHandlersChanges)
{
    TransferRun run;
    const QList<SelectionGridRow> rows = run.firstHandlers(3);
    run.sql("CREATE TRIGGER RefuseRule BEFORE UPDATE ON ContactRule WHEN OLD.Alias='Off Hours' AND OLD.ParentObjectID='"
            + rows[1].objectID + "' BEGIN SELECT RAISE(ABORT, 'refused by the server'); END");
    run.type("txtTransferRingsToWait_0", "7");
    run.type("txtTransferRingsToWait_2", "7");
    run.run(rows);
    for (int handler = 0; handler < 3; ++handler)
        EXPECT_EQ(run.rule(handler, "Alternate", "TransferRings").toInt(), handler == 1 ? 4 : 7) << handler;
    const QStringList errors = run.lines.filter("(error)");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("(error) Error encountered. Number=") && errors[0].contains("refused by the server")
                && errors[0].endsWith(".  None of this handler's changes were kept.")) << errors[0].toStdString();
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_TRUE(run.shown[0].startsWith(run.string(121)));
    EXPECT_EQ(run.log->LogErrorCount(), 1);
}

}  // namespace
