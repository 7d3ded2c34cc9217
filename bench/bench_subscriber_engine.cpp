// The subscriber engine over every subscriber of generated installations of 1,000 and 10,000
// subscribers, without a window and with its run log, a transaction per subscriber. Three runs:
// - the frame alone: one column of each subscriber row and handler row changed by a category of
//   the benchmark, both rows written back, the directory write-through requested;
// - ten changes chosen on the loaded (never shown) options page, through the real categories:
//   an extension rule (prepend 9), two tri-states (say ANI, list in directory), a transfer rule
//   (Off Hours enabled), the Standard greeting (enabled, two replays), key 1 locked, the Work
//   Phone notification device disabled, an alternate extension (prepend 8), the callers'
//   language and a new phone password;
// - six of them: the extension rule, the two tri-states, the transfer rule, the callers'
//   language and the password.
// Each is set against a floor: the least work the same changes need, on the SQLite C API, over a
// second installation generated alike. Per subscriber the floor runs one BEGIN IMMEDIATE ...
// COMMIT; reads what the engine reads (the subscriber and handler rows; for the ten changes
// also the extension conflict searches, the contact rules, the messaging rules, the
// one-key menu entries, the notification devices and rules, the alternate extensions); writes
// each changed row once, through the table or view the engine writes; requests the directory
// write-through; and writes the subscriber's log lines, the engine's own (the lines categories
// write with nothing chosen included), with one write and one flush. Its statements are
// prepared once and bound, its connection set up as Database::open sets one up. After each run
// the rows of both installations and the two logs are compared. Each run prints engine and floor
// time and statements per subscriber; at 1,000 subscribers the ten changes also run over the
// SQLite ODBC driver (the engine alone), its statements set against the floor's. Run by hand:
// build/bench/bench_subscriber_engine [subscribers ...]
#include "bench/BenchInstallations.h"
#include "bench/EngineFloor.h"
#include "core/DirectoryLists.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"
#include "subscribers/SubscriberEngine.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace {

void renameBoth(SubscriberEdit& edit)
{
    edit.subscriber().setValue(QStringLiteral("FirstName"), QStringLiteral("Engine ") + edit.alias);
    edit.handler().setValue(QStringLiteral("TextName"), QStringLiteral("Engine ") + edit.alias);
    edit.requestDirectoryWriteThrough();
}

constexpr char kPassword[] = "24680";

// ---- The floor -------------------------------------------------------------------------------

// What depends on the server version, as the directory lists and the transfer rules take it.
struct FloorSchema {
    QByteArray handlerView;   // where the primary call handler rows are read and written
    int transferRules;        // the contact rules the transfer rules category works through
    int notificationDevices;  // the devices the notification category visits
    bool alternateSlots;      // alternate extensions by numbered slot rather than appended
};

FloorSchema floorSchema(const Session& session)
{
    return {session.isVersionAtLeast(4, 0, 2, 111) ? "vw_CallHandler_Primary" : "vw_CallHandler",
            session.isVersionAtLeast(7, 0, 0, 1) ? 6 : 3, session.isVersionAtLeast(4, 0, 3, 120) ? 14 : 13,
            session.isVersionAtLeast(4, 0, 3, 120)};
}

// One subscriber in the floor: its rows as read and the lines of its log.
struct FloorRow {
    QByteArray alias;
    QByteArray subscriberId;
    QByteArray handlerId;
    QByteArray transferString;   // the subscriber's XFerString
    qint64 subscriberType = 0;
    QByteArray extension;        // the handler's DTMFAccessID
    bool handlerLanguageSet = false;
    qint64 handlerLanguage = 0;
    QByteArray lines;

    void line(const QByteArray& text) { lines += text + "\r\n"; }
};

