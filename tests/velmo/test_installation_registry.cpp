#include "core/Registry.h"
#include "velmo/InstallationRegistry.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QString kIntegrations = QStringLiteral("Software\\Brennhal\\Pellix\\1.0\\initialization\\integrations");
const QString kTimeZones = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");

// The tool's reading of the older layout: a half's hexadecimal digits read as a decimal
// number, up to the first letter.
int leadingDecimal(const QString& digits)
{
    int number = 0;
    for (QChar c : digits) {
        if (!c.isDigit())
            break;
        number = number * 10 + c.digitValue();
    }
    return number;
}

class InstallationRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    RegistryStore write(const velmo::InstallationOptions& options)
    {
        RegistryStore store;
        velmo::writeInstallationRegistry(store, options, folder.path());
        return store;
    }
    static QVariant read(RegistryStore& store, const QString& key, const QString& name, qint16 type)
    {
        return RegistryAPI(store).GetRegValue(HKEY_LOCAL_MACHINE, key, name, type, QVariant());
    }
    static velmo::InstallationOptions version(int major, int minor, int release, int build)
    {
        velmo::InstallationOptions options;
        options.major = major;
        options.minor = minor;
        options.release = release;
        options.build = build;
        return options;
    }

    QTemporaryDir folder;
};

TEST_F(InstallationRegistryTest, OlderLayoutPacksTheVersionAsTheToolReadsIt)
{
    RegistryStore store = write(version(4, 0, 2, 363));
    EXPECT_EQ(quint32(read(store, "Software\\Brennhal\\", "Version Number", REG_DWORD).toInt()), 0x00040000u);
    EXPECT_EQ(quint32(read(store, "Software\\Brennhal\\", "Build Number", REG_DWORD).toInt()), 0x0002016Bu);
    EXPECT_FALSE(store.keyExists("SOFTWARE\\Dravo Systems\\Dravo Velmo"));

    RegistryStore wide = write(version(12, 5, 10, -1));
    const QString versionHex = QStringLiteral("%1").arg(quint32(read(wide, "Software\\Brennhal", "Version Number", REG_DWORD).toInt()), 8, 16, QLatin1Char('0'));
    const QString buildHex = QStringLiteral("%1").arg(quint32(read(wide, "Software\\Brennhal", "Build Number", REG_DWORD).toInt()), 8, 16, QLatin1Char('0'));
    EXPECT_EQ(leadingDecimal(versionHex.left(4)), 12);
    EXPECT_EQ(leadingDecimal(versionHex.right(4)), 5);
    EXPECT_EQ(leadingDecimal(buildHex.left(4)), 10);
    EXPECT_EQ(qint16(buildHex.right(4).toUShort(nullptr, 16)), -1);

    RegistryStore untouched;
    EXPECT_THROW(velmo::writeInstallationRegistry(untouched, version(4, 10000, 0, 1), folder.path()),
                 std::invalid_argument);
    EXPECT_TRUE(untouched.subkeyNames("").isEmpty());
}

TEST_F(InstallationRegistryTest, ProductKeyLayoutHoldsPlainNumbers)
{
    velmo::InstallationOptions options = version(5, 0, 1, 40);
    options.productKeyLayout = true;
    RegistryStore store = write(options);
    const QString key = QStringLiteral("SOFTWARE\\Dravo Systems\\Dravo Velmo");
    EXPECT_EQ(read(store, key, "MajorVersion", REG_DWORD), QVariant(5));
    EXPECT_EQ(read(store, key, "MinorVersion", REG_DWORD), QVariant(0));
    EXPECT_EQ(read(store, key, "ReleaseVersion", REG_DWORD), QVariant(1));
    EXPECT_EQ(read(store, key, "BuildVersion", REG_DWORD), QVariant(40));
    EXPECT_FALSE(store.value("Software\\Brennhal", "Version Number").has_value());
}

TEST_F(InstallationRegistryTest, SwitchLayoutFollowsTheServerVersion)
{
    velmo::InstallationOptions older = version(4, 2, 0, 26);
    older.switchCount = 3;
    RegistryStore oldStore = write(older);
    EXPECT_EQ(oldStore.subkeyNames(kIntegrations), (QStringList{"integration1", "integration2"}));
    EXPECT_EQ(read(oldStore, kIntegrations + "\\integration2", "IntegrationID", REG_DWORD), QVariant(2));
    EXPECT_FALSE(read(oldStore, kIntegrations + "\\integration1", "DisplayName", REG_SZ).toString().isEmpty());

    older.switchCount = 1;
    EXPECT_EQ(write(older).subkeyNames(kIntegrations), QStringList{"integration1"});

    velmo::InstallationOptions newer = version(4, 2, 0, 27);
    newer.switchCount = 8;  // more than the invented names
    RegistryStore newStore = write(newer);
    RegistryAPI api(newStore);
    const QStringList subkeys = api.EnumRegKeys(HKEY_LOCAL_MACHINE, kIntegrations);
    ASSERT_EQ(subkeys.size(), 8);
    EXPECT_FALSE(subkeys.contains("integration1", Qt::CaseInsensitive));
    QStringList names;
    for (int i = 0; i < subkeys.size(); ++i) {
        const QString key = kIntegrations + "\\" + subkeys[i];
        EXPECT_EQ(read(newStore, key, "IntegrationID", REG_DWORD), QVariant(i + 1));
        names << read(newStore, key, "DisplayName", REG_SZ).toString();
    }
    EXPECT_EQ(names.removeDuplicates(), 0);

    newer.switchCount = 0;
    RegistryStore none = write(newer);
    EXPECT_TRUE(none.keyExists(kIntegrations));
    EXPECT_TRUE(none.subkeyNames(kIntegrations).isEmpty());
}

