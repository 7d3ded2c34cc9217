#include "core/Languages.h"

#include "resources/EnglishStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::string str(const QString& text)
{
    return text.toStdString();
}

// A program folder of its own with language libraries written into it.
class LanguageFolder : public ::testing::Test {
protected:
    void write(const QString& fileName, const QByteArray& content)
    {
        QFile file(m_dir.filePath(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << str(fileName);
        file.write(content);
    }

    // Languages of a program "kestrane" in the folder, initialised in the given language.
    Languages& start(qint32 languageID)
    {
        m_languages = std::make_unique<Languages>(m_dir.path(), QStringLiteral("kestrane"));
        m_languages->setMessageSink([this](const QString& text) { m_messages.append(text); });
        m_languages->lngLanguageID = languageID;
        m_languages->InitalizeLanguages();
        return *m_languages;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Languages> m_languages;
    QStringList m_messages;
};

TEST_F(LanguageFolder, LibraryOverridesItsNumbersAndEnglishFillsTheRest)
{
    write("kestrane_DEU.lang", "# German\n191\tWeiter >>\n18=<< Zur\xC3\xBC" "ck\n153\t\n");
    Languages& languages = start(1031);

    EXPECT_TRUE(languages.hasLanguageLibrary());
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Weiter >>");
    EXPECT_EQ(languages.mymyLoadString(18), QString::fromUtf8("<< Zurück"));
    EXPECT_EQ(str(languages.mymyLoadString(132)), "Exit");        // not in the library
    EXPECT_EQ(str(languages.mymyLoadString(153)), "Help");        // empty in the library
    EXPECT_EQ(str(languages.mymyLoadString(0)), " Build");        // leading blank kept
    EXPECT_TRUE(m_messages.isEmpty());

    // The look-up handed to helpers follows the same library.
    EXPECT_EQ(str(languages.stringLookup()(191)), "Weiter >>");
}

TEST_F(LanguageFolder, LookUpBeforeInitialisationAnswersInEnglish)
{
    write("kestrane_DEU.lang", "191\tWeiter >>\n");
    Languages languages(m_dir.path(), QStringLiteral("kestrane"));
    EXPECT_EQ(languages.lngLanguageID, 0);
    EXPECT_FALSE(languages.hasLanguageLibrary());
    EXPECT_EQ(str(languages.mymyLoadString(0)), " Build");
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Next >>");
}

TEST_F(LanguageFolder, LongLibraryTextsComeBackCutTo1199Characters)
{
    const QByteArray longText(1500, 'x');
    const QByteArray exact(1199, 'y');
    // A cut through a surrogate pair would leave half a character: the whole pair goes.
    const QByteArray emojiAtTheCut = QByteArray(1198, 'z') + "\xF0\x9F\x98\x80" + QByteArray(10, 'z');
    write("kestrane_DEU.lang", "1\t" + longText + "\n2\t" + exact + "\n3\t" + emojiAtTheCut + "\n");
    Languages& languages = start(1031);

    EXPECT_EQ(languages.mymyLoadString(1), QString(1199, u'x'));
    EXPECT_EQ(languages.mymyLoadString(2), QString(1199, u'y'));
    EXPECT_EQ(languages.mymyLoadString(3), QString(1198, u'z'));
}

TEST_F(LanguageFolder, NumberFoundNowhereTellsAndGivesTheEmptyText)
{
    write("kestrane_DEU.lang", "600\tNur in der Bibliothek\n");
    Languages& languages = start(1031);

    EXPECT_EQ(languages.mymyLoadString(600), QString::fromUtf8("Nur in der Bibliothek"));
    EXPECT_TRUE(m_messages.isEmpty());

    EXPECT_TRUE(languages.mymyLoadString(566).isEmpty());
    EXPECT_TRUE(languages.mymyLoadString(-1).isEmpty());
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages[0].startsWith(QStringLiteral("error in mymyLoadString: "))) << str(m_messages[0]);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("566"))) << str(m_messages[0]);
}

