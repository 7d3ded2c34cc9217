#include "tests/support/TempInstallation.h"
#include "core/Session.h"
#include "velmo/ServerStandIns.h"
#include "velmo/Simulator.h"

TempInstallation::TempInstallation(const velmo::InstallationOptions& options)
{
    m_ok = m_dir.isValid() && velmo::createInstallation(m_dir.path(), options, true, &m_error);
}

velmo::InstallationOptions TempInstallation::smallOptions()
{
    velmo::InstallationOptions options;
    options.subscriberCount = 40;
    options.seed = 7;
    return options;
}

velmo::InstallationOptions TempInstallation::smallServer(int major, int minor, int release, int build)
{
    velmo::InstallationOptions options = smallOptions();
    options.major = major;
    options.minor = minor;
    options.release = release;
    options.build = build;
    return options;
}

::testing::AssertionResult startSession(Session& session)
{
    velmo::registerServerStandIns(session);
    QString error;
    if (!session.loadRegistry(&error))
        return ::testing::AssertionFailure() << "registry: " << error.toStdString();
    session.gServerVersion = getVersion(session.registry);
    if (!LoadDirectoryLists(session, session.strConnectionString))
        return ::testing::AssertionFailure() << "directory lists: " << session.database.lastError().toStdString();
    return ::testing::AssertionSuccess();
}
