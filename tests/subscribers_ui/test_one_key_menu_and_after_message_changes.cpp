// The one-key menu and after-message action categories on the loaded options page.
#include "core/ControlNames.h"
#include "core/Recordset.h"
#include "tests/subscribers_ui/EngineScenario.h"

#include <gtest/gtest.h>

namespace {

const QString kMenuEntry = "    Menu entry: ";

// A run over the first subscriber of the directory list.
class FirstHandler : public EngineScenario {
public:
    FirstHandler()
    {
        EXPECT_TRUE(open());
        session.rsSubscribers.moveFirst();
        subscriberId = session.rsSubscribers.value("SubscriberObjectID").toString();
        handlerId = session.rsSubscribers.value("CallHandlerObjectID").toString();
    }
    void takeAction(int slot, int string)
    {
        pick(elementName("optCallerInputDontChange", slot), false);
        pick(elementName("optCallerInputTakeAction", slot));
        chooseString(elementName("cmbCallerInputTakeAction", slot), string);
    }
    // The values of `columns` of a row, "<null>" for null.
    QStringList row(const QString& columns, const QString& from, const QVariantList& key)
    {
        QStringList values;
        for (const QVariant& value : session.database.select("SELECT " + columns + " FROM " + from, key).rows.value(0))
            values << (value.isNull() ? "<null>" : value.toString());
        return values;
    }
    QStringList entry(const QString& alias)
    {
        return row("Locked, Action, ConversationName, DestinationObjectID, DestinationObjectIDType",
                   "MenuEntry WHERE ParentObjectID=? AND Alias=?", {handlerId, alias});
    }
    QStringList afterMessage()
    {
        return row("AfterMessageAction, AfterMessageConversation, AfterMessageObjectID, AfterMessageObjectIDType",
                   "CallHandler WHERE CallHandlerObjectID=?", {handlerId});
    }
    QString referral() { return row("ReferralExtension", "Subscriber WHERE SubscriberObjectID=?", {subscriberId}).value(0); }
    // The lines under a key's "    Menu entry: " line.
    QStringList keyLines(const QString& alias) const
    {
        const QStringList changes = changesOf(0);
        QStringList block;
        for (qsizetype line = changes.indexOf(kMenuEntry + alias) + 1;
             line > 0 && line < changes.size() && !changes[line].startsWith(kMenuEntry); ++line)
            block << changes[line];
        return block;
    }