TEST_F(LanguageFolder, LibraryNamesIgnoreLetterCaseAndMustEndInTheLibraryEnding)
{
    write("kestrane_deu.LANG", "191\tWeiter >>\n");
    write("KESTRANE_Fra.Lang", "191\tSuivant >>\n");
    write("kestrane_JPN.lang.bak", "191\tx\n");
    write("kestrane_ITA.lang~", "191\tx\n");
    write("other_ESP.lang", "191\tx\n");
    write("kestrane_DEUX.lang", "191\tx\n");
    write("kestrane_.lang", "191\tx\n");
    write("kestraneXSVE.lang", "191\tx\n");
    Languages& languages = start(1031);

    EXPECT_EQ(languages.strLanguageCodes(), (QStringList{"deu", "Fra"}));
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Weiter >>");
    EXPECT_EQ(QFileInfo(languages.languageLibraryFile()).fileName(), QStringLiteral("kestrane_deu.LANG"));

    // A library that is not a library is not loaded either.
    languages.lngLanguageID = 1041;
    languages.InitalizeLanguages();
    EXPECT_FALSE(languages.hasLanguageLibrary());
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Next >>");
}

TEST_F(LanguageFolder, NoLibraryAndOneLibraryBothGiveOneCode)
{
    write("kestrane_DEU.lang.bak", "191\tx\n");
    EXPECT_EQ(start(1033).strLanguageCodes(), QStringList{QString()});

    write("kestrane_DEU.lang", "191\tWeiter >>\n");
    EXPECT_EQ(start(1033).strLanguageCodes(), QStringList{"DEU"});
    EXPECT_FALSE(m_languages->hasLanguageLibrary());   // English chosen: the German one stays unloaded
}

TEST_F(LanguageFolder, SwitchingLanguageDropsThePreviousLibrary)
{
    write("kestrane_DEU.lang", "191\tWeiter >>\n18\t<< Zurueck\n");
    write("kestrane_FRA.lang", "191\tSuivant >>\n");
    Languages& languages = start(1031);
    ASSERT_EQ(str(languages.mymyLoadString(18)), "<< Zurueck");

    languages.lngLanguageID = 1036;
    languages.InitalizeLanguages();
    EXPECT_EQ(languages.lngLanguageID, 1036);
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Suivant >>");
    EXPECT_EQ(str(languages.mymyLoadString(18)), "<< Previous");

    // A language without a library: English throughout, silently.
    languages.lngLanguageID = 1042;
    languages.InitalizeLanguages();
    EXPECT_FALSE(languages.hasLanguageLibrary());
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Next >>");
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(LanguageFolder, MissingProgramFolderIsReportedAndLeavesEnglish)
{
    Languages languages(m_dir.filePath("gone"), QStringLiteral("kestrane"));
    QStringList messages;
    languages.setMessageSink([&](const QString& text) { messages.append(text); });
    languages.lngLanguageID = 1031;
    languages.InitalizeLanguages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error in InitalizeLanguages: "))) << str(messages[0]);
    EXPECT_EQ(languages.strLanguageCodes(), QStringList{QString()});
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Next >>");
}

TEST_F(LanguageFolder, DefaultLanguageComesFromTheLocaleOnlyWhileNoneIsChosen)
{
    Languages languages(m_dir.path(), QStringLiteral("kestrane"));
    languages.setUserLocale(QLocale(QStringLiteral("de_CH")));
    languages.InitalizeLanguages();
    EXPECT_EQ(languages.lngLanguageID, 2055);

    languages.lngLanguageID = 1041;   // chosen in the About box
    languages.InitalizeLanguages();
    EXPECT_EQ(languages.lngLanguageID, 1041);
}

TEST(LanguageDefaults, LocaleGivesTheIdentifierOfItsLanguageAndCountry)
{
    const std::vector<std::pair<const char*, qint32>> cases = {
        {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"de_DE", 1031}, {"de_AT", 3079},
        {"es_ES", 3082},                       // the modern sort, not the traditional one
        {"es_MX", 2058}, {"fr_CA", 3084}, {"ja_JP", 1041}, {"ko_KR", 1042}, {"zh_TW", 1028},
        {"zh_CN", 2052}, {"zh_HK", 3076}, {"zh_SG", 4100}, {"nb_NO", 1044}, {"nn_NO", 2068},
        {"pt_BR", 1046}, {"pt_PT", 2070}, {"cs_CZ", 1029}, {"sv_SE", 1053}, {"ar_SA", 1025},
        // A country the table lacks: the language's first identifier in the same script.
        {"en_IN", 1033}, {"de_BE", 1031}, {"fr_MA", 1036}, {"zh_MO", 1028}, {"ar_EG", 1025},
        // A language the table lacks, and the C locale: English.
        {"fi_FI", 1033}, {"C", 1033},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(GetUserDefaultLangID(QLocale(QString::fromLatin1(name))), expected) << name;
}

// Runs this test program again with the locale variables set as given; the child test below
// checks the default language in a process started that way.
TEST(LanguageDefaults, DefaultLanguageFollowsTheEnvironmentLocale)
{
    using Env = std::vector<std::pair<QString, QString>>;
    const std::vector<std::tuple<Env, qint32>> cases = {
        {{{"LANG", "ja_JP.UTF-8"}}, 1041},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "fr_CA.UTF-8"}}, 3084},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "fr_CA.UTF-8"}, {"LC_ALL", "de_AT.UTF-8"}}, 3079},
        {{{"LANG", "C"}}, 1033},
    };
    for (const auto& [variables, expected] : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            environment.remove(QString::fromLatin1(name));
        for (const auto& [name, value] : variables)
            environment.insert(name, value);
        environment.insert(QStringLiteral("KESTRANE_TEST_EXPECTED_LANGUAGE"), QString::number(expected));

        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=LanguageDefaultsChild.*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << expected << "\n" << str(output);
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test."))) << str(output);
    }
}

