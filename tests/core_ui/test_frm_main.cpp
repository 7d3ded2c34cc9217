#include "core/ui/frmAbout.h"
#include "core/ui/frmMain.h"
#include "core/ui/WizardContext.h"
#include "tests/support/TempInstallation.h"
#include "velmo/ServerStandIns.h"

#include <QCloseEvent>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

// A start page on a temporary installation, its message boxes recorded and answered with OK.
class StartPage {
public:
    explicit StartPage(const velmo::InstallationOptions& options, QStringList arguments = {},
                       const QString& programFolder = QCoreApplication::applicationDirPath())
        : installation(options), session(installation.installation(), programFolder, QStringLiteral("kestrane")),
          context{session, messages, forms, std::move(arguments)}
    {
        EXPECT_TRUE(installation.ok()) << installation.error().toStdString();
        EXPECT_TRUE(session.loadRegistry());
        velmo::registerServerStandIns(session);
        messages.setAnswerer([this](const MessageBoxService::Request& request) {
            shown << request.text;
            return QMessageBox::Ok;
        });
        context.endProgram = [this](int code) { endedWith = code; };
    }

    void sql(const QString& statement)
    {
        const QString name = QStringLiteral("edit-%1").arg(quintptr(this));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(installation.installation().databaseFile());
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
        }
        QSqlDatabase::removeDatabase(name);
    }

    frmMain& page()
    {
        if (!form)
            form = std::make_unique<frmMain>(context);
        return *form;
    }

    TempInstallation installation;
    Session session;
    MessageBoxService messages;
    FormRegistry forms;
    WizardContext context;
    QStringList shown;
    int endedWith = -1;
    std::unique_ptr<frmMain> form;
};

velmo::InstallationOptions server(int major, int minor, int release, int build)
{
    return TempInstallation::smallServer(major, minor, release, build);
}

TEST(StartUp, OldServerIsRefusedBeforeTheDatabaseIsOpened)
{
    StartPage start(server(3, 0, 1, 10));
    QFile::remove(start.installation.installation().databaseFile());   // would give message 135
    EXPECT_FALSE(start.page().Form_Load());
    ASSERT_EQ(start.shown.size(), 1);
    EXPECT_TRUE(start.shown[0].startsWith("This version of Kestrane only works with Velmo 4.0(1) and later."));
    EXPECT_EQ(start.endedWith, 1);
    EXPECT_FALSE(start.session.database.isOpen());
}

TEST(StartUp, MissingViewOrDefaultLocationEndsTheTool)
{
    StartPage noView(server(4, 0, 3, 12));
    noView.sql("DROP VIEW vw_NameLookupHandler");
    EXPECT_FALSE(noView.page().Form_Load());
    EXPECT_EQ(noView.shown, QStringList{"Failed to open VelmoDB database!"});
    EXPECT_FALSE(noView.session.rsSubscribers.isOpen());

    StartPage noDefault(server(4, 0, 3, 12));
    noDefault.sql("UPDATE Location SET Alias = 'elsewhere' WHERE Alias = 'default'");
    EXPECT_FALSE(noDefault.page().Form_Load());
    EXPECT_EQ(noDefault.shown, QStringList{
        "Error!  Could not find the primary location object in the local database by alias='default'.  Exiting."});
    EXPECT_EQ(noDefault.endedWith, 1);
}

TEST(StartUp, DebugSwitchShowsTheFourProgressBoxesInOrder)
{
    StartPage quiet(server(4, 0, 3, 12), {"debug"});
    ASSERT_TRUE(quiet.page().Form_Load());
    EXPECT_TRUE(quiet.shown.isEmpty());

    StartPage debug(server(4, 0, 3, 12), {"/x", "please/DEBUGme"});
    ASSERT_TRUE(debug.page().Form_Load());
    EXPECT_EQ(debug.shown, QStringList({"Loading version info", "Loading language info",
                                        "Checking for restricted access rights", "Initalizing switch info"}));
    EXPECT_TRUE(debug.session.bDebugMode);
    EXPECT_TRUE(debug.page().Form_Load());   // runs once
    EXPECT_EQ(debug.shown.size(), 4);
}

