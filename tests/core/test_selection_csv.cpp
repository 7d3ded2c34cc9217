#include "core/ExtensionRules.h"
#include "core/SelectionCsv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

SelectionCsvFile readText(const QByteArray& content, const QString& extensionWord = QStringLiteral("extension"))
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("list.csv")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    return readSelectionCsv(file.fileName(), extensionWord);
}

}  // namespace

TEST(SelectionCsv, HeaderFindsTheFirstKeyColumnsTrimmedInAnyCase)
{
    const struct {
        const char* content;
        int failure, alias, extension;
    } cases[] = {
        {"ID, Extension , Alias\r\n1,2,3\r\n", 0, 2, 1},
        {"ALIAS,alias,EXTENSION,extension\n", 0, 0, 2},
        {"alias name,ext\r\nx,1\r\n", 130, -1, -1},   // neither column
        {"", 130, -1, -1},
        {"a\r\nalias\r\n", 130, -1, -1},              // a header of one character
        {"Extension\rjsmith\r", 0, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        const SelectionCsvFile csv = readText(c.content);
        EXPECT_EQ(csv.failure, c.failure);
        EXPECT_EQ(csv.aliasColumn, c.alias);
        EXPECT_EQ(csv.extensionColumn, c.extension);
        if (c.failure) {
            EXPECT_TRUE(csv.dataLines.isEmpty());
        }
    }
    // The extension column is named in the current language.
    EXPECT_EQ(readText("Alias,Nebenstelle\r\n", QStringLiteral("nebenstelle")).extensionColumn, 1);
    EXPECT_EQ(readSelectionCsv(QStringLiteral("/no/such/file.csv"), QStringLiteral("extension")).failure, 131);
    EXPECT_EQ(readSelectionCsv(QString(), QStringLiteral("extension")).failure, 131);
}

TEST(SelectionCsv, DataLinesEndAtEveryKindOfBreakAndKeepTheirBlanks)
{
    const QStringList expected{"a ,1", "", " b,2"};
    for (const char* lineBreak : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(QByteArray(lineBreak).toHex().toStdString());
        const QByteArray content = QByteArray("Alias,Extension") + lineBreak + "a ,1" + lineBreak + lineBreak + " b,2";
        EXPECT_EQ(readText(content).dataLines, expected);
        EXPECT_EQ(readText(content + lineBreak).dataLines, expected);   // a final break adds no line
    }
    // UTF-8 with its byte-order mark, else Latin-1.
    EXPECT_EQ(readText("\xEF\xBB\xBF" "Alias\r\nM\xC3\xBCller\r\n").dataLines, QStringList{QStringLiteral("M\u00FCller")});
    EXPECT_EQ(readText("Alias\r\nM\xFCller\r\n").dataLines, QStringList{QStringLiteral("M\u00FCller")});
}

TEST(SelectionCsv, NumbersMayHaveBlanksAround)
{
    for (const char* number : {"1234", " 1234 ", "-5", "1.5e3", ".5"})
        EXPECT_TRUE(isCsvNumber(number)) << number;
    for (const char* other : {"", " ", "12a", "a12", "1 2", "&H10"})
        EXPECT_FALSE(isCsvNumber(other)) << other;
}

TEST(SelectionChecks, ExtensionRangeAndCountForm)
{
    const struct {
        const char* low;
        const char* high;
        int message;
    } ranges[] = {
        {"100", "100", 0}, {" 40", "50 ", 0}, {"0", "0", 0},   {"", "5", 169},   {"5", "", 169},
        {"a1", "5", 169},  {"-5", "10", 168}, {"10", "-1", 168}, {"200", "100", 168}, {"-5", "x", 169},
    };
    for (const auto& r : ranges) {
        const ExtensionRangeCheck check = checkExtensionRange(r.low, r.high);
        EXPECT_EQ(check.message, r.message) << r.low << " to " << r.high;
        if (!r.message) {
            EXPECT_EQ(check.low, QString(r.low).trimmed().toDouble());
            EXPECT_EQ(check.high, QString(r.high).trimmed().toDouble());
        }
    }
    EXPECT_EQ(signedCount(0), " 0");
    EXPECT_EQ(signedCount(40000), " 40000");
    EXPECT_EQ(signedCount(-3), "-3");
}
