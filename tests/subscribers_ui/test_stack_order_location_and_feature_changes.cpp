// The message stack order, location move, features and phone applications categories of the
// subscriber engine on the loaded options page: the lines each choice logs and the columns it
// leaves for the first subscriber of a generated installation.
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

// The run's lines that match `lines`, then "column=value" (null: "NULL") for each column of
// Subscriber, or "Table.column" of the subscriber's row there; its counted errors must be its
// "(error)" lines among them.
std::string outcome(EngineScenario& run, const QString& lines, const QStringList& columns)
{
    QStringList result = run.changesOf(0).filter(QRegularExpression(lines));
    EXPECT_EQ(run.log->LogErrorCount(), int(result.filter(QRegularExpression("^\\(error\\)")).size()));
    for (const QString& column : columns) {
        const QStringList part = column.contains('.') ? column.split('.') : QStringList{"Subscriber", column};
        const QVariant value = run.stored("SELECT " + part[1] + " FROM " + part[0] + " WHERE SubscriberObjectID=" + kFirst);
        result << column + "=" + (value.isNull() ? "NULL" : value.toString());
    }
    return result.join('\n').toStdString();
}

TEST(MessageStackOrderChange, PacksThePlayOrderAndTheDeletedOrderFromItsServerVersionOn)
{
    const struct {
        int build;                    // of a 4.0(3) server
        int make, menu;               // chkFlexStackMakeChange, chkFlexStackMessageTypeMenu
        int newer, saved, deleted;    // positions: 0 "Oldest first", 1 "Newest first", -1 none
        int lists;                    // 1: "Receipts and Notices" on top of the new, 2: a saved one gone
        QStringList expected;
    } cases[] = {
        {60, 1, 0, 1, 1, 0, 1, {"    Deleted items stack set to FIFO (oldest first)", "    Stack order set to: NN:L7123456:O:L1234567", "StackOrder=NN:L7123456:O:L1234567", "DeletedStackOrderType=1"}},
        {60, 2, 1, 0, 0, -1, 0, {"    Deleted items stack set to LIFO (newest first)", "    Stack order set to: YN:F1234567:O:F1234567", "StackOrder=YN:F1234567:O:F1234567", "DeletedStackOrderType=0"}},
        {60, 0, 1, 0, 0, 0, 1, {"StackOrder=kept", "DeletedStackOrderType=0"}},
        {59, 1, 1, -1, 1, 0, 0, {"    Stack order set to: YN:L1234567:O:L1234567", "StackOrder=YN:L1234567:O:L1234567"}},
        {59, 1, 1, 0, 0, 0, 2, {"(error):5 (listFlexStackOrderOldMessages holds fewer than seven message types) in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges", "StackOrder=kept"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.last().toStdString());
        const QStringList columns = c.build >= 60 ? QStringList{"StackOrder", "DeletedStackOrderType"} : QStringList{"StackOrder"};
        auto run = opened(TempInstallation::smallServer(4, 0, 3, c.build), {"UPDATE Subscriber SET StackOrder='kept'" + (c.build >= 60 ? QString(", DeletedStackOrderType=%1").arg(c.deleted != 0) : QString())});
        run->tick("chkFlexStackMakeChange", c.make);
        run->tick("chkFlexStackMessageTypeMenu", c.menu);
        for (const auto& [list, position] : {std::pair{"cmbFlexStackNewMessagesLIFOFIFO", c.newer}, {"cmbFlexStackSavedMessagesLIFOFIFO", c.saved}, {"cmbFlexStackDeletedItemsLIFOFIFO", c.deleted}})
            position < 0 ? run->choose(list, "") : run->chooseString(list, 327 + position);
        if (c.lists == 1)
            run->options.control("listFlexStackOrderNewMessages").items.move(6, 0);
        if (c.lists == 2)
            run->options.control("listFlexStackOrderOldMessages").items.removeLast();
        run->run(1);
        EXPECT_EQ(outcome(*run, "[Ss]tack", columns), c.expected.join('\n').toStdString());
    }
}

TEST(LocationMoveChange, RebuildsTheRemoteAddressOfEachKindAndMovesTheSubscriber)
{
    const struct {
        qint16 kind;               // on the start page; 1: the location is chosen in the snapshot
        const char* address;       // the subscriber's RemoteAddress before ("kept" on errors); nullptr: null
        const char* dial;          // the new location's DTMFAccessID; nullptr: it has none
        const char* extension;     // the subscriber's; nullptr: none
        QString result;            // the new address, or the error line after the location line
    } cases[] = {
        {5, "AMIS:70_1", "55", "1234", "AMIS:55_1234"},
        {7, "OMNI:70_1", " 55 ", " 1234 ", "OMNI:55_1234"},
        {8, "VPIM:70_1", "55", "1234", "VPIM:55_1234"},
        {9, "VOICE:12_6789", "55", "1234", "VOICE:55_6789"},
        {9, "AB_CD_x y ", "55", "1234", "VOICE:55_x y "},
        {9, "AB_CD", "55", "1234", "VOICE:55_AB_CD"},
        {9, nullptr, "55", "1234", "VOICE:55_"},
        {1, "kept", "55", "1234", "(error) invalid subscriber type encountered: 1"},
        {5, "kept", nullptr, "1234", "(error) new location object has NULL for it's DTMFAccessId which is invalid - skipping locaiton reassignment"},
        {5, "kept", "55", nullptr, "(error) subscriber has a NULL DTMFaccessId which is invalid - skipping location reassignment"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result.toStdString());
        const QString target = QString("(SELECT LocationObjectID FROM Location WHERE DestinationType=%1 ORDER BY LocationObjectID LIMIT 1)").arg(c.kind == 1 ? 5 : c.kind);
        const auto dial = [](const char* digits, const QString& owner) {
            return (digits ? QString("UPDATE DTMFAccessID SET DTMFAccessID='%1'").arg(digits) : "DELETE FROM DTMFAccessID") + " WHERE IsPrimaryID=1 AND ParentObjectID=" + owner;
        };
        auto run = opened(TempInstallation::smallOptions(), {QString("UPDATE Subscriber SET SubscriberType=%1, RemoteAddress=%2 WHERE SubscriberObjectID=%3")
                                                                 .arg(c.kind).arg(c.address ? QString("'%1'").arg(c.address) : "NULL", kFirst), dial(c.dial, target), dial(c.extension, kFirst)}, c.kind);
        const bool moved = c.dial && c.extension;
        const QString location = run->stored("SELECT " + (moved ? target : "LocationObjectID FROM Subscriber WHERE SubscriberObjectID=" + kFirst)).toString();
        if (c.kind == 1) {
            run->chooseItem("cmbLocationNewLocation", "Elsewhere", 1);
            run->chooseItem("cmbLocationHiddenLocationObjectID", run->stored("SELECT " + target).toString(), {});
        } else {
            run->choose("cmbLocationNewLocation", run->options.control("cmbLocationNewLocation").items.value(1).text);
        }
        run->run(1);
        const bool error = c.result.startsWith("(error)");
        EXPECT_EQ(outcome(*run, "location|remote address|\\(error\\)", {"RemoteAddress", "LocationObjectID", "DirectorySyncRequest.COUNT(*)"}),
                  QStringList({"    Changing the location assignment of the subscriber to location with alias=" + run->stored("SELECT Alias FROM Location WHERE LocationObjectID=" + target).toString(),
                               error ? c.result : "    Updating subscriber remote address to: " + c.result, "RemoteAddress=" + (error ? "kept" : c.result),
                               "LocationObjectID=" + location, QString("DirectorySyncRequest.COUNT(*)=%1").arg(moved)}).join('\n').toStdString());
    }
    auto run = opened(TempInstallation::smallOptions(), {});
    run->chooseItem("cmbLocationNewLocation", "Gone", 1);
    run->chooseItem("cmbLocationHiddenLocationObjectID", "0000-GONE", {});
    run->run(1);
    EXPECT_EQ(outcome(*run, "location|\\(error\\)", {"DirectorySyncRequest.COUNT(*)"}),
              "(error) could not find location object with ID=0000-GONE\nDirectorySyncRequest.COUNT(*)=0");
}

TEST(FeatureChanges, EachFeatureWritesItsColumnFromItsServerVersionOn)
{
    const QString exColumns = "SubscriberEx.COUNT(*)|SubscriberEx.MAX(PhoneAppsEnabled)";
    const QString exRows = "SubscriberEx.COUNT(*)=%1|SubscriberEx.MAX(PhoneAppsEnabled)=%2";
    const struct {
        int build;                          // of a 5.0(0) server; 0: a 4.0(3).12 server
        QString setup;
        std::vector<std::pair<int, int>> choices;   // index, resource string (negative: in capitals; 0: "Encrypt it")
        QString columns, expected;          // "|" between columns, between lines; "%id": the subscriber
        bool directory;
    } cases[] = {
        {179, "UPDATE Subscriber SET SendBroadcastMsg=9, SendBroadcastMsgMultiSvr=9, UpdateBroadcastMsg=9, EnableMsgLocator=9, MsgLocatorReceipts=9",
         {{0, -546}, {1, 279}, {4, 137}, {2, 279}, {3, 137}, {5, 279}, {6, 279}},
         "encryptmessages|SendBroadcastMsg|SendBroadcastMsgMultiSvr|UpdateBroadcastMsg|EnableMsgLocator|MsgLocatorReceipts|" + exColumns,
         "   Subscriber encrypt message set to: 2|   Subscriber send broadcast messages on this server set to: 1|   Subscriber update broadcast messages on multiple servers set to: 0|"
         "   Subscriber update broadcast messages set to: 1|   Subscriber Enable Message Locator set to: 0|   Subscriber Enable Message Locator Receipts set to: 1|"
         "   PhoneAppsEnabled set to: 1|encryptmessages=2|SendBroadcastMsg=1|SendBroadcastMsgMultiSvr=0|UpdateBroadcastMsg=1|EnableMsgLocator=0|MsgLocatorReceipts=1|" + exRows.arg(1).arg(1), true},
        {10, "UPDATE Subscriber SET encryptmessages=9", {{0, 0}}, "encryptmessages",
         "(error) invalid drop down value for message encryption option - cmbSubscriberFeatures(0): Encrypt it|encryptmessages=9", false},
        {0, "UPDATE Subscriber SET EncryptPrivateMessages=9, PhoneAppsEnabled=9", {{0, 279}, {6, 137}}, "EncryptPrivateMessages|PhoneAppsEnabled",
         "   Subscriber encrypt a private messages set to: 1|   PhoneAppsEnabled set to: 0|EncryptPrivateMessages=1|PhoneAppsEnabled=0", false},
        {179, "DELETE FROM SubscriberEx WHERE SubscriberObjectID=" + kFirst, {{6, 279}}, exColumns,
         "(error) no entry found in SubscriberEx table for SubscriberObjectID=%id|" + exRows.arg(0).arg("NULL"), false},
        {179, "INSERT INTO SubscriberEx SELECT * FROM SubscriberEx WHERE SubscriberObjectID=" + kFirst, {{6, 279}}, exColumns,
         "(error) more than one entry found in SubscriberEx table for SubscriberObjectID=%id|" + exRows.arg(2).arg(0), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        auto run = opened(c.build ? TempInstallation::smallServer(5, 0, 0, c.build) : TempInstallation::smallOptions(), {c.setup});
        for (const auto& [index, string] : c.choices)
            run->choose("cmbSubscriberFeatures_" + QString::number(index), string == 0 ? "Encrypt it" : string < 0 ? run->string(-string).toUpper() : run->string(string));
        run->run(1);
        EXPECT_EQ(outcome(*run, "^   (Subscriber |PhoneApps)|SubscriberEx|\\(error\\)", c.columns.split('|')),
                  QString(c.expected).replace("%id", run->stored("SELECT " + kFirst).toString()).replace('|', '\n').toStdString());
        EXPECT_EQ(run->stored("SELECT COUNT(*) FROM DirectorySyncRequest").toInt(), int(c.directory));
    }
}

}  // namespace
