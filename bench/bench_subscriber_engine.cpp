// The subscriber engine over every subscriber of generated installations of 1,000 and 10,000
// subscribers, without a window and with its run log, a transaction per subscriber. Two runs:
// - the frame alone: one column of each subscriber row and handler row changed by a category of
//   the benchmark, both rows written back, the directory write-through requested;
// - six changes chosen on the loaded (never shown) options page, through the real categories:
//   an extension rule (prepend 9), two tri-states (say ANI, list in directory), a transfer rule
//   (Off Hours enabled), the callers' language and a new phone password.
// Each has a baseline writing the same rows with statements prepared once (QSqlQuery), also a
// transaction per subscriber, without the log or the lists. Run by hand:
// build/bench/bench_subscriber_engine [subscribers ...]
#include "bench/BenchInstallations.h"
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
#include <QLineEdit>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void renameBoth(SubscriberEdit& edit)
{
    edit.subscriber().setValue(QStringLiteral("FirstName"), QStringLiteral("Engine ") + edit.alias);
    edit.handler().setValue(QStringLiteral("TextName"), QStringLiteral("Engine ") + edit.alias);
    edit.requestDirectoryWriteThrough();
}

struct Target {
    QString subscriberId;
    QString handlerId;
    QString alias;
    QString extension;
};

constexpr char kPassword[] = "24680";

bool exec(QSqlQuery& query, QTextStream& out)
{
    if (query.exec())
        return true;
    out << "baseline failed: " << query.lastError().text() << Qt::endl;
    return false;
}

// The same writes as the engine's, by raw prepared statements.
bool runBaseline(Session& session, const QList<Target>& targets, QTextStream& out)
{
    QSqlDatabase& db = session.database.connection();
    QSqlQuery subscriber(db);
    QSqlQuery handler(db);
    QSqlQuery sync(db);
    if (!subscriber.prepare(QStringLiteral("UPDATE Subscriber SET FirstName = ? WHERE SubscriberObjectID = ?"))
        || !handler.prepare(QStringLiteral("UPDATE CallHandler SET TextName = ? WHERE CallHandlerObjectID = ?"))
        || !sync.prepare(QStringLiteral("INSERT INTO DirectorySyncRequest (SubscriberObjectID, DirectorySync, "
                                        "DirectorySyncFlags) VALUES (?, 1, 1)"))) {
        out << "baseline cannot prepare its statements" << Qt::endl;
        return false;
    }
    for (const Target& target : targets) {
        db.transaction();
        subscriber.bindValue(0, QStringLiteral("Baseline ") + target.alias);
        subscriber.bindValue(1, target.subscriberId);
        handler.bindValue(0, QStringLiteral("Baseline ") + target.alias);
        handler.bindValue(1, target.handlerId);
        sync.bindValue(0, target.subscriberId);
        if (!exec(subscriber, out) || !exec(handler, out) || !exec(sync, out))
            return false;
        db.commit();
    }
    return true;
}

// The writes of the six changes, by raw prepared statements.
bool runSixChangesBaseline(Session& session, const QList<Target>& targets, int callerLanguage, QTextStream& out)
{
    QSqlDatabase& db = session.database.connection();
    QSqlQuery extension(db);
    QSqlQuery subscriber(db);
    QSqlQuery handler(db);
    QSqlQuery rule(db);
    QSqlQuery sync(db);
    if (!extension.prepare(QStringLiteral("UPDATE DTMFAccessID SET DTMFAccessID = ? WHERE ParentObjectID = ? AND IsPrimaryID = 1"))
        || !subscriber.prepare(QStringLiteral("UPDATE Subscriber SET SayANI = 1, ListInDirectory = 0, PWDTMF = ?, "
                                              "PWTimeChanged = ? WHERE SubscriberObjectID = ?"))
        || !handler.prepare(QStringLiteral("UPDATE CallHandler SET Language = ? WHERE CallHandlerObjectID = ?"))
        || !rule.prepare(QStringLiteral("UPDATE ContactRule SET TimeExpires = NULL WHERE ParentObjectID = ? AND Alias = 'Off Hours'"))
        || !sync.prepare(QStringLiteral("INSERT INTO DirectorySyncRequest (SubscriberObjectID, DirectorySync, "
                                        "DirectorySyncFlags) VALUES (?, 1, 1)"))) {
        out << "six-change baseline cannot prepare its statements" << Qt::endl;
        return false;
    }
    for (const Target& target : targets) {
        db.transaction();
        extension.bindValue(0, QStringLiteral("9") + target.extension);
        extension.bindValue(1, target.handlerId);
        const QByteArray hash = QCryptographicHash::hash(QByteArray(kPassword), QCryptographicHash::Md5).toHex().toUpper();
        subscriber.bindValue(0, QString::fromLatin1(hash));
        subscriber.bindValue(1, QDateTime::currentDateTime());
        subscriber.bindValue(2, target.subscriberId);
        handler.bindValue(0, callerLanguage);
        handler.bindValue(1, target.handlerId);
        rule.bindValue(0, target.handlerId);
        sync.bindValue(0, target.subscriberId);
        if (!exec(extension, out) || !exec(subscriber, out) || !exec(handler, out) || !exec(rule, out) || !exec(sync, out))
            return false;
        db.commit();
    }
    return true;
}

