#include "tests/support/TempInstallation.h"
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
