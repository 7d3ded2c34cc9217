// The call handler engine over every non-primary call handler of generated installations of
// 1,000 and 10,000 handlers, without a window and with its run log, a transaction per handler,
// ten changes chosen on the loaded (never shown) options page: owner (a subscriber), language,
// schedule, maximum message length, urgent marking, recipient (a distribution list), the
// Standard transfer rule (enabled, to the handler's extension, rings), the Alternate greeting
// (enabled, replays), key 5 (to a call handler, locked) and the after-message action (Hang Up).
// It is set against a floor: the least work the same changes need, on the SQLite C API, over a
// second installation generated alike. Per handler the floor runs one BEGIN IMMEDIATE ...
// COMMIT; reads the handler row, its contact rules, its messaging rules and its menu entries
// (what the changes and their lines need); writes each changed row once, through the view the
// engine writes (the handler row, the Standard contact rule, the Alternate messaging rule, menu
// entry 5); and writes the handler's log lines, the engine's own (the headings of the rules and
// keys a run visits included), with one write and one flush. After each run the rows of both
// installations and the two logs are compared: the first differing row of each column and the
// first differing log line are written, and the bench ends with 1. Each run prints engine and
// floor time and statements per handler; at 1,000 handlers the run is also made over the SQLite
// ODBC driver (the engine alone), its statements set against the floor's. Run by hand:
// build/bench/bench_handler_engine [handlers ...]
#include "bench/BenchInstallations.h"
#include "bench/EngineFloor.h"
#include "core/DirectoryLists.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerEngine.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <string_view>

