#pragma once
// The language of the user interface: the current language, its language library, the look-up of
// resource strings by number, and the translation between language identifiers, three-letter
// language codes and display names.
//
// Language identifiers are 16-bit language identifiers in the usual form
// sublanguage * 1024 + primary language (1033 English, United States; 1031 German, Germany).
//
// Language libraries
// ------------------
// A language library is a file in the program's folder named after the program file, "_", the
// three-letter code of its language and ".lang": kestrane_DEU.lang for German beside the program
// `kestrane`. Letter case does not matter in any part of the name (kestrane_deu.LANG is the same
// library); a name that goes on after ".lang" (kestrane_DEU.lang.bak) is not a library.
//
// The file is UTF-8 text (a leading byte-order mark is allowed), one entry per line:
//
//     # German captions of the start page
//     191<TAB>Weiter >>
//     18=<< Zurück
//     0=\sBuild
//
// - An entry is the string number in decimal digits, directly followed by a TAB or "=", then the
//   text up to the end of the line. The text is taken exactly as it stands: blanks at its start
//   and end belong to it (many texts are joined with numbers and names into longer messages).
// - Escapes in the text: \n new line, \t TAB, \\ backslash, \s blank (to make a leading or
//   trailing blank visible). A backslash before any other character stays as it is.
// - Empty lines and lines whose first character is "#" are ignored, and so is any other line that
//   is not an entry. A number given twice keeps its last text.
// - Numbers are those of the program's English table (0 to 565). A number missing from the
//   library, or given an empty text, is shown in English. Texts longer than 1199 characters are
//   cut to 1199 characters when they are looked up.
#include "core/Messages.h"
#include "core/StringLookup.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace LanguageID {
constexpr qint32 EnglishUnitedStates = 1033;
constexpr qint32 EnglishTddTty = 33801;   // the English variant with the code "ENX"
}

// Longest text a look-up returns; longer library texts are cut to this length.
constexpr int kMaxResourceStringLength = 1199;

// One row of the language code table.
struct LanguageCode {
    QString code;   // three upper-case letters
    qint32 id;      // language identifier
};

// The 53 codes the tool knows, in the order in which GetLanguageIDFromCode compares them.
const QList<LanguageCode>& languageCodeTable();

// Identifier of a three-letter code: the code upper-cased (not trimmed) and compared with the
// table; 1033 when it is not there.
qint32 GetLanguageIDFromCode(const QString& code);
// Three-letter code of an identifier: "ENX" for 33801, the first code of the table with that
// identifier (3076 gives "ZHT"), "ERR" for an identifier outside the table.
QString GetLocaleAbbreviation(qint32 languageID);
// Display name of an identifier, from Qt's locale data: "German (Germany)". "English (TDD/TTY)"
// for 33801, "(error)" for an identifier outside the table.
QString GetLanguageDisplayName(qint32 languageID);
// GetLanguageDisplayName of GetLanguageIDFromCode of the code.
QString GetLanguageNameFromCode(const QString& code);
// The user's default language for a locale: the table's identifier for its language and country,
// else for its language (and script), else 1033.
qint32 GetUserDefaultLangID(const QLocale& locale);

// The entries of a language library's text (format above): string number to text.
QHash<int, QString> parseLanguageLibrary(const QString& text);

class Languages {
public:
    // The program's folder and file name come from the running application.
    Languages() = default;
    // A given program folder and program file name (tests, or a program installed elsewhere).
    Languages(const QString& programFolder, const QString& programName);
    // Look-ups and hooks handed out keep the address of this object.
    Languages(const Languages&) = delete;
    Languages& operator=(const Languages&) = delete;

    // The text of a resource string: from the current language library, else from the English
    // table. A number found nowhere tells "error in mymyLoadString: ..." and gives the empty text.
    QString mymyLoadString(int number) const;
    // mymyLoadString as a plain function, for helpers that take a string look-up.
    StringLookup stringLookup() const;

    // Sets lngLanguageID to the user's default language when it is still 0, loads the library of
    // lngLanguageID (dropping the previous one), lists the libraries of the program folder into
    // strLanguageCodes and runs the form-font hook.
    void InitalizeLanguages();

    // The current language; 0 until the first InitalizeLanguages. The About box's language menu
    // sets it before it calls InitalizeLanguages again. It is never stored.
    qint32 lngLanguageID = 0;

    // Codes of the libraries in the program folder, as written in their file names and in the
    // order of their names; one empty element when there is none.
    const QStringList& strLanguageCodes() const { return m_languageCodes; }
    // True when a library of the current language is loaded (hLanguageLibrary not 0).
    bool hasLanguageLibrary() const { return !m_libraryFile.isEmpty(); }
    // Path of the loaded library; empty when none is loaded.
    const QString& languageLibraryFile() const { return m_libraryFile; }

    QString programFolder() const;
    QString programName() const;

    // Where the messages of mymyLoadString and InitalizeLanguages go (the message-box service).
    void setMessageSink(MessageSink sink) { m_messages = std::move(sink); }
    // Run at the end of every InitalizeLanguages: the user interface sets the language's fonts on
    // every loaded form here.
    void setFormFontHook(std::function<void()> hook) { m_formFontHook = std::move(hook); }
    // The locale whose language becomes the default; QLocale::system() unless set (tests).
    void setUserLocale(const QLocale& locale) { m_userLocale = locale; }

private:
    QString m_programFolder;
    QString m_programName;
    QLocale m_userLocale = QLocale::system();
    MessageSink m_messages;
    std::function<void()> m_formFontHook;

    QHash<int, QString> m_library;
    QString m_libraryFile;
    QStringList m_languageCodes;
};
