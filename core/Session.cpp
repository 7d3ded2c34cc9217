#include "core/Session.h"

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
    return registryStore.open(installation.registryFile(), error);
}
