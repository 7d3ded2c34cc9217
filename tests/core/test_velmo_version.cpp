#include "core/Registry.h"
#include "core/VelmoVersion.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ServerVersion versionFromOlderKey(quint32 versionNumber, quint32 buildNumber)
{
    RegistryStore store;
    store.setValue(VelmoKeys::OlderKey, "Version Number", RegistryValue::dword(versionNumber));
    store.setValue(VelmoKeys::OlderKey, "Build Number", RegistryValue::dword(buildNumber));
    return getVersion(RegistryAPI(store));
}

ServerVersion version(qint16 major, qint16 minor, qint16 release, qint16 build)
{
    ServerVersion v;
    v.iMajor = major;
    v.iMinor = minor;
    v.iRelease = release;
    v.iBuild = build;
    return v;
}

TEST(VelmoVersion, OlderKeyPacksTheNumbersInHexDigits)
{
    const ServerVersion v = versionFromOlderKey(0x00040000, 0x0002016B);
    EXPECT_EQ(v.strDisplay, "4.0(2.363)");
    EXPECT_FALSE(v.bFromProductKey);
    EXPECT_EQ(versionFromOlderKey(0x00050000, 0x0001FFFF).iBuild, -1);
    // The hexadecimal digits are read as decimal text: a letter ends the number.
    EXPECT_EQ(versionFromOlderKey(0x0012000A, 0x00200010).strDisplay, "12.0(20.16)");
}

TEST(VelmoVersion, ProductKeyWinsWhenItHasAMajorVersion)
{
    RegistryStore store;
    store.setValue(VelmoKeys::OlderKey, "Version Number", RegistryValue::dword(0x00040000));
    store.setValue(VelmoKeys::ProductKey, "MajorVersion", RegistryValue::dword(0));
    store.setValue(VelmoKeys::ProductKey, "MinorVersion", RegistryValue::dword(7));
    RegistryAPI registry(store);
    EXPECT_EQ(getVersion(registry).strDisplay, "4.0(0.0)");   // major 0: the older key counts

    store.setValue(VelmoKeys::ProductKey, "MajorVersion", RegistryValue::dword(5));
    store.setValue(VelmoKeys::ProductKey, "ReleaseVersion", RegistryValue::dword(1));
    store.setValue(VelmoKeys::ProductKey, "BuildVersion", RegistryValue::dword(10));
    const ServerVersion v = getVersion(registry);
    EXPECT_EQ(v.strDisplay, "5.7(1.10)");
    EXPECT_TRUE(v.bFromProductKey);

    RegistryStore empty;
    EXPECT_EQ(getVersion(RegistryAPI(empty)).strDisplay, "0.0(0.0)");
}

TEST(VelmoVersion, ComparisonGoesMajorMinorReleaseBuild)
{
    const ServerVersion installed = version(4, 0, 2, 111);
    EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(installed, 4, 0, 2, 111));
    EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(installed, 4, 0, 2, 112));
    EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(installed, 4, 0, 1, 900));
    EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(installed, 4, 1, 0, 0));
    EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(installed, 3, 9, 9, 999));
    EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(version(4, 0, 2, -1), 4, 0, 2, 0));
}

TEST(VelmoVersion, EngineeringSpecialsAreFoundByFolderName)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    RegistryStore store;
    RegistryAPI registry(store);
    EXPECT_FALSE(bIsESInstalled(registry, 12));   // no root path

    store.setValue(VelmoKeys::InstallKey, "Root Path", RegistryValue::text(root.path() + "/"));
    EXPECT_FALSE(bIsESInstalled(registry, 12));   // no backup folder
    QDir backup(root.path() + "/EngineeringSpecialBackup");
    ASSERT_TRUE(backup.mkpath("4.0.3_ES12"));
    ASSERT_TRUE(backup.mkpath("xx7"));             // no "_": compared from the third character
    EXPECT_TRUE(bIsESInstalled(registry, 12));
    EXPECT_TRUE(bIsESInstalled(registry, 7));
    EXPECT_FALSE(bIsESInstalled(registry, 1));
    EXPECT_FALSE(bIsESInstalled(registry, 0));
}

TEST(VelmoVersion, RightsAndDirectoryConnector)
{
    RegistryStore store;
    RegistryAPI registry(store);
    EXPECT_FALSE(bRestrictedRightsActive(registry));
    store.setValue(VelmoKeys::RightsKey, "Restricted Rights", RegistryValue::dword(2));
    EXPECT_FALSE(bRestrictedRightsActive(registry));
    store.setValue(VelmoKeys::RightsKey, "Restricted Rights", RegistryValue::dword(1));
    EXPECT_TRUE(bRestrictedRightsActive(registry));

    store.setValue(VelmoKeys::SystemParametersKey, "IDCProgID", RegistryValue::text("bhdsdomino.bhidcdomino.1"));
    ServerVersion older = version(4, 0, 3, 12);
    EXPECT_TRUE(bIsDominoDirectory(registry, older));
    ServerVersion fromProductKey = older;
    fromProductKey.bFromProductKey = true;
    EXPECT_FALSE(bIsDominoDirectory(registry, fromProductKey));
}

}  // namespace