TEST(LanguageDefaultsChild, DefaultLanguageOfThisProcess)
{
    const QByteArray expected = qgetenv("KESTRANE_TEST_EXPECTED_LANGUAGE");
    if (expected.isEmpty())
        GTEST_SKIP() << "runs only as the child of DefaultLanguageFollowsTheEnvironmentLocale";
    QTemporaryDir folder;
    Languages languages(folder.path(), QStringLiteral("kestrane"));
    languages.InitalizeLanguages();
    EXPECT_EQ(languages.lngLanguageID, expected.toInt());
}

TEST(LanguageCodes, TheTableHoldsExactlyTheKnownCodesInComparisonOrder)
{
    // Code, primary language, sublanguage: identifier = sublanguage * 1024 + primary language.
    const std::vector<std::tuple<const char*, int, int>> expected = {
        {"ARA", 1, 1}, {"ENX", 9, 33}, {"ENU", 9, 1}, {"ENG", 9, 2}, {"ENA", 9, 3}, {"ENC", 9, 4},
        {"ENZ", 9, 5}, {"ENI", 9, 6}, {"DEU", 7, 1}, {"DES", 7, 2}, {"DEA", 7, 3}, {"DEL", 7, 4},
        {"DEC", 7, 5}, {"ESP", 10, 1}, {"ESM", 10, 2}, {"ESN", 10, 3}, {"ESG", 10, 4}, {"ESC", 10, 5},
        {"ESA", 10, 6}, {"ESD", 10, 7}, {"ESV", 10, 8}, {"ESO", 10, 9}, {"ESR", 10, 10}, {"ESS", 10, 11},
        {"ESH", 10, 18}, {"ESI", 10, 19}, {"ESU", 10, 20}, {"FRA", 12, 1}, {"FRB", 12, 2}, {"FRC", 12, 3},
        {"FRS", 12, 4}, {"FRL", 12, 5}, {"ITA", 16, 1}, {"ITS", 16, 2}, {"JPN", 17, 1}, {"NLD", 19, 1},
        {"NLB", 19, 2}, {"NOR", 20, 1}, {"NON", 20, 2}, {"PLK", 21, 1}, {"PTB", 22, 1}, {"PTG", 22, 2},
        {"RUS", 25, 1}, {"CHT", 4, 1}, {"ZHT", 4, 3}, {"CHS", 4, 2}, {"ZHI", 4, 4}, {"CSY", 5, 1},
        {"DAN", 6, 1}, {"HUN", 14, 1}, {"KOR", 18, 1}, {"SVE", 29, 1}, {"ZHH", 4, 3},
    };
    const QList<LanguageCode>& table = languageCodeTable();
    ASSERT_EQ(table.size(), 53);
    for (qsizetype i = 0; i < table.size(); ++i) {
        const auto& [code, primary, sub] = expected[i];
        EXPECT_EQ(str(table[i].code), code) << i;
        EXPECT_EQ(table[i].id, sub * 1024 + primary) << code;
        EXPECT_EQ(GetLanguageIDFromCode(QString::fromLatin1(code)), sub * 1024 + primary) << code;
    }
    EXPECT_EQ(GetLanguageIDFromCode("ENX"), 33801);
    EXPECT_EQ(GetLanguageIDFromCode("ESU"), 20490);
    EXPECT_EQ(GetLanguageIDFromCode("ZHH"), 3076);
}

