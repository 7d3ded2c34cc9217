#include "core/Session.h"

#include <QFileInfo>

Session::Session(const Installation& where)
    : installation(where), registry(registryStore)
{
}

Session::Session(const Installation& where, const QString& programFolder, const QString& programName)
    : installation(where), registry(registryStore), languages(programFolder, programName)
{
}

bool Session::loadRegistry(QString* error)
{
    const QString path = installation.registryFile();
    QString reason;
    // The store itself takes a missing file for an empty registry: a server too old to use.
    if (!QFileInfo::exists(path))
        reason = QStringLiteral("the file does not exist");
    else if (registryStore.open(path, &reason))
        return true;
    if (error)
        *error = QStringLiteral("The registry file of the Velmo installation is missing or unreadable: %1 (%2)")
                     .arg(path, reason);
    return false;
}
