// Creates installations of 1,000, 10,000 and 50,000 subscribers and times LoadDirectoryLists and
// a Find by object ID in the subscriber list, with the process's peak memory beside them. The
// installations are made by velmo-sim in a process of its own, so that the peak is the tool's,
// not the generator's. Run by hand: build/bench/bench_directory_lists
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "bench/BenchInstallations.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

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
        if (!generator.waitForFinished(-1) || generator.exitCode() != 0) {
            out << "cannot create installation: " << generator.readAll() << Qt::endl;
            return 1;
        }
        const qint64 createMs = timer.elapsed();

        Session session(Installation::at(dir.path()));
        session.loadRegistry();
        session.gServerVersion = getVersion(session.registry);
        timer.restart();
        if (!LoadDirectoryLists(session, session.strConnectionString)) {
            out << "LoadDirectoryLists failed" << Qt::endl;
            return 1;
        }
        const qint64 loadMs = timer.elapsed();

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

        out << QString("%1 subscribers: created in %2 ms, LoadDirectoryLists %3 ms, Find by ID %4 us "
                       "(%5 of %6 found), peak memory %7 MiB")
                   .arg(size).arg(createMs).arg(loadMs).arg(findMicros, 0, 'f', 2)
                   .arg(found).arg(ids.size()).arg(peakMemoryMiB())
            << Qt::endl;
        CloseServerRecordsets(session);
    }
    return 0;
}
