#include "velmo/InstallationRegistry.h"

#include "core/Registry.h"
#include "core/ServerComponents.h"

#include <QDir>
#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace velmo {

namespace {

const QString kProductKey = QStringLiteral("SOFTWARE\\Dravo Systems\\Dravo Velmo");
// Written first, so its spelling is the one the file shows ("SOFTWARE", as on Windows).
const QString kOlderVersionKey = QStringLiteral("SOFTWARE\\Brennhal");
const QString kSystemParameters = QStringLiteral("SOFTWARE\\Brennhal\\SystemParameters\\1.0");
const QString kRightsKey = QStringLiteral("Software\\Brennhal\\Grantwright\\1.0");
const QString kRootPathKey = QStringLiteral("SOFTWARE\\Brennhal\\Karrowend\\1.0");
const QString kCertificateHistory = QStringLiteral("Software\\Brennhal\\CertificateHistory");
const QString kIntegrations = QStringLiteral("Software\\Brennhal\\Pellix\\1.0\\initialization\\integrations");
const QString kTimeZones = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");

QString connectorProgId(DirectoryConnector connector)
{
    switch (connector) {
    case DirectoryConnector::Domino: return QStringLiteral("BhDsDomino.BhIDCDomino.1");
    case DirectoryConnector::ActiveDirectory: return QStringLiteral("BhIDCADSvr.BhIDCAD.1");
    case DirectoryConnector::Exchange55: return QStringLiteral("BhIDCEx55.BhIDCExchange55.1");
    }
    return {};
}

// The older layout packs two numbers per value in such a way that the hexadecimal digits of
// each half read as the decimal number: 12 is stored as 0x0012.
quint32 decimalDigitsAsHex(int number)
{
    if (number < 0 || number > 9999)
        throw std::invalid_argument("version part out of the range 0 to 9999: " + std::to_string(number));
    quint32 packed = 0;
    for (int shift = 0; number > 0; number /= 10, shift += 4)
        packed |= quint32(number % 10) << shift;
    return packed;
}

void writeVersion(RegistryStore& store, const InstallationOptions& options)
{
    if (options.productKeyLayout) {
        store.setValue(kProductKey, QStringLiteral("MajorVersion"), RegistryValue::dword(quint32(options.major)));
        store.setValue(kProductKey, QStringLiteral("MinorVersion"), RegistryValue::dword(quint32(options.minor)));
        store.setValue(kProductKey, QStringLiteral("ReleaseVersion"), RegistryValue::dword(quint32(options.release)));
        store.setValue(kProductKey, QStringLiteral("BuildVersion"), RegistryValue::dword(quint32(options.build)));
        return;
    }
    // "Build Number": release as decimal digits on the left, build as a 16-bit number on the right.
    if (options.build < -32768 || options.build > 32767)
        throw std::invalid_argument("build out of the range -32768 to 32767: " + std::to_string(options.build));
    const quint32 version = decimalDigitsAsHex(options.major) << 16 | decimalDigitsAsHex(options.minor);
    const quint32 build = decimalDigitsAsHex(options.release) << 16 | (quint32(options.build) & 0xffff);
    store.setValue(kOlderVersionKey, QStringLiteral("Version Number"), RegistryValue::dword(version));
    store.setValue(kOlderVersionKey, QStringLiteral("Build Number"), RegistryValue::dword(build));
}

// Servers from 4.2(0).27 on list any number of integration subkeys; older ones know only
// "integration1" and "integration2". The newer layout uses other subkey names, so that a
// reader that looks the old names up instead of listing the subkeys is caught.
void writeSwitches(RegistryStore& store, const InstallationOptions& options)
{
    static const QStringList names{
        QStringLiteral("Corvane 4400 (Serial)"), QStringLiteral("Talvik PBX-20 (Analog)"),
        QStringLiteral("Hestmark IP Switch"),    QStringLiteral("Orrin Cordless PBX"),
        QStringLiteral("Veldt Unified Switch"),  QStringLiteral("Markby 9000 (Digital)"),
    };
    const bool listed = std::tie(options.major, options.minor, options.release, options.build)
                        >= std::make_tuple(4, 2, 0, 27);
    const int count = listed ? options.switchCount : std::min(options.switchCount, 2);
    store.createKey(kIntegrations);
    for (int i = 0; i < count; ++i) {
        const QString subkey = kIntegrations + QLatin1Char('\\')
                               + (listed ? QStringLiteral("PhoneSystem%1") : QStringLiteral("integration%1")).arg(i + 1);
        QString name = names[i % names.size()];
        if (i >= names.size())
            name += QStringLiteral(" #%1").arg(i / names.size() + 1);
        store.setValue(subkey, QStringLiteral("DisplayName"), RegistryValue::text(name));
        store.setValue(subkey, QStringLiteral("IntegrationID"), RegistryValue::dword(quint32(i + 1)));
    }
}

// A selection of the zones Windows knows, under their key names and in the order Windows
// lists them (alphabetical).
void writeTimeZones(RegistryStore& store)
{
    struct Zone {
        const char* key;
        const char* display;
        const char* daylight;
        quint32 index;
    };
    static const Zone zones[] = {
        {"AUS Eastern Standard Time", "(GMT+10:00) Canberra, Melbourne, Sydney", "AUS Eastern Daylight Time", 255},
        {"Central Europe Standard Time", "(GMT+01:00) Belgrade, Bratislava, Budapest, Ljubljana, Prague",
         "Central Europe Daylight Time", 95},
        {"Central Standard Time", "(GMT-06:00) Central Time (US & Canada)", "Central Daylight Time", 20},
        {"China Standard Time", "(GMT+08:00) Beijing, Chongqing, Hong Kong, Urumqi", "China Daylight Time", 210},
        {"E. South America Standard Time", "(GMT-03:00) Brasilia", "E. South America Daylight Time", 65},
        {"Eastern Standard Time", "(GMT-05:00) Eastern Time (US & Canada)", "Eastern Daylight Time", 35},
        {"GMT Standard Time", "(GMT+00:00) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London",
         "GMT Daylight Time", 85},
        {"Hawaiian Standard Time", "(GMT-10:00) Hawaii", "Hawaiian Daylight Time", 2},
        {"India Standard Time", "(GMT+05:30) Chennai, Kolkata, Mumbai, New Delhi", "India Daylight Time", 190},
        {"Mountain Standard Time", "(GMT-07:00) Mountain Time (US & Canada)", "Mountain Daylight Time", 10},
        {"Newfoundland Standard Time", "(GMT-03:30) Newfoundland", "Newfoundland Daylight Time", 60},
        {"Pacific Standard Time", "(GMT-08:00) Pacific Time (US & Canada); Tijuana", "Pacific Daylight Time", 4},
        {"Russian Standard Time", "(GMT+03:00) Moscow, St. Petersburg, Volgograd", "Russian Daylight Time", 145},
        {"Tokyo Standard Time", "(GMT+09:00) Osaka, Sapporo, Tokyo", "Tokyo Daylight Time", 235},
        {"W. Europe Standard Time", "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
         "W. Europe Daylight Time", 110},
    };
    for (const Zone& zone : zones) {
        const QString key = kTimeZones + QLatin1Char('\\') + QLatin1String(zone.key);
        store.setValue(key, QStringLiteral("Display"), RegistryValue::text(QLatin1String(zone.display)));
        store.setValue(key, QStringLiteral("Std"), RegistryValue::text(QLatin1String(zone.key)));
        store.setValue(key, QStringLiteral("Dlt"), RegistryValue::text(QLatin1String(zone.daylight)));
        store.setValue(key, QStringLiteral("Index"), RegistryValue::dword(zone.index));
    }
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw std::runtime_error("cannot create the folder " + path.toStdString());
}

}  // namespace

