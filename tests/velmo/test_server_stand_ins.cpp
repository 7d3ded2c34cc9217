// The simulated server's procedures, reached the way the tool reaches them: through the database
// layer's one entry point, on the embedded database and over the SQLite ODBC driver.
#include "core/Errors.h"
#include "core/Session.h"
#include "tests/support/TempInstallation.h"
#include "velmo/ServerStandIns.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kSqliteOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

enum class Backend { Embedded, SqliteOverOdbc };

class ServerStandInsTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
        velmo::registerServerStandIns(session);
        DatabaseTarget target{installation.installation().databaseFile(), {}};
        if (GetParam() == Backend::SqliteOverOdbc) {
            if (!QFile::exists(kSqliteOdbcDriver))
                GTEST_SKIP() << "SQLite ODBC driver not installed";
            target.odbcConnectionString = "Driver=" + kSqliteOdbcDriver + ";Database=" + target.embeddedPath + ";";
        }
        ASSERT_TRUE(session.database.open(target)) << session.database.lastError().toStdString();
    }

    QString md5(const QVariant& raw)
    {
        ProcedureParameters parameters{{"@RawText", raw}, {"@MD5Text", QString(), true}};
        session.database.callProcedure("sp_MD5", parameters);
        return parameters[1].value.toString();
    }

    void requestSync(const QString& subscriberObjectID)
    {
        ProcedureParameters parameters{{"@SubscriberObjectID", subscriberObjectID}, {"@DirectorySync", 1},
                                       {"@DirectorySyncFlags", 1}};
        session.database.callProcedure("sp_ModifySubscriber", parameters);
    }

    QVector<QVector<QVariant>> syncRequests()
    {
        return session.database
            .select("SELECT SubscriberObjectID, DirectorySync, DirectorySyncFlags FROM DirectorySyncRequest ORDER BY rowid")
            .rows;
    }

    TempInstallation installation;
    Session session{installation.installation()};
};

TEST_P(ServerStandInsTest, Md5GivesTheHashOfTheRawText)
{
    const struct {
        QString raw;
        QString hash;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"1234", "81DC9BDB52D04DC20036DBD8313ED055"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(md5(c.raw), c.hash) << c.raw.toStdString();

    ProcedureParameters withoutOutput{{"@RawText", "1234"}};
    try {
        session.database.callProcedure("sp_MD5", withoutOutput);
        FAIL() << "sp_MD5 ran without @MD5Text";
    } catch (const KestraneError& error) {
        EXPECT_TRUE(isDatabaseFailure(error));
        EXPECT_TRUE(error.description().contains("@MD5Text"));
    }
}

// A caller that fills the list the database reports and reads the hash by its position.
TEST_P(ServerStandInsTest, ParameterListsAreReportedWithTheReturnValueFirst)
{
    const auto names = [&](const QString& procedure) {
        QStringList listed;
        for (const ProcedureParameter& parameter : session.database.procedureParameters(procedure))
            listed << parameter.name;
        return listed;
    };
    EXPECT_EQ(names("sp_md5"), (QStringList{"@RETURN_VALUE", "@RawText", "@MD5Text"}));
    EXPECT_EQ(names("sp_ModifySubscriber"),
              (QStringList{"@RETURN_VALUE", "@SubscriberObjectID", "@DirectorySync", "@DirectorySyncFlags"}));

    ProcedureParameters parameters = session.database.procedureParameters("sp_MD5");
    parameters[1].value = "1234";
    parameters[2].value = QString();
    session.database.callProcedure("sp_MD5", parameters);
    EXPECT_EQ(parameters[0].value.toInt(), 0);
    EXPECT_EQ(parameters[2].value.toString(), "81DC9BDB52D04DC20036DBD8313ED055");

    EXPECT_THROW(session.database.procedureParameters("sp_Missing"), KestraneError);
}

TEST_P(ServerStandInsTest, ModifySubscriberRequestsAreKeptOnlyWithTheirTransaction)
{
    session.database.beginTransaction();
    requestSync("SUB-ROLLED-BACK");
    EXPECT_EQ(syncRequests().size(), 1);
    session.database.rollback();
    EXPECT_TRUE(syncRequests().isEmpty());

    session.database.runInTransaction([&] { requestSync("SUB-KEPT"); });
    const auto requests = syncRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), "SUB-KEPT");
    EXPECT_EQ(requests[0][1].toInt(), 1);
    EXPECT_EQ(requests[0][2].toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerStandInsTest, ::testing::Values(Backend::Embedded, Backend::SqliteOverOdbc),
                         [](const auto& info) { return info.param == Backend::Embedded ? "Embedded" : "SqliteOverOdbc"; });

}  // namespace
