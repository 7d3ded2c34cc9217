#include "core/ui/frmAbout.h"
#include "core/ui/frmMain.h"
#include "core/ui/WizardContext.h"
#include "tests/support/widgets/PageHarness.h"
#include "velmo/ServerStandIns.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QMenu>
#include <gtest/gtest.h>

#include <functional>

namespace {

velmo::InstallationOptions server(int major, int minor, int release, int build)
{
    return TempInstallation::smallServer(major, minor, release, build);
}

TEST(StartUp, OldServerIsRefusedBeforeTheDatabaseIsOpened)
{
    WizardRun start(server(3, 0, 1, 10));
    QFile::remove(start.installation.installation().databaseFile());   // would give message 135
    EXPECT_FALSE(start.startPage().Form_Load());
    ASSERT_EQ(start.shown.size(), 1);
    EXPECT_TRUE(start.shown[0].startsWith("This version of Kestrane only works with Velmo 4.0(1) and later."));
    EXPECT_EQ(start.endedWith, 1);
    EXPECT_FALSE(start.session.database.isOpen());
}

// Runs the start page's load with stderr captured. True when the page is to be shown.
bool loadCapturingStderr(WizardRun& run, QString& written)
{
    ::testing::internal::CaptureStderr();
    const bool started = run.startPage().Form_Load();
    written = QString::fromStdString(::testing::internal::GetCapturedStderr());
    return started;
}

// Sets an environment variable for the life of the guard.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const QByteArray& value) : m_name(name) { qputenv(name, value); }
    ~EnvironmentGuard() { qunsetenv(m_name); }

private:
    const char* m_name;
};

