#include "core/Errors.h"
#include "core/RunLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tuple>

namespace {

const QDateTime startTime(QDate(2006, 3, 7), QTime(14, 5, 9));

class RunLogTest : public ::testing::Test {
protected:
    QTemporaryDir programFolder;
    QStringList messages;
    RunLog log {programFolder.path(), [this](const QString& text) { messages << text; },
                [] { return startTime; }};

    RunLog::HeaderInfo header(const QString& serverVersion = QStringLiteral("4.0(3.12)")) const
    {
        return {4, 0, 12, serverVersion};
    }

    QString logsPath(const QString& name = QString()) const
    {
        return QDir(programFolder.path()).filePath(QStringLiteral("logs/") + name);
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    // A file in the logs folder last modified at `modified`.
    void makeFile(const QString& name, const QDateTime& modified)
    {
        QFile file(logsPath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.flush();   // so that closing the file does not touch the time again
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
};

} // namespace

TEST_F(RunLogTest, FileNameCarriesTheStartTimeAndTheLogsFolderIsCreated)
{
    const QString path = log.GenerateNewLogFileName();
    EXPECT_EQ(path, logsPath("Kestrane_Log_060307_14_05_09.TXT"));
    EXPECT_TRUE(QDir(logsPath()).exists());
    EXPECT_FALSE(QFile::exists(path));   // the header creates the file, not the name
}

TEST_F(RunLogTest, HeaderBytesLinesInCrLfAndAnEarlierLogOfTheSameSecondReplaced)
{
    const QString path = log.GenerateNewLogFileName();
    log.WriteLogHeader(path, header());
    log.WriteLogLine("first run");
    log.WriteLogHeader(path, header());
    log.WriteLogLine("** Updating subscriber **");
    log.WriteLogLine("    Extension=1234");
    log.Close();

    const QByteArray separator(64, '=');
    const QByteArray expected = separator + "\r\n"
        + "Running Kestrane version 4.0.12\r\n\r\n"
        + "Local Velmo version=4.0(3.12)\r\n"
        + "Starting edits at 2006-03-07 14:05:09\r\n"
        + "\r\n" + separator + "\r\n"
        + "** Updating subscriber **\r\n"
        + "    Extension=1234\r\n";
    EXPECT_EQ(contents(path), expected);
}

TEST_F(RunLogTest, CountsMarkedLinesWithoutRegardToCaseFromTheHeaderOn)
{
    log.WriteLogHeader(log.GenerateNewLogFileName(), header());
    log.WriteLogLine("(warning) before the second header");
    // A server version text holding a marker is part of the header and not counted either.
    log.WriteLogHeader(log.GenerateNewLogFileName(), header("(error) (warning)"));
    log.WriteLogLine("(ERROR) No object returned from search for this object.");
    log.WriteLogLine("    (error) and (warning) on one line");
    log.WriteLogLine("an error without the parentheses");
    log.WriteLogLine("(Warning) skipped");
    EXPECT_EQ(log.LogErrorCount(), 2);
    EXPECT_EQ(log.LogWarningCount(), 2);
}

// A marker is found after other parentheses and at the line's very end; a cut-off one is not.
TEST_F(RunLogTest, MarkersAreFoundWhereverTheyStandInTheLine)
{
    log.WriteLogHeader(log.GenerateNewLogFileName(), header());
    const std::tuple<const char*, int, int> lines[] = {
        {"((error) after a parenthesis", 1, 0}, {"(1) then (WaRnInG)", 0, 1}, {"ends with (error)", 1, 0},
        {"cut off (erro", 0, 0},                 {"(warning", 0, 0},          {"(", 0, 0},
    };
    int errors = 0, warnings = 0;
    for (const auto& [line, error, warning] : lines) {
        log.WriteLogLine(QString::fromLatin1(line));
        errors += error;
        warnings += warning;
        EXPECT_EQ(log.LogErrorCount(), errors) << line;
        EXPECT_EQ(log.LogWarningCount(), warnings) << line;
    }
}

TEST_F(RunLogTest, WritingWithoutAnOpenLogThrows)
{
    try {
        log.WriteLogLine("(error) lost");
        FAIL() << "no exception";
    } catch (const KestraneError& error) {
        EXPECT_EQ(error.number(), 52);
    }
    log.WriteLogHeader(log.GenerateNewLogFileName(), header());
    log.Close();
    EXPECT_THROW(log.WriteLogLine("after close"), KestraneError);
}

// Held lines the file cannot take (no room for them whole, the file removed or replaced) break
// the log: the file keeps what it had, whole lines only, and takes nothing more. A removed file
// that cannot be written again leaves no part of itself.
TEST_F(RunLogTest, HeldLinesTheFileCannotTakeBreakTheLog)
{
    enum Fault { Room, Removed, Replaced };
    for (const Fault fault : {Room, Removed, Replaced}) {
        const QString path = log.startNewLog(header());
        log.holdLines();
        log.WriteLogLine("** Updating subscriber **");
        const QByteArray before = contents(path);
        log.setSizeLimit(fault == Room ? before.size() + 10 : -1);   // part of the line would fit
        ASSERT_TRUE(fault == Room || QFile::remove(path));
        ASSERT_TRUE(fault != Replaced || QFile(path).open(QIODevice::WriteOnly));
        EXPECT_THROW(log.secureHeldLines(), KestraneError);
        EXPECT_TRUE(log.failure() && log.failure()->description().startsWith(path + ": ")) << fault;
        log.WriteLogLine("dropped");
        EXPECT_THROW(log.releaseLines(), KestraneError);
        EXPECT_EQ(contents(path), fault == Room ? before : fault == Replaced ? QByteArray() : "<unreadable>");
        if (fault == Removed) {
            log.setSizeLimit(10);
            EXPECT_THROW(log.writeGoneFileAgain(), KestraneError);
            EXPECT_FALSE(QFile::exists(path));
            log.setSizeLimit(-1);
        }
        log.Close();
    }
}

// The log's copy of itself lives off the heap: 100 MB of lines raise the peak memory (reset first)
// by less than 32 MiB, and the file then cut short is written again whole, with the line that
// found the cut.
TEST_F(RunLogTest, ALargeLogIsCopiedOffTheHeapAndWrittenAgainWhole)
{
    const QString path = log.startNewLog(header());
    const auto peakKiB = [] { rusage usage{}; getrusage(RUSAGE_SELF, &usage); return usage.ru_maxrss; };
    QFile clearRefs("/proc/self/clear_refs");
    ASSERT_TRUE(clearRefs.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && clearRefs.write("5", 1) == 1);
    const long before = peakKiB();
    for (int i = 0; i < 10000; ++i)
        log.WriteLogLine(QString(9998, u'x'));
    EXPECT_LT(peakKiB() - before, 32 * 1024);
    const QByteArray head = contents(path).left(1000);
    const qint64 size = QFileInfo(path).size();
    ASSERT_TRUE(QFile(path).resize(0));
    EXPECT_THROW(log.WriteLogLine("found the cut"), KestraneError);
    QFile again(log.writeGoneFileAgain());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly) && again.size() == size + 15);
    EXPECT_EQ(again.read(1000), head);
    EXPECT_TRUE(again.seek(size - 2) && again.readAll() == "\r\nfound the cut\r\n");
}

TEST_F(RunLogTest, EachLineLetsPendingEventsRun)
{
    log.WriteLogHeader(log.GenerateNewLogFileName(), header());
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    log.WriteLogLine("line");
    EXPECT_TRUE(ran);
}

TEST_F(RunLogTest, CleanupRemovesFilesOlderThanTenCalendarDays)
{
    ASSERT_TRUE(QDir(programFolder.path()).mkdir("logs"));
    // Calendar days, not hours: late on the 25th is 10 days before the 7th, early on the 24th 11.
    makeFile("Kestrane_Log_060225_23_59_00.TXT", QDateTime(QDate(2006, 2, 25), QTime(23, 59)));
    makeFile("Kestrane_Log_060224_00_01_00.TXT", QDateTime(QDate(2006, 2, 24), QTime(0, 1)));
    makeFile("notes.doc", QDateTime(QDate(2005, 1, 1), QTime(12, 0)));
    makeFile("today.txt", startTime);
    makeFile("readonly.txt", QDateTime(QDate(2006, 1, 1), QTime(12, 0)));
    QFile::setPermissions(logsPath("readonly.txt"), QFileDevice::ReadOwner);
    ASSERT_TRUE(QDir(logsPath()).mkdir("archive"));
    makeFile("archive/old.txt", QDateTime(QDate(2000, 1, 1), QTime(12, 0)));

    log.GenerateNewLogFileName();

    QStringList left = QDir(logsPath()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left, QStringList({"Kestrane_Log_060225_23_59_00.TXT", "today.txt"}));
    EXPECT_TRUE(QFile::exists(logsPath("archive/old.txt")));   // subfolders are not entered
    EXPECT_TRUE(messages.isEmpty());
}

namespace {

// The per-user data folder in Qt's test location, under an application name of this process
// alone, so that parallel test runs do not share it. A program "folder" that is a plain file can
// never hold a logs folder, whoever runs the test.
class RunLogFallback : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(
            QStringLiteral("kestrane-runlog-%1").arg(QCoreApplication::applicationPid()));
        userData = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        userLogs = QDir(userData).filePath("logs");
        QFile file(programFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    void TearDown() override
    {
        QDir(userData).removeRecursively();
        QCoreApplication::setApplicationName(savedName);
        QStandardPaths::setTestModeEnabled(false);
    }

    const QString savedName = QCoreApplication::applicationName();
    QTemporaryDir scratch;
    QString userData;
    QString userLogs;
    const QString programFile = QDir(scratch.path()).filePath("kestrane");
    QStringList messages;
    RunLog log {programFile, [this](const QString& text) { messages << text; }, [] { return startTime; }};
};

} // namespace

TEST_F(RunLogFallback, UnwritableProgramFolderMovesLogsToTheUserFolderAndSaysSoOnce)
{
    const QString path = log.GenerateNewLogFileName();
    EXPECT_EQ(path, QDir(userLogs).filePath("Kestrane_Log_060307_14_05_09.TXT"));
    EXPECT_EQ(log.logFolder(), userLogs);
    log.WriteLogHeader(path, {4, 0, 12, "4.0(3.12)"});
    log.WriteLogLine("kept");
    log.Close();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().endsWith("kept\r\n"));

