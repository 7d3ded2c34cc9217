// The one-key menu (slots 0 to 11) and after-message action (slot 12) categories on the loaded
// options page.
#include "core/ControlNames.h"
#include "core/Recordset.h"
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QStringList keyAction(const QString& action, const QString& conversation, const QString& destination)
{
    return {"   Key action set to: " + action, "    Key conversation set to:" + conversation, "    DestinationObjectID " + destination};
}

TEST(OneKeyMenuAndAfterMessageChange, EachSlotWritesItsRowAndLines)
{
    constexpr int kTrue = 279, kFalse = 137, kLoopBack = 175, kTakeMessage = 260, kSkip = 248, kHangUp = 152, kAlt = 504;
    const QString menuEntry = " FROM MenuEntry WHERE ParentObjectID=? AND Alias=?", noEntry = "(error) could not find menu entry for this subscriber - alias=";
    const auto quoted = [](const QStringList& columns) { return "SELECT quote(" + columns.join(")||' '||quote(") + ")"; };
    const QString entry = quoted({"Locked", "Action", "ConversationName", "DestinationObjectID", "DestinationObjectIDType",
                                  "(SELECT ReferralExtension FROM Subscriber WHERE Subscriber.CallHandlerObjectID=ParentObjectID)"}) + menuEntry;
    const QString afterMessage = quoted({"AfterMessageAction", "AfterMessageConversation", "AfterMessageObjectID", "AfterMessageObjectIDType"})
                                 + " FROM CallHandler WHERE CallHandlerObjectID=?";
    const QStringList locked{"   Key locked value set to: 1"}, alt = keyAction("2", "TransferAltContactNumber", "cleared");
    // A key's entry starts as Locked, Action `before`, 'Before', 'BEFOREDEST', 3; `entries` its rows in MenuEntry;
    // `lock`, `action` resource strings shown by those lists (0: none chosen); "%h" is the handler's
    // object ID; `after` as SQLite quotes it (a key's ends with the ReferralExtension), "" unchanged.
    const struct { int slot, entries; QVariantList before; int lock, action; bool onlyIfIgnored; QString dial; QStringList lines; QString after; } cases[] = {
        {5, 1, {0, 0}, 0, kLoopBack, false, "", keyAction("2", "PHGreeting", "set to:%h"), "0 2 'PHGreeting' '%h' 3 NULL"},
        {6, 1, {0, 1}, kTrue, 0, false, "", locked, "1 1 'Before' 'BEFOREDEST' 3 NULL"},
        {2, 1, {0, 1}, kTrue, kTakeMessage, true, "", locked, "1 1 'Before' 'BEFOREDEST' 3 NULL"},
        {4, 1, {1, QVariant()}, kFalse, kTakeMessage, true, "", QStringList{"   Key locked value set to: 0"} + keyAction("4", "", "cleared"), "0 4 '' NULL 0 NULL"},
        {8, 1, {1, 1}, 0, kSkip, false, "", keyAction("5", "", "cleared"), "1 5 '' NULL 0 NULL"},
        {10, 1, {0, 0}, 0, kAlt, false, "5551234", QStringList(alt) << "    Referral extension set to:5551234", "0 2 'TransferAltContactNumber' NULL 0 '5551234'"},
        {9, 1, {0, 0}, 0, kAlt, false, "", alt, "0 2 'TransferAltContactNumber' NULL 0 NULL"},
        {3, 0, {0, 0}, kTrue, kTakeMessage, false, "", {noEntry + "3"}, ""},
        {7, 2, {0, 0}, kTrue, kTakeMessage, false, "", {noEntry + "7"}, "0 0 'Before' 'BEFOREDEST' 3 NULL"},
        {12, 1, {}, 0, 0, false, "", {}, ""},
        {12, 1, {}, 0, kHangUp, false, "", {"   After message action value set to: 1", "   After message conversation name set to:", "    After message object ID cleared"}, "1 '' NULL 0"},
        {12, 1, {}, 0, kLoopBack, false, "", {"   After message action value set to: 2", "   After message conversation name set to:PHGreeting", "    After message Object ID set to:%h"}, "2 'PHGreeting' '%h' 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << ", action " << c.action);
        EngineScenario run;
        ASSERT_TRUE(run.open());
        run.session.rsSubscribers.moveFirst();
        const QString handlerId = run.session.rsSubscribers.value("CallHandlerObjectID").toString();
        const QString alias = c.slot == 10 ? "*" : QString::number(c.slot);
        const auto row = [&] { return (c.slot < 12 ? run.stored(entry, {handlerId, alias}) : run.stored(afterMessage, {handlerId})).toString(); };
        if (!c.before.isEmpty())
            run.session.database.execute("UPDATE MenuEntry SET Locked=?, Action=?, ConversationName='Before', DestinationObjectID="
                                         "'BEFOREDEST', DestinationObjectIDType=3 WHERE ParentObjectID=? AND Alias=?",
                                         c.before + QVariantList{handlerId, alias});
        if (c.entries != 1)
            run.session.database.execute(c.entries ? "INSERT INTO MenuEntry SELECT *" + menuEntry : "DELETE" + menuEntry, {handlerId, alias});
        if (c.lock)
            run.chooseString(elementName("cmbCallerInputLockKey", c.slot), c.lock);
        if (c.onlyIfIgnored)
            run.tick(elementName("chkCallerInputChangeOnlyIfSetToIgnore", c.slot));
        if (c.action) {
            run.pick(elementName("optCallerInputDontChange", c.slot), false);
            run.pick(elementName("optCallerInputTakeAction", c.slot));
            run.chooseString(elementName("cmbCallerInputTakeAction", c.slot), c.action);
        }
        if (c.slot < 12)
            run.type(elementName("txtSubscriberCallerInputNumbertoDial", c.slot), c.dial);
        const QString before = row();
        run.run();
        // A key's lines stand between its "Menu entry" line and the next key's.
        QStringList lines = run.changesOf(0);
        lines = c.slot < 12 ? lines.mid(lines.indexOf("    Menu entry: " + alias) + 1) : lines.filter("After message");
        lines = lines.mid(0, lines.indexOf(QRegularExpression("    Menu entry: .*")));
        EXPECT_EQ(lines, QStringList(c.lines).replaceInStrings("%h", handlerId));
        EXPECT_EQ(row(), c.after.isEmpty() ? before : QString(c.after).replace("%h", handlerId));
        EXPECT_EQ(run.log->LogErrorCount(), c.entries == 1 ? 0 : 1);
    }
}

}  // namespace
