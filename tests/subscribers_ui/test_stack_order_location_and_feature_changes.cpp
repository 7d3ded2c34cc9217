// The message stack order, location move, features and phone applications categories of the
// subscriber engine, run on the loaded options page over the first subscriber of a generated
// installation: the lines each choice logs and the columns it leaves.
#include "tests/subscribers_ui/EngineScenario.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kFirst = "(SELECT SubscriberObjectID FROM Subscriber ORDER BY SubscriberObjectID LIMIT 1)";

std::unique_ptr<EngineScenario> opened(const velmo::InstallationOptions& server, const QStringList& setup, qint16 kind = 1)
{
    auto run = std::make_unique<EngineScenario>(server, kind);
    for (const QString& statement : setup)
        run->sql(statement);
    EXPECT_TRUE(run->open());
    return run;
}

// What the run left: its lines that match `lines`, then "column=value" for each column (of
// Subscriber, or "Table.column" of the subscriber's row there), "NULL" for null.
std::string outcome(EngineScenario& run, const QString& lines, const QStringList& columns)
{
    QStringList result = run.changesOf(0).filter(QRegularExpression(lines));
    for (const QString& column : columns) {
        const QStringList part = column.contains('.') ? column.split('.') : QStringList{"Subscriber", column};
        const QVariant value = run.stored("SELECT " + part[1] + " FROM " + part[0] + " WHERE SubscriberObjectID=" + kFirst);
        result << column + "=" + (value.isNull() ? "NULL" : value.toString());
    }
    return result.join('\n').toStdString();
}

int errorsIn(const QStringList& lines)
{
    return int(lines.filter(QRegularExpression("^\\(error\\)")).size());
}