    log.GenerateNewLogFileName();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(userLogs)) << messages[0].toStdString();
}

// A program folder that can be written on a disk that takes no log (its stand-in: a size limit)
// sends the log to the per-user folder; when that disk is full too, the run does not start, and
// no log file is left behind in either.
TEST_F(RunLogFallback, AFullDiskMovesTheLogOnOrStopsTheRunNamingBothFolders)
{
    const QString programLogs = QDir(scratch.path()).filePath("logs");
    const QString full = ": No space left on device";
    for (const bool bothFull : {false, true}) {
        RunLog onFullDisk{scratch.path(), [this](const QString& text) { messages << text; }, [] { return startTime; }};
        onFullDisk.setSizeLimit(0, bothFull ? QString() : programLogs);
        QString refusal;
        try {
            EXPECT_EQ(onFullDisk.startNewLog({}), QDir(userLogs).filePath("Kestrane_Log_060307_14_05_09.TXT"));
        } catch (const KestraneError& failure) {
            refusal = failure.description();
        }
        onFullDisk.Close();
        EXPECT_EQ(refusal, bothFull ? "The run log could not be created, so nothing was changed.\r\n" + programLogs + full
                                          + "\r\n" + userLogs + full
                                    : QString());
        // Said once, by the first pass: the second one shows nothing.
        EXPECT_EQ(messages, QStringList{"Run logs cannot be written to " + programLogs
                                        + " (No space left on device). They are written to " + userLogs + " instead."});
        EXPECT_TRUE(QDir(programLogs).isEmpty());
        EXPECT_EQ(QDir(userLogs).entryList(QDir::Files).size(), bothFull ? 0 : 1);
        QDir(userLogs).removeRecursively();
    }
}

