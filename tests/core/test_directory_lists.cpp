#include "core/DirectoryLists.h"
#include "core/Session.h"
#include "tests/support/Backends.h"
#include "tests/support/TempInstallation.h"

#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

velmo::InstallationOptions at(int major, int minor, int release, int build)
{
    return TempInstallation::smallServer(major, minor, release, build);
}

std::unique_ptr<Session> startedSession(const TempInstallation& installation)
{
    auto session = std::make_unique<Session>(installation.installation());
    EXPECT_TRUE(session->loadRegistry());
    session->gServerVersion = getVersion(session->registry);
    return session;
}

TEST(DirectoryLists, CallHandlerViewsSwitchAtRelease2Build111)
{
    for (const auto& [build, usesSplitViews] : {std::pair{110, false}, std::pair{111, true}}) {
        SCOPED_TRACE(build);
        TempInstallation installation(at(4, 0, 2, build));
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        auto session = startedSession(installation);
        ASSERT_TRUE(LoadDirectoryLists(*session, session->strConnectionString));
        EXPECT_EQ(session->rsNonPrimaryCallHandlers.source().contains("vw_CallHandler_NonPrimary"), usesSplitViews);
        EXPECT_EQ(session->rsPrimaryCallHandlers.source().contains("vw_CallHandler_Primary"), usesSplitViews);
        EXPECT_EQ(session->rsNonPrimaryCallHandlers.source().contains("IsPrimary='0'"), !usesSplitViews);

        // Every subscriber's primary handler is in the primary list, none in the other.
        Recordset& subscribers = session->rsSubscribers;
        ASSERT_GT(subscribers.recordCount(), 0);
        for (subscribers.moveFirst(); !subscribers.eof(); subscribers.moveNext()) {
            const QString handler = subscribers.value("CallHandlerObjectID").toString();
            session->rsPrimaryCallHandlers.moveFirst();
            EXPECT_TRUE(session->rsPrimaryCallHandlers.find("CallHandlerObjectID='" + handler + "'"));
            session->rsNonPrimaryCallHandlers.moveFirst();
            EXPECT_FALSE(session->rsNonPrimaryCallHandlers.find("CallHandlerObjectID='" + handler + "'"));
        }
        session->rsLocations.moveFirst();
        EXPECT_TRUE(session->rsLocations.find("Alias='default'"));
        CloseServerRecordsets(*session);
        CloseServerRecordsets(*session);   // twice is harmless
        EXPECT_FALSE(session->rsSubscribers.isOpen());
    }
}

TEST(DirectoryLists, MissingViewClosesEveryList)
{
    TempInstallation installation;
    ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
    auto session = startedSession(installation);
    ASSERT_TRUE(session->database.open(resolveConnectionString(session->strConnectionString, session->installation)));
    session->database.execute("DROP VIEW vw_DistributionList");
    QString failure;
    EXPECT_FALSE(LoadDirectoryLists(*session, session->strConnectionString, &failure));
    EXPECT_EQ(failure, installation.installation().databaseFile() + ": no such table: vw_DistributionList");
    for (const Recordset* list : {&session->rsNonPrimaryCallHandlers, &session->rsPrimaryCallHandlers,
                                  &session->rsSubscribers, &session->rsCOS, &session->rsInterviewHandlers,
                                  &session->rsDistributionLists, &session->rsLocations})
        EXPECT_FALSE(list->isOpen());
}

TEST(DirectoryLists, UnreachableDatabaseFails)
{
    TempInstallation installation;
    ASSERT_TRUE(installation.ok());
    QFile::remove(installation.installation().databaseFile());
    auto session = startedSession(installation);
    QString failure;
    EXPECT_FALSE(LoadDirectoryLists(*session, session->strConnectionString, &failure));
    EXPECT_EQ(failure, installation.installation().databaseFile() + ": the file does not exist");
    EXPECT_FALSE(session->rsSubscribers.isOpen());
}

TEST(DirectoryLists, OdbcDataSourceReadsTheSameDirectory)
{
    if (!backendAvailable(Backend::Odbc))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    TempInstallation installation;
    ASSERT_TRUE(installation.ok());

    Session embedded(installation.installation());
    ASSERT_TRUE(startSession(embedded));

    Session overOdbc(installation.installation());
    ASSERT_TRUE(overOdbc.loadRegistry());
    overOdbc.gServerVersion = getVersion(overOdbc.registry);
    ASSERT_TRUE(overOdbc.database.open(databaseTarget(Backend::Odbc, installation.installation().databaseFile()))) << overOdbc.database.lastError().toStdString();
    EXPECT_FALSE(overOdbc.database.isEmbedded());
    ASSERT_TRUE(LoadDirectoryLists(overOdbc, overOdbc.strConnectionString));
    EXPECT_EQ(overOdbc.rsSubscribers.recordCount(), embedded.rsSubscribers.recordCount());
    embedded.rsSubscribers.moveLast();
    const QString id = embedded.rsSubscribers.value("SubscriberObjectID").toString();
    overOdbc.rsSubscribers.moveFirst();
    ASSERT_TRUE(overOdbc.rsSubscribers.find("SubscriberObjectID='" + id + "'"));
    EXPECT_EQ(overOdbc.rsSubscribers.value("Alias").toString(), embedded.rsSubscribers.value("Alias").toString());
}

}  // namespace
