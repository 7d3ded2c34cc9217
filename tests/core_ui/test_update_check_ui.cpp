#include "core/ui/UpdateCheckUi.h"
#include "tests/support/QtPrinters.h"

#include "tests/support/LocalHttpServer.h"

#include <QApplication>
#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString homePath = QStringLiteral("/Applications/Velmo/Kestrane/Kestrane.html");
const QString upToDate = QStringLiteral("You have the most up to date version of this tool installed");

QByteArray toolList(const QByteArray& version)
{
    return "<table><row><cell>^/Applications/Velmo/Kestrane/Kestrane.html^ifram_a</cell><cell>" + version
           + "</cell></row></table>";
}

QString unreachable(const QString& site)
{
    return "Unable to contact application home page to check for version.  You can access the home page and "
           "check for updated versions of all Dravo Velmo tools by going to "
           + site;
}

class UpdateCheckUiTest : public ::testing::Test {
protected:
    MessageBoxService messages;
    QList<MessageBoxService::Request> shown;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    QStringList openedPages;

    UpdateCheckUiTest()
    {
        messages.setAnswerer([this](const MessageBoxService::Request& request) {
            shown << request;
            return request.buttons.testFlag(answer) ? answer : QMessageBox::Ok;
        });
    }

    // Runs the check against a site publishing `published`, for a tool of version `own`.
    void check(const QString& site, const ToolVersion& own, int timeoutMs = 5000)
    {
        checkForUpdatedVersion_Foreground(site + homePath, QString(), own, messages, nullptr,
                                          [this](const QString& address) { openedPages << address; }, timeoutMs);
    }

    QStringList texts() const
    {
        QStringList result;
        for (const auto& request : shown)
            result << request.text;
        return result;
    }
};

} // namespace

TEST_F(UpdateCheckUiTest, EqualOrLowerPublishedVersionsAreUpToDate)
{
    LocalHttpServer equal(toolList("4.0.117"));
    check(equal.site(), {4, 0, 117});
    LocalHttpServer lower(toolList("4.0.99"));
    check(lower.site(), {4, 0, 117});

    EXPECT_EQ(texts(), QStringList({upToDate, upToDate}));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(shown[0].title, QApplication::applicationName());
    EXPECT_TRUE(openedPages.isEmpty());
}

TEST_F(UpdateCheckUiTest, NewerVersionIsOfferedAndOkOpensTheHomePage)
{
    LocalHttpServer server(toolList("4.0.118"));
    check(server.site(), {4, 0, 117});

    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "An updated version of this tool is available on " + server.site()
                                 + ".  Click OK to open the application home page now");
    EXPECT_EQ(shown[0].title, "Updated version is available");
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(openedPages, QStringList{server.site() + homePath});
}

TEST_F(UpdateCheckUiTest, CancelLeavesTheHomePageClosed)
{
    answer = QMessageBox::Cancel;
    LocalHttpServer server(toolList("10.0.1"));   // 10.0.1 is newer than 9.5.3, not older
    check(server.site(), {9, 5, 3});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].title, "Updated version is available");
    EXPECT_TRUE(openedPages.isEmpty());
}

TEST_F(UpdateCheckUiTest, NoUsableVersionOrNoSiteGivesTheUnreachableMessage)
{
    LocalHttpServer tooShort(toolList("4.0"));
    check(tooShort.site(), {4, 0, 1});
    const QString closed = LocalHttpServer::closedSite();
    check(closed, {4, 0, 1});
    LocalHttpServer silent("", LocalHttpServer::Mode::NeverAnswer);
    check(silent.site(), {4, 0, 1}, 200);

    EXPECT_EQ(texts(), QStringList({unreachable(tooShort.site()), unreachable(closed), unreachable(silent.site())}));
    EXPECT_TRUE(openedPages.isEmpty());
}

TEST_F(UpdateCheckUiTest, VersionWithoutPointsTellsTheErrorThenTheUnreachableMessage)
{
    LocalHttpServer server(toolList("4000"));
    check(server.site(), {4, 0, 1});
    EXPECT_EQ(texts(), QStringList({"(error):5 (Invalid procedure call or argument) in procedure PadVersionString "
                                    "of Module modUpdateCheck",
                                    unreachable(server.site())}));
}
