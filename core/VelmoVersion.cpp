#include "core/VelmoVersion.h"
#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/Registry.h"

#include <QDir>

#include <algorithm>
#include <sys/resource.h>

namespace {

constexpr qint16 kText = 1;
constexpr qint16 kNumber = 4;

// The leading decimal number of a text: "0012" gives 12, "00A0" gives 0 (a letter ends it).
qint16 leadingDecimal(const QString& digits)
{
    int value = 0;
    for (const QChar c : digits) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
    }
    return static_cast<qint16>(value);
}

QString paddedHex(const QVariant& number)
{
    return QStringLiteral("%1").arg(static_cast<quint32>(number.toLongLong()), 8, 16, QLatin1Char('0')).toUpper();
}

// The part of an engineering-special backup folder's name that numbers the special: from the third
// character after the first "_"; with no "_", from the third character.
QString specialNumberPart(const QString& folderName)
{
    const int underscore = folderName.indexOf(u'_');
    return folderName.mid(underscore < 0 ? 2 : underscore + 3);
}

// The folder name is joined to the root path as it stands, with no separator added.
QDir specialsBackup(const QString& rootPath)
{
    return QDir(rootPath + QStringLiteral("EngineeringSpecialBackup"));
}

QStringList specialFolderNames(const QDir& backup)
{
    return backup.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

void reportVersionError(const MessageSink& messages, const KestraneError& error, const QString& procedure)
{
    tell(messages, formatProcedureError(error, procedure, QStringLiteral("Module"), QStringLiteral("VelmoVersion")));
}

}  // namespace

ServerVersion getVersion(const RegistryAPI& registry, const MessageSink& messages)
{
    ServerVersion version;
    try {
        const QString& product = VelmoKeys::ProductKey;
        if (registry.RegKeyExists(HKEY_LOCAL_MACHINE, product)
            && registry.GetRegValue(HKEY_LOCAL_MACHINE, product, QStringLiteral("MajorVersion"), kNumber, 0).toLongLong() > 0) {
            const auto read = [&](const char* name) {
                return static_cast<qint16>(registry.GetRegValue(HKEY_LOCAL_MACHINE, product, QLatin1String(name), kNumber, 0).toLongLong());
            };
            version.iMajor = read("MajorVersion");
            version.iMinor = read("MinorVersion");
            version.iBuild = read("BuildVersion");
            version.iRelease = read("ReleaseVersion");
            version.bFromProductKey = true;
        } else if (registry.RegKeyExists(HKEY_LOCAL_MACHINE, VelmoKeys::OlderKey)) {
            const QString versionHex = paddedHex(
                registry.GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::OlderKey, QStringLiteral("Version Number"), kNumber, 0));
            const QString buildHex = paddedHex(
                registry.GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::OlderKey, QStringLiteral("Build Number"), kNumber, 0));
            version.iMajor = leadingDecimal(versionHex.left(4));
            version.iMinor = leadingDecimal(versionHex.right(4));
            version.iRelease = leadingDecimal(buildHex.left(4));
            version.iBuild = static_cast<qint16>(buildHex.right(4).toUShort(nullptr, 16));
        }
    } catch (const KestraneError& error) {
        reportVersionError(messages, error, QStringLiteral("getVersion"));
    }
    version.strDisplay = QStringLiteral("%1.%2(%3.%4)")
                             .arg(version.iMajor).arg(version.iMinor).arg(version.iRelease).arg(version.iBuild);
    return version;
}

bool bIsVersionGreaterThanOrEqualTo(const ServerVersion& installed, qint16 major, qint16 minor,
                                    qint16 release, qint16 build, qint16)
{
    const auto have = std::tie(installed.iMajor, installed.iMinor, installed.iRelease, installed.iBuild);
    const auto want = std::tie(major, minor, release, build);
    return have >= want;
}

bool bIsESInstalled(const RegistryAPI& registry, qint16 number, const MessageSink& messages)
{
    if (number < 1)
        return false;
    try {
        const QString rootPath = serverRootPath(registry);
        if (rootPath.isEmpty())
            return false;
        const QString wanted = QString::number(number);
        for (const QString& name : specialFolderNames(specialsBackup(rootPath)))
            if (specialNumberPart(name).compare(wanted, Qt::CaseInsensitive) == 0)
                return true;
    } catch (const KestraneError& error) {
        reportVersionError(messages, error, QStringLiteral("bIsESInstalled"));
    }
    return false;
}

QString serverRootPath(const RegistryAPI& registry)
{
    return registry.GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::InstallKey, QStringLiteral("Root Path"), kText, QString()).toString();
}

double highestESNumber(const QString& rootPath)
{
    // No root path recorded: no installation folder to look in (not the working folder).
    if (rootPath.isEmpty())
        return 0;
    double highest = 0;
    for (const QString& name : specialFolderNames(specialsBackup(rootPath)))
        highest = std::max(highest, leadingNumber(specialNumberPart(name)));
    return highest;
}

bool bRestrictedRightsActive(const RegistryAPI& registry, const MessageSink& messages)
{
    try {
        return registry.RegKeyExists(HKEY_LOCAL_MACHINE, VelmoKeys::RightsKey)
            && registry.GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::RightsKey, QStringLiteral("Restricted Rights"), kNumber, 0).toLongLong() == 1;
    } catch (const KestraneError& error) {
        tell(messages, QStringLiteral("Error %1 (%2) in procedure bRestrictedRightsActive of Module VelmoVersion")
                           .arg(error.number()).arg(error.description()));
    }
    return false;
}

bool bIsDominoDirectory(const RegistryAPI& registry, const ServerVersion& installed)
{
    if (installed.bFromProductKey)
        return false;
    try {
        const QString progId =
            registry.GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey, QStringLiteral("IDCProgID"), kText, QString()).toString();
        return progId.compare(VelmoKeys::DominoProgID, Qt::CaseInsensitive) == 0;
    } catch (const KestraneError&) {
        return false;
    }
}

bool SetProcessPriority(qint32 priorityClass)
{
    // Windows priority classes and the nice values that play their part here.
    int niceValue = 0;
    switch (priorityClass) {
    case 64: niceValue = 19; break;        // idle
    case 16384: niceValue = 5; break;      // below normal
    case 32: niceValue = 0; break;         // normal
    case 32768: niceValue = -5; break;     // above normal
    case 128: niceValue = -10; break;      // high
    case 256: niceValue = -20; break;      // real time
    default: return false;
    }
    return setpriority(PRIO_PROCESS, 0, niceValue) == 0;
}