TEST(StartUp, LeavesTheRunStateForTheLaterPages)
{
    velmo::InstallationOptions options = server(4, 0, 3, 12);
    options.connector = velmo::DirectoryConnector::Domino;
    options.restrictedRights = true;
    StartPage start(options);
    start.sql("UPDATE Location SET DialingDomainName = NULL WHERE Alias = 'default'");
    ASSERT_TRUE(start.page().Form_Load());
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
    StartPage start(options);
    EXPECT_TRUE(start.page().Form_Load());
    EXPECT_EQ(start.shown, QStringList{"Failed to bind to notifier interface.  Any changes to MWI or notification "
                                       "data will not take effect until you restart Velmo."});
    EXPECT_FALSE(start.session.objNotifier);
    EXPECT_EQ(start.endedWith, -1);
}

TEST(StartPage, TrustedSubscribersFromVersion5WithoutDomino)
{
    const auto trustedOffered = [](velmo::InstallationOptions options) {
        StartPage start(options);
        EXPECT_TRUE(start.page().Form_Load());
        return !start.page().findChild<QRadioButton*>("optTrustedSubscriberUpdate")->isHidden();
    };
    EXPECT_TRUE(trustedOffered(server(5, 0, 0, 10)));
    EXPECT_FALSE(trustedOffered(server(5, 0, 0, 9)));
    velmo::InstallationOptions domino = server(5, 0, 0, 10);
    domino.connector = velmo::DirectoryConnector::Domino;
    EXPECT_FALSE(trustedOffered(domino));
}

TEST(StartPage, NextRecordsTheChosenKindAndOpensItsPage)
{
    StartPage start(server(5, 0, 1, 40));
    ASSERT_TRUE(start.page().Form_Load());
    QWidget subscribers, handlers;
    int subscriberPages = 0, handlerPages = 0;
    start.context.subscriberSelectionPage = [&] { ++subscriberPages; return &subscribers; };
    start.context.handlerSelectionPage = [&] { ++handlerPages; return &handlers; };
    frmMain& page = start.page();
    const std::pair<const char*, int> kinds[] = {
        {"optSubscriberUpdate", 1}, {"optInternetSubscriberUpdate", 2}, {"optAMISSubscriberUpdate", 5},
        {"optBridgeSubscriberUpdate", 7}, {"optVPIMSubscriberUpdate", 8}, {"optTrustedSubscriberUpdate", 9},
        {"optEditCallHandlers", -1}};
    for (const auto& [option, type] : kinds) {
        SCOPED_TRACE(option);
        page.show();
        page.findChild<QRadioButton*>(option)->setChecked(true);
        page.findChild<QPushButton*>("cmdNext")->click();
        EXPECT_EQ(page.iSelectedSubscriberType, type);
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
        StartPage start(server(4, 0, 3, 12));
        ASSERT_TRUE(start.page().Form_Load());
        start.page().show();
        if (viaClose)
            start.page().close();
        else
            start.page().findChild<QPushButton*>("cmdExit")->click();
        EXPECT_TRUE(start.shown.isEmpty());
        EXPECT_EQ(start.endedWith, 0);
        EXPECT_FALSE(start.session.rsSubscribers.isOpen());
        start.endedWith = -1;
        start.page().close();   // entered again while ending: nothing more happens
        EXPECT_EQ(start.endedWith, -1);
    }
}

TEST(StartPage, ExitWithTheQuestionStaysOnNo)
{
    StartPage start(server(4, 0, 3, 12));
    ASSERT_TRUE(start.page().Form_Load());
    start.messages.setAnswerer([&](const MessageBoxService::Request& request) {
        start.shown << request.title + ": " + request.text;
        return QMessageBox::No;
    });
    ExitApplication(start.context, true);
    EXPECT_EQ(start.shown, QStringList{"Kestrane: Are you sure you want to exit?"});
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

    StartPage start(server(4, 0, 3, 12), {}, programFolder.path());
    ASSERT_TRUE(start.page().Form_Load());
    frmMain& page = start.page();
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
