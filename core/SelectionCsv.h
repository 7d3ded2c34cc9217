#pragma once
// The CSV files of the selection pages: a header line naming an alias column and/or an
// extension column, then one object per line. Fields are separated by "," with no quoting (a
// quote is part of the value); lines end at CR LF, CR or LF. The readers of the subscriber and
// the call handler page share the reading of the file and of its header; each looks its lines
// up in its own way.
#include <QString>
#include <QStringList>

// The text of a file's bytes: UTF-8 (a byte-order mark is skipped), else Latin-1, the nearest to
// a Windows ANSI file.
QString decodeCsvText(const QByteArray& bytes);

// Lines end at CR LF, CR or LF; a break at the very end starts no further line.
QStringList splitCsvLines(const QString& text);

// A decimal number with blanks around it allowed: "1234", " 1234 ", "-5", "1.5e3".
bool isCsvNumber(const QString& field);

struct SelectionCsvFile {
    // Resource string of the message that ends the reading before the data lines: 131 the file
    // cannot be opened or read, 130 it is empty, its header is shorter than 2 characters or
    // names neither key column. 0 when the file can be read.
    int failure = 0;
    QStringList dataLines;       // every line after the header
    int aliasColumn = -1;        // position of the first column named "alias"; -1 when none
    int extensionColumn = -1;    // of the first column named `extensionWord`; -1 when none
};

// Reads the file at `path`. Header names are trimmed and compared without regard to case with
// "alias" and with `extensionWord` (resource string 300 of the current language).
SelectionCsvFile readSelectionCsv(const QString& path, const QString& extensionWord);