// Makes the six changes on the loaded options page, as the administrator would; the callers'
// language chosen (its identifier), -1 when the page offers none.
int chooseSixChanges(frmSelectSubscriberChanges& page)
{
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

struct Timing {
    qint64 engineMs = 0;
    qint64 baselineMs = 0;
    qint32 processed = 0;
    int errors = 0;
    int warnings = 0;
};

void report(QTextStream& out, const QString& what, qsizetype rows, const Timing& timing)
{
    out << QString("%1 subscribers, %2 (%3 processed, %4 errors, %5 warnings): engine %6 ms (%7 ms per 1,000), "
                   "baseline %8 ms, ratio %9")
               .arg(rows).arg(what).arg(timing.processed).arg(timing.errors).arg(timing.warnings)
               .arg(timing.engineMs).arg(timing.engineMs * 1000.0 / std::max<qsizetype>(rows, 1), 0, 'f', 0)
               .arg(timing.baselineMs)
               .arg(timing.baselineMs > 0 ? double(timing.engineMs) / timing.baselineMs : 0.0, 0, 'f', 2)
        << Qt::endl;
}


// Runs the engine over `rows` and times it.
Timing runEngine(Session& session, const QString& folder, const OptionsSnapshot& options,
                 std::span<const SubscriberChangeCategory> categories, const QList<SelectionGridRow>& rows)
{
    RunLog log(folder, {});
    SubscriberEngine engine(session, log, options, categories);
    RunFrame frame(session, log);
    QElapsedTimer timer;
    timer.start();
    log.startNewLog({});
    engine.run(rows, frame);
    Timing timing;
    timing.engineMs = timer.elapsed();
    timing.processed = engine.processedCount();
    timing.errors = log.LogErrorCount();
    timing.warnings = log.LogWarningCount();
    log.Close();
    return timing;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");   // the options page is loaded, never shown
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {1000, 10000})) {
        QTemporaryDir dir;
        const std::unique_ptr<Session> opened = openBenchSession(dir.path(), size, out);
        if (!opened)
            return 1;
        Session& session = *opened;

        QList<SelectionGridRow> rows;
        QList<Target> targets;
        Recordset& subscribers = session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof(); subscribers.moveNext()) {
            const QString alias = subscribers.value(QStringLiteral("Alias")).toString();
            const QString id = subscribers.value(QStringLiteral("SubscriberObjectID")).toString();
            rows << SelectionGridRow{true, alias, id};
            targets << Target{id, subscribers.value(QStringLiteral("CallHandlerObjectID")).toString(), alias,
                              subscribers.value(QStringLiteral("DTMFAccessID")).toString()};
        }

        // The frame alone.
        const SubscriberChangeCategory renaming[] = {{"rename both rows", renameBoth}};
        Timing frameOnly = runEngine(session, dir.path(), OptionsSnapshot(QStringLiteral("frmSelectSubscriberChanges")),
                                     renaming, rows);
        QElapsedTimer timer;
        timer.start();
        if (!runBaseline(session, targets, out))
            return 1;
        frameOnly.baselineMs = timer.elapsed();
        report(out, QStringLiteral("frame only"), rows.size(), frameOnly);

        // Six changes chosen on the options page, through the real categories.
        MessageBoxService messages;
        messages.setAnswerer([](const MessageBoxService::Request&) { return QMessageBox::Ok; });
        FormRegistry forms;
        WizardContext context{session, messages, forms};
        context.state.iSelectedSubscriberType = 1;
        frmSelectSubscriberChanges page(context);
        const int callerLanguage = chooseSixChanges(page);
        const OptionsSnapshot options =
            captureOptions(&page, {frmSetConversationStyleLimits::instance(context, &page)});
        // What the engine changed of the subscribers' own rows, counted before the baseline
        // writes the same columns again.
        const auto kept = [&] {
            const auto count = [&](const QString& sql) { return session.database.select(sql).rows[0][0].toLongLong(); };
            const QString hash = QString::fromLatin1(
                QCryptographicHash::hash(QByteArray(kPassword), QCryptographicHash::Md5).toHex().toUpper());
            return QList<qint64>{
                count(QStringLiteral("SELECT COUNT(*) FROM DTMFAccessID WHERE IsPrimaryID = 1 AND DTMFAccessID LIKE '9%' "
                                     "AND ParentObjectID IN (SELECT SubscriberObjectID FROM Subscriber)")),
                count(QStringLiteral("SELECT COUNT(*) FROM Subscriber WHERE PWDTMF = '") + hash + u'\''),
                count(QStringLiteral("SELECT COUNT(*) FROM ContactRule WHERE Alias = 'Off Hours' AND TimeExpires IS NULL "
                                     "AND ParentObjectID IN (SELECT CallHandlerObjectID FROM Subscriber)"))};
        };
        const QList<qint64> before = kept();
        Timing sixChanges = runEngine(session, dir.path(), options, subscriberChangeCategories(), rows);
        const QList<qint64> after = kept();
        out << QString("six changes kept: %1 primary extensions prefixed, %2 passwords set, %3 Off Hours rules enabled")
                   .arg(after[0] - before[0]).arg(after[1] - before[1]).arg(after[2] - before[2])
            << Qt::endl;
        timer.restart();
        if (!runSixChangesBaseline(session, targets, callerLanguage, out))
            return 1;
        sixChanges.baselineMs = timer.elapsed();
        report(out, QStringLiteral("six changes"), rows.size(), sixChanges);
        CloseServerRecordsets(session);
    }
    return 0;
}
