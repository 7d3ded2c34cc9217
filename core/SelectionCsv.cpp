#include "core/SelectionCsv.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

QString decodeCsvText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QStringList splitCsvLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

bool isCsvNumber(const QString& field)
{
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    return number.match(field.trimmed()).hasMatch();
}

SelectionCsvFile readSelectionCsv(const QString& path, const QString& extensionWord)
{
    SelectionCsvFile csv;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        csv.failure = 131;
        return csv;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        csv.failure = 131;
        return csv;
    }
    QStringList lines = splitCsvLines(decodeCsvText(bytes));
    if (lines.isEmpty() || lines.first().size() < 2) {
        csv.failure = 130;
        return csv;
    }
    const QStringList header = lines.takeFirst().split(u',');
    for (int column = 0; column < header.size(); ++column) {
        const QString name = header[column].trimmed();
        if (csv.aliasColumn < 0 && name.compare(QLatin1String("alias"), Qt::CaseInsensitive) == 0)
            csv.aliasColumn = column;
        if (csv.extensionColumn < 0 && name.compare(extensionWord, Qt::CaseInsensitive) == 0)
            csv.extensionColumn = column;
    }
    if (csv.aliasColumn < 0 && csv.extensionColumn < 0) {
        csv.failure = 130;
        return csv;
    }
    csv.dataLines = std::move(lines);
    return csv;
}
