#include "core/Errors.h"
#include "core/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Brennhal\\Tollgrave\\Administration Tools\\Kestrane\\SubQueries");

class RegistryApiTest : public ::testing::Test {
protected:
    QVariant get(const QString& name, qint16 type, const QVariant& fallback = QStringLiteral("<default>"))
    {
        return api.GetRegValue(HKEY_LOCAL_MACHINE, kKey, name, type, fallback);
    }

    RegistryStore store;
    RegistryAPI api{store};
};

TEST_F(RegistryApiTest, ValuesOfEachTypeReadBackAsWritten)
{
    ASSERT_FALSE(api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey));
    const QString text = QStringLiteral("SELECT * WHERE Alias='x'\r\nAND Name LIKE 'Grüße 日本%'");
    const QByteArray bytes("\x00\x01\xff\x7f", 4);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "Text", REG_SZ, text);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "Bytes", REG_BINARY, bytes);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "Number", REG_DWORD, 42);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "AllBits", REG_DWORD, 0xffffffffu);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "Negative", REG_DWORD, -5);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "NumberText", REG_DWORD, QStringLiteral("17"));

    EXPECT_EQ(get("Text", REG_SZ), QVariant(text));
    EXPECT_EQ(get("Bytes", REG_BINARY), QVariant(bytes));
    EXPECT_EQ(get("Number", REG_DWORD), QVariant(42));
    EXPECT_EQ(get("AllBits", REG_DWORD), QVariant(-1));  // numbers read back signed
    EXPECT_EQ(get("Negative", REG_DWORD), QVariant(-5));
    EXPECT_EQ(get("NumberText", REG_DWORD), QVariant(17));

    // The listing gives the same data, the text whole (no character dropped or repeated).
    const RegValueTable table = api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey);
    ASSERT_EQ(table.names, (QStringList{"Text", "Bytes", "Number", "AllBits", "Negative", "NumberText"}));
    EXPECT_EQ(table.data[0], QVariant(text));
    EXPECT_EQ(table.data[1], QVariant(bytes));
    EXPECT_EQ(table.data[2], QVariant(42));
    EXPECT_EQ(table.data[3], QVariant(-1));
}

TEST_F(RegistryApiTest, UnreadableOrUnsuitableValuesGiveTheDefaultUnchanged)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "Text", REG_SZ, QStringLiteral("abcdef"));

    EXPECT_EQ(get("Missing", REG_SZ, 42), QVariant(42));  // default of another type
    EXPECT_EQ(api.GetRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", "Text", REG_SZ, "d"), QVariant("d"));
    EXPECT_EQ(api.GetRegValue(0x80000001, kKey, "Text", REG_SZ, "d"), QVariant("d"));
    EXPECT_EQ(get("Text", REG_DWORD, 7), QVariant(7));  // six bytes do not fit four

    // Values that cannot be turned into a number or a type the store does not write: nothing.
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "NotANumber", REG_DWORD, QStringLiteral("abc"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "TooLarge", REG_DWORD, qlonglong(1) << 32);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "Expand", 2, QStringLiteral("x"));
    EXPECT_EQ(store.valueNames(kKey), QStringList{"Text"});
}

TEST_F(RegistryApiTest, UnsupportedTypeRaisesOnceTheKeyIsOpen)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey);
    try {
        get("Text", 2);
        FAIL() << "type 2 was read";
    } catch (const KestraneError& error) {
        EXPECT_EQ(error.number(), 1001);
        EXPECT_EQ(error.description(), QStringLiteral("Unsupported value type"));
    }
    // A key that cannot be opened gives the default before the type is looked at.
    EXPECT_EQ(api.GetRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", "x", 2, 5), QVariant(5));
}