// The frame of the floor: per subscriber one transaction, the subscriber and handler rows read,
// `change` applied, the directory write-through requested, the log lines written at once.
class Floor {
public:
    Floor(FloorConnection& db, const FloorSchema& schema) : m_db(db), m_schema(schema)
    {
        m_subscriber = db.prepare("SELECT CallHandlerObjectID, XFerString, SubscriberType FROM vw_Subscriber "
                                  "WHERE SubscriberObjectID = ?");
        m_handler = db.prepare("SELECT DTMFAccessID, Language FROM " + schema.handlerView + " WHERE CallHandlerObjectID = ?");
        m_sync = db.prepare("INSERT INTO DirectorySyncRequest (SubscriberObjectID, DirectorySync, DirectorySyncFlags) "
                            "VALUES (?, 1, 1)");
    }

    FloorConnection& connection() { return m_db; }
    const FloorSchema& schema() const { return m_schema; }
    Use use(sqlite3_stmt* statement) { return Use(m_db.handle(), statement); }

    void run(const QString& logPath, const QList<SelectionGridRow>& rows, const std::function<void(FloorRow&)>& change)
    {
        FloorLog log(logPath);
        log.write("Starting subscriber edits\r\n\r\n");
        for (const SelectionGridRow& grid : rows) {
            if (!grid.checked)
                continue;
            FloorRow row;
            row.alias = grid.alias.toUtf8();
            row.subscriberId = grid.objectID.toUtf8();
            row.line("** Updating subscriber **");
            row.line("    Alias=" + row.alias);
            row.line("    ObjectID=" + row.subscriberId);
            m_db.run("BEGIN IMMEDIATE");
            if (read(row)) {
                row.line("    Extension=" + row.extension);
                change(row);
                use(m_sync).text(row.subscriberId).done();
            }
            m_db.run("COMMIT");
            log.write(row.lines);
        }
    }

private:
    bool read(FloorRow& row)
    {
        {
            Use subscriber = use(m_subscriber);
            subscriber.text(row.subscriberId);
            if (!subscriber.next()) {
                row.line("(error) No object returned from search for this subscriber by ObjectID.  Skipping user and moving on.");
                return false;
            }
            row.handlerId = subscriber.textAt(0);
            row.transferString = subscriber.textAt(1);
            row.subscriberType = subscriber.integerAt(2);
        }
        Use handler = use(m_handler);
        handler.text(row.handlerId);
        if (!handler.next()) {
            row.line("(error) No primary call handler found for this mail uers.  Skipping subscriber and moving on.");
            return false;
        }
        row.extension = handler.textAt(0);
        row.handlerLanguageSet = !handler.isNullAt(1);
        row.handlerLanguage = handler.integerAt(1);
        return true;
    }

    FloorConnection& m_db;
    FloorSchema m_schema;
    sqlite3_stmt* m_subscriber;
    sqlite3_stmt* m_handler;
    sqlite3_stmt* m_sync;
};

// The frame alone: the same two columns as renameBoth.
void runFrameFloor(Floor& floor, const QString& logPath, const QList<SelectionGridRow>& rows)
{
    sqlite3_stmt* subscriber = floor.connection().prepare("UPDATE vw_Subscriber SET FirstName = ? WHERE SubscriberObjectID = ?");
    sqlite3_stmt* handler = floor.connection().prepare("UPDATE " + floor.schema().handlerView
                                                       + " SET TextName = ? WHERE CallHandlerObjectID = ?");
    floor.run(logPath, rows, [&](FloorRow& row) {
        floor.use(subscriber).text("Engine " + row.alias).text(row.subscriberId).done();
        floor.use(handler).text("Engine " + row.alias).text(row.handlerId).done();
    });
}

// The ten or the six changes as the bench chooses them. Only what the generated installations
// hold is handled; anything else (an extension in use, a missing contact rule) stops the floor.
struct BenchChanges {
    bool allTen;            // false: the six (no greeting, key, device or alternate extension)
    QByteArray prefix;      // put before the extension
    QByteArray alternatePrefix;   // put before the extension as loaded: the new alternate
    qint64 callerLanguage;  // the callers' language; -1: not changed
};

struct ContactRuleRow {
    qint64 rowid;
    QByteArray alias;
    bool expires;
    QByteArray extension;
};