    QString subscriberId, handlerId;
};

TEST(OneKeyMenuChange, EachKeyGetsItsLockThenItsActionUnlessItMustBeLeft)
{
    constexpr int kTrue = 279, kFalse = 137, kLoopBack = 175, kTakeMessage = 260, kSkipGreeting = 248,
                  kAltContact = 504;
    // Every key's entry starts as Locked `locked`, Action `action`, "Before", "BEFOREDEST", 3.
    const struct {
        const char* what;
        QString alias;
        int entries;   // the key's rows in MenuEntry
        int locked;
        QVariant action;
        int lock;         // resource string the lock list shows; 0: "<Don't Change>"
        bool onlyIfIgnored;
        int takeAction;   // resource string of the chosen action; 0: the key is left alone
        QString numberToDial;
        QStringList lines;   // "%h": the handler's object ID
        QStringList after;   // the entry after the run
        QString referral = {};   // empty: as before
    } cases[] = {
        {"loop back", "5", 1, 0, 0, 0, false, kLoopBack, "",
         {"   Key action set to: 2", "    Key conversation set to:PHGreeting", "    DestinationObjectID set to:%h"},
         {"0", "2", "PHGreeting", "%h", "3"}},
        {"left alone", "6", 1, 0, 1, kTrue, false, 0, "", {"   Key locked value set to: 1"},
         {"1", "1", "Before", "BEFOREDEST", "3"}},
        {"only if ignored, set", "2", 1, 0, 1, kTrue, true, kTakeMessage, "",
         {"   Key locked value set to: 1"}, {"1", "1", "Before", "BEFOREDEST", "3"}},
        {"only if ignored, null", "4", 1, 1, QVariant(), kFalse, true, kTakeMessage, "",
         {"   Key locked value set to: 0", "   Key action set to: 4", "    Key conversation set to:",
          "    DestinationObjectID cleared"},
         {"0", "4", "", "<null>", "0"}},
        {"set, changed", "8", 1, 1, 1, 0, false, kSkipGreeting, "",
         {"   Key action set to: 5", "    Key conversation set to:", "    DestinationObjectID cleared"},
         {"1", "5", "", "<null>", "0"}},
        {"alternate number", "*", 1, 0, 0, 0, false, kAltContact, "5551234",
         {"   Key action set to: 2", "    Key conversation set to:TransferAltContactNumber", "    DestinationObjectID cleared",
          "    Referral extension set to:5551234"},
         {"0", "2", "TransferAltContactNumber", "<null>", "0"}, "5551234"},
        {"alternate number, none typed", "9", 1, 0, 0, 0, false, kAltContact, "",
         {"   Key action set to: 2", "    Key conversation set to:TransferAltContactNumber", "    DestinationObjectID cleared"},
         {"0", "2", "TransferAltContactNumber", "<null>", "0"}},
        {"missing", "3", 0, 0, 0, kTrue, false, kTakeMessage, "",
         {"(error) could not find menu entry for this subscriber - alias=3"}, {}},
        {"doubled", "7", 2, 0, 0, kTrue, false, kTakeMessage, "",
         {"(error) could not find menu entry for this subscriber - alias=7"},
         {"0", "0", "Before", "BEFOREDEST", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FirstHandler run;
        const int slot = c.alias == "*" ? 10 : c.alias.toInt();
        run.session.database.execute("UPDATE MenuEntry SET Locked=?, Action=?, ConversationName='Before', "
                                     "DestinationObjectID='BEFOREDEST', DestinationObjectIDType=3 "
                                     "WHERE ParentObjectID=? AND Alias=?",
                                     {c.locked, c.action, run.handlerId, c.alias});
        if (c.entries == 0)
            run.session.database.execute("DELETE FROM MenuEntry WHERE ParentObjectID=? AND Alias=?", {run.handlerId, c.alias});
        if (c.entries == 2)
            run.session.database.execute("INSERT INTO MenuEntry SELECT * FROM MenuEntry WHERE ParentObjectID=? AND Alias=?",
                                         {run.handlerId, c.alias});
        const QString referralBefore = run.referral();
        if (c.lock)
            run.chooseString(elementName("cmbCallerInputLockKey", slot), c.lock);
        if (c.onlyIfIgnored)
            run.tick(elementName("chkCallerInputChangeOnlyIfSetToIgnore", slot));
        if (c.takeAction)
            run.takeAction(slot, c.takeAction);
        run.type(elementName("txtSubscriberCallerInputNumbertoDial", slot), c.numberToDial);
        run.run();

        QStringList lines = c.lines;
        lines.replaceInStrings("%h", run.handlerId);
        EXPECT_EQ(run.keyLines(c.alias), lines);
        QStringList after = c.after;
        EXPECT_EQ(run.entry(c.alias), after.replaceInStrings("%h", run.handlerId));
        EXPECT_EQ(run.referral(), c.referral.isEmpty() ? referralBefore : c.referral);
        EXPECT_EQ(run.log->LogErrorCount(), c.entries == 1 ? 0 : 1);
    }
}

TEST(AfterMessageActionChange, SlotTwelveGoesIntoTheHandlerRow)
{
    const struct {
        const char* what;
        int takeAction;        // resource string of the chosen action
        QString callHandler;   // else: go to this call handler, its phone not rung; empty: not changed
        QStringList lines;
        QStringList after;     // empty: as before
    } cases[] = {
        {"not changed", 0, "", {}, {}},
        {"hang up", 152, "",
         {"   After message action value set to: 1", "   After message conversation name set to:",
          "    After message object ID cleared"},
         {"1", "", "<null>", "0"}},
        {"call handler", 0, "ABCDEFGHIJ",
         {"   After message action value set to: 2", "   After message conversation name set to:PHGreeting",
          "    After message Object ID set to:ABCDEFGHIJ"},
         {"2", "PHGreeting", "ABCDEFGHIJ", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FirstHandler run;
        const QStringList before = run.afterMessage();
        if (c.takeAction)
            run.takeAction(12, c.takeAction);
        if (!c.callHandler.isEmpty()) {
            run.pick("optCallerInputDontChange_12", false);
            run.pick("optCallerInputGoToCallHandler_12");
            run.type("txtCallerInputGoToCallHandlerObjectID_12", c.callHandler);
            run.tick("chkCallerInputGoToCallHandlerSkipGreeting_12");
        }
        run.run();
        EXPECT_EQ(run.changesOf(0).filter("After message"), c.lines);
        EXPECT_EQ(run.afterMessage(), c.after.isEmpty() ? before : c.after);
        EXPECT_EQ(run.log->LogErrorCount(), 0);
    }
}

}  // namespace
