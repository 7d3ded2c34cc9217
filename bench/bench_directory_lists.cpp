// Creates installations of 1,000, 10,000 and 50,000 subscribers and times LoadDirectoryLists and
// a Find by object ID in the subscriber list, with the load's peak memory beside them. Beside
// the load: the same queries on the bare SQLite C API, every column value fetched, and the load's
// time over theirs (what the tool's own work costs). The installations are made by velmo-sim in a
// process of its own, so that the peak is the tool's, not the generator's. Run by hand:
// build/bench/bench_directory_lists
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "bench/BenchInstallations.h"
#include "bench/EngineFloor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// The milliseconds the loaded lists' queries take on the bare SQLite C API, each column value
// fetched by its type as Database::select fetches it.
double bareQueriesMs(const QString& file, Session& session)
{
    FloorConnection db(file);
    db.run("PRAGMA mmap_size = 134217728");   // as Database::open maps the file
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;   // read, so that nothing fetched goes unused
    for (Recordset* list : directoryLists(session)) {
        if (!list->isOpen())
            continue;
        sqlite3_stmt* query = db.prepare(list->source().toUtf8());
        Use rows(db.handle(), query);
        const int columns = sqlite3_column_count(query);
        while (rows.next())
            for (int i = 0; i < columns; ++i)
                switch (sqlite3_column_type(query, i)) {
                case SQLITE_INTEGER: bytes += sqlite3_column_int64(query, i) & 1; break;
                case SQLITE_FLOAT: bytes += sqlite3_column_double(query, i) > 0; break;
                case SQLITE_BLOB: bytes += sqlite3_column_blob(query, i) ? sqlite3_column_bytes(query, i) : 0; break;
                case SQLITE_TEXT: bytes += sqlite3_column_text(query, i) ? sqlite3_column_bytes(query, i) : 0; break;
                default: break;
                }
    }
    const double elapsed = timer.nsecsElapsed() / 1e6;
    return bytes >= 0 ? elapsed : 0;
}

// Waits for the generator to end; empty when it exited with 0, else what became of it (the
// program named, how it ended and what it printed).
QString generatorFailure(QProcess& generator)
{
    QString end;
    if (!generator.waitForFinished(-1))
        end = QStringLiteral("did not run (%1)").arg(generator.errorString());
    else if (generator.exitStatus() == QProcess::CrashExit)
        end = QStringLiteral("crashed (%1, code %2)").arg(generator.errorString()).arg(generator.exitCode());
    else if (generator.exitCode() != 0)
        end = QStringLiteral("exited with code %1").arg(generator.exitCode());
    else
        return {};
    const QString printed = QString::fromLocal8Bit(generator.readAll()).trimmed();
    return generator.program() + ' ' + end + (printed.isEmpty() ? QString() : ": " + printed);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {1000, 10000, 50000})) {
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        QProcess generator;
        generator.setProcessChannelMode(QProcess::MergedChannels);
        generator.start(QStringLiteral(VELMO_SIM), {QStringLiteral("--subscribers"), QString::number(size),
                                                     QStringLiteral("--seed"), QStringLiteral("42"),
                                                     QStringLiteral("--replace"), dir.path()});
        if (const QString failure = generatorFailure(generator); !failure.isEmpty()) {
            out << "cannot create installation: " << failure << Qt::endl;
            return 1;
        }
        const qint64 createMs = timer.elapsed();

        // The load's peak is read before the bare queries, which map the file once more. The peak
        // is reset first, so that it starts from what is resident now (the process and what the
        // sizes before left) rather than from an earlier, larger size's run.
        QString resetError;
        if (!resetPeakMemory(&resetError)) {
            out << "cannot reset the peak memory: " << resetError << Qt::endl;
            return 1;
        }
        Session session(Installation::at(dir.path()));
        session.loadRegistry();
        session.gServerVersion = getVersion(session.registry);
        timer.restart();
        if (!LoadDirectoryLists(session, session.strConnectionString)) {
            out << "LoadDirectoryLists failed" << Qt::endl;
            return 1;
        }
        const double loadMs = timer.nsecsElapsed() / 1e6;
        const long loadPeakMiB = peakMemoryMiB();
        const double bareMs = bareQueriesMs(resolveConnectionString(session.strConnectionString, session.installation).embeddedPath, session);

        // Find every subscriber by its ID, in a scrambled order, the way the engines do.
        Recordset& subscribers = session.rsSubscribers;
        QStringList ids;
        for (subscribers.moveFirst(); !subscribers.eof(); subscribers.moveNext())
            ids << subscribers.value("SubscriberObjectID").toString();
        std::reverse(ids.begin(), ids.end());
        int found = 0;
        timer.restart();
        for (const QString& id : ids) {
            subscribers.moveFirst();
            found += subscribers.find("SubscriberObjectID='" + id + "'") ? 1 : 0;
        }
        const double findMicros = ids.isEmpty() ? 0 : timer.nsecsElapsed() / 1000.0 / ids.size();

        out << QString("%1 subscribers: created in %2 ms, LoadDirectoryLists %3 ms, bare queries %4 ms, "
                       "load/bare %5, Find by ID %6 us (%7 of %8 found), peak memory of the load %9 MiB "
                       "(with the bare queries and Finds after it %10 MiB)")
                   .arg(size).arg(createMs).arg(loadMs, 0, 'f', 0).arg(bareMs, 0, 'f', 0)
                   .arg(loadMs / bareMs, 0, 'f', 2).arg(findMicros, 0, 'f', 2)
                   .arg(found).arg(ids.size()).arg(loadPeakMiB).arg(peakMemoryMiB())
            << Qt::endl;
        CloseServerRecordsets(session);
    }
    return 0;
}