TEST_F(RegistryApiTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal\\Pellix");
    EXPECT_TRUE(api.RegCreateNewKey(HKEY_LOCAL_MACHINE, "software\\BRENNHAL\\pellix"));
    EXPECT_TRUE(api.RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Brennhal\\"));  // trailing separator
    EXPECT_EQ(api.EnumRegKeys(HKEY_LOCAL_MACHINE, "software\\brennhal"), QStringList{"Pellix"});

    api.SetRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal", "Root Path", REG_SZ, QStringLiteral("one"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal", "ROOT PATH", REG_SZ, QStringLiteral("two"));
    EXPECT_EQ(api.GetRegValue(HKEY_LOCAL_MACHINE, "software\\brennhal", "root path", REG_SZ, ""), QVariant("two"));
    const RegValueTable table = api.EnumRegValues(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal");
    EXPECT_EQ(table.names, QStringList{"Root Path"});

    api.DeleteRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRENNHAL", "root PATH");
    EXPECT_EQ(api.EnumRegValues(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal").count(), 0);
    api.DeleteRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal", "Root Path");  // missing: silent
}

TEST_F(RegistryApiTest, BufferLimitsCountBytesOfTheStoredText)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey);
    const QString fits(2047, QLatin1Char('a'));
    const QString tooLong(2048, QLatin1Char('a'));
    const QString fitsWide = QString(1023, QChar(0xe9)) + QLatin1Char('a');  // 2047 bytes of UTF-8
    const QString tooWide(1024, QChar(0xe9));                                  // 2048 bytes
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "fits", REG_SZ, fits);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "tooLong", REG_SZ, tooLong);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "fitsWide", REG_SZ, fitsWide);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "tooWide", REG_SZ, tooWide);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "bytes4096", REG_BINARY, QByteArray(4096, 'x'));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "bytes4097", REG_BINARY, QByteArray(4097, 'x'));

    EXPECT_EQ(get("fits", REG_SZ), QVariant(fits));
    EXPECT_EQ(get("tooLong", REG_SZ), QVariant("<default>"));
    EXPECT_EQ(get("fitsWide", REG_SZ), QVariant(fitsWide));
    EXPECT_EQ(get("tooWide", REG_SZ), QVariant("<default>"));
    EXPECT_EQ(get("bytes4096", REG_BINARY).toByteArray().size(), 4096);
    EXPECT_EQ(get("bytes4097", REG_BINARY), QVariant("<default>"));
}

TEST_F(RegistryApiTest, ListingStopsAtTheFirstEntryTooLargeForItsBuffer)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "short", REG_SZ, QStringLiteral("x"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "data4095", REG_SZ, QString(4095, QLatin1Char('d')));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, QString(259, QLatin1Char('n')), REG_DWORD, 1);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "data4096", REG_SZ, QString(4096, QLatin1Char('d')));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "after", REG_SZ, QStringLiteral("y"));
    const RegValueTable table = api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey);
    EXPECT_EQ(table.names, (QStringList{"short", "data4095", QString(259, QLatin1Char('n'))}));
    EXPECT_EQ(table.data[1].toString().size(), 4095);

    api.DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "data4096");
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, QString(260, QLatin1Char('n')), REG_DWORD, 1);
    EXPECT_EQ(api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey).names.last(), QStringLiteral("after"));
    EXPECT_EQ(api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey).count(), 4);

    // Name limits count bytes too: 129 two-byte characters fit, 130 do not.
    const QString other = kKey + "\\Wide";
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, other);
    api.SetRegValue(HKEY_LOCAL_MACHINE, other, QString(129, QChar(0xe9)), REG_DWORD, 1);
    api.SetRegValue(HKEY_LOCAL_MACHINE, other, QString(130, QChar(0xe9)), REG_DWORD, 2);
    EXPECT_EQ(api.EnumRegValues(HKEY_LOCAL_MACHINE, other).names, QStringList{QString(129, QChar(0xe9))});
}

TEST_F(RegistryApiTest, ListsHoldEveryEntryInCreationOrder)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey);
    QStringList keys, values;
    for (int i = 150; i > 0; --i) {  // created in descending order: the listing must not sort
        keys << QStringLiteral("Key%1").arg(i);
        values << QStringLiteral("2024010112%1").arg(i, 4, 10, QLatin1Char('0'));
        api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey + "\\" + keys.last());
        api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, values.last(), REG_SZ, QStringLiteral("query %1").arg(i));
    }
    EXPECT_EQ(api.EnumRegKeys(HKEY_LOCAL_MACHINE, kKey), keys);
    const RegValueTable table = api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey);
    EXPECT_EQ(table.names, values);
    EXPECT_EQ(table.data.last(), QVariant("query 1"));

    // A key without subkeys or values gives empty lists; the empty key text is the hive.
    EXPECT_TRUE(api.EnumRegKeys(HKEY_LOCAL_MACHINE, kKey + "\\Key1").isEmpty());
    EXPECT_EQ(api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey + "\\Key1").count(), 0);
    EXPECT_EQ(api.EnumRegKeys(HKEY_LOCAL_MACHINE, ""), QStringList{"SOFTWARE"});
    EXPECT_TRUE(api.EnumRegKeys(0x80000001, "").isEmpty());
}