// A log removed with the whole program folder is written again where a new log would go.
TEST_F(RunLogFallback, AGoneLogWhoseFolderCannotBeMadeAgainIsWrittenToTheUserFolder)
{
    RunLog gone{scratch.path(), [](const QString&) {}, [] { return startTime; }};
    const QString path = gone.startNewLog({});
    gone.WriteLogLine("kept");
    ASSERT_TRUE(QDir(scratch.path()).removeRecursively());
    EXPECT_THROW(gone.secureHeldLines(), KestraneError);
    QFile written(gone.writeGoneFileAgain());
    EXPECT_EQ(written.fileName(), QDir(userLogs).filePath(QFileInfo(path).fileName()));
    EXPECT_TRUE(written.open(QIODevice::ReadOnly) && written.readAll().endsWith("=\r\nkept\r\n"));
}

TEST_F(RunLogFallback, NoWritableFolderStopsTheRunWithOneMessageNamingBothFolders)
{
    // A plain file where the per-user logs folder would go blocks the fallback too.
    ASSERT_TRUE(QDir().mkpath(userData));
    QFile blocker(userLogs);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    try {
        log.GenerateNewLogFileName();
        FAIL() << "a log name without a folder to take it";
    } catch (const KestraneError& failure) {
        EXPECT_EQ(failure.number(), ErrorNumber::PathFileAccessError);
        const QStringList lines = failure.description().split("\r\n");
        ASSERT_EQ(lines.size(), 3) << failure.description().toStdString();
        EXPECT_EQ(lines[0], "The run log could not be created, so nothing was changed.");
        EXPECT_TRUE(lines[1].startsWith(QDir(programFile).filePath("logs") + ": Cannot create the folder"));
        EXPECT_TRUE(lines[2].startsWith(userLogs + ": ")) << lines[2].toStdString();
    }
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_THROW(log.WriteLogHeader(QDir(userLogs).filePath("x.TXT"), {}), KestraneError);
    EXPECT_FALSE(log.isOpen());
}
