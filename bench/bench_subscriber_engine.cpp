// The subscriber engine's frame over every subscriber of generated installations of 1,000 and
// 10,000 subscribers, without a window and with its run log: each subscriber found in the
// directory lists, one column of its row and of its handler row changed by a category, both rows
// written back and the directory write-through requested, in a transaction per subscriber. The
// baseline writes the same rows with statements prepared once (QSqlQuery), also a transaction
// per subscriber, without the log or the lists. Run by hand:
// build/bench/bench_subscriber_engine [subscribers ...]
#include "bench/BenchInstallations.h"
#include "core/DirectoryLists.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "subscribers/SubscriberEngine.h"
#include "velmo/ServerStandIns.h"

#include <QCoreApplication>
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
};

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

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {1000, 10000})) {
        QTemporaryDir dir;
        QString error;
        if (!createBenchInstallation(dir.path(), size, &error)) {
            out << "cannot create installation: " << error << Qt::endl;
            return 1;
        }
        Session session(Installation::at(dir.path()));
        velmo::registerServerStandIns(session);
        if (!loadBenchSession(session, &error)) {
            out << "LoadDirectoryLists failed: " << error << Qt::endl;
            return 1;
        }

        QList<SelectionGridRow> rows;
        QList<Target> targets;
        Recordset& subscribers = session.rsSubscribers;
        for (subscribers.moveFirst(); !subscribers.eof(); subscribers.moveNext()) {
            const QString alias = subscribers.value(QStringLiteral("Alias")).toString();
            const QString id = subscribers.value(QStringLiteral("SubscriberObjectID")).toString();
            rows << SelectionGridRow{true, alias, id};
            targets << Target{id, subscribers.value(QStringLiteral("CallHandlerObjectID")).toString(), alias};
        }

        const SubscriberChangeCategory categories[] = {{"rename both rows", renameBoth}};
        RunLog log(dir.path(), {});
        const OptionsSnapshot options(QStringLiteral("frmSelectSubscriberChanges"));
        SubscriberEngine engine(session, log, options, categories);
        RunFrame frame(session);
        QElapsedTimer timer;
        timer.start();
        engine.run(log.GenerateNewLogFileName(), {}, rows, frame);
        const qint64 engineMs = timer.elapsed();
        log.Close();

        timer.restart();
        if (!runBaseline(session, targets, out))
            return 1;
        const qint64 baselineMs = timer.elapsed();

        const qint64 requests =
            session.database.select(QStringLiteral("SELECT COUNT(*) FROM DirectorySyncRequest")).rows[0][0].toLongLong();
        out << QString("%1 subscribers (%2 processed, %3 errors, %4 write-through requests): engine frame %5 ms "
                       "(%6 ms per 1,000), baseline %7 ms, ratio %8")
                   .arg(rows.size()).arg(engine.processedCount()).arg(log.LogErrorCount()).arg(requests)
                   .arg(engineMs).arg(engineMs * 1000.0 / std::max<qsizetype>(rows.size(), 1), 0, 'f', 0)
                   .arg(baselineMs).arg(baselineMs > 0 ? double(engineMs) / baselineMs : 0.0, 0, 'f', 2)
            << Qt::endl;
        CloseServerRecordsets(session);
    }
    return 0;
}
