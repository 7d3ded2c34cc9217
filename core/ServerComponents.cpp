#include "core/ServerComponents.h"
#include "core/Errors.h"
#include "core/Session.h"

std::unique_ptr<InterfaceBroker> InterfaceBroker::create(const Session& session)
{
    if (!session.registry.RegKeyExists(HKEY_LOCAL_MACHINE, QLatin1String(kInterfaceBrokerClassKey)))
        throw KestraneError(ErrorNumber::CannotCreateObject, QStringLiteral("ActiveX component can't create object"));
    return std::unique_ptr<InterfaceBroker>(new InterfaceBroker(session.serverInterfaces));
}

std::shared_ptr<Notifier> InterfaceBroker::GetInterface(const QString& name) const
{
    if (name.compare(QLatin1String("Notifier"), Qt::CaseInsensitive) != 0 || !m_interfaces.notifier)
        throw KestraneError(ErrorNumber::ComponentUnavailable, QStringLiteral("No such interface: %1").arg(name));
    return m_interfaces.notifier();
}
