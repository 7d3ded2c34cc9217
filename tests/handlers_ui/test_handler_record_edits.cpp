// The handler record edits: each choice's line and stored columns, and what a failure keeps.
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include "core/Recordset.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QStringList kColumns{"AdministratorObjectID", "AdministratorObjectIDType", "Language", "ScheduleObjectName", "MaxMsgLen",
                           "EditMsg", "SendUrgentMsg", "SendPrivateMsg", "RecipientObjectID", "RecipientObjectIDType"};

// The record columns of handler `id` as "Column=value" ("NULL" for null).
QStringList columnsOf(HandlerEngineScenario& run, const QString& id)
{
    const QVector<QVariant> row = run.session.database
        .select("SELECT " + kColumns.join(',') + " FROM vw_CallHandler WHERE CallHandlerObjectID = ?", {id}).rows.value(0);
    QStringList columns;
    for (qsizetype i = 0; i < kColumns.size(); ++i)
        columns << kColumns[i] + '=' + (row.value(i).isNull() ? QString("NULL") : row.value(i).toString());
    return columns;
}

// Choices "name=text" ("#n": resource string n, "@d": the item with data d; no "=": an option
// button set), each on a handler of its own: its one line (none when empty) and stored columns,
// the others unchanged. "%list", "%subscriber": a distribution list's and a subscriber's IDs.
TEST(HandlerRecordEdits, EachChoiceWritesItsColumnsAndItsLine)
{
    const struct { QStringList choices; QString line; QStringList stored; } cases[] = {
        {{}, "", {}},
        {{"optCallHandlerOwnerChangeDL", "txtCallHandlerOwnerDLObjectID=%list"}, "   Updated owner to selected distribution list with object ID=%list", {"AdministratorObjectID=%list", "AdministratorObjectIDType=2"}},
        {{"optCallHandlerOwnerChangeSubscriber", "txtCallHandlerOwnerSubscriberObjectID=%subscriber"}, "   Updated owner to selected subscriber with object ID=%subscriber", {"AdministratorObjectID=%subscriber", "AdministratorObjectIDType=1"}},
        {{"cmbCallHandlerDefaultLanguage=@1"}, "   Setting language to inherited", {"Language=NULL"}},
        {{"cmbCallHandlerDefaultLanguage=@1031"}, "   Setting language to LangID:1031", {"Language=1031"}},
        {{"cmbCallHandlerSchedule=Weekdays"}, "    Schedule set to:Weekdays", {"ScheduleObjectName=Weekdays"}},
        {{"cmbCallHandlerSchedule=<DON'T CHANGE>"}, "", {}},
        {{"cmbCallHandlerSchedule="}, "", {}},
        {{"txtMessagesMaxMessageLength=12.5"}, "   Setting max message length to:12", {"MaxMsgLen=12"}},
        {{"txtMessagesMaxMessageLength=13.5"}, "   Setting max message length to:14", {"MaxMsgLen=14"}},
        {{"txtMessagesMaxMessageLength=0"}, "", {}},
        {{"txtMessagesMaxMessageLength=x5"}, "", {}},
        {{"comMessagesCallersCanEdit=#279"}, "   Setting edit message to: 1", {"EditMsg=1"}},
        {{"comMessagesCallersCanEdit=#137"}, "   Setting edit message to: 0", {"EditMsg=0"}},
        {{"comMessagesMarkUrgent=#45"}, "   Mark messages as urgent set to Always", {"SendUrgentMsg=1"}},
        {{"comMessagesMarkUrgent=#20"}, "", {}},
        {{"comMessagesMarkPrivate=#65"}, "   Mark messages as private set to Ask Caller", {"SendPrivateMsg=2"}},
        {{"optCallHandlerRecipientDL", "txtCallHandlerRecipientDLObjectID=%list"}, "   Recipient set to distribution list with object id= %list", {"RecipientObjectID=%list", "RecipientObjectIDType=2"}},
        {{"optCallHandlerRecipientSubscriber"}, "   Recipient set to subscriber with object id= ", {"RecipientObjectID=", "RecipientObjectIDType=1"}},
    };
    HandlerEngineScenario run(int(std::size(cases)));
    run.sql("UPDATE CallHandler SET ScheduleObjectName='All Hours', MaxMsgLen=300, EditMsg=1, SendUrgentMsg=2, SendPrivateMsg=1, "
            "Language=1033, RecipientObjectID='r', RecipientObjectIDType=1, AdministratorObjectID='a', AdministratorObjectIDType=1");
    ASSERT_TRUE(run.open());
    run.section = "record";
    const auto withIds = [&](QString text) {
        return text.replace("%list", run.stored("SELECT MIN(SystemDListObjectID) FROM DistributionList").toString())
            .replace("%subscriber", run.stored("SELECT MIN(SubscriberObjectID) FROM Subscriber").toString());
    };
    const OptionsSnapshot asLoaded = run.options;
    const QList<SelectionGridRow> handlers = run.firstHandlers(int(std::size(cases)));
    for (qsizetype i = 0; i < handlers.size(); ++i) {
        SCOPED_TRACE(cases[i].choices.join(' ').toStdString());
        run.options = asLoaded;
        for (const QString& choice : cases[i].choices) {
            const QString name = choice.section('=', 0, 0), value = withIds(choice.section('=', 1));
            if (!choice.contains('='))
                run.pick(name);
            else if (value.startsWith('#') || value.startsWith('@'))
                value[0] == '#' ? run.chooseString(name, value.mid(1).toInt()) : run.chooseItem(name, value, value.mid(1).toInt());
            else
                run.choose(name, value);
        }
        QStringList expected = columnsOf(run, handlers[i].objectID);
        for (const QString& stored : cases[i].stored)
            expected[kColumns.indexOf(stored.section('=', 0, 0))] = withIds(stored);
        run.run({handlers[i]});
        EXPECT_EQ(run.changesOf(0), cases[i].line.isEmpty() ? QStringList{} : QStringList{withIds(cases[i].line)});
        EXPECT_EQ(columnsOf(run, handlers[i].objectID), expected);
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
        run.sql("UPDATE CallHandler SET ScheduleObjectName='All Hours', MaxMsgLen=300");
        ASSERT_TRUE(run.open());
        run.section = "record";
        const QList<SelectionGridRow> handlers = run.firstHandlers(3);
        if (refused)
            run.sql("CREATE TRIGGER Refuse BEFORE UPDATE ON CallHandler WHEN old.CallHandlerObjectID = '" + handlers[1].objectID
                    + "' BEGIN SELECT RAISE(ABORT, 'refused'); END");
        run.choose("cmbCallHandlerSchedule", "Weekdays");
        run.type("txtMessagesMaxMessageLength", refused ? "20" : "99999999999");
        run.run(handlers);
        for (int i = 0; i < 3; ++i) {
            const bool kept = !refused || i != 1;
            const QStringList lines = run.changesOf(i);
            EXPECT_EQ(lines.mid(0, 2), (QStringList{"    Schedule set to:Weekdays", refused ? "   Setting max message length to:20"
                                                                                   : "Error encountered. Number=6, Description=Overflow"}));
            EXPECT_EQ(lines.size(), kept ? 2 : 3);
            if (!kept) {
                EXPECT_TRUE(QRegularExpression("^\\(error\\) Error encountered\\. Number=-2147467259, Description=.*refused.*"
                                               "\\.  None of this handler's changes were kept\\.$").match(lines.value(2)).hasMatch())
                    << lines.value(2).toStdString();
            }
            EXPECT_EQ(columnsOf(run, handlers[i].objectID).filter(QRegularExpression("^(Sch|Max)")),
                      (QStringList{kept ? "ScheduleObjectName=Weekdays" : "ScheduleObjectName=All Hours",
                                   refused && kept ? "MaxMsgLen=20" : "MaxMsgLen=300"}));
        }
        EXPECT_EQ(run.log->LogErrorCount(), refused ? 1 : 3);
        EXPECT_EQ(run.shown.filter(QRegularExpression("^" + QRegularExpression::escape(run.string(121)))).size(), refused ? 1 : 3);
        Recordset& list = run.session.rsNonPrimaryCallHandlers;
        list.moveFirst();
        ASSERT_TRUE(list.find("CallHandlerObjectID='" + handlers[1].objectID + "'"));
        EXPECT_EQ(list.value("ScheduleObjectName").toString(), refused ? "All Hours" : "Weekdays");
    }
}

}  // namespace
