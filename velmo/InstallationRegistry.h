#pragma once
// The registry keys and server folders of a simulated Velmo installation: what the tool reads
// at start-up and later (server version, directory connector, rights, root path and
// engineering specials, phone-system integrations, languages, time zones).
#include "velmo/InstallationOptions.h"

#include <QString>

class RegistryStore;

namespace velmo {

// The server's root folder ("Root Path"): "<installation folder>/Server/", absolute, with '/'
// separators and a trailing '/', so that names appended directly to it land inside it.
QString serverRootPath(const QString& installationFolder);

// Writes the installation's keys into `store` (in memory; the caller saves it) and creates
// the root folder with its "Stream Files" folder and, when engineering specials are listed,
// "EngineeringSpecialBackup/<major>.<minor>.<release>_ES<n>" for each of them.
// Existing values are overwritten; start from an empty store for a fresh installation.
// Throws std::invalid_argument when the older version layout cannot hold the version
// (major, minor and release 0 to 9999, build -32768 to 32767) and std::runtime_error when
// a folder cannot be created.
void writeInstallationRegistry(RegistryStore& store, const InstallationOptions& options,
                               const QString& installationFolder);

}  // namespace velmo
