// Kestrane: bulk changes to the directory of a Velmo server.
// Start-up against the installation found by Installation::locate().
#include "core/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto report = [&](const QString& text) { err << text << Qt::endl; };

    Session session(Installation::locate());
    if (!QDir(session.installation.folder).exists()) {
        report(QStringLiteral("No Velmo installation at %1 (set KESTRANE_INSTALLATION).").arg(session.installation.folder));
        return 2;
    }
    QString registryError;
    if (!session.loadRegistry(&registryError)) {
        report(QStringLiteral("Cannot read the registry of the Velmo installation: %1").arg(registryError));
        return 2;
    }
    SetProcessPriority(16384);
    session.gServerVersion = getVersion(session.registry, report);
    if (session.gServerVersion.iMajor < 4) {
        report(QStringLiteral("Velmo %1 is not supported: the tool needs version 4.0 or later.")
                   .arg(session.gServerVersion.strDisplay));
        return 1;
    }
    if (!LoadDirectoryLists(session, session.strConnectionString)) {
        report(QStringLiteral("Failed to open VelmoDB database! %1").arg(session.database.lastError()));
        return 1;
    }
    out << QStringLiteral("Velmo %1 at %2: loaded %3 subscribers, %4 primary and %5 other call handlers, "
                          "%6 classes of service, %7 distribution lists, %8 locations.")
               .arg(session.gServerVersion.strDisplay, session.installation.folder)
               .arg(session.rsSubscribers.recordCount())
               .arg(session.rsPrimaryCallHandlers.recordCount())
               .arg(session.rsNonPrimaryCallHandlers.recordCount())
               .arg(session.rsCOS.recordCount())
               .arg(session.rsDistributionLists.recordCount())
               .arg(session.rsLocations.recordCount())
        << Qt::endl;
    CloseServerRecordsets(session);
    return 0;
}
