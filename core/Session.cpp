#include "core/Session.h"

Session::Session(const Installation& where)
    : installation(where), registry(registryStore)
{
}

bool Session::loadRegistry(QString* error)
{
    return registryStore.open(installation.registryFile(), error);
}
