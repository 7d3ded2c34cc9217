#include "core/Registry.h"
#include "core/SwitchInfo.h"
#include "core/VelmoVersion.h"
#include "velmo/InstallationRegistry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kNoSwitches = resources::englishString(523);

ServerVersion version(int major, int minor, int release, int build)
{
    ServerVersion v;
    std::tie(v.iMajor, v.iMinor, v.iRelease, v.iBuild) = std::tuple(qint16(major), qint16(minor), qint16(release), qint16(build));
    return v;
}

class SwitchInfoTest : public ::testing::Test {
protected:
    void add(const QString& subkey, const std::optional<QString>& name, const std::optional<quint32>& id)
    {
        const QString key = SwitchKeys::Integrations + u'\\' + subkey;
        store.createKey(key);
        if (name)
            store.setValue(key, "DisplayName", RegistryValue::text(*name));
        if (id)
            store.setValue(key, "IntegrationID", RegistryValue::dword(*id));
    }
    SwitchInfo read(const ServerVersion& server)
    {
        return InitalizeSwitchInfo(api, server, [this](const QString& text) { messages << text; });
    }

    const ServerVersion listing = version(4, 2, 0, 27);
    const ServerVersion older = version(4, 2, 0, 26);
    RegistryStore store;
    RegistryAPI api{store};
    QStringList messages;
};

TEST_F(SwitchInfoTest, ListingServerReadsEverySubkeyInRegistryOrderWithDefaultsForMissingValues)
{
    add("Talvik", "Talvik PBX-20 (Analog)", 7);
    add("Corvane", std::nullopt, 3);
    add("integration1", "No ID", std::nullopt);
    add("Big", "Too big", 65537);   // must not wrap to 1, another switch's ID

    const SwitchInfo info = read(listing);
    EXPECT_EQ(info.iSwitchCount(), 4);
    EXPECT_EQ(info.astrSwitchNames, QStringList({"Talvik PBX-20 (Analog)", "", "No ID", "Too big"}));
    EXPECT_EQ(info.aiSwitchIDs, QList<qint16>({7, 3, 0, 0}));
    EXPECT_EQ(messages, QStringList{"Error 6 (Overflow) in procedure InitalizeSwitchInfo of Module modSwitchInfo"});
}

TEST_F(SwitchInfoTest, OlderServersReadOnlyIntegration1And2)
{
    add("PhoneSystem1", "Listed only", 9);
    EXPECT_EQ(read(older).iSwitchCount(), 0);
    EXPECT_EQ(messages, QStringList{kNoSwitches});

    add("integration2", "Second", 2);   // without "integration1": none
    EXPECT_EQ(read(older).iSwitchCount(), 0);
    add("integration1", "First", 1);
    add("integration3", "Third", 3);
    const SwitchInfo info = read(older);
    EXPECT_EQ(info.astrSwitchNames, QStringList({"First", "Second"}));
    EXPECT_EQ(info.aiSwitchIDs, QList<qint16>({1, 2}));
    EXPECT_EQ(read(listing).iSwitchCount(), 4);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(SwitchInfoTest, NoIntegrationOnAListingServerShowsTheTextAndLeavesAnEmptyList)
{
    EXPECT_EQ(read(listing).iSwitchCount(), 0);                   // no key
    store.createKey(SwitchKeys::Integrations);
    EXPECT_EQ(read(listing).iSwitchCount(), 0);                   // no subkey
    add("PhoneSystem1", "Hidden", 1);
    store.setKeyReadable(SwitchKeys::Integrations, false);
    EXPECT_EQ(read(listing).iSwitchCount(), 0);                   // unreadable
    EXPECT_EQ(messages, QStringList({kNoSwitches, kNoSwitches, kNoSwitches}));

    // The text comes from the current language.
    InitalizeSwitchInfo(api, listing, [this](const QString& t) { messages << t; }, [](int n) { return QString::number(n); });
    EXPECT_EQ(messages.last(), "523");
}

TEST(SwitchInfoLookup, NumbersOutsideTheListGiveTheErrorTextAndIdMinusOne)
{
    SwitchInfo info;
    info.astrSwitchNames = {"One", "Two"};
    info.aiSwitchIDs = {11, 22};
    QString name;
    qint16 id = 0;
    for (qint16 n : {0, 3, -4}) {
        info.GetSwitchInfoBySwitchCount(n, name, id);
        EXPECT_EQ(name, "Error - bad switch number passed in:" + QString::number(n));
        EXPECT_EQ(id, -1);
    }
    info.GetSwitchInfoBySwitchCount(2, name, id);
    EXPECT_EQ(std::pair(name, id), std::pair(QString("Two"), qint16(22)));
}

// The simulated server's keys, read with the version the tool reads from the same store.
TEST(SwitchInfoInstallation, ReadsWhatTheSimulatedServerWrites)
{
    struct Case { int major, minor, release, build; bool productKey; int switches, expected; };
    for (const Case& c : {Case{4, 2, 0, 27, false, 5, 5}, Case{4, 2, 0, 26, false, 5, 2}, Case{5, 0, 1, 4, true, 8, 8},
                          Case{5, 0, 1, 4, true, 0, 0}, Case{4, 0, 3, 12, false, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.major << '.' << c.minor << '.' << c.release << '.' << c.build << " x" << c.switches);
        QTemporaryDir folder;
        velmo::InstallationOptions options;
        std::tie(options.major, options.minor, options.release, options.build) = std::tie(c.major, c.minor, c.release, c.build);
        options.productKeyLayout = c.productKey;
        options.switchCount = c.switches;
        RegistryStore store;
        velmo::writeInstallationRegistry(store, options, folder.path());
        RegistryAPI api{store};
        QStringList messages;
        const SwitchInfo info = InitalizeSwitchInfo(api, getVersion(api), [&](const QString& t) { messages << t; });
        ASSERT_EQ(info.iSwitchCount(), c.expected);
        EXPECT_EQ(messages.size(), c.expected == 0 ? 1 : 0);
        for (int i = 0; i < c.expected; ++i)
            EXPECT_EQ(info.aiSwitchIDs[i], i + 1);
        EXPECT_EQ(QSet<QString>(info.astrSwitchNames.begin(), info.astrSwitchNames.end()).size(), c.expected);
    }
}

}  // namespace
