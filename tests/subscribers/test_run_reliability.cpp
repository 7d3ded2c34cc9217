// The subscriber engine against what happens around a run: another program holding the
// database's write lock, and the program killed while a subscriber is open.
#include "subscribers/SubscriberEngine.h"

#include "core/Database.h"
#include "core/Installation.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "tests/support/TempInstallation.h"
#include "velmo/ServerStandIns.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

// What the test category writes, and the subscriber (counted from 1) in whose transaction the
// child of the kill test stops.
struct {
    QString billingID = "4242-run";
    int pauseAt = -1;
    QString pausedMarker;
    int started = 0;
} script;

// Two tables: the billing ID written at once, the handler's MaxMsgLen by the frame at the end.
void changeTwoRows(SubscriberEdit& edit)
{
    edit.subscriber().setValue("BillingID", script.billingID);
    edit.subscriber().update();
    edit.writeLine("   Billing ID set to: " + script.billingID);
    if (++script.started == script.pauseAt) {
        QFile(script.pausedMarker).open(QIODevice::WriteOnly);
        std::this_thread::sleep_for(std::chrono::minutes(2));   // until killed
    }
    edit.handler().setValue("MaxMsgLen", 4242);
}

const SubscriberChangeCategory kTwoRows[] = {{"two rows", changeTwoRows}};

QStringList runOverEverySubscriber(Session& session, const QString& programFolder)
{
    QList<SelectionGridRow> rows;
    for (session.rsSubscribers.moveFirst(); !session.rsSubscribers.eof(); session.rsSubscribers.moveNext())
        rows << SelectionGridRow{true, {}, session.rsSubscribers.value("SubscriberObjectID").toString()};
    RunLog log(programFolder, {});
    const QString path = log.startNewLog({});
    SubscriberEngine engine(session, log, OptionsSnapshot("frmSelectSubscriberChanges"), kTwoRows);
    RunFrame frame(session, log);
    engine.run(rows, frame);
    log.Close();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split("\r\n");
}

velmo::InstallationOptions withSubscribers(int count)
{
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.subscriberCount = count;
    return options;
}

// Another program holds the write lock: shorter than the busy timeout (5 s) it delays the run;
// longer, it fails the subscribers it meets, each rolled back with its counted line.
TEST(AnotherWriter, DelaysTheRunOrFailsTheSubscribersItMeets)
{
    script = {};
    TempInstallation installation(withSubscribers(500));
    Session session{installation.installation()};
    velmo::registerServerStandIns(session);
    ASSERT_TRUE(startSession(session));
    QTemporaryDir programFolder;
    const int total = session.rsSubscribers.recordCount();
    for (const auto& [holdMs, failures] : {std::pair{2000, 0}, {7000, 1}}) {
        script.billingID = QString("held %1 ms").arg(holdMs);
        std::promise<void> held;
        std::thread other([&, holdMs = holdMs] {
            Database writer;   // a connection of this thread alone
            writer.open({installation.installation().databaseFile(), {}});
            writer.beginTransaction();
            held.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            writer.commit();
        });
        held.get_future().wait();
        const QStringList lines = runOverEverySubscriber(session, programFolder.path());
        other.join();
        EXPECT_EQ(lines.filter("(error)"),
                  QStringList(failures, "(error):-2147467259 (BEGIN IMMEDIATE: database is locked) in procedure "
                                        "MakeChangesToSubscriber of Form frmMakeSubscriberChanges.  None of this "
                                        "subscriber's changes were kept."));
        EXPECT_EQ(session.database.select("SELECT COUNT(*) FROM Subscriber WHERE BillingID = ?", {script.billingID})
                      .rows[0][0].toInt(),
                  total - failures);
    }
}

// The child of the test below: runs until it is killed inside its 1000th subscriber.
TEST(KilledRunChild, RunsUntilKilled)
{
    const QString folder = qEnvironmentVariable("KESTRANE_TEST_KILLED_RUN");
    if (folder.isEmpty())
        GTEST_SKIP() << "runs only as the child of KilledRun.LeavesEverySubscriberWholeAndLogsOnlyWhatWasKept";
    script = {};
    script.pauseAt = 1000;
    script.pausedMarker = QDir(folder).filePath("paused");
    Session session{Installation::at(QDir(folder).filePath("installation"))};
    velmo::registerServerStandIns(session);
    ASSERT_TRUE(startSession(session));
    runOverEverySubscriber(session, folder);
    FAIL() << "the run ended before it was killed";
}

TEST(KilledRun, LeavesEverySubscriberWholeAndLogsOnlyWhatWasKept)
{
    script = {};
    QTemporaryDir folder;
    TempInstallation installation(withSubscribers(2000));
    const QString database = installation.installation().databaseFile().replace(installation.folder(), folder.filePath("installation"));
    ASSERT_TRUE(QDir().rename(installation.folder(), folder.filePath("installation")));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KESTRANE_TEST_KILLED_RUN", folder.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=KilledRunChild.*"});
    for (int waited = 0; !QFile::exists(folder.filePath("paused")) && child.state() != QProcess::NotRunning && waited < 2400; ++waited)
        child.waitForFinished(50);
    ASSERT_TRUE(QFile::exists(folder.filePath("paused"))) << child.readAll().toStdString();
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));

    // All of a subscriber's changes or none; every change line is one of a subscriber kept.
    Database db;
    ASSERT_TRUE(db.open({database, {}}));
    EXPECT_EQ(db.select("PRAGMA integrity_check").rows.value(0).value(0).toString(), "ok");
    QSet<QString> changed;
    for (const auto& row : db.select("SELECT s.SubscriberObjectID, s.BillingID, h.MaxMsgLen FROM Subscriber s "
                                     "JOIN CallHandler h ON h.CallHandlerObjectID = s.CallHandlerObjectID").rows) {
        EXPECT_EQ(row[1].toString() == script.billingID, row[2].toInt() == 4242) << row[0].toString().toStdString();
        if (row[1].toString() == script.billingID)
            changed.insert(row[0].toString());
    }
    EXPECT_EQ(changed.size(), 999);
    const QDir logs(folder.filePath("logs"));
    QFile file(logs.filePath(logs.entryList({"*.TXT"}).value(0)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString objectID;
    QSet<QString> logged;
    for (const QString& line : QString::fromUtf8(file.readAll()).split("\r\n")) {
        if (line.startsWith("    ObjectID="))
            objectID = line.mid(13);
        else if (line.startsWith("   Billing ID set to: "))
            logged.insert(objectID);
    }
    EXPECT_TRUE(logged == changed) << logged.size() << " subscribers with change lines, " << changed.size() << " changed";
}

}  // namespace
