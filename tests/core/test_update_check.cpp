#include "core/UpdateCheck.h"
#include "tests/support/QtPrinters.h"

#include "tests/support/LocalHttpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString homePath = QStringLiteral("/Applications/Velmo/Kestrane/Kestrane.html");
const QString marker = QStringLiteral("^/Applications/Velmo/Kestrane/Kestrane.html^ifram_a");
const QString padError = QStringLiteral(
    "(error):5 (Invalid procedure call or argument) in procedure PadVersionString of Module modUpdateCheck");

// A tool list with one entry for this tool publishing `version` among entries of other tools.
QByteArray toolList(const QByteArray& version)
{
    return "<list><row><cell>Other^/Applications/Other/Other.html^ifram_a</cell><cell>9.9.9</cell></row>\n"
           "<row><cell>^/Applications/Velmo/Kestrane/Kestrane.html^ifram_a</cell><cell>"
           + version + "</cell></row></list>\n";
}

class Messages {
public:
    MessageSink sink() { return [this](const QString& text) { texts << text; }; }
    QStringList texts;
};

} // namespace

TEST(PadVersionString, WidensEveryPartToFourDigits)
{
    Messages messages;
    EXPECT_EQ(PadVersionString("4.0.117", messages.sink()), "0004.0000.0117");
    EXPECT_EQ(PadVersionString("10.0.1", messages.sink()), "0010.0000.0001");
    EXPECT_EQ(PadVersionString("12345.1.0", messages.sink()), "12345.0001.0000");
    EXPECT_EQ(PadVersionString("007.00.1", messages.sink()), "0007.0000.0001");
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(PadVersionString, PaddedVersionsSortByNumber)
{
    const MessageSink none;
    EXPECT_LT(PadVersionString("4.0.117", none), PadVersionString("4.0.118", none));
    EXPECT_LT(PadVersionString("9.5.3", none), PadVersionString("10.0.1", none));
    EXPECT_LT(PadVersionString("4.0.99", none), PadVersionString("4.0.100", none));
}

TEST(PadVersionString, ShortTextsGiveNothingAndTextsWithoutPointsTellTheError)
{
    Messages messages;
    EXPECT_EQ(PadVersionString("4.0", messages.sink()), "");
    EXPECT_EQ(PadVersionString("", messages.sink()), "");
    EXPECT_TRUE(messages.texts.isEmpty());

    EXPECT_EQ(PadVersionString("4000", messages.sink()), "");
    EXPECT_EQ(messages.texts, QStringList{padError});
}

TEST(ToolsSite, AddressesAreSplitAfterSchemeAndHost)
{
    EXPECT_EQ(siteOfAddress("http://tools.brennhal.example/Applications/Velmo/Kestrane/Kestrane.html"),
              "http://tools.brennhal.example");
    EXPECT_EQ(pathOfAddress("http://127.0.0.1:8080/Applications/Velmo/Kestrane/Kestrane.html"), homePath);
    EXPECT_EQ(pathOfAddress("http://tools.brennhal.example"), "");
    EXPECT_EQ(homePageAddress("http://h.example"), "http://h.example" + homePath);
}

TEST(ToolsSite, EnvironmentOverridesTheDefaultSite)
{
    const QByteArray saved = qgetenv("KESTRANE_TOOLS_SITE");
    qunsetenv("KESTRANE_TOOLS_SITE");
    EXPECT_EQ(toolsSiteAddress(), "http://tools.brennhal.example");
    qputenv("KESTRANE_TOOLS_SITE", " http://127.0.0.1:8080/ ");
    EXPECT_EQ(toolsSiteAddress(), "http://127.0.0.1:8080");
    EXPECT_EQ(homePageAddress(), "http://127.0.0.1:8080" + homePath);
    if (saved.isNull())
        qunsetenv("KESTRANE_TOOLS_SITE");
    else
        qputenv("KESTRANE_TOOLS_SITE", saved);
}

TEST(PublishedVersionInList, ReadsTheFirstCellAfterTheMarker)
{
    Messages messages;
    const QString home = "http://tools.brennhal.example" + homePath;
    EXPECT_EQ(publishedVersionInList(QString::fromUtf8(toolList("4.0.118")), home, {}, messages.sink()),
              "0004.0000.0118");
    // Marker and cell tag in any letter case; the digits stop at the first other character.
    EXPECT_EQ(publishedVersionInList("xx ^/APPLICATIONS/velmo/Kestrane/KESTRANE.HTML^IFRAM_A <CELL>4.0.118a</CELL>",
                                     home, {}, messages.sink()),
              "0004.0000.0118");
    // A cell before the marker belongs to another entry.
    EXPECT_EQ(publishedVersionInList("<cell>9.9.9</cell>" + marker + "<cell>4.1.2</cell>", home, {}, messages.sink()),
              "0004.0001.0002");
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(PublishedVersionInList, ToolNameOfTwoOrMoreCharactersIsPartOfTheMarker)
{
    const QString home = "http://tools.brennhal.example" + homePath;
    const QString list = "Other" + marker + "<cell>5.0.1</cell> Kestrane" + marker + "<cell>4.0.9</cell>";
    EXPECT_EQ(publishedVersionInList(list, home, "kestrane", {}), "0004.0000.0009");
    EXPECT_EQ(publishedVersionInList(list, home, "K", {}), "0005.0000.0001");   // name ignored
    EXPECT_EQ(publishedVersionInList(list, home, "Missing", {}), "");
}

TEST(PublishedVersionInList, ListsWithoutAUsableEntryGiveNothing)
{
    Messages messages;
    const QString home = "http://tools.brennhal.example" + homePath;
    EXPECT_EQ(publishedVersionInList("<cell>4.0.1", home, {}, messages.sink()), "");        // under 10 characters
    EXPECT_EQ(publishedVersionInList("<cell>4.0.118</cell> no entry", home, {}, messages.sink()), "");
    EXPECT_EQ(publishedVersionInList("<cell>4.0.118</cell>" + marker + " no cell", home, {}, messages.sink()), "");
    EXPECT_EQ(publishedVersionInList(marker + "<cell>4.0</cell>", home, {}, messages.sink()), "");
    EXPECT_EQ(publishedVersionInList(marker + "<cell>beta</cell>", home, {}, messages.sink()), "");
    EXPECT_TRUE(messages.texts.isEmpty());

    EXPECT_EQ(publishedVersionInList(marker + "<cell>4000</cell>", home, {}, messages.sink()), "");
    EXPECT_EQ(messages.texts, QStringList{padError});
}

TEST(GetPublishedVersion, DownloadsTheToolListOfTheHomePagesSite)
{
    LocalHttpServer server(toolList("4.0.118"));
    ASSERT_TRUE(server.isListening());
    EXPECT_EQ(GetPublishedVersion(server.site() + homePath, {}, {}), "0004.0000.0118");
    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray request = server.requests().first();
    EXPECT_TRUE(request.startsWith("GET /SiteList/AllDownloads/AllDownloads.XML HTTP/1.1\r\n")) << request.constData();
    EXPECT_TRUE(request.toLower().contains("user-agent: http generic")) << request.constData();
}

TEST(GetPublishedVersion, ReadsTheWholeBodyWhateverItHoldsBeforeTheEntry)
{
    // Long runs of blanks and a body far beyond one read buffer do not end the download early.
    const QByteArray padding = QByteArray(3000, ' ') + QByteArray(5000, 'x') + QByteArray(2000, ' ');
    LocalHttpServer server(padding + toolList("4.2.7"));
    EXPECT_EQ(GetPublishedVersion(server.site() + homePath, {}, {}), "0004.0002.0007");
}

TEST(GetPublishedVersion, UnreachableOrFailingSitesGiveNothing)
{
    LocalHttpServer wrongPath(toolList("4.0.118"), LocalHttpServer::Mode::Answer, "/elsewhere.xml");
    EXPECT_EQ(GetPublishedVersion(wrongPath.site() + homePath, {}, {}), "");   // 404 page
    EXPECT_EQ(wrongPath.requests().size(), 1);

    EXPECT_EQ(GetPublishedVersion(LocalHttpServer::closedSite() + homePath, {}, {}), "");

    LocalHttpServer unused(toolList("4.0.118"));
    EXPECT_EQ(GetPublishedVersion(unused.site(), {}, {}), "");   // no home page path: nothing asked
    EXPECT_TRUE(unused.requests().isEmpty());
}

TEST(DownloadUrlText, ASiteThatNeverAnswersTimesOut)
{
    LocalHttpServer silent("never sent", LocalHttpServer::Mode::NeverAnswer);
    const QString address = silent.site() + "/SiteList/AllDownloads/AllDownloads.XML";
    EXPECT_EQ(DownloadUrlText(address, 200), "");
    EXPECT_EQ(silent.requests().size(), 1);   // it was asked, and the wait ended anyway

    LocalHttpServer answering("the body");
    EXPECT_EQ(DownloadUrlText(answering.site() + "/SiteList/AllDownloads/AllDownloads.XML", 5000), "the body");
}

class RunBatchCommandTest : public ::testing::Test {
protected:
    QTemporaryDir programFolder;
    const ToolVersion version{4, 0, 1};

    QString path(const QString& name) const { return QDir(programFolder.path()).filePath(name); }

    // A test.bat (not executable: it is run through /bin/sh) that writes one line per argument.
    void writeBatchFile()
    {
        QFile batch(path("test.bat"));
        ASSERT_TRUE(batch.open(QIODevice::WriteOnly));
        batch.write("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.tmp && mv args.tmp args.txt\n");
    }

    // The arguments the batch file received, once it has written them.
    QStringList receivedArguments()
    {
        const QDeadlineTimer deadline(10000);
        while (!QFile::exists(path("args.txt")) && !deadline.hasExpired())
            QTest::qWait(20);
        QFile file(path("args.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {"<batch file did not run>"};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(RunBatchCommandTest, PassesTheVersionAndTheArgumentsEachWhole)
{
    writeBatchFile();
    RunBatchCommand("http://tools.brennhal.example" + homePath, "a second argument", version, programFolder.path());
    EXPECT_EQ(receivedArguments(),
              QStringList({"4.0.1", "http://tools.brennhal.example" + homePath, "a second argument"}));
}

TEST_F(RunBatchCommandTest, ASecondArgumentShorterThanTwoCharactersIsLeftOut)
{
    writeBatchFile();
    RunBatchCommand("first with blanks", "x", version, programFolder.path());
    EXPECT_EQ(receivedArguments(), QStringList({"4.0.1", "first with blanks"}));
}

TEST(DownloadUrlText, GoesThroughTheSystemProxyExceptForThisMachine)
{
    const QByteArray saved = qgetenv("http_proxy");
    LocalHttpServer proxy("through the proxy", LocalHttpServer::Mode::Answer,
                          "http://tools.brennhal.example/SiteList/AllDownloads/AllDownloads.XML");
    LocalHttpServer direct("direct");
    qputenv("http_proxy", proxy.site().toUtf8());

    EXPECT_EQ(DownloadUrlText("http://tools.brennhal.example/SiteList/AllDownloads/AllDownloads.XML", 5000),
              "through the proxy");
    EXPECT_EQ(DownloadUrlText(direct.site() + "/SiteList/AllDownloads/AllDownloads.XML", 5000), "direct");
    EXPECT_EQ(proxy.requests().size(), 1);

    if (saved.isNull())
        qunsetenv("http_proxy");
    else
        qputenv("http_proxy", saved);
}