namespace {

constexpr int kSubscribers = 200;   // owners and recipients only: the run reads none of them

// The ten changes as chosen on the page; the floor writes these values.
struct TenChanges {
    QByteArray owner;         // a subscriber's object ID
    qint64 language = 0;      // the language list's item data
    QByteArray schedule;
    qint64 maxMessageLength = 120;
    QByteArray recipient;     // a distribution list's object ID
    qint64 rings = 6;         // of the Standard transfer rule
    qint64 replays = 2;       // of the Alternate greeting
    QByteArray keyDestination;   // key 5 goes to this call handler
};

// Makes the ten changes on the loaded options page, as the administrator would (the object IDs
// as a Find would fill them); the values the floor writes.
TenChanges chooseTenChanges(frmSelectCallHandlerChanges& page, Session& session)
{
    TenChanges ten;
    const auto box = [&](const char* name) { return page.findChild<QLineEdit*>(QLatin1String(name)); };
    const auto list = [&](const char* name) { return page.findChild<QComboBox*>(QLatin1String(name)); };
    const auto tick = [&](const char* name) { page.findChild<QAbstractButton*>(QLatin1String(name))->setChecked(true); };
    const auto showString = [&](const char* name, int number) {
        list(name)->setCurrentText(session.languages.mymyLoadString(number));
    };
    const auto firstOf = [](Recordset& recordset, const char* field) {
        recordset.moveFirst();
        return recordset.value(QLatin1String(field)).toString();
    };

    tick("optCallHandlerOwnerChangeSubscriber");
    box("txtCallHandlerOwnerSubscriberObjectID")->setText(firstOf(session.rsSubscribers, "SubscriberObjectID"));
    list("cmbCallHandlerDefaultLanguage")->setCurrentIndex(2);   // the first installed language
    QComboBox* schedules = list("cmbCallHandlerSchedule");
    schedules->setCurrentIndex(schedules->count() - 1);
    box("txtMessagesMaxMessageLength")->setText(QString::number(ten.maxMessageLength));
    showString("comMessagesMarkUrgent", 45);   // "Always"
    tick("optCallHandlerRecipientDL");
    box("txtCallHandlerRecipientDLObjectID")->setText(firstOf(session.rsDistributionLists, "SystemDListObjectID"));
    showString("comTransferEnabled_1", 279);   // the Standard rule: "TRUE"
    showString("comTransferTo_1", 83);         // "Call Handlers Extension"
    box("txtTransferRingsToWait_1")->setText(QString::number(ten.rings));
    showString("comGreetingEnabled_3", 279);   // the Alternate greeting
    box("txtGreetingReplayTimes_3")->setText(QString::number(ten.replays));
    tick("optCallerInputGoToCallHandler_5");
    box("txtCallerInputGoToCallHandlerObjectID_5")->setText(firstOf(session.rsNonPrimaryCallHandlers, "CallHandlerObjectID"));
    showString("cmbCallerInputLockKey_5", 279);
    tick("optCallerInputTakeAction_12");
    showString("cmbCallerInputTakeAction_12", 152);   // "Hang Up"

    ten.owner = box("txtCallHandlerOwnerSubscriberObjectID")->text().toUtf8();
    ten.language = list("cmbCallHandlerDefaultLanguage")->currentData().toLongLong();
    ten.schedule = schedules->currentText().toUtf8();
    ten.recipient = box("txtCallHandlerRecipientDLObjectID")->text().toUtf8();
    ten.keyDestination = box("txtCallerInputGoToCallHandlerObjectID_5")->text().toUtf8();
    return ten;
}

// ---- The floor -------------------------------------------------------------------------------

// The aliases of one handler's rows of a view, as read once per handler.
class Aliases {
public:
    Aliases(FloorConnection& db, sqlite3_stmt* query, const QByteArray& handlerId)
    {
        Use read(db.handle(), query);
        read.text(handlerId);
        while (read.next())
            m_rows.append({read.textAt(0), read.textAt(1)});
    }
    // The row's second column (null when the query reads one column); the floor stops when the
    // generated installation lacks the row.
    QByteArray require(const char* alias, const QByteArray& handlerId) const
    {
        for (const auto& [name, value] : m_rows)
            if (sqlite3_stricmp(name.constData(), alias) == 0)
                return value;
        throw std::runtime_error(std::string("floor: no ") + alias + " row for " + handlerId.toStdString());
    }

private:
    QList<QPair<QByteArray, QByteArray>> m_rows;
};

void runFloor(FloorConnection& db, const Session& session, const QString& logPath, const QList<SelectionGridRow>& rows,
              const TenChanges& ten)
{
    const QByteArray handlerView = session.isVersionAtLeast(4, 0, 2, 111) ? "vw_CallHandler_NonPrimary" : "vw_CallHandler";
    const int lastTransferRule = session.isVersionAtLeast(7, 0, 0, 1) ? 5 : 2;
    sqlite3_stmt* handler = db.prepare("SELECT TextName, Alias, DTMFAccessID FROM " + handlerView
                                       + " WHERE CallHandlerObjectID = ?");
    sqlite3_stmt* contactRules = db.prepare("SELECT Alias, Extension FROM vw_ContactRule WHERE ParentObjectID = ?");
    sqlite3_stmt* messagingRules = db.prepare("SELECT Alias FROM vw_MessagingRule WHERE ParentObjectID = ?");
    sqlite3_stmt* menuEntries = db.prepare("SELECT Alias FROM vw_MenuEntry WHERE ParentObjectID = ?");
    sqlite3_stmt* handlerUpdate = db.prepare(
        "UPDATE " + handlerView
        + " SET AdministratorObjectID = ?, AdministratorObjectIDType = 1, Language = ?, ScheduleObjectName = ?, "
          "MaxMsgLen = ?, SendUrgentMsg = 1, RecipientObjectID = ?, RecipientObjectIDType = 2, AfterMessageAction = 1, "
          "AfterMessageConversation = '', AfterMessageObjectID = NULL, AfterMessageObjectIDType = 0 "
          "WHERE CallHandlerObjectID = ?");
    sqlite3_stmt* standardRule = db.prepare("UPDATE vw_ContactRule SET TimeExpires = NULL, Action = ?, Extension = ?, "
                                            "TransferRings = ? WHERE ParentObjectID = ? AND Alias = 'Standard'");
    sqlite3_stmt* alternateGreeting = db.prepare("UPDATE vw_MessagingRule SET TimeExpires = NULL, Reprompts = ? "
                                                 "WHERE ParentObjectID = ? AND Alias = 'Alternate'");
    sqlite3_stmt* keyFive = db.prepare("UPDATE vw_MenuEntry SET Locked = 1, Action = 2, ConversationName = 'PHTransfer', "
                                       "DestinationObjectID = ?, DestinationObjectIDType = 3 "
                                       "WHERE ParentObjectID = ? AND Alias = '5'");
    static const char* const kTransferRules[][2] = {
        {"Alternate", "   Alternate Transfer Rule Edits:"},   {"Standard", "   Standard Transfer Rule Edits:"},
        {"Off Hours", "   Off Hours Transfer Rule Edits"},    {"Follow-Me Here", "   Follow-Me Here Transfer Rule Edits"},
        {"Follow-Me Home", "   Follow-Me Home Transfer Rule Edits"},
        {"Follow-Me Mobile", "   Follow-Me Mobile Transfer Rule Edits"}};
    const QByteArray number = QByteArray::number(ten.language);

    FloorLog log(logPath);
    log.write("Starting call handler edits\r\n\r\n");
    for (const SelectionGridRow& grid : rows) {
        if (!grid.checked)
            continue;
        const QByteArray id = grid.objectID.toUtf8();
        QByteArray lines;
        const auto line = [&](const QByteArray& text) { lines += text + "\r\n"; };
        line("** Updating handler **");
        line("    Alias=" + grid.alias.toUtf8());
        line("    ObjectID=" + id);
        db.run("BEGIN IMMEDIATE");
        QByteArray heading;
        QByteArray extension;
        {
            Use row(db.handle(), handler);
            if (row.text(id).next()) {
                extension = row.textAt(2);
                heading = "\r\n" + row.textAt(0) + "\r\nAlias=" + row.textAt(1) + "\r\nExtension="
                          + (extension.isNull() ? QByteArray("(empty)") : extension);
            }
        }
        if (heading.isNull()) {
            line("(error) No object returned from search for this object.  Skipping handler and moving on.");
        } else {
            line(heading);

            // The record.
            line("   Updated owner to selected subscriber with object ID=" + ten.owner);
            line("   Setting language to LangID:" + number);
            line("    Schedule set to:" + ten.schedule);
            line("   Setting max message length to:" + QByteArray::number(ten.maxMessageLength));
            line("   Mark messages as urgent set to Always");
            line("   Recipient set to distribution list with object id= " + ten.recipient);

            // The transfer rules: the Standard one enabled, to the handler's extension when it
            // has one, else kept or turned off.
            const Aliases rules(db, contactRules, id);
            for (int rule = 0; rule <= lastTransferRule; ++rule) {
                line(kTransferRules[rule][1]);
                const QByteArray ruleExtension = rules.require(kTransferRules[rule][0], id);
                if (rule != 1)
                    continue;
                line("   Transfer rule enabled set to: 1");
                bool transfers = true;
                QByteArray transferTo = ruleExtension;
                if (!extension.isEmpty()) {
                    transferTo = extension;
                    line("   Transfer extension set to:" + extension);
                } else if (!ruleExtension.isEmpty()) {
                    line("    Transfer string for this rule left as is");
                } else {
                    transfers = false;
                    line("   Transfer turned off since no transfer number found.");
                }
                line("   Rings to wait set to " + QByteArray::number(ten.rings));
                Use(db.handle(), standardRule).integer(transfers ? 1 : 0).text(transferTo).integer(ten.rings).text(id).done();
            }

            // The greetings: the Alternate one enabled, with its replays.
            const Aliases greetings(db, messagingRules, id);
            for (const char* alias : {"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"}) {
                line(QByteArray("    ") + alias + " Messaging Rule");
                greetings.require(alias, id);
                if (alias != std::string_view("Alternate"))
                    continue;
                line("   Rule enabled");
                line("    Reprompt times set to: " + QByteArray::number(ten.replays));
                Use(db.handle(), alternateGreeting).integer(ten.replays).text(id).done();
            }

            // The one-key menu: key 5 locked, to the chosen call handler.
            const Aliases keys(db, menuEntries, id);
            for (const char key : QByteArray("0123456789*#")) {
                line(QByteArray("    Menu entry: ") + key);
                keys.require(QByteArray(1, key).constData(), id);
                if (key != '5')
                    continue;
                line("   Setting Lock Key value to: 1");
                line("   Key set to action: 2");
                line("   Key set to go to conversation: PHTransfer");
                line("    Key destination object id=" + ten.keyDestination);
                Use(db.handle(), keyFive).text(ten.keyDestination).text(id).done();
            }

            // The after-message action, written with the record.
            line("   After message action value set to: 1");
            line("   After message action conversation name set to: ");
            line("    After message destination object id cleared");
            Use(db.handle(), handlerUpdate)
                .text(ten.owner)
                .integer(ten.language)
                .text(ten.schedule)
                .integer(ten.maxMessageLength)
                .text(ten.recipient)
                .text(id)
                .done();
            line("   Hanlder updates complete\r\n");
        }
        db.run("COMMIT");
        log.write(lines);
    }
}

// ---- The run ---------------------------------------------------------------------------------

// Every table the run writes.
const FloorComparison kComparison{{"CallHandler", "ContactRule", "MessagingRule", "MenuEntry"},
                                  {},
                                  "Starting call handler edits",
                                  {},
                                  QStringLiteral("handlers")};

// A checked grid row for every non-primary call handler of the session's list.
QList<SelectionGridRow> everyHandler(Session& session)
{
    return everyRecordChecked(session.rsNonPrimaryCallHandlers, QStringLiteral("CallHandlerObjectID"));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");   // the options page is loaded, never shown
    QApplication app(argc, argv);
    QTextStream out(stdout);
    bool same = true;
    QList<QPair<int, qint64>> engineTimes;
    for (const int size : benchSizes(argc, argv, {1000, 10000})) {
        QTemporaryDir dir;
        QTemporaryDir floorDir;
        QElapsedTimer generation;
        generation.start();
        const std::unique_ptr<Session> opened = openBenchSession(dir.path(), kSubscribers, out, size);
        if (!opened)
            return 1;
        Session& session = *opened;
        QString error;
        if (!createBenchInstallation(floorDir.path(), kSubscribers, &error, size)) {
            out << "cannot create the floor's installation: " << error << Qt::endl;
            return 1;
        }
        out << size << " handlers: both installations generated and the lists loaded in " << generation.elapsed()
            << " ms" << Qt::endl;

        MessageBoxService messages;
        messages.setAnswerer([](const MessageBoxService::Request&) { return QMessageBox::Ok; });
        FormRegistry forms;
        WizardContext context{session, messages, forms};
        frmSelectCallHandlerChanges page(context);
        const TenChanges ten = chooseTenChanges(page, session);
        const OptionsSnapshot options = page.snapshot();

        const QList<SelectionGridRow> rows = everyHandler(session);

        EngineTiming timing = timeEngineRun<HandlerEngine>(session, dir.path(), rows, options);
        engineTimes << qMakePair(int(rows.size()), timing.engineMs);
        const QString engineFile = Installation::at(dir.path()).databaseFile();
        const QString floorFile = Installation::at(floorDir.path()).databaseFile();
        const QString floorLog = floorDir.filePath(QStringLiteral("floor.log"));
        FloorConnection floor(floorFile);
        same &= runFloorAndCompare(out, QStringLiteral("ten changes"), rows.size(), timing, engineFile, floorFile, floorLog,
                                   kComparison, [&] { runFloor(floor, session, floorLog, rows, ten); });
        CloseServerRecordsets(session);

        // The same run over ODBC, once.
        if (size == 1000
            && !timeEngineRunOverOdbc<HandlerEngine>(out, QStringLiteral("ten changes"), rows.size(), kComparison.objects,
                                                     timing.floorStatements, kSubscribers, size, everyHandler, options))
            return 1;
    }
    for (qsizetype i = 1; i < engineTimes.size(); ++i)
        out << QString("engine time from %1 to %2 handlers: x%3")
                   .arg(engineTimes[i - 1].first).arg(engineTimes[i].first)
                   .arg(engineTimes[i - 1].second > 0 ? double(engineTimes[i].second) / engineTimes[i - 1].second : 0.0, 0, 'f', 1)
            << Qt::endl;
    if (!same)
        out << "FLOOR AND ENGINE DIFFER (see above)" << Qt::endl;
    return same ? 0 : 1;
}
