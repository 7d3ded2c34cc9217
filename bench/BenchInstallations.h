#pragma once
// What the benchmarks share: the installation sizes to run (from the command line, else the
// defaults), generated installations of a given size and the peak memory printed beside the times.
#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "core/VelmoVersion.h"
#include "velmo/ServerStandIns.h"
#include "velmo/Simulator.h"

#include <QList>
#include <QString>
#include <QTextStream>

#include <memory>

#include <sys/resource.h>

inline QList<int> benchSizes(int argc, char** argv, const QList<int>& defaults)
{
    if (argc <= 1)
        return defaults;
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    return sizes;
}

// A generated installation of `subscribers` subscribers (always the same seed) in `folder`, with
// `handlers` non-primary call handlers (0: as many as the subscribers bring).
inline bool createBenchInstallation(const QString& folder, int subscribers, QString* error, int handlers = 0)
{
    velmo::InstallationOptions options;
    options.subscriberCount = subscribers;
    options.nonPrimaryCallHandlerCount = handlers;
    options.seed = 42;
    return velmo::createInstallation(folder, options, true, error);
}

// The session's registry, server version and directory lists, as start-up reads them; false
// with `error` set when the lists cannot be loaded.
inline bool loadBenchSession(Session& session, QString* error)
{
    session.loadRegistry();
    session.gServerVersion = getVersion(session.registry);
    return LoadDirectoryLists(session, session.strConnectionString, error);
}

// A generated installation of `subscribers` subscribers (and `handlers` as createBenchInstallation
// takes them) in `folder` and a session on it with the server stand-ins, loaded by
// loadBenchSession; null, with the reason written to `out`, when either fails.
inline std::unique_ptr<Session> openBenchSession(const QString& folder, int subscribers, QTextStream& out, int handlers = 0)
{
    QString error;
    if (!createBenchInstallation(folder, subscribers, &error, handlers)) {
        out << "cannot create installation: " << error << Qt::endl;
        return nullptr;
    }
    auto session = std::make_unique<Session>(Installation::at(folder));
    velmo::registerServerStandIns(*session);
    if (!loadBenchSession(*session, &error)) {
        out << "LoadDirectoryLists failed: " << error << Qt::endl;
        return nullptr;
    }
    return session;
}

// The process's peak resident memory so far, in MiB.
inline long peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