TEST(StartUp, ADatabaseThatCannotBeReadIsNamedWithItsReasonOnScreenAndOnStderr)
{
    struct Case {
        const char* name;
        std::function<void(WizardRun&, const QString& file)> damage;
        const char* reason;
    };
    const auto rewrite = [](const QString& file, qint64 at, const QByteArray& bytes) {
        QFile database(file);
        ASSERT_TRUE(database.open(QIODevice::ReadWrite));
        ASSERT_TRUE(database.seek(at));
        database.write(bytes);
    };
    const Case cases[] = {
        {"missing view", [](WizardRun& run, const QString&) { run.sql("DROP VIEW vw_NameLookupHandler"); },
         "no such table: vw_NameLookupHandler"},
        {"missing file", [](WizardRun&, const QString& file) { ASSERT_TRUE(QFile::remove(file)); },
         "the file does not exist"},
        {"truncated", [](WizardRun&, const QString& file) { ASSERT_TRUE(QFile::resize(file, QFileInfo(file).size() / 2)); },
         "database disk image is malformed"},
        {"corrupt", [&](WizardRun&, const QString& file) { rewrite(file, 0, QByteArray(100, 'x')); },
         "file is not a database"},
        // A folder in its place cannot be read by anyone, whoever runs the tests.
        {"unreadable", [](WizardRun&, const QString& file) { ASSERT_TRUE(QFile::remove(file) && QDir().mkdir(file)); },
         "unable to open database file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WizardRun run(server(4, 0, 3, 12));
        const QString file = run.installation.installation().databaseFile();
        c.damage(run, file);
        QString written;
        EXPECT_FALSE(loadCapturingStderr(run, written));
        ASSERT_EQ(run.shown.size(), 1);
        EXPECT_TRUE(run.shown[0].startsWith("Failed to open VelmoDB database!\n" + file + ": ")) << run.shown[0].toStdString();
        EXPECT_TRUE(run.shown[0].contains(c.reason)) << run.shown[0].toStdString();
        EXPECT_TRUE(written.contains(run.shown[0])) << written.toStdString();
        EXPECT_FALSE(run.session.rsSubscribers.isOpen());
        EXPECT_EQ(run.endedWith, 1);
    }
}

TEST(StartUp, ABadOdbcDriverIsNamedWithTheDriverManagersReasonAndNoPassword)
{
    WizardRun run(server(4, 0, 3, 12));
    const EnvironmentGuard odbc("KESTRANE_ODBC", "Driver=/nonexistent/libnodriver.so;Database=VelmoDb;PWD=secret;");
    QString written;
    EXPECT_FALSE(loadCapturingStderr(run, written));
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_TRUE(run.shown[0].startsWith("Failed to open VelmoDB database!\nODBC data source "
                                        "Driver=/nonexistent/libnodriver.so;Database=VelmoDb;PWD=***;: "))
        << run.shown[0].toStdString();
    EXPECT_TRUE(run.shown[0].contains("Can't open lib")) << run.shown[0].toStdString();
    EXPECT_FALSE(written.contains("secret"));
    EXPECT_TRUE(written.contains(run.shown[0]));
}

TEST(StartUp, AMissingOrUnreadableRegistryFileIsNamedNotTakenForAnOldServer)
{
    for (const bool folderInItsPlace : {false, true}) {
        SCOPED_TRACE(folderInItsPlace);
        WizardRun run(server(4, 0, 3, 12));
        const QString file = run.installation.installation().registryFile();
        ASSERT_TRUE(QFile::remove(file));
        if (folderInItsPlace) {
            ASSERT_TRUE(QDir().mkdir(file));
        }
        QString written;
        EXPECT_FALSE(loadCapturingStderr(run, written));
        ASSERT_EQ(run.shown.size(), 1);
        EXPECT_TRUE(run.shown[0].startsWith("The registry file of the Velmo installation is missing or unreadable: "
                                            + file + " (")) << run.shown[0].toStdString();
        EXPECT_TRUE(written.contains(run.shown[0]));
        EXPECT_EQ(run.endedWith, 1);
        EXPECT_FALSE(run.session.database.isOpen());
    }
}

TEST(StartUp, NoDefaultLocationEndsTheTool)
{
    WizardRun noDefault(server(4, 0, 3, 12));
    noDefault.sql("UPDATE Location SET Alias = 'elsewhere' WHERE Alias = 'default'");
    EXPECT_FALSE(noDefault.startPage().Form_Load());
    EXPECT_EQ(noDefault.shown, QStringList{
        "Error!  Could not find the primary location object in the local database by alias='default'.  Exiting."});
    EXPECT_EQ(noDefault.endedWith, 1);
}

TEST(StartUp, DebugSwitchShowsTheFourProgressBoxesInOrder)
{
    WizardRun quiet(server(4, 0, 3, 12), {"debug"});
    ASSERT_TRUE(quiet.startPage().Form_Load());
    EXPECT_TRUE(quiet.shown.isEmpty());

    WizardRun debug(server(4, 0, 3, 12), {"/x", "please/DEBUGme"});
    ASSERT_TRUE(debug.startPage().Form_Load());
    EXPECT_EQ(debug.shown, QStringList({"Loading version info", "Loading language info",
                                        "Checking for restricted access rights", "Initalizing switch info"}));
    EXPECT_TRUE(debug.session.bDebugMode);
    EXPECT_TRUE(debug.startPage().Form_Load());   // runs once
    EXPECT_EQ(debug.shown.size(), 4);
}

TEST(StartUp, LeavesTheRunStateForTheLaterPages)
{
    velmo::InstallationOptions options = server(4, 0, 3, 12);
    options.connector = velmo::DirectoryConnector::Domino;
    options.restrictedRights = true;
    WizardRun start(options);
    start.sql("UPDATE Location SET DialingDomainName = NULL WHERE Alias = 'default'");
    ASSERT_TRUE(start.startPage().Form_Load());
    EXPECT_TRUE(start.shown.isEmpty());
    EXPECT_EQ(start.session.iDirectoryType, 1);
    EXPECT_TRUE(start.session.bRestrictedRights);
    EXPECT_TRUE(start.session.strDialingDomainName.isEmpty());
    EXPECT_TRUE(start.session.rsSubscribers.isOpen());
    EXPECT_GT(start.session.switchInfo.iSwitchCount(), 0);
    ASSERT_TRUE(start.session.objNotifier);

    start.session.objNotifier->RefreshSubscriber("SUB-1");
    QFile calls(velmo::notifierCallLogPath(start.installation.folder()));
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    EXPECT_EQ(calls.readAll(), "RefreshSubscriber SUB-1\n");
}

TEST(StartUp, WithoutTheNotifierComponentTheStartPageStillComes)
{
    velmo::InstallationOptions options = server(4, 0, 3, 12);
    options.notifierPresent = false;
    WizardRun start(options);
    EXPECT_TRUE(start.startPage().Form_Load());
    EXPECT_EQ(start.shown, QStringList{"Failed to bind to notifier interface.  Any changes to MWI or notification "
                                       "data will not take effect until you restart Velmo."});
    EXPECT_FALSE(start.session.objNotifier);
    EXPECT_EQ(start.endedWith, -1);
}

TEST(StartPage, TrustedSubscribersFromVersion5WithoutDomino)
{
    const auto trustedOffered = [](velmo::InstallationOptions options) {
        WizardRun start(options);
        EXPECT_TRUE(start.startPage().Form_Load());
        return !start.startPage().findChild<QRadioButton*>("optTrustedSubscriberUpdate")->isHidden();
    };
    EXPECT_TRUE(trustedOffered(server(5, 0, 0, 10)));
    EXPECT_FALSE(trustedOffered(server(5, 0, 0, 9)));
    velmo::InstallationOptions domino = server(5, 0, 0, 10);
    domino.connector = velmo::DirectoryConnector::Domino;
    EXPECT_FALSE(trustedOffered(domino));
}

TEST(StartPage, NextRecordsTheChosenKindAndOpensItsPage)
{
    WizardRun start(server(5, 0, 1, 40));
    ASSERT_TRUE(start.startPage().Form_Load());
    QWidget subscribers, handlers;
    int subscriberPages = 0, handlerPages = 0;
    start.context.subscriberSelectionPage = [&] { ++subscriberPages; return &subscribers; };
    start.context.handlerSelectionPage = [&] { ++handlerPages; return &handlers; };
    frmMain& page = start.startPage();
    const std::pair<const char*, int> kinds[] = {
        {"optSubscriberUpdate", 1}, {"optInternetSubscriberUpdate", 2}, {"optAMISSubscriberUpdate", 5},
        {"optBridgeSubscriberUpdate", 7}, {"optVPIMSubscriberUpdate", 8}, {"optTrustedSubscriberUpdate", 9},
        {"optEditCallHandlers", -1}};
    for (const auto& [option, type] : kinds) {
        SCOPED_TRACE(option);
        page.show();
        page.findChild<QRadioButton*>(option)->setChecked(true);
        page.findChild<QPushButton*>("cmdNext")->click();
        EXPECT_EQ(start.context.state.iSelectedSubscriberType, type);
        EXPECT_TRUE(page.isHidden());
        EXPECT_TRUE(page.findChild<QPushButton*>("cmdNext")->isEnabled());
    }
    EXPECT_EQ(subscriberPages, 6);
    EXPECT_EQ(handlerPages, 1);
    EXPECT_TRUE(handlers.isVisible());
}

TEST(StartPage, ExitAndClosingEndWithoutAQuestion)
{
    for (bool viaClose : {false, true}) {
        WizardRun start(server(4, 0, 3, 12));
        ASSERT_TRUE(start.startPage().Form_Load());
        QTemporaryDir programFolder;
        RunLog& log = *(start.context.state.runLog = std::make_unique<RunLog>(programFolder.path(), start.messages.sink()));
        log.WriteLogHeader(log.GenerateNewLogFileName(), RunLog::HeaderInfo{});
        ASSERT_TRUE(log.isOpen());
        start.startPage().show();
        if (viaClose)
            start.startPage().close();
        else
            start.startPage().findChild<QPushButton*>("cmdExit")->click();
        EXPECT_TRUE(start.shown.isEmpty());
        EXPECT_EQ(start.endedWith, 0);
        EXPECT_FALSE(start.session.rsSubscribers.isOpen());
        EXPECT_FALSE(log.isOpen());
        start.endedWith = -1;
        start.startPage().close();   // entered again while ending: nothing more happens
        EXPECT_EQ(start.endedWith, -1);
    }
}

TEST(StartPage, ExitWithTheQuestionStaysOnNo)
{
    WizardRun start(server(4, 0, 3, 12));
    ASSERT_TRUE(start.startPage().Form_Load());
    start.recorder.answerWith(QMessageBox::No);
    ExitApplication(start.context, true);
    ASSERT_EQ(start.recorder.requests.size(), 1);
    EXPECT_EQ(start.recorder.requests[0].title + ": " + start.shown[0], "Kestrane: Are you sure you want to exit?");
    EXPECT_EQ(start.endedWith, -1);
    EXPECT_TRUE(start.session.rsSubscribers.isOpen());
}

TEST(StartPage, LanguageSwitchChangesItsCaptionsAndResetsTheLogPath)
{
    QTemporaryDir programFolder;
    QFile library(programFolder.filePath("kestrane_DEU.lang"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    library.write("191\tWeiter >>\n132\tBeenden\n");
    library.close();

    WizardRun start(server(4, 0, 3, 12), {}, programFolder.path());
    ASSERT_TRUE(start.startPage().Form_Load());
    frmMain& page = start.startPage();
    page.hide();   // a hidden page changes too
    page.findChild<QLineEdit*>("txtLogPath")->setText("/var/log/mine.log");

    frmAbout about(start.context, ToolVersion{4, 0, 1}, &page);
    auto* menu = about.findChild<QMenu*>("mnuSelectLanguage");
    ASSERT_TRUE(menu);
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << action->text();
    EXPECT_EQ(entries, QStringList{"no languages loaded"});   // one library only

    // A second library makes a real choice.
    QFile second(programFolder.filePath("kestrane_FRA.lang"));
    ASSERT_TRUE(second.open(QIODevice::WriteOnly));
    second.write("191\tSuivant >>\n");
    second.close();
    frmAbout fresh(start.context, ToolVersion{4, 0, 1}, &page);
    const QList<QAction*> choices = fresh.findChild<QMenu*>("mnuSelectLanguage")->actions();
    ASSERT_EQ(choices.size(), 2);
    int german = -1;
    for (int i = 0; i < choices.size(); ++i)
        if (choices[i]->data().toString().trimmed() == "1031")
            german = i;
    ASSERT_GE(german, 0);
    fresh.mnuLanguageList_Click(german);
    EXPECT_EQ(page.findChild<QPushButton*>("cmdNext")->text(), "Weiter >>");
    EXPECT_EQ(page.findChild<QPushButton*>("cmdExit")->text(), "Beenden");
    EXPECT_EQ(page.findChild<QPushButton*>("cmdHelp")->text(), "Help");   // not in the library: English
    EXPECT_EQ(page.findChild<QLineEdit*>("txtLogPath")->text(), "c:\\Kestrane.log");
}

}  // namespace