void runChangesFloor(Floor& floor, const QString& logPath, const QList<SelectionGridRow>& rows, const BenchChanges& ten)
{
    FloorConnection& db = floor.connection();
    const QByteArray& handlerView = floor.schema().handlerView;
    sqlite3_stmt* usedBySubscriber = db.prepare(
        "SELECT DTMFAccessID.DTMFAccessID FROM DTMFAccessID INNER JOIN Subscriber "
        "ON DTMFAccessID.ParentObjectID = Subscriber.SubscriberObjectID "
        "WHERE SubscriberType NOT IN (0,6) AND DTMFAccessID.DTMFAccessID = ?");
    sqlite3_stmt* usedByOther = db.prepare("SELECT ParentObjectID FROM DTMFAccessID WHERE DTMFAccessID = ? AND ParentObjectIDType <> 1");
    sqlite3_stmt* primary = db.prepare("UPDATE DTMFAccessID SET DTMFAccessID = ? WHERE ParentObjectID = ? AND IsPrimaryID = 1");
    sqlite3_stmt* contactRules = db.prepare("SELECT rowid, Alias, TimeExpires IS NOT NULL, Extension FROM ContactRule WHERE ParentObjectID = ?");
    sqlite3_stmt* ruleExtension = db.prepare("UPDATE ContactRule SET Extension = ? WHERE rowid = ?");
    sqlite3_stmt* ruleEnabled = db.prepare("UPDATE ContactRule SET TimeExpires = NULL WHERE rowid = ?");
    sqlite3_stmt* subscriber = db.prepare("UPDATE vw_Subscriber SET ListInDirectory = 0, PWDTMF = ?, PWTimeChanged = ?, "
                                          "SayANI = 1, XFerString = ? WHERE SubscriberObjectID = ?");
    sqlite3_stmt* handler = db.prepare("UPDATE " + handlerView + " SET Language = ? WHERE CallHandlerObjectID = ?");
    sqlite3_stmt* menuEntries = db.prepare("SELECT Alias FROM MenuEntry WHERE ParentObjectID = ?");
    sqlite3_stmt* keyLocked = db.prepare("UPDATE MenuEntry SET Locked = 1 WHERE ParentObjectID = ? AND Alias = '1'");
    sqlite3_stmt* messagingRules = db.prepare("SELECT Alias FROM vw_MessagingRule WHERE ParentObjectID = ?");
    sqlite3_stmt* greeting = db.prepare("UPDATE vw_MessagingRule SET TimeExpires = NULL, Reprompts = 2 "
                                        "WHERE ParentObjectID = ? AND Alias = 'Standard'");
    sqlite3_stmt* devices = db.prepare("SELECT Alias FROM vw_NotificationDevice WHERE ParentObjectID = ?");
    sqlite3_stmt* deviceRules = db.prepare("SELECT Alias FROM vw_NotificationRule WHERE ParentObjectID = ?");
    sqlite3_stmt* deviceOff = db.prepare("UPDATE vw_NotificationDevice SET DLVDeviceActive = 0 "
                                         "WHERE ParentObjectID = ? AND Alias = 'Work Phone'");
    sqlite3_stmt* alternates = db.prepare("SELECT COUNT(*) FROM vw_DTMFAccessID WHERE ParentObjectID = ? AND IsPrimaryID = 0");
    sqlite3_stmt* addAlternate = db.prepare("INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, IsPrimaryID, "
                                            "ParentObjectIDType) VALUES (?, ?, 0, 1)");
    if (ten.allTen && floor.schema().alternateSlots)
        throw std::runtime_error("floor: the bench's server fills alternate extension slots, the floor only appends");

    // The password holds no "X" (the extension's place): one hash serves every subscriber.
    const QByteArray hash = QCryptographicHash::hash(QByteArray(kPassword), QCryptographicHash::Md5).toHex().toUpper();
    const QByteArray languageLine = "   Language callers hear set to LangID:" + paddedNumber(ten.callerLanguage).toUtf8();
    static const char* const kRuleAliases[] = {"Alternate", "Off Hours", "Standard", "Follow-Me Here", "Follow-Me Home",
                                               "Follow-Me Mobile"};
    constexpr int kOffHours = 1;
    constexpr int kStandard = 2;
    const auto sameText = [](const QByteArray& a, const char* b) { return sqlite3_stricmp(a.constData(), b) == 0; };

    const auto addAlternateExtension = [&](FloorRow& row) {
        const QByteArray alternate = ten.alternatePrefix + row.extension;
        for (sqlite3_stmt* search : {usedBySubscriber, usedByOther}) {
            Use used = floor.use(search);
            if (used.text(alternate).next())
                throw std::runtime_error("floor: alternate extension " + alternate.toStdString() + " is in use");
        }
        {
            Use count = floor.use(alternates);
            count.text(row.subscriberId).next();
            if (count.integerAt(0) >= 9)
                throw std::runtime_error("floor: nine alternate extensions for " + row.subscriberId.toStdString());
        }
        floor.use(addAlternate).text(alternate).text(row.subscriberId).done();
        row.line("   New alternate extension added for user:" + alternate);
    };

    floor.run(logPath, rows, [&](FloorRow& row) {
        // The primary extension.
        bool transferMoves = false;
        const QByteArray extension = row.extension.isEmpty() ? QByteArray() : ten.prefix + row.extension;
        if (extension.isEmpty()) {
            row.line("    Modification rules invalid for selected extension");
        } else {
            // The bench's session knows no dialing domain: the engine searches the local subscribers.
            for (sqlite3_stmt* search : {usedBySubscriber, usedByOther}) {
                Use used = floor.use(search);
                if (used.text(extension).next())
                    throw std::runtime_error("floor: extension " + extension.toStdString() + " is in use");
            }
            const int changed = floor.use(primary).text(extension).text(row.subscriberId).done();
            if (changed != 1)
                throw std::runtime_error("floor: " + std::to_string(changed) + " primary extensions of " + row.subscriberId.toStdString());
            transferMoves = !row.transferString.isNull() && sqlite3_stricmp(row.transferString.constData(), row.extension.constData()) == 0;
            row.line(transferMoves ? "    Current extension matches transfer string - updating transfer string for "
                                     "subscriber to match new extension"
                                   : "    Current extension does not match transfer string - leaving transfer string "
                                     "alone and just changing the subscriber's extension");
            row.line("   Extension changed to:" + extension);
        }
        row.line("   List in Directory set to:  0");
        if (ten.callerLanguage > 0)
            row.line(languageLine);
        row.line("   Password set to value specified");
        row.line("   Say ANI value set to: 1");

        // The contact rules: the Alternate rule follows the transfer string, Off Hours is
        // enabled and so is Standard, as the transfer rules category always does.
        QList<ContactRuleRow> rules;
        {
            Use read = floor.use(contactRules);
            read.text(row.handlerId);
            while (read.next())
                rules.append({read.integerAt(0), read.textAt(1), read.integerAt(2) != 0, read.textAt(3)});
        }
        const auto ruleNamed = [&](const char* alias) -> const ContactRuleRow& {
            for (const ContactRuleRow& rule : rules)
                if (sameText(rule.alias, alias))
                    return rule;
            throw std::runtime_error(std::string("floor: no ") + alias + " rule for " + row.subscriberId.toStdString());
        };
        if (transferMoves) {
            const ContactRuleRow& alternate = ruleNamed("Alternate");
            if (alternate.extension != extension)
                floor.use(ruleExtension).text(extension).integer(alternate.rowid).done();
        }
        for (int index = 0; index < floor.schema().transferRules; ++index) {
            row.line(QByteArray("    Updating transfer rule: ") + kRuleAliases[index]);
            const ContactRuleRow& rule = ruleNamed(kRuleAliases[index]);
            if (index == kOffHours)
                row.line("       Transfer rule enabled");
            if ((index == kOffHours || index == kStandard) && rule.expires)
                floor.use(ruleEnabled).integer(rule.rowid).done();
        }

        // The greetings: every rule named, the Standard one enabled with two replays.
        const auto aliasesOf = [&](sqlite3_stmt* query, const QByteArray& owner) {
            QList<QByteArray> aliases;
            Use read = floor.use(query);
            read.text(owner);
            while (read.next())
                aliases << read.textAt(0);
            return aliases;
        };
        const auto need = [&](const QList<QByteArray>& aliases, const QByteArray& alias) {
            if (!std::any_of(aliases.begin(), aliases.end(), [&](const QByteArray& a) { return sameText(a, alias.constData()); }))
                throw std::runtime_error("floor: no " + alias.toStdString() + " for " + row.subscriberId.toStdString());
        };
        const QList<QByteArray> greetings = aliasesOf(messagingRules, row.handlerId);
        for (const char* alias : {"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"}) {
            need(greetings, alias);
            row.line(QByteArray("   ") + alias + " Messaging Rule");
            if (ten.allTen && alias == std::string_view("Standard")) {
                row.line("   Greeting enabled");
                row.line("    Reprompt times set to:  2");
                floor.use(greeting).text(row.handlerId).done();
            }
        }

        // The one-key menu: each key named, each with its one entry.
        QByteArray keys;
        {
            Use read = floor.use(menuEntries);
            read.text(row.handlerId);
            while (read.next())
                keys += read.textAt(0);
        }
        for (const char key : QByteArray("0123456789*#")) {
            if (keys.count(key) != 1)
                throw std::runtime_error("floor: not one menu entry " + std::string(1, key) + " for " + row.handlerId.toStdString());
            row.line(QByteArray("    Menu entry: ") + key);
            if (ten.allTen && key == '1') {
                row.line("   Key locked value set to: 1");
                floor.use(keyLocked).text(row.handlerId).done();
            }
        }

        // The notification devices of subscribers and of their kind 3, each named; Work Phone
        // switched off.
        if (row.subscriberType == 1 || row.subscriberType == 3) {
            const QList<QByteArray> deviceRows = aliasesOf(devices, row.subscriberId);
            const QList<QByteArray> ruleRows = aliasesOf(deviceRules, row.subscriberId);
            static const char* const kDevices[] = {"Home Phone", "Work Phone", "Pager", "Spare Phone", "Pager 2",
                                                   "Phone 2", "Phone 3", "Phone 4", "Phone 5", "Phone 6",
                                                   "Text Pager 1", "Text Pager 2", "Text for VMI", "SMS"};
            for (int device = 0; device < floor.schema().notificationDevices; ++device) {
                need(deviceRows, kDevices[device]);
                need(ruleRows, QByteArray(kDevices[device]) + " Rule");
                row.line(QByteArray(" ") + kDevices[device] + " Notification device edits");
                if (ten.allTen && device == 1) {
                    row.line("      Notification device disabled");
                    floor.use(deviceOff).text(row.subscriberId).done();
                }
            }
        }

        // An alternate extension appended, derived from the extension as loaded.
        if (ten.allTen) {
            row.line("    Adding alternate extension based on primary ID for this subscriber");
            if (row.extension.isEmpty())
                row.line("    Modification rules invalid for selected extension");
            else
                addAlternateExtension(row);
        }

        floor.use(subscriber)
            .text(hash)
            .text(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8())
            .text(transferMoves ? extension : row.transferString)
            .text(row.subscriberId)
            .done();
        if (ten.callerLanguage > 0 && (!row.handlerLanguageSet || row.handlerLanguage != ten.callerLanguage))
            floor.use(handler).integer(ten.callerLanguage).text(row.handlerId).done();
    });
}

