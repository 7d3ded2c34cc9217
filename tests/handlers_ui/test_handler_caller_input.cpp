// The call handler engine's caller-input section and its routing: the rows and lines of each
// choice, Go's check before the log, and a database failure in one handler's menu entries.
#include "tests/handlers_ui/HandlerEngineScenario.h"

#include "core/ControlNames.h"
#include "handlers/changes/OneKeyRouting.h"
#include "handlers/ui/frmMakeCallHandlerChanges.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

const QString kRouting = "Action,ConversationName,DestinationObjectID,DestinationObjectIDType";
const QString kHandlerRow = "CallHandler WHERE CallHandlerObjectID=?";

// Element `element` routed by `option`, its list or object ID box showing `text`.
void route(SnapshotChoices& run, int element, const QString& option, const QString& text = {})
{
    static const QHash<QString, QString> boxes{{"optCallerInputTakeAction", "cmbCallerInputTakeAction"}, {"optCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandlerObjectID"},
        {"optCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID"}, {"optCallerInputgoToInterviewHandler", "txtCallerInputGoToInterviewObjectID"},
        {"optCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID"}};
    run.pick(elementName("optCallerInputDontChange", element), false);
    run.pick(elementName(option, element));
    run.choose(elementName(boxes.value(option), element), text);
}

TEST(HandlerCallerInput, EachChoiceReachesItsRowAndItsLines)
{
    HandlerEngineScenario run(3);
    ASSERT_TRUE(run.open("caller input"));
    const QString target = run.firstHandlers(3)[2].objectID;
    run.session.rsSubscribers.moveFirst();
    const QString subscriberHandler = run.session.rsSubscribers.value("CallHandlerObjectID").toString();
    run.sql("UPDATE MenuEntry SET Action = CASE Alias WHEN '7' THEN 4 ELSE 0 END WHERE Alias IN ('7', '8')");
    run.sql("DELETE FROM MenuEntry WHERE Alias='#' AND ParentObjectID='" + run.firstHandlers(2)[1].objectID + "'");
    run.make({{"txtCallerInputMilisecondsToWait", "1500"}, {"txtCallerInputPrependDigits", "12"}, {"txtCallerInputPostPendDigits", "34"}, {"cmbCallerInputLockKey_3", "=279"}});
    run.tick("chkCallerInputPrependDigitsClear");
    route(run, 3, "optCallerInputTakeAction", run.string(175));
    route(run, 5, "optCallerInputGoToCallHandler", target);
    run.tick("chkCallerInputGoToCallHandlerSkipGreeting_5");
    for (int key : {7, 8}) {   // 7 is not set to ignore and keeps its action
        route(run, key, "optCallerInputTakeAction", run.string(260));
        run.tick(elementName("chkCallerInputChangeOnlyIfSetToIgnore", key));
    }
    route(run, 12, "optCallerInputTakeAction", run.string(152));
    route(run, 15, "optCallerInputGoToSubscriber", run.session.rsSubscribers.value("SubscriberObjectID").toString());
    run.run(2);
    for (int handler = 0; handler < 2; ++handler) {
        const QString self = run.rows[handler].objectID;
        const QHash<QString, QStringList> keyLines{
            {"3", {"   Setting Lock Key value to: 1", "   Key set to action: 2", "   Key set to go to conversation: PHGreeting", "    Key destination object id=" + self}},
            {"5", {"   Key set to action: 2", "   Key set to go to conversation: PHGreeting", "    Key destination object id=" + target}},
            {"8", {"   Key set to action: 4", "   Key set to go to conversation: ", "    Key destination object id cleared"}},
            {"#", {handler == 0 ? QStringList{} : QStringList{"(error) could not find menu entry for call handler.  This is a serous error, you should contact Norwick."}}}};
        QStringList expected{"   One key delay value set to: 1500", "    Prepend Digits set to: 12", "    Postpend Digits set to: 34", "    Prepend Digits cleared"};
        for (const QString key : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"})
            expected << "    Menu entry: " + key << keyLines.value(key);
        expected << "   After message action value set to: 1" << "   After message action conversation name set to: " << "    After message destination object id cleared"
                 << "    Busy messaging rule" << "   Action value set to:2" << "   Conversation name set to PHTransfer" << "    Destination object id=" + subscriberHandler;
        EXPECT_EQ(run.changesOf(handler), expected);
        const struct { const char* table; QString alias, columns, stored; } rows[] = {{"MenuEntry", "3", kRouting + ",Locked", "2|PHGreeting|" + self + "|3|1"},
            {"MenuEntry", "5", kRouting, "2|PHGreeting|" + target + "|3"}, {"MenuEntry", "7", "Action", "4"}, {"MenuEntry", "8", kRouting, "4||null|0"},
            {"MessagingRule", "Busy", kRouting, "2|PHTransfer|" + subscriberHandler + "|3"}};
        for (const auto& r : rows)
            EXPECT_EQ(run.columnsOf(r.table, handler, r.alias, r.columns), r.stored) << r.alias.toStdString();
        EXPECT_EQ(run.columns("OneKeyDelay,PrePendDigits,PostPendDigits,AfterMessageAction,AfterMessageObjectID,AfterMessageObjectIDType", kHandlerRow, {self}), "1500|null|34|1|null|0");
    }
    EXPECT_EQ(run.log->LogErrorCount(), 1);   // the second handler's missing "#" entry
}

// The first element the run would apply that it could not is refused; the later ones, and those
// left alone, are not looked at.
TEST(HandlerCallerInput, GoRefusesTheFirstChoiceTheRunCouldNotApply)
{
    HandlerEngineScenario run(1);
    ASSERT_TRUE(run.open());
    const QString tail = " key tab.  Please correct and try again";
    const struct { int element; const char* option; QString text, refusal; } cases[] = {   // no refusal: accepted, element 18's is first
        {4, "optCallerInputGoToSubscriber", "NO-SUCH-SUBSCRIBER", "Invalid <Go To Subscriber> destination on the Caller Input 4"},
        {10, "optCallerInputGoToCallHandler", "ABCDEFGHI", "Invalid <Go To Call Handler> destination on the Caller Input *"},
        {12, "optCallerInputTakeAction", "Dial A Friend", "Invalid <Take Action> setting on the Caller Input <unknown>"},
        {0, "optCallerInputgoToInterviewHandler", "SHORT", "Invalid <Go To Interview> destination on the Caller Input 0"},
        {1, "optCallerInputTakeAction", run.string(176).toUpper(), ""},
        {2, "optCallerInputGoToDirectoryHandler", "", ""},
    };
    const OptionsSnapshot loaded = run.options;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.element);
        run.options = loaded;
        route(run, 18, "optCallerInputGoToCallHandler", "SHORT");
        route(run, c.element, c.option, c.text);
        EXPECT_EQ(OneKeyRouting::firstRefusal(run.options, run.session.languages.stringLookup(), run.session.rsSubscribers),
                  (c.refusal.isEmpty() ? "Invalid <Go To Call Handler> destination on the Caller Input <unknown>" : c.refusal) + tail);
    }

    // On the page: no log, no change, Go still offered.
    run.context.state.selectionGridRows = run.firstHandlers(1);
    run.context.state.runLog = std::make_unique<RunLog>(run.programFolder.path(), run.messages.sink());
    frmMakeCallHandlerChanges page(run.context, run.page);
    const QVariantList handler{run.context.state.selectionGridRows[0].objectID};
    const QString before = run.columns("PrePendDigits", kHandlerRow, handler);
    run.child<QLineEdit>("txtCallerInputPrependDigits")->setText("99");
    run.child<QRadioButton>("optCallerInputGoToSubscriber_4")->setChecked(true);
    run.child<QLineEdit>("txtCallerInputGoToSubscriberObjectID_4")->setText("NO-SUCH-SUBSCRIBER");
    click(page, "cmdGo");
    EXPECT_EQ(run.shown, QStringList{cases[0].refusal + tail});
    EXPECT_TRUE(QDir(run.programFolder.filePath("logs")).entryList({"*.TXT"}, QDir::Files).isEmpty());
    EXPECT_EQ(run.columns("PrePendDigits", kHandlerRow, handler), before);
    EXPECT_TRUE(findByName<QPushButton>(page, "cmdGo")->isEnabled());
}