TEST_F(InstallationRegistryTest, RootPathLeadsToTheServerFolders)
{
    velmo::InstallationOptions options = version(4, 0, 3, 12);
    options.engineeringSpecials = {8, 12};
    RegistryStore store = write(options);
    const QString root = read(store, "SOFTWARE\\Brennhal\\Karrowend\\1.0", "Root Path", REG_SZ).toString();
    EXPECT_TRUE(root.endsWith('/'));
    EXPECT_TRUE(root.startsWith(QDir(folder.path()).absolutePath() + '/'));
    EXPECT_EQ(root, velmo::serverRootPath(folder.path()));
    EXPECT_TRUE(QDir(root + "Stream Files").exists());
    EXPECT_EQ(QDir(root + "EngineeringSpecialBackup").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"4.0.3_ES12", "4.0.3_ES8"}));

    QTemporaryDir plain;
    RegistryStore withoutSpecials;
    velmo::writeInstallationRegistry(withoutSpecials, version(4, 0, 3, 12), plain.path());
    EXPECT_FALSE(QDir(velmo::serverRootPath(plain.path()) + "EngineeringSpecialBackup").exists());
}

TEST_F(InstallationRegistryTest, SettingsTheToolReadsAtStartUp)
{
    velmo::InstallationOptions options;
    options.connector = velmo::DirectoryConnector::Domino;
    options.languages = {"ENU", "DEU"};
    options.restrictedRights = true;
    options.alternateGreetingNotice = true;
    RegistryStore store = write(options);
    const QString parameters = QStringLiteral("SOFTWARE\\Brennhal\\SystemParameters\\1.0");
    EXPECT_EQ(read(store, parameters, "IDCProgID", REG_SZ), QVariant("BhDsDomino.BhIDCDomino.1"));
    EXPECT_EQ(read(store, parameters, "TUI Languages Loaded", REG_SZ), QVariant("ENU,DEU"));
    EXPECT_EQ(read(store, parameters, "EnabledAlternateGreetingNotice", REG_DWORD), QVariant(1));
    EXPECT_EQ(read(store, "Software\\Brennhal\\Grantwright\\1.0", "Restricted Rights", REG_DWORD), QVariant(1));
    EXPECT_FALSE(store.keyExists("Software\\Brennhal\\CertificateHistory"));

    options.connector = velmo::DirectoryConnector::ActiveDirectory;
    options.restrictedRights = false;
    options.certificateHistory = true;
    RegistryStore other = write(options);
    EXPECT_EQ(read(other, parameters, "IDCProgID", REG_SZ), QVariant("BhIDCADSvr.BhIDCAD.1"));
    EXPECT_EQ(read(other, "Software\\Brennhal\\Grantwright\\1.0", "Restricted Rights", REG_DWORD), QVariant(0));
    EXPECT_TRUE(other.keyExists("Software\\Brennhal\\CertificateHistory"));
}

TEST_F(InstallationRegistryTest, TimeZonesCarryWindowsCaptions)
{
    RegistryStore store = write(velmo::InstallationOptions{});
    const QStringList zones = RegistryAPI(store).EnumRegKeys(HKEY_LOCAL_MACHINE, kTimeZones);
    ASSERT_GE(zones.size(), 12);
    QStringList sorted = zones;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(zones, sorted);
    const QRegularExpression caption(QStringLiteral("^\\(GMT[+-]\\d\\d:\\d\\d\\) \\S.*$"));
    for (const QString& zone : zones) {
        const QString display = read(store, kTimeZones + "\\" + zone, "Display", REG_SZ).toString();
        EXPECT_TRUE(caption.match(display).hasMatch()) << display.toStdString();
    }
}

TEST_F(InstallationRegistryTest, InstallationSurvivesTheRegistryFile)
{
    velmo::InstallationOptions options = version(4, 0, 3, 12);
    options.engineeringSpecials = {12};
    RegistryStore store = write(options);
    const QString path = folder.filePath("registry.reg");
    ASSERT_TRUE(store.saveAs(path));
    RegistryStore loaded;
    ASSERT_TRUE(loaded.open(path));
    EXPECT_EQ(loaded.toFileText(), store.toFileText());
    EXPECT_TRUE(store.toFileText().contains("\n\"Version Number\"=dword:00040000\n"));
}

}  // namespace
