#include "core/Languages.h"

#include "resources/EnglishStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

struct LanguageRow {
    const char* code;
    qint32 id;
    QLocale::Language language;
    QLocale::Territory territory;
    // Added to the display name where two identifiers share a language and country.
    const char* nameNote;
    // False where the identifier is never the default of a locale (a second identifier for the
    // same locale, or no locale at all).
    bool localeDefault;
};

using L = QLocale;

// In the order of comparison. Identifier = sublanguage * 1024 + primary language.
constexpr LanguageRow kLanguageRows[] = {
    {"ARA", 1025, L::Arabic, L::SaudiArabia, nullptr, true},
    {"ENX", 33801, L::English, L::UnitedStates, nullptr, false},
    {"ENU", 1033, L::English, L::UnitedStates, nullptr, true},
    {"ENG", 2057, L::English, L::UnitedKingdom, nullptr, true},
    {"ENA", 3081, L::English, L::Australia, nullptr, true},
    {"ENC", 4105, L::English, L::Canada, nullptr, true},
    {"ENZ", 5129, L::English, L::NewZealand, nullptr, true},
    {"ENI", 6153, L::English, L::Ireland, nullptr, true},
    {"DEU", 1031, L::German, L::Germany, nullptr, true},
    {"DES", 2055, L::German, L::Switzerland, nullptr, true},
    {"DEA", 3079, L::German, L::Austria, nullptr, true},
    {"DEL", 4103, L::German, L::Luxembourg, nullptr, true},
    {"DEC", 5127, L::German, L::Liechtenstein, nullptr, true},
    {"ESP", 1034, L::Spanish, L::Spain, "Traditional Sort", false},
    {"ESM", 2058, L::Spanish, L::Mexico, nullptr, true},
    {"ESN", 3082, L::Spanish, L::Spain, "International Sort", true},
    {"ESG", 4106, L::Spanish, L::Guatemala, nullptr, true},
    {"ESC", 5130, L::Spanish, L::CostaRica, nullptr, true},
    {"ESA", 6154, L::Spanish, L::Panama, nullptr, true},
    {"ESD", 7178, L::Spanish, L::DominicanRepublic, nullptr, true},
    {"ESV", 8202, L::Spanish, L::Venezuela, nullptr, true},
    {"ESO", 9226, L::Spanish, L::Colombia, nullptr, true},
    {"ESR", 10250, L::Spanish, L::Peru, nullptr, true},
    {"ESS", 11274, L::Spanish, L::Argentina, nullptr, true},
    {"ESH", 18442, L::Spanish, L::Honduras, nullptr, true},
    {"ESI", 19466, L::Spanish, L::Nicaragua, nullptr, true},
    {"ESU", 20490, L::Spanish, L::PuertoRico, nullptr, true},
    {"FRA", 1036, L::French, L::France, nullptr, true},
    {"FRB", 2060, L::French, L::Belgium, nullptr, true},
    {"FRC", 3084, L::French, L::Canada, nullptr, true},
    {"FRS", 4108, L::French, L::Switzerland, nullptr, true},
    {"FRL", 5132, L::French, L::Luxembourg, nullptr, true},
    {"ITA", 1040, L::Italian, L::Italy, nullptr, true},
    {"ITS", 2064, L::Italian, L::Switzerland, nullptr, true},
    {"JPN", 1041, L::Japanese, L::Japan, nullptr, true},
    {"NLD", 1043, L::Dutch, L::Netherlands, nullptr, true},
    {"NLB", 2067, L::Dutch, L::Belgium, nullptr, true},
    {"NOR", 1044, L::NorwegianBokmal, L::Norway, nullptr, true},
    {"NON", 2068, L::NorwegianNynorsk, L::Norway, nullptr, true},
    {"PLK", 1045, L::Polish, L::Poland, nullptr, true},
    {"PTB", 1046, L::Portuguese, L::Brazil, nullptr, true},
    {"PTG", 2070, L::Portuguese, L::Portugal, nullptr, true},
    {"RUS", 1049, L::Russian, L::Russia, nullptr, true},
    {"CHT", 1028, L::Chinese, L::Taiwan, nullptr, true},
    {"ZHT", 3076, L::Chinese, L::HongKong, nullptr, true},
    {"CHS", 2052, L::Chinese, L::China, nullptr, true},
    {"ZHI", 4100, L::Chinese, L::Singapore, nullptr, true},
    {"CSY", 1029, L::Czech, L::Czechia, nullptr, true},
    {"DAN", 1030, L::Danish, L::Denmark, nullptr, true},
    {"HUN", 1038, L::Hungarian, L::Hungary, nullptr, true},
    {"KOR", 1042, L::Korean, L::SouthKorea, nullptr, true},
    {"SVE", 1053, L::Swedish, L::Sweden, nullptr, true},
    {"ZHH", 3076, L::Chinese, L::HongKong, nullptr, false},
};

const LanguageRow* rowOfID(qint32 languageID)
{
    for (const LanguageRow& row : kLanguageRows)
        if (row.id == languageID)
            return &row;
    return nullptr;
}

const QString kLibraryEnding = QStringLiteral(".lang");
constexpr int kCodeLength = 3;

QString unescape(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            result += c;
            continue;
        }
        switch (text[i + 1].unicode()) {
        case u'n': result += u'\n'; break;
        case u't': result += u'\t'; break;
        case u's': result += u' '; break;
        case u'\\': result += u'\\'; break;
        default: result += c; continue;   // not an escape: keep the backslash, read on normally
        }
        ++i;
    }
    return result;
}