TEST_F(RegistryApiTest, CreateNewKeyReportsExistingKeysAndFailures)
{
    EXPECT_FALSE(api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey));  // parents created too
    EXPECT_TRUE(api.RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal\\Tollgrave"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "20240101120000", REG_SZ, QStringLiteral("kept"));
    EXPECT_TRUE(api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(get("20240101120000", REG_SZ), QVariant("kept"));

    auto expectCreateFails = [&](quint32 hive, const QString& key) {
        try {
            api.RegCreateNewKey(hive, key);
            ADD_FAILURE() << "created " << key.toStdString();
        } catch (const KestraneError& error) {
            EXPECT_EQ(error.number(), 1001);
            EXPECT_EQ(error.description(), QStringLiteral("Unable to create the registry key"));
        }
    };
    expectCreateFails(0x80000001, "Software\\Other");
    expectCreateFails(HKEY_LOCAL_MACHINE, "SOFTWARE\\\\Gap");
    expectCreateFails(HKEY_LOCAL_MACHINE, "SOFTWARE\\Line\nBreak");
    expectCreateFails(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + QString(256, QLatin1Char('k')));
    store.setKeyWritable("SOFTWARE\\Brennhal", false);
    expectCreateFails(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal\\New\\Deeper");
    EXPECT_FALSE(store.keyExists("SOFTWARE\\Brennhal\\New"));
    EXPECT_TRUE(api.RegCreateNewKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennhal"));  // opening needs no rights
}

TEST_F(RegistryApiTest, KeysRefusingAccessBehaveAsTheProceduresPromise)
{
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey + "\\Sub");
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "v", REG_SZ, QStringLiteral("x"));

    store.setKeyReadable(kKey, false);
    EXPECT_FALSE(api.RegKeyExists(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(get("v", REG_SZ), QVariant("<default>"));
    EXPECT_TRUE(api.EnumRegKeys(HKEY_LOCAL_MACHINE, kKey).isEmpty());
    EXPECT_EQ(api.EnumRegValues(HKEY_LOCAL_MACHINE, kKey).count(), 0);
    RegistryStore reloaded;  // the flag is not part of the file
    ASSERT_TRUE(reloaded.fromFileText(store.toFileText()));
    EXPECT_TRUE(RegistryAPI(reloaded).RegKeyExists(HKEY_LOCAL_MACHINE, kKey));

    store.setKeyReadable(kKey, true);
    store.setKeyWritable(kKey, false);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "v", REG_SZ, QStringLiteral("changed"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "w", REG_SZ, QStringLiteral("new"));
    api.DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "v");
    EXPECT_EQ(get("v", REG_SZ), QVariant("x"));
    EXPECT_EQ(store.valueNames(kKey), QStringList{"v"});

    // Writing never creates a key.
    api.SetRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Absent", "v", REG_SZ, QStringLiteral("x"));
    EXPECT_FALSE(store.keyExists("SOFTWARE\\Absent"));
}

class RegistryFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QString path() const { return folder.filePath("registry.reg"); }

    QTemporaryDir folder;
};

TEST_F(RegistryFileTest, SaveAndLoadKeepTypesTextsAndOrder)
{
    const QString awkward = QStringLiteral("say \"hi\" C:\\Velmo\\ \\\\server\r\nnext line\tü€😀\x01 end\\");
    RegistryStore store;
    store.setValue("SOFTWARE\\Test", "Text", RegistryValue::text(awkward));
    store.setValue("SOFTWARE\\Test", "", RegistryValue::text("default"));
    store.setValue("SOFTWARE\\Test", "Name \"with\" \\ and ü", RegistryValue::text(""));
    store.setValue("SOFTWARE\\Test", "Count", RegistryValue::dword(42));
    store.setValue("SOFTWARE\\Test", "Blob", RegistryValue::binary(QByteArray("\x00\xff\x10", 3)));
    store.setValue("SOFTWARE\\Test", "Multi", RegistryValue{7, QByteArray("a\0b\0\0", 5)});
    store.createKey("SOFTWARE\\Test\\Zeta");
    store.createKey("SOFTWARE\\Test\\Alpha\\Empty");
    ASSERT_TRUE(store.saveAs(path()));

    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_TRUE(text.contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n\"Text\"=\"say \\\"hi\\\" C:\\\\Velmo"));
    EXPECT_TRUE(text.contains("\n@=\"default\"\n"));
    EXPECT_TRUE(text.contains("\n\"Count\"=dword:0000002a\n"));
    EXPECT_TRUE(text.contains("\n\"Blob\"=hex:00,ff,10\n"));
    EXPECT_TRUE(text.contains("\n\"Multi\"=hex(7):61,00,62,00,00\n"));

    RegistryStore loaded;
    QString error;
    ASSERT_TRUE(loaded.open(path(), &error)) << error.toStdString();
    EXPECT_EQ(loaded.toFileText(), store.toFileText());
    EXPECT_EQ(loaded.value("software\\test", "text"), RegistryValue::text(awkward));
    EXPECT_EQ(loaded.valueNames("SOFTWARE\\Test"),
              (QStringList{"Text", "", "Name \"with\" \\ and ü", "Count", "Blob", "Multi"}));
    EXPECT_EQ(loaded.subkeyNames("SOFTWARE\\Test"), (QStringList{"Zeta", "Alpha"}));
    EXPECT_TRUE(loaded.keyExists("SOFTWARE\\Test\\Alpha\\Empty"));
}