// ---- The runs --------------------------------------------------------------------------------

// Every table the runs write; PWTimeChanged is set to the clock.
const FloorComparison kComparison{{"Subscriber", "CallHandler", "DTMFAccessID", "ContactRule", "MessagingRule", "MenuEntry",
                                   "NotificationDevice", "DirectorySyncRequest", "GlobalSubscriber"},
                                  "PWTimeChanged",
                                  "Starting subscriber edits",
                                  "\r\nChanges complete at:",
                                  QStringLiteral("subscribers")};

// Makes the ten (or the six) changes on the loaded options page, as the administrator would;
// the callers' language chosen (its identifier), -1 when the page offers none.
int chooseChanges(frmSelectSubscriberChanges& page, bool allTen)
{
    if (allTen) {
        page.findChild<QComboBox*>(QStringLiteral("comGreetingEnabled_0"))->setCurrentText(QStringLiteral("TRUE"));
        page.findChild<QLineEdit*>(QStringLiteral("txtGreetingReplayTimes_0"))->setText(QStringLiteral("2"));
        page.findChild<QComboBox*>(QStringLiteral("cmbCallerInputLockKey_1"))->setCurrentText(QStringLiteral("TRUE"));
        page.findChild<QComboBox*>(QStringLiteral("comNotificationDisableDevice_1"))->setCurrentText(QStringLiteral("TRUE"));
        page.findChild<QCheckBox*>(QStringLiteral("chkAltExtAppendToLeft"))->setChecked(true);
        page.findChild<QLineEdit*>(QStringLiteral("txtAltExtAppendToLeft"))->setText(QStringLiteral("8"));
    }
    page.findChild<QCheckBox*>(QStringLiteral("chkSubscriberExtensionAppendToLeft"))->setChecked(true);
    page.findChild<QLineEdit*>(QStringLiteral("txtSubscriberExtensionAppendToLeft"))->setText(QStringLiteral("9"));
    page.findChild<QComboBox*>(QStringLiteral("comConversationSayANI"))->setCurrentText(QStringLiteral("TRUE"));
    page.findChild<QComboBox*>(QStringLiteral("comProfileDirList"))->setCurrentText(QStringLiteral("FALSE"));
    page.findChild<QComboBox*>(QStringLiteral("comTransferRuleEnabled_1"))->setCurrentText(QStringLiteral("TRUE"));
    page.findChild<QCheckBox*>(QStringLiteral("chkPasswordsChangePassword"))->setChecked(true);
    page.findChild<QLineEdit*>(QStringLiteral("txtPasswordsNewPassword"))->setText(QString::fromLatin1(kPassword));
    auto* language = page.findChild<QComboBox*>(QStringLiteral("cmbSubscriberProfileOutsideCallerLanguage"));
    if (language->count() < 3)
        return -1;
    language->setCurrentIndex(2);   // the first installed language, after "<Don't Change>" and "Inherited"
    return language->currentData().toInt();
}