QString serverRootPath(const QString& installationFolder)
{
    return QDir::cleanPath(QDir(installationFolder).absoluteFilePath(QStringLiteral("Server"))) + QLatin1Char('/');
}

void writeInstallationRegistry(RegistryStore& store, const InstallationOptions& options,
                               const QString& installationFolder)
{
    writeVersion(store, options);

    store.setValue(kSystemParameters, QStringLiteral("IDCProgID"), RegistryValue::text(connectorProgId(options.connector)));
    store.setValue(kSystemParameters, QStringLiteral("TUI Languages Loaded"),
                   RegistryValue::text(options.languages.join(QLatin1Char(','))));
    store.setValue(kSystemParameters, QStringLiteral("EnabledAlternateGreetingNotice"),
                   RegistryValue::dword(options.alternateGreetingNotice ? 1 : 0));
    store.setValue(kRightsKey, QStringLiteral("Restricted Rights"), RegistryValue::dword(options.restrictedRights ? 1 : 0));
    if (options.certificateHistory)
        store.createKey(kCertificateHistory);

    // The tool appends "EngineeringSpecialBackup" and "Stream Files\" directly to the root path.
    const QString root = serverRootPath(installationFolder);
    store.setValue(kRootPathKey, QStringLiteral("Root Path"), RegistryValue::text(root));
    makeFolder(root + QStringLiteral("Stream Files"));
    for (int special : options.engineeringSpecials)
        makeFolder(root + QStringLiteral("EngineeringSpecialBackup/%1.%2.%3_ES%4")
                              .arg(options.major).arg(options.minor).arg(options.release).arg(special));

    writeSwitches(store, options);
    writeTimeZones(store);

    // The server's interface broker is registered as a class when the component is installed.
    if (options.notifierPresent)
        store.setValue(QLatin1String(kInterfaceBrokerClassKey), QString(), RegistryValue::text(QStringLiteral("Velmo Interface Broker")));
}

}  // namespace velmo
