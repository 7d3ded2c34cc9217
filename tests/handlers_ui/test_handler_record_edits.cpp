// The handler record edits: each choice's line and stored columns, and what a failure keeps.
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include <gtest/gtest.h>

namespace {

const QStringList kColumns{"AdministratorObjectID", "AdministratorObjectIDType", "Language", "ScheduleObjectName", "MaxMsgLen",
                           "EditMsg", "SendUrgentMsg", "SendPrivateMsg", "RecipientObjectID", "RecipientObjectIDType"};
const QString kRow = "vw_CallHandler WHERE CallHandlerObjectID=?";

// Each case's choices on a handler of its own: its one line (none when empty) and its stored
// columns, the others unchanged. "%list", "%subscriber": a distribution list's and a subscriber's IDs.
TEST(HandlerRecordEdits, EachChoiceWritesItsColumnsAndItsLine)
{
    const struct { QList<std::pair<QString, QString>> choices; QString line; QStringList stored; } cases[] = {
        {{}, "", {}},
        {{{"optCallHandlerOwnerChangeDL", ""}, {"txtCallHandlerOwnerDLObjectID", "%list"}}, "   Updated owner to selected distribution list with object ID=%list", {"AdministratorObjectID=%list", "AdministratorObjectIDType=2"}},
        {{{"optCallHandlerOwnerChangeSubscriber", ""}, {"txtCallHandlerOwnerSubscriberObjectID", "%subscriber"}}, "   Updated owner to selected subscriber with object ID=%subscriber", {"AdministratorObjectID=%subscriber", "AdministratorObjectIDType=1"}},
        {{{"cmbCallHandlerDefaultLanguage", "@1"}}, "   Setting language to inherited", {"Language=null"}},
        {{{"cmbCallHandlerDefaultLanguage", "@1031"}}, "   Setting language to LangID:1031", {"Language=1031"}},
        {{{"cmbCallHandlerSchedule", "Weekdays"}}, "    Schedule set to:Weekdays", {"ScheduleObjectName=Weekdays"}},
        {{{"cmbCallHandlerSchedule", "<DON'T CHANGE>"}}, "", {}},
        {{{"cmbCallHandlerSchedule", ""}}, "", {}},
        {{{"txtMessagesMaxMessageLength", "12.5"}}, "   Setting max message length to:12", {"MaxMsgLen=12"}},
        {{{"txtMessagesMaxMessageLength", "13.5"}}, "   Setting max message length to:14", {"MaxMsgLen=14"}},
        {{{"txtMessagesMaxMessageLength", "0"}}, "", {}},
        {{{"txtMessagesMaxMessageLength", "x5"}}, "", {}},
        {{{"comMessagesCallersCanEdit", "=279"}}, "   Setting edit message to: 1", {"EditMsg=1"}},
        {{{"comMessagesCallersCanEdit", "=137"}}, "   Setting edit message to: 0", {"EditMsg=0"}},
        {{{"comMessagesMarkUrgent", "=45"}}, "   Mark messages as urgent set to Always", {"SendUrgentMsg=1"}},
        {{{"comMessagesMarkUrgent", "=20"}}, "", {}},
        {{{"comMessagesMarkPrivate", "=65"}}, "   Mark messages as private set to Ask Caller", {"SendPrivateMsg=2"}},
        {{{"optCallHandlerRecipientDL", ""}, {"txtCallHandlerRecipientDLObjectID", "%list"}}, "   Recipient set to distribution list with object id= %list", {"RecipientObjectID=%list", "RecipientObjectIDType=2"}},
        {{{"optCallHandlerRecipientSubscriber", ""}}, "   Recipient set to subscriber with object id= ", {"RecipientObjectID=", "RecipientObjectIDType=1"}},
    };
    HandlerEngineScenario run(int(std::size(cases)));
    ASSERT_TRUE(run.open("record", {"UPDATE CallHandler SET ScheduleObjectName='All Hours', MaxMsgLen=300, EditMsg=1, SendUrgentMsg=2, SendPrivateMsg=1, "
                                    "Language=1033, RecipientObjectID='r', RecipientObjectIDType=1, AdministratorObjectID='a', AdministratorObjectIDType=1"}));
    const QString list = run.stored("SELECT MIN(SystemDListObjectID) FROM DistributionList").toString(), subscriber = run.stored("SELECT MIN(SubscriberObjectID) FROM Subscriber").toString();
    const auto withIds = [&](QString text) { return text.replace("%list", list).replace("%subscriber", subscriber); };
    const OptionsSnapshot asLoaded = run.options;
    const QList<SelectionGridRow> handlers = run.firstHandlers(int(std::size(cases)));
    for (qsizetype i = 0; i < handlers.size(); ++i) {
        SCOPED_TRACE(i);
        run.options = asLoaded;
        for (const auto& [name, text] : cases[i].choices)
            run.make({{name, withIds(text)}});
        QStringList expected = run.columns(kColumns.join(','), kRow, {handlers[i].objectID}).split('|');
        for (const QString& stored : cases[i].stored)
            expected[kColumns.indexOf(stored.section('=', 0, 0))] = withIds(stored.section('=', 1));
        run.run({handlers[i]});
        EXPECT_EQ(run.changesOf(0), cases[i].line.isEmpty() ? QStringList{} : QStringList{withIds(cases[i].line)});
        EXPECT_EQ(run.columns(kColumns.join(','), kRow, {handlers[i].objectID}).split('|'), expected);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

// A refused write of the middle handler's row keeps none of its changes (database and list row),
// its neighbours keep theirs; a length beyond 32 bits costs each handler only that edit.
TEST(HandlerRecordEdits, ADatabaseFailureKeepsNothingOfTheHandlerAnyOtherOnlyItsEdit)
{
    for (const bool refused : {true, false}) {
        SCOPED_TRACE(refused);
        HandlerEngineScenario run(3);
        ASSERT_TRUE(run.open("record", {"UPDATE CallHandler SET ScheduleObjectName='All Hours', MaxMsgLen=300"}));
        const QList<SelectionGridRow> handlers = run.firstHandlers(3);
        if (refused)
            run.refuseUpdates("CallHandler", handlers[1].objectID);
        run.make({{"cmbCallHandlerSchedule", "Weekdays"}, {"txtMessagesMaxMessageLength", refused ? "20" : "99999999999"}});
        run.run(handlers);
        for (int i = 0; i < 3; ++i) {
            const bool kept = !refused || i != 1;
            EXPECT_EQ(run.changesOf(i), QStringList({"    Schedule set to:Weekdays", refused ? "   Setting max message length to:20" : "Error encountered. Number=6, Description=Overflow"})
                + (kept ? QStringList{} : QStringList{"(error) Error encountered. Number=-2147467259, Description=refused by the server.  None of this handler's changes were kept."}));
            EXPECT_EQ(run.columns("ScheduleObjectName,MaxMsgLen", kRow, {handlers[i].objectID}), QString(kept ? "Weekdays|" : "All Hours|") + (refused && kept ? "20" : "300"));
        }
        EXPECT_EQ(run.log->LogErrorCount(), refused ? 1 : 3);
        EXPECT_EQ(run.shown.filter(run.string(121)).size(), refused ? 1 : 3);
        EXPECT_EQ(run.listed(handlers[1].objectID).value("ScheduleObjectName").toString(), refused ? "All Hours" : "Weekdays");
    }
}

}  // namespace
