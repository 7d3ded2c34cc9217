#include "core/SwitchInfo.h"

#include "core/Errors.h"
#include "core/Registry.h"
#include "core/VelmoVersion.h"

#include <limits>

namespace {

constexpr int NoSwitchesConfigured = 523;

void reportError(const MessageSink& messages, const KestraneError& error)
{
    tell(messages, QStringLiteral("Error %1 (%2) in procedure InitalizeSwitchInfo of Module modSwitchInfo")
                       .arg(error.number())
                       .arg(error.description()));
}

// Appends the integration whose values are under `key`. A value that cannot be read is
// reported and leaves its default; the entry is kept.
void readIntegration(SwitchInfo& info, const RegistryAPI& registry, const QString& key,
                     const MessageSink& messages)
{
    QString name;
    qint16 id = 0;
    try {
        name = registry.GetRegValue(HKEY_LOCAL_MACHINE, key, QStringLiteral("DisplayName"), REG_SZ, QString())
                   .toString();
        const qint32 number =
            registry.GetRegValue(HKEY_LOCAL_MACHINE, key, QStringLiteral("IntegrationID"), REG_DWORD, 0).toInt();
        // The ID is a 16-bit number wherever it is used: a larger one must not be cut down to
        // another switch's ID.
        if (number < std::numeric_limits<qint16>::min() || number > std::numeric_limits<qint16>::max())
            throw KestraneError(ErrorNumber::Overflow, QStringLiteral("Overflow"));
        id = static_cast<qint16>(number);
    } catch (const KestraneError& error) {
        reportError(messages, error);
    }
    info.astrSwitchNames << name;
    info.aiSwitchIDs << id;
}

}  // namespace

void SwitchInfo::GetSwitchInfoBySwitchCount(qint16 n, QString& strName, qint16& iID) const
{
    if (n > 0 && n <= iSwitchCount()) {
        strName = astrSwitchNames[n - 1];
        iID = aiSwitchIDs[n - 1];
        return;
    }
    strName = QStringLiteral("Error - bad switch number passed in:") + QString::number(n);
    iID = -1;
}

SwitchInfo InitalizeSwitchInfo(const RegistryAPI& registry, const ServerVersion& version,
                               const MessageSink& messages, const std::function<QString(int)>& strings)
{
    SwitchInfo info;
    const QString& integrations = SwitchKeys::Integrations;
    if (bIsVersionGreaterThanOrEqualTo(version, 4, 2, 0, 27)) {
        const QStringList subkeys = registry.EnumRegKeys(HKEY_LOCAL_MACHINE, integrations);
        // More subkeys than a 16-bit count holds cannot be counted: read as none found.
        if (subkeys.isEmpty() || subkeys.size() > std::numeric_limits<qint16>::max()) {
            tell(messages, strings(NoSwitchesConfigured));
            return info;
        }
        for (const QString& subkey : subkeys)
            readIntegration(info, registry, integrations + u'\\' + subkey, messages);
        return info;
    }

    // Older servers: "integration1", then "integration2" when it exists.
    const QString first = integrations + QStringLiteral("\\integration1");
    const QString second = integrations + QStringLiteral("\\integration2");
    if (!registry.RegKeyExists(HKEY_LOCAL_MACHINE, first)) {
        tell(messages, strings(NoSwitchesConfigured));
        return info;
    }
    readIntegration(info, registry, first, messages);
    if (registry.RegKeyExists(HKEY_LOCAL_MACHINE, second))
        readIntegration(info, registry, second, messages);
    return info;
}