TEST(MessageStackOrderChange, PacksThePlayOrderAndTheDeletedOrderFromItsServerVersionOn)
{
    const struct {
        int build;                    // of a 4.0(3) server
        int make, menu;               // chkFlexStackMakeChange, chkFlexStackMessageTypeMenu
        int newer, saved, deleted;    // positions: 0 "Oldest first", 1 "Newest first", -1 none
        bool receiptsOnTop;           // "Receipts and Notices" moved to the top of the new messages
        QStringList expected;
    } cases[] = {
        {60, 1, 0, 1, 1, 0, true,
         {"    Deleted items stack set to FIFO (oldest first)", "    Stack order set to: NN:L7123456:O:L1234567",
          "StackOrder=NN:L7123456:O:L1234567", "DeletedStackOrderType=1"}},
        {60, 2, 1, 0, 0, -1, false,
         {"    Deleted items stack set to LIFO (newest first)", "    Stack order set to: YN:F1234567:O:F1234567",
          "StackOrder=YN:F1234567:O:F1234567", "DeletedStackOrderType=0"}},
        {60, 0, 1, 0, 0, 0, true, {"StackOrder=kept", "DeletedStackOrderType=0"}},
        {59, 1, 1, -1, 1, 0, false, {"    Stack order set to: YN:L1234567:O:L1234567", "StackOrder=YN:L1234567:O:L1234567"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.last().toStdString());
        const bool deletedColumn = c.build >= 60;
        auto run = opened(TempInstallation::smallServer(4, 0, 3, c.build),
                          {"UPDATE Subscriber SET StackOrder='kept'" + (deletedColumn ? ", DeletedStackOrderType=" + QString::number(c.deleted != 0) : QString())});
        run->tick("chkFlexStackMakeChange", c.make);
        run->tick("chkFlexStackMessageTypeMenu", c.menu);
        for (const auto& [list, position] : {std::pair{"cmbFlexStackNewMessagesLIFOFIFO", c.newer},
                                             {"cmbFlexStackSavedMessagesLIFOFIFO", c.saved}, {"cmbFlexStackDeletedItemsLIFOFIFO", c.deleted}})
            position < 0 ? run->choose(list, "") : run->chooseString(list, 327 + position);
        if (c.receiptsOnTop)
            run->options.control("listFlexStackOrderNewMessages").items.move(6, 0);
        run->run(1);
        EXPECT_EQ(outcome(*run, "[Ss]tack", deletedColumn ? QStringList{"StackOrder", "DeletedStackOrderType"} : QStringList{"StackOrder"}),
                  c.expected.join('\n').toStdString());
    }
}

TEST(LocationMoveChange, RebuildsTheRemoteAddressOfEachKindAndMovesTheSubscriber)
{
    const char* noDial = "(error) new location object has NULL for it's DTMFAccessId which is invalid - skipping locaiton reassignment";
    const char* noExtension = "(error) subscriber has a NULL DTMFaccessId which is invalid - skipping location reassignment";
    const struct {
        qint16 kind;               // on the start page; 1: the location is chosen in the snapshot
        qint16 type;               // the subscriber's SubscriberType
        const char* address;       // its RemoteAddress before; nullptr: null
        const char* dial;          // the new location's DTMFAccessID; nullptr: it has none
        const char* extension;     // the subscriber's; nullptr: it has none
        const char* after;         // the line after the location line; "": none
        const char* stored;        // RemoteAddress after
        bool moved;
    } cases[] = {
        {5, 5, "AMIS:70_1", "55", "1234", "    Updating subscriber remote address to: AMIS:55_1234", "AMIS:55_1234", true},
        {7, 7, "OMNI:70_1", " 55 ", "1234", "    Updating subscriber remote address to: OMNI:55_1234", "OMNI:55_1234", true},
        {8, 8, "VPIM:70_1", "55", " 1234 ", "    Updating subscriber remote address to: VPIM:55_1234", "VPIM:55_1234", true},
        {9, 9, "VOICE:12_6789", "55", "1234", "    Updating subscriber remote address to: VOICE:55_6789", "VOICE:55_6789", true},
        {9, 9, "AB_CD_x y ", "55", "1234", "    Updating subscriber remote address to: VOICE:55_x y ", "VOICE:55_x y ", true},
        {9, 9, "VOICE:12", "55", "1234", "    Updating subscriber remote address to: VOICE:55_VOICE:12", "VOICE:55_VOICE:12", true},
        {9, 9, nullptr, "55", "1234", "    Updating subscriber remote address to: VOICE:55_", "VOICE:55_", true},
        {1, 1, "kept", "55", "1234", "(error) invalid subscriber type encountered: 1", "kept", true},
        {5, 5, "kept", nullptr, "1234", noDial, "kept", false},
        {5, 5, "kept", "55", nullptr, noExtension, "kept", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        const QString target = QString("(SELECT LocationObjectID FROM Location WHERE DestinationType=%1 ORDER BY "
                                       "LocationObjectID LIMIT 1)").arg(c.kind == 1 ? 5 : c.kind);
        const auto dialOf = [](const char* dial, const QString& owner) {
            return dial ? QString("UPDATE DTMFAccessID SET DTMFAccessID='%1' WHERE IsPrimaryID=1 AND ParentObjectID=%2").arg(dial, owner)
                        : "DELETE FROM DTMFAccessID WHERE IsPrimaryID=1 AND ParentObjectID=" + owner;
        };
        auto run = opened(TempInstallation::smallOptions(),
                          {QString("UPDATE Subscriber SET SubscriberType=%1, RemoteAddress=%2 WHERE SubscriberObjectID=%3")
                               .arg(c.type).arg(c.address ? QString("'%1'").arg(c.address) : "NULL", kFirst),
                           dialOf(c.dial, target), dialOf(c.extension, kFirst)},
                          c.kind);
        const QString location = run->stored("SELECT " + target).toString();
        const QString before = run->stored("SELECT LocationObjectID FROM Subscriber WHERE SubscriberObjectID=" + kFirst).toString();
        if (c.kind == 1) {
            run->chooseItem("cmbLocationNewLocation", "Elsewhere", 1);
            run->chooseItem("cmbLocationHiddenLocationObjectID", location, {});
        } else {
            run->choose("cmbLocationNewLocation", run->options.control("cmbLocationNewLocation").items.value(1).text);
        }
        run->run(1);
        const QStringList lines{"    Changing the location assignment of the subscriber to location with alias="
                                    + run->stored("SELECT Alias FROM Location WHERE LocationObjectID=" + target).toString(),
                                c.after};
        EXPECT_EQ(outcome(*run, "location|remote address|\\(error\\)", {"RemoteAddress", "LocationObjectID", "DirectorySyncRequest.COUNT(*)"}),
                  (lines + QStringList{QString("RemoteAddress=") + c.stored, "LocationObjectID=" + (c.moved ? location : before),
                                       QString("DirectorySyncRequest.COUNT(*)=%1").arg(c.moved)}).join('\n').toStdString());
        EXPECT_EQ(run->log->LogErrorCount(), errorsIn(lines));
    }
}

TEST(LocationMoveChange, AnIDTheLocationListLacksIsAnError)
{
    auto run = opened(TempInstallation::smallOptions(), {});
    run->chooseItem("cmbLocationNewLocation", "Gone", 1);
    run->chooseItem("cmbLocationHiddenLocationObjectID", "0000-GONE", {});
    run->run(1);
    EXPECT_EQ(outcome(*run, "location|\\(error\\)", {"DirectorySyncRequest.COUNT(*)"}),
              "(error) could not find location object with ID=0000-GONE\nDirectorySyncRequest.COUNT(*)=0");
}

TEST(FeatureChanges, EachFeatureWritesItsColumnFromItsServerVersionOn)
{
    struct Choice {
        int index;         // of cmbSubscriberFeatures
        int string;        // the resource string shown
        const char* typed = nullptr;   // "upper": the string in capitals; else this text
    };
    const QString none = "(error) no entry found in SubscriberEx table for SubscriberObjectID=%id";
    const QString many = "(error) more than one entry found in SubscriberEx table for SubscriberObjectID=%id";
    const struct {
        int build;                    // of a 5.0(0) server; 0: a 4.0(3).12 server
        QString setup;
        std::vector<Choice> choices;
        QStringList columns;
        QStringList expected;         // the lines, then the columns
        bool directory;
    } cases[] = {
        {10, "UPDATE Subscriber SET SendBroadcastMsg=9, SendBroadcastMsgMultiSvr=9, UpdateBroadcastMsg=9, EnableMsgLocator=9, MsgLocatorReceipts=9",
         {{0, 546}, {1, 279}, {4, 137}, {2, 279}, {3, 137}, {5, 279}},
         {"encryptmessages", "SendBroadcastMsg", "SendBroadcastMsgMultiSvr", "UpdateBroadcastMsg", "EnableMsgLocator", "MsgLocatorReceipts"},
         {"   Subscriber encrypt message set to: 2", "   Subscriber send broadcast messages on this server set to: 1",
          "   Subscriber update broadcast messages on multiple servers set to: 0", "   Subscriber update broadcast messages set to: 1",
          "   Subscriber Enable Message Locator set to: 0", "   Subscriber Enable Message Locator Receipts set to: 1",
          "encryptmessages=2", "SendBroadcastMsg=1", "SendBroadcastMsgMultiSvr=0", "UpdateBroadcastMsg=1", "EnableMsgLocator=0",
          "MsgLocatorReceipts=1"},
         true},
        {10, "UPDATE Subscriber SET encryptmessages=9", {{0, 545, "upper"}}, {"encryptmessages"},
         {"   Subscriber encrypt message set to: 1", "encryptmessages=1"}, true},
        {10, "UPDATE Subscriber SET encryptmessages=9", {{0, 0, "Encrypt everything"}}, {"encryptmessages"},
         {"(error) invalid drop down value for message encryption option - cmbSubscriberFeatures(0): Encrypt everything",
          "encryptmessages=9"}, false},
        {0, "UPDATE Subscriber SET EncryptPrivateMessages=9", {{0, 279}}, {"EncryptPrivateMessages"},
         {"   Subscriber encrypt a private messages set to: 1", "EncryptPrivateMessages=1"}, false},
        {179, "UPDATE SubscriberEx SET PhoneAppsEnabled=9", {{6, 279}}, {"SubscriberEx.PhoneAppsEnabled"},
         {"   PhoneAppsEnabled set to: 1", "SubscriberEx.PhoneAppsEnabled=1"}, false},
        {179, "DELETE FROM SubscriberEx WHERE SubscriberObjectID=" + kFirst, {{6, 137}}, {"SubscriberEx.COUNT(*)"},
         {none, "SubscriberEx.COUNT(*)=0"}, false},
        {179, "INSERT INTO SubscriberEx SELECT * FROM SubscriberEx WHERE SubscriberObjectID=" + kFirst, {{6, 137}},
         {"SubscriberEx.MIN(PhoneAppsEnabled)"}, {many, "SubscriberEx.MIN(PhoneAppsEnabled)=0"}, false},
        {0, "UPDATE Subscriber SET PhoneAppsEnabled=9", {{6, 137}}, {"PhoneAppsEnabled"},
         {"   PhoneAppsEnabled set to: 0", "PhoneAppsEnabled=0"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.first().toStdString());
        auto run = opened(c.build ? TempInstallation::smallServer(5, 0, 0, c.build) : TempInstallation::smallOptions(), {c.setup});
        for (const Choice& choice : c.choices) {
            const QString typed = choice.typed;
            run->choose("cmbSubscriberFeatures_" + QString::number(choice.index),
                        typed == "upper" ? run->string(choice.string).toUpper() : choice.typed ? typed : run->string(choice.string));
        }
        run->run(1);
        const QString id = run->stored("SELECT " + kFirst).toString();
        EXPECT_EQ(outcome(*run, "^   (Subscriber |PhoneApps)|SubscriberEx|\\(error\\)", c.columns), c.expected.join('\n').replace("%id", id).toStdString());
        EXPECT_EQ(run->log->LogErrorCount(), errorsIn(c.expected));
        EXPECT_EQ(run->session.bDirectoryWriteThroughPending, c.directory);
    }
}

}  // namespace
