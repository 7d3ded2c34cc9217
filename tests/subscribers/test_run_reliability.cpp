// The subscriber engine against what happens around a run: another program holding the
// database's write lock, and the program killed while a subscriber is open.
#include "subscribers/SubscriberEngine.h"

#include "core/Database.h"
#include "core/Installation.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "tests/support/TempInstallation.h"
#include "tests/support/WriteLockHolder.h"
#include "velmo/ServerStandIns.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr int kMaxMessageLength = 4242;

// What the test category writes, and where the child of the kill test stops.
struct {
    QString billingID = "4242-run";
    int pauseAt = -1;   // the subscriber (counted from 1) the child stops in, inside its transaction
    QString pausedMarker;
    int started = 0;
} script;

// Two changes in two tables: the billing ID written at once, the handler's maximum message
// length by the frame's write of the handler row at the end.
void changeTwoRows(SubscriberEdit& edit)
{
    edit.subscriber().setValue("BillingID", script.billingID);
    edit.subscriber().update();
    edit.writeLine("   Billing ID set to: " + script.billingID);
    if (++script.started == script.pauseAt) {
        QFile(script.pausedMarker).open(QIODevice::WriteOnly);
        std::this_thread::sleep_for(std::chrono::minutes(2));   // until killed
    }
    edit.handler().setValue("MaxMsgLen", kMaxMessageLength);
    edit.writeLine("   Maximum message length set to: 4242");
}

const SubscriberChangeCategory kTwoRows[] = {{"two rows", changeTwoRows}};

velmo::InstallationOptions subscribers(int count)
{
    velmo::InstallationOptions options = TempInstallation::smallOptions();
    options.subscriberCount = count;
    return options;
}

QList<SelectionGridRow> everySubscriber(Session& session)
{
    QList<SelectionGridRow> rows;
    Recordset& list = session.rsSubscribers;
    for (list.moveFirst(); !list.eof(); list.moveNext())
        rows << SelectionGridRow{true, list.value("Alias").toString(), list.value("SubscriberObjectID").toString()};
    return rows;
}

// Runs the engine with the test category over every subscriber; the log's lines.
QStringList runOverEverySubscriber(Session& session, const QString& programFolder, RunEnd* end = nullptr)
{
    RunLog log(programFolder, {});
    const QString path = log.startNewLog({});
    SubscriberEngine engine(session, log, OptionsSnapshot("frmSelectSubscriberChanges"), kTwoRows);
    RunFrame frame(session, log);
    const RunEnd ended = engine.run(everySubscriber(session), frame);
    if (end)
        *end = ended;
    log.Close();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split("\r\n");
}

int subscribersWithBillingID(Database& db, const QString& billingID)
{
    return db.select("SELECT COUNT(*) FROM Subscriber WHERE BillingID = ?", {billingID}).rows[0][0].toInt();
}

// A lock shorter than the busy timeout delays the run; a longer one fails the subscribers it
// meets, each rolled back with its counted line, and the rest change.
TEST(AnotherWriter, DelaysTheRunOrFailsTheSubscribersItMeets)
{
    script = {};
    TempInstallation installation(subscribers(500));
    ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
    Session session{installation.installation()};
    velmo::registerServerStandIns(session);
    ASSERT_TRUE(startSession(session));
    QTemporaryDir programFolder;
    const int total = int(everySubscriber(session).size());
    ASSERT_GE(total, 500);

    const struct {
        int holdMs;
        int failures;
    } cases[] = {{2000, 0}, {7000, 1}};   // the busy timeout is 5 s
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holdMs);
        script.billingID = QString("held %1 ms").arg(c.holdMs);
        QStringList lines;
        QElapsedTimer timer;
        timer.start();
        {
            const WriteLockHolder other(installation.installation().databaseFile(), std::chrono::milliseconds(c.holdMs));
            lines = runOverEverySubscriber(session, programFolder.path());
        }
        EXPECT_GE(timer.elapsed(), c.holdMs - 500);
        EXPECT_EQ(lines.filter("(error)"),
                  QStringList(c.failures, "(error):-2147467259 (BEGIN IMMEDIATE: database is locked) in procedure "
                                          "MakeChangesToSubscriber of Form frmMakeSubscriberChanges.  None of this "
                                          "subscriber's changes were kept."));
        EXPECT_EQ(subscribersWithBillingID(session.database, script.billingID), total - c.failures);
    }
}

// The child of the test below: runs until it is killed inside its subscriber `pauseAt`.
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
    TempInstallation installation(subscribers(2000));
    ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
    ASSERT_TRUE(QDir().rename(installation.folder(), folder.filePath("installation")));
    const QString marker = folder.filePath("paused");

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KESTRANE_TEST_KILLED_RUN", folder.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=KilledRunChild.*"});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(marker) && child.state() != QProcess::NotRunning && waited.elapsed() < 120000)
        child.waitForFinished(50);
    ASSERT_TRUE(QFile::exists(marker)) << child.readAll().toStdString();
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));

    Database db;
    ASSERT_TRUE(db.open({QDir(folder.path()).filePath("installation/" + QFileInfo(installation.installation().databaseFile()).fileName()), {}}));
    EXPECT_EQ(db.select("PRAGMA integrity_check").rows.value(0).value(0).toString(), "ok");
    // All of a subscriber's changes or none.
    QSet<QString> changed;
    for (const auto& row : db.select("SELECT s.SubscriberObjectID, s.BillingID, h.MaxMsgLen FROM Subscriber s "
                                     "JOIN CallHandler h ON h.CallHandlerObjectID = s.CallHandlerObjectID").rows) {
        const bool billed = row[1].toString() == script.billingID;
        EXPECT_EQ(billed, row[2].toInt() == kMaxMessageLength) << row[0].toString().toStdString();
        if (billed)
            changed.insert(row[0].toString());
    }
    EXPECT_EQ(changed.size(), 999);

    // Every change line belongs to a subscriber whose changes were kept; the one under way shows
    // its heading lines only.
    const QStringList logs = QDir(folder.filePath("logs")).entryList({"*.TXT"});
    ASSERT_EQ(logs.size(), 1);
    QFile file(QDir(folder.filePath("logs")).filePath(logs[0]));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    QString objectID;
    QSet<QString> logged;
    for (const QString& line : lines) {
        if (line.startsWith("    ObjectID="))
            objectID = line.mid(13);
        else if (line.startsWith("   Billing ID set to: ") || line.startsWith("   Maximum message length"))
            logged.insert(objectID);
    }
    EXPECT_TRUE(logged == changed) << logged.size() << " subscribers with change lines, " << changed.size() << " changed";
    EXPECT_TRUE(lines.value(lines.size() - 2).startsWith("    ObjectID=")) << lines.mid(lines.size() - 6).join('\n').toStdString();
}

}  // namespace