// Cuts a library text to the longest length a look-up returns, without leaving half of a
// surrogate pair at its end.
QString cutToLookUpLength(const QString& text)
{
    if (text.size() <= kMaxResourceStringLength)
        return text;
    QString cut = text.left(kMaxResourceStringLength);
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

} // namespace

const QList<LanguageCode>& languageCodeTable()
{
    static const QList<LanguageCode> table = [] {
        QList<LanguageCode> rows;
        for (const LanguageRow& row : kLanguageRows)
            rows.append({QString::fromLatin1(row.code), row.id});
        return rows;
    }();
    return table;
}

qint32 GetLanguageIDFromCode(const QString& code)
{
    const QString upper = code.toUpper();
    for (const LanguageRow& row : kLanguageRows)
        if (upper == QLatin1String(row.code))
            return row.id;
    return LanguageID::EnglishUnitedStates;
}

QString GetLocaleAbbreviation(qint32 languageID)
{
    const LanguageRow* row = rowOfID(languageID);
    return row ? QString::fromLatin1(row->code) : QStringLiteral("ERR");
}

QString GetLanguageDisplayName(qint32 languageID)
{
    if (languageID == LanguageID::EnglishTddTty)
        return QStringLiteral("English (TDD/TTY)");
    const LanguageRow* row = rowOfID(languageID);
    if (!row)
        return QStringLiteral("(error)");
    QString where = QLocale::territoryToString(row->territory);
    if (row->nameNote)
        where += QStringLiteral(", ") + QLatin1String(row->nameNote);
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(row->language), where);
}

QString GetLanguageNameFromCode(const QString& code)
{
    return GetLanguageDisplayName(GetLanguageIDFromCode(code));
}

qint32 GetUserDefaultLangID(const QLocale& locale)
{
    for (const LanguageRow& row : kLanguageRows)
        if (row.localeDefault && row.language == locale.language() && row.territory == locale.territory())
            return row.id;
    // A country the table lacks (en_IN, zh_MO): the first identifier of the language in the same
    // script.
    for (const LanguageRow& row : kLanguageRows)
        if (row.localeDefault && row.language == locale.language()
            && QLocale(row.language, row.territory).script() == locale.script())
            return row.id;
    return LanguageID::EnglishUnitedStates;
}

QHash<int, QString> parseLanguageLibrary(const QString& text)
{
    QHash<int, QString> entries;
    QStringView rest(text);
    if (rest.startsWith(QChar(0xFEFF)))
        rest = rest.mid(1);
    for (QStringView line : rest.tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        qsizetype digits = 0;
        while (digits < line.size() && line[digits] >= u'0' && line[digits] <= u'9')
            ++digits;
        if (digits == 0 || digits == line.size() || (line[digits] != u'\t' && line[digits] != u'='))
            continue;   // comment, empty line or not an entry
        bool ok = false;
        const int number = line.left(digits).toInt(&ok);
        if (ok)
            entries.insert(number, unescape(line.mid(digits + 1)));
    }
    return entries;
}

Languages::Languages(const QString& programFolder, const QString& programName)
    : m_programFolder(programFolder), m_programName(programName)
{
}

QString Languages::programFolder() const
{
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

QString Languages::programName() const
{
    return m_programName.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                   : m_programName;
}

QString Languages::mymyLoadString(int number) const
{
    const QString text = m_library.value(number);
    if (!text.isEmpty())
        return cutToLookUpLength(text);
    if (resources::hasEnglishString(number))
        return resources::englishString(number);
    tell(m_messages, QStringLiteral("error in mymyLoadString: Resource with identifier '%1' not found").arg(number));
    return {};
}

StringLookup Languages::stringLookup() const
{
    return [this](int number) { return mymyLoadString(number); };
}

void Languages::InitalizeLanguages()
{
    if (lngLanguageID == 0)
        lngLanguageID = GetUserDefaultLangID(m_userLocale);
    m_library.clear();
    m_libraryFile.clear();
    m_languageCodes.clear();

    const QString code = GetLocaleAbbreviation(lngLanguageID);
    const QString prefix = programName() + u'_';
    const QDir folder(programFolder());
    if (!folder.exists() || !folder.isReadable())
        tell(m_messages, QStringLiteral("Error in InitalizeLanguages: Path not found: %1").arg(folder.path()));

    // A library is named program + "_" + code + ".lang", in any letter case. Of several names for
    // the current language the first in name order is loaded.
    const QFileInfoList files = folder.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        const QString name = file.fileName();
        if (name.size() != prefix.size() + kCodeLength + kLibraryEnding.size()
            || !name.startsWith(prefix, Qt::CaseInsensitive) || !name.endsWith(kLibraryEnding, Qt::CaseInsensitive))
            continue;
        const QString fileCode = name.mid(prefix.size(), kCodeLength);
        m_languageCodes.append(fileCode);
        if (!m_libraryFile.isEmpty() || fileCode.compare(code, Qt::CaseInsensitive) != 0)
            continue;
        QFile library(file.filePath());
        if (library.open(QIODevice::ReadOnly)) {   // unreadable: no library, English throughout
            m_library = parseLanguageLibrary(QString::fromUtf8(library.readAll()));
            m_libraryFile = file.filePath();
        }
    }
    if (m_languageCodes.isEmpty())
        m_languageCodes.append(QString());

    if (m_formFontHook)
        m_formFontHook();
}