// A checked grid row for every subscriber of the session's list.
QList<SelectionGridRow> everySubscriber(Session& session)
{
    return everyRecordChecked(session.rsSubscribers, QStringLiteral("SubscriberObjectID"));
}

// One pair of installations of `size` subscribers (the engine's and the floor's), generated
// alike: the frame alone, then the ten changes (and at 1,000 subscribers the ten over ODBC), or
// the six changes alone. The engine's directory lists keep the extensions as loaded, so each
// set of extension changes starts from new installations. False when the floor failed or floor
// and engine differ.
bool runChanges(QTextStream& out, int size, bool allTen)
{
    QTemporaryDir dir;
    QTemporaryDir floorDir;
    const std::unique_ptr<Session> opened = openBenchSession(dir.path(), size, out);
    if (!opened)
        return false;
    Session& session = *opened;
    QString error;
    if (!createBenchInstallation(floorDir.path(), size, &error)) {
        out << "cannot create the floor's installation: " << error << Qt::endl;
        return false;
    }
    const QString engineFile = Installation::at(dir.path()).databaseFile();
    const QString floorFile = Installation::at(floorDir.path()).databaseFile();
    FloorConnection floorConnection(floorFile);
    Floor floor(floorConnection, floorSchema(session));
    const QList<SelectionGridRow> rows = everySubscriber(session);

    if (allTen) {
        const SubscriberChangeCategory renaming[] = {{"rename both rows", renameBoth}};
        EngineTiming frameOnly = timeEngineRun<SubscriberEngine>(
            session, dir.path(), rows, OptionsSnapshot(QStringLiteral("frmSelectSubscriberChanges")), renaming);
        const QString frameLog = floorDir.filePath(QStringLiteral("floor-frame.log"));
        if (!runFloorAndCompare(out, QStringLiteral("frame only"), rows.size(), frameOnly, engineFile, floorFile, frameLog,
                                kComparison, [&] { runFrameFloor(floor, frameLog, rows); }))
            return false;
    }

    // The changes chosen on the options page, through the real categories.
    MessageBoxService messages;
    messages.setAnswerer([](const MessageBoxService::Request&) { return QMessageBox::Ok; });
    FormRegistry forms;
    WizardContext context{session, messages, forms};
    context.state.iSelectedSubscriberType = 1;
    frmSelectSubscriberChanges page(context);
    const int callerLanguage = chooseChanges(page, allTen);
    const OptionsSnapshot options = captureOptions(&page, {frmSetConversationStyleLimits::instance(context, &page)});
    // What the engine changed of the subscribers' own rows.
    const auto kept = [&] {
        const auto count = [&](const QString& sql) { return session.database.select(sql).rows[0][0].toLongLong(); };
        const QString hash = QString::fromLatin1(
            QCryptographicHash::hash(QByteArray(kPassword), QCryptographicHash::Md5).toHex().toUpper());
        return QList<qint64>{
            count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID = 1 AND DTMFAccessID LIKE '9%' "
                                 "AND ParentObjectID IN (SELECT SubscriberObjectID FROM Subscriber)")),
            count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE PWDTMF = '") + hash + u'\''),
            count(QStringLiteral("SELECT COUNT(*) FROM ContactRule WHERE Alias = 'Off Hours' AND TimeExpires IS NULL "
                                 "AND ParentObjectID IN (SELECT CallHandlerObjectID FROM Subscriber)")),
            count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID = 0 AND DTMFAccessID LIKE '8%' "
                                 "AND ParentObjectID IN (SELECT SubscriberObjectID FROM Subscriber)")),
            count(QStringLiteral("SELECT COUNT(*) FROM NotificationDevice WHERE Alias = 'Work Phone' AND DLVDeviceActive = 0")),
            count(QStringLiteral("SELECT COUNT(*) FROM MenuEntry WHERE Alias = '1' AND Locked = 1 "
                                 "AND ParentObjectID IN (SELECT CallHandlerObjectID FROM Subscriber)")),
            count(QStringLiteral("SELECT COUNT(*) FROM MessagingRule WHERE Alias = 'Standard' AND Reprompts = 2 "
                                 "AND TimeExpires IS NULL AND ParentObjectID IN (SELECT CallHandlerObjectID FROM Subscriber)"))};
    };
    const QList<qint64> before = kept();
    EngineTiming changes = timeEngineRun<SubscriberEngine>(session, dir.path(), rows, options, subscriberChangeCategories());
    const QList<qint64> after = kept();
    const QString what = allTen ? QStringLiteral("ten changes") : QStringLiteral("six changes");
    out << QString("%1 kept: %2 primary extensions prefixed, %3 passwords set, %4 Off Hours rules enabled, "
                   "%5 alternate extensions added, %6 Work Phone devices disabled, %7 keys 1 locked, "
                   "%8 Standard greetings enabled with two replays")
               .arg(what).arg(after[0] - before[0]).arg(after[1] - before[1]).arg(after[2] - before[2])
               .arg(after[3] - before[3]).arg(after[4] - before[4]).arg(after[5] - before[5]).arg(after[6] - before[6])
        << Qt::endl;
    const QString floorLog = floorDir.filePath(QStringLiteral("floor-changes.log"));
    const BenchChanges chosen{allTen, "9", allTen ? "8" : "", callerLanguage};
    if (!runFloorAndCompare(out, what, rows.size(), changes, engineFile, floorFile, floorLog, kComparison,
                            [&] { runChangesFloor(floor, floorLog, rows, chosen); }))
        return false;
    CloseServerRecordsets(session);

    // The same changes over ODBC, once.
    return !(allTen && size == 1000)
           || timeEngineRunOverOdbc<SubscriberEngine>(out, what, rows.size(), kComparison.objects, changes.floorStatements,
                                                      size, 0, everySubscriber, options, subscriberChangeCategories());
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");   // the options page is loaded, never shown
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {1000, 10000}))
        for (const bool allTen : {true, false})
            if (!runChanges(out, size, allTen))
                return 1;
    return 0;
}