TEST(LanguageCodes, CodesAreUpperCasedButNotTrimmed)
{
    EXPECT_EQ(GetLanguageIDFromCode("deu"), 1031);
    EXPECT_EQ(GetLanguageIDFromCode("jPn"), 1041);
    EXPECT_EQ(GetLanguageIDFromCode(" DEU"), 1033);
    EXPECT_EQ(GetLanguageIDFromCode("DEU "), 1033);
    EXPECT_EQ(GetLanguageIDFromCode(""), 1033);
    EXPECT_EQ(GetLanguageIDFromCode("XYZ"), 1033);
}

TEST(LanguageCodes, AbbreviationOfAnIdentifier)
{
    EXPECT_EQ(str(GetLocaleAbbreviation(33801)), "ENX");
    EXPECT_EQ(str(GetLocaleAbbreviation(1031)), "DEU");
    EXPECT_EQ(str(GetLocaleAbbreviation(3082)), "ESN");
    EXPECT_EQ(str(GetLocaleAbbreviation(3076)), "ZHT");
    EXPECT_EQ(str(GetLocaleAbbreviation(1035)), "ERR");   // Finnish: not in the table
    EXPECT_EQ(str(GetLocaleAbbreviation(0)), "ERR");
    for (const LanguageCode& row : languageCodeTable()) {
        if (row.code == QLatin1String("ZHH"))
            continue;   // the same identifier as ZHT
        EXPECT_EQ(GetLocaleAbbreviation(row.id), row.code);
    }
}

TEST(LanguageCodes, DisplayNames)
{
    EXPECT_EQ(str(GetLanguageDisplayName(33801)), "English (TDD/TTY)");
    EXPECT_EQ(str(GetLanguageNameFromCode("ENX")), "English (TDD/TTY)");
    EXPECT_EQ(str(GetLanguageNameFromCode("DEU")), "German (Germany)");
    EXPECT_EQ(str(GetLanguageNameFromCode("deu")), "German (Germany)");
    EXPECT_EQ(str(GetLanguageNameFromCode("ENU")), "English (United States)");
    EXPECT_EQ(str(GetLanguageNameFromCode("FRC")), "French (Canada)");
    EXPECT_EQ(str(GetLanguageNameFromCode("JPN")), "Japanese (Japan)");
    EXPECT_EQ(str(GetLanguageNameFromCode("XYZ")), "English (United States)");
    EXPECT_EQ(str(GetLanguageDisplayName(1035)), "(error)");
    EXPECT_EQ(GetLanguageNameFromCode("ZHT"), GetLanguageNameFromCode("ZHH"));

    // Every other identifier has a name of its own, so that a language menu can tell them apart.
    QSet<QString> names;
    for (const LanguageCode& row : languageCodeTable()) {
        if (row.code == QLatin1String("ZHH"))
            continue;
        const QString name = GetLanguageDisplayName(row.id);
        EXPECT_NE(name, QStringLiteral("(error)")) << str(row.code);
        EXPECT_FALSE(names.contains(name)) << str(name);
        names.insert(name);
    }
}