// The second handler's menu entries refuse every write: none of its changes is kept, on the
// database or in the list of handlers; its neighbours change.
TEST(HandlerCallerInput, ADatabaseFailureInOneHandlersMenuEntryKeepsNoneOfItsChanges)
{
    HandlerEngineScenario run(3);
    ASSERT_TRUE(run.open("caller input"));
    const QList<SelectionGridRow> handlers = run.firstHandlers(3);
    run.refuseUpdates("MenuEntry", handlers[1].objectID);
    const auto stored = [&](const QString& id) { return run.columns("Locked", "MenuEntry WHERE ParentObjectID=? AND Alias='3'", {id}) + "|" + run.columns("PrePendDigits,AfterMessageAction", kHandlerRow, {id}); };
    const QString failingBefore = stored(handlers[1].objectID);
    run.make({{"txtCallerInputPrependDigits", "12"}, {"cmbCallerInputLockKey_3", "=279"}});
    route(run, 12, "optCallerInputTakeAction", run.string(152));
    run.run(handlers);

    for (int handler = 0; handler < 3; ++handler) {
        const QString id = handlers[handler].objectID;
        EXPECT_EQ(stored(id), handler == 1 ? failingBefore : "1|12|1") << handler;
        const Recordset& listed = run.listed(id);   // the list's row holds what the database holds
        EXPECT_EQ(listed.value("PrePendDigits").toString() + '|' + listed.value("AfterMessageAction").toString(), stored(id).section('|', 1).replace("null", "")) << handler;
    }
    EXPECT_EQ(run.log->LogErrorCount(), 1);
    EXPECT_TRUE(run.shown.size() == 1 && run.shown[0].startsWith(run.string(121))) << run.shown.join(" / ").toStdString();
}

}  // namespace
