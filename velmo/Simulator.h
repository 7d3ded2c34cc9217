#pragma once
// Creating a simulated Velmo installation: the folder, its registry store and VelmoDb.
#include "velmo/InstallationOptions.h"

#include <QString>

namespace velmo {

// Creates (or, with `replace`, re-creates) an installation in `folder`. False with `error`
// set when the folder exists and is not empty (without `replace`) or cannot be written.
bool createInstallation(const QString& folder, const InstallationOptions& options, bool replace,
                        QString* error);

// Reads "4.0(2.111)", "4.0.2.111" or "5.0"; false for anything else.
bool parseVersion(const QString& text, InstallationOptions& options);

}  // namespace velmo