TEST(LanguageLibraryFormat, EntriesEscapesAndLinesThatAreNotEntries)
{
    const QString text = QString::fromUtf8(
        "\xEF\xBB\xBF" "1\tfirst\r\n"           // byte-order mark, Windows line end
        "# 2\tcomment\n"
        "\n"
        "3=  blanks kept  \n"
        "4\tline one\\nline two\\ttab\\\\back\\sslash\\s\n"
        "5\ta = b # not a comment\n"
        "6\tC:\\logs\\x\n"                      // not escapes: the backslashes stay
        " 7\tleading blank before the number\n"
        "8 \tblank after the number\n"
        "x9\tnot a number\n"
        "10\n"
        "11\tfirst\n"
        "11\tsecond\n"
        "12\t\n"
        "99999999999\ttoo big\n"
        "13\ttrailing backslash\\");
    const QHash<int, QString> entries = parseLanguageLibrary(text);

    EXPECT_EQ(str(entries.value(1)), "first");
    EXPECT_FALSE(entries.contains(2));
    EXPECT_EQ(str(entries.value(3)), "  blanks kept  ");
    EXPECT_EQ(str(entries.value(4)), "line one\nline two\ttab\\back slash ");
    EXPECT_EQ(str(entries.value(5)), "a = b # not a comment");
    EXPECT_EQ(str(entries.value(6)), "C:\\logs\\x");
    EXPECT_FALSE(entries.contains(7));
    EXPECT_FALSE(entries.contains(8));
    EXPECT_FALSE(entries.contains(9));
    EXPECT_FALSE(entries.contains(10));
    EXPECT_EQ(str(entries.value(11)), "second");
    EXPECT_TRUE(entries.contains(12));
    EXPECT_TRUE(entries.value(12).isEmpty());
    EXPECT_EQ(str(entries.value(13)), "trailing backslash\\");
    EXPECT_EQ(entries.size(), 8);
}

// The German library shipped with the tool, read where it lies in the source tree.
TEST(ShippedLanguageLibraries, GermanLibraryFollowsTheEnglishTable)
{
    const QString folder = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../resources/lang"));
    QFile file(QDir(folder).filePath(QStringLiteral("kestrane_DEU.lang")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << str(file.fileName());
    const QByteArray bytes = file.readAll();
    const QHash<int, QString> entries = parseLanguageLibrary(QString::fromUtf8(bytes));
    EXPECT_GE(entries.size(), 30);
    EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << "not valid UTF-8";

    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const QString english = resources::englishString(it.key());
        ASSERT_TRUE(resources::hasEnglishString(it.key())) << it.key();
        EXPECT_FALSE(it.value().isEmpty()) << it.key();
        // Texts are joined with numbers and names: their edge blanks must match the English ones.
        EXPECT_EQ(english.startsWith(u' '), it.value().startsWith(u' ')) << it.key();
        EXPECT_EQ(english.endsWith(u' '), it.value().endsWith(u' ')) << it.key();
        EXPECT_EQ(english.endsWith(u'='), it.value().endsWith(u'=')) << it.key();
    }
    // CSV selection files name their extension column with this word: it stays English.
    EXPECT_FALSE(entries.contains(300));

    Languages languages(folder, QStringLiteral("kestrane"));
    languages.lngLanguageID = 1031;
    languages.InitalizeLanguages();
    EXPECT_TRUE(languages.hasLanguageLibrary());
    EXPECT_EQ(str(languages.mymyLoadString(191)), "Weiter >>");
    EXPECT_EQ(languages.mymyLoadString(132), QStringLiteral("Beenden"));
    EXPECT_EQ(str(languages.mymyLoadString(300)), "extension");
}

} // namespace