TEST_F(RegistryFileTest, SavingReplacesTheFileWithoutLeavingATemporaryOne)
{
    RegistryStore store;
    store.setValue("SOFTWARE\\A", "v", RegistryValue::dword(1));
    ASSERT_TRUE(store.saveAs(path()));
    store.setValue("SOFTWARE\\A", "v", RegistryValue::dword(2));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"registry.reg"});

    RegistryStore loaded;
    ASSERT_TRUE(loaded.open(path()));
    EXPECT_EQ(loaded.value("SOFTWARE\\A", "v"), RegistryValue::dword(2));

    RegistryStore inMemory;
    EXPECT_FALSE(inMemory.save());
}

TEST_F(RegistryFileTest, ProceduresWriteEachChangeToTheBoundFile)
{
    RegistryStore store;
    ASSERT_TRUE(store.open(path()));  // no file yet: an empty store bound to it
    RegistryAPI api(store);
    api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "20240101120000", REG_SZ, QStringLiteral("first"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "20240101120001", REG_SZ, QStringLiteral("second"));
    api.DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "20240101120000");

    RegistryStore reread;
    ASSERT_TRUE(reread.open(path()));
    EXPECT_EQ(reread.valueNames(kKey), QStringList{"20240101120001"});
}

TEST_F(RegistryFileTest, AChangeThatCannotBeSavedIsTakenBack)
{
    const QString sub = folder.filePath("gone");
    ASSERT_TRUE(QDir().mkpath(sub));
    RegistryStore store;
    store.setValue(kKey, "old", RegistryValue::text("kept"));
    ASSERT_TRUE(store.saveAs(sub + "/registry.reg"));
    ASSERT_TRUE(QDir(sub).removeRecursively());

    RegistryAPI api(store);
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "new", REG_SZ, QStringLiteral("lost"));
    api.SetRegValue(HKEY_LOCAL_MACHINE, kKey, "old", REG_SZ, QStringLiteral("changed"));
    api.DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "old");
    EXPECT_EQ(store.valueNames(kKey), QStringList{"old"});
    EXPECT_EQ(store.value(kKey, "old"), RegistryValue::text("kept"));
    EXPECT_THROW(api.RegCreateNewKey(HKEY_LOCAL_MACHINE, kKey + "\\New\\Deeper"), KestraneError);
    EXPECT_FALSE(store.keyExists(kKey + "\\New"));
}

TEST_F(RegistryFileTest, LoadingAcceptsExportsAndRejectsOtherFiles)
{
    RegistryStore store;
    EXPECT_TRUE(store.fromFileText("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                                   "; written by hand\r\n"
                                   "[hkey_local_machine\\Software\\X]\r\n"
                                   "\"Wrapped\"=hex:01,02,\\\r\n  03,04\r\n"
                                   "\"Small\"=dword:7\r\n"));
    EXPECT_EQ(store.value("Software\\X", "Wrapped"), RegistryValue::binary(QByteArray("\x01\x02\x03\x04")));
    EXPECT_EQ(store.value("Software\\X", "Small"), RegistryValue::dword(7));

    QString error;
    EXPECT_FALSE(store.fromFileText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n", &error));
    EXPECT_TRUE(error.startsWith("line 1:"));
    EXPECT_FALSE(store.fromFileText("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A]\n"
                                    "\"v\"=\"unterminated\n", &error));
    EXPECT_TRUE(error.startsWith("line 3:"));
    EXPECT_FALSE(store.fromFileText("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n", &error));
    EXPECT_TRUE(store.keyExists("Software\\X"));  // a failed load leaves the store as it was

    QFile broken(path());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a registry file\n");
    broken.close();
    EXPECT_FALSE(store.open(path(), &error));
    EXPECT_TRUE(store.filePath().isEmpty());
}

}  // namespace
