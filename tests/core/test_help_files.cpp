#include "core/HelpFiles.h"
#include "tests/support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class HelpFilesTest : public ::testing::Test {
protected:
    QTemporaryDir programFolder;
    QStringList messages;
    QStringList opened;   // documents handed to the recording opener
    HelpFiles::Launch::Status status = HelpFiles::Launch::Started;
    int errorCode = 0;

    QString path(const QString& name) const { return QDir(programFolder.path()).filePath(name); }

    void createFile(const QString& name, const QByteArray& content = "<html></html>")
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    MessageSink sink()
    {
        return [this](const QString& text) { messages << text; };
    }

    // Records what it was asked to open and answers with `status` / `errorCode`.
    HelpFiles::Opener recordingOpener()
    {
        return [this](const QString& file) {
            opened << file;
            HelpFiles::Launch launch;
            launch.status = status;
            launch.errorCode = errorCode;
            return launch;
        };
    }

    // An executable launcher script standing in for xdg-open.
    QString launcher(const QString& name, const QByteArray& body)
    {
        createFile(name, "#!/bin/sh\n" + body);
        QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path(name);
    }
};

// True once the process is gone (or only its zombie is left for a parent to collect).
bool processEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    const qsizetype afterName = fields.lastIndexOf(')');
    return afterName >= 0 && fields.mid(afterName + 2, 1) == "Z";
}

} // namespace

TEST_F(HelpFilesTest, NameFallsBackFromTheLanguageToEnglishToTheBareName)
{
    EXPECT_EQ(getHelpFileName("DEU", programFolder.path()), path("Kestrane4.html"));
    createFile("Kestrane4_ENU.html");
    EXPECT_EQ(getHelpFileName("DEU", programFolder.path()), path("Kestrane4_ENU.html"));
    createFile("Kestrane4_DEU.html");
    EXPECT_EQ(getHelpFileName("DEU", programFolder.path()), path("Kestrane4_DEU.html"));
    EXPECT_EQ(getHelpFileName("FRA", programFolder.path()), path("Kestrane4_ENU.html"));
}

TEST_F(HelpFilesTest, ExistingDocumentIsHandedToTheOpenerWithoutAMessage)
{
    createFile("Kestrane4_DEU.html");
    HelpFiles help(sink(), recordingOpener());
    help.showCHMHelp(getHelpFileName("DEU", programFolder.path()));
    EXPECT_EQ(opened, QStringList{path("Kestrane4_DEU.html")});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HelpFilesTest, MissingDocumentIsReportedWithoutTryingToOpenIt)
{
    HelpFiles help(sink(), recordingOpener());
    help.showCHMHelp(getHelpFileName("DEU", programFolder.path()));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(messages, QStringList{"Unable to launch help file " + path("Kestrane4.html")
                                    + ". Try opening the file manually. Error code returned is 2"});
}

TEST_F(HelpFilesTest, NoHandlerAndFailedLaunchGiveTheirMessagesWithTheFullPath)
{
    createFile("Kestrane4_ENU.html");
    HelpFiles help(sink(), recordingOpener());

    status = HelpFiles::Launch::NoHandler;
    help.showCHMHelp(path("Kestrane4_ENU.html"));
    status = HelpFiles::Launch::Failed;
    errorCode = 4;
    help.showCHMHelp(path("Kestrane4_ENU.html"));

    EXPECT_EQ(messages, QStringList({"No program is currently associated to open this file type: "
                                         + path("Kestrane4_ENU.html"),
                                     "Unable to launch help file " + path("Kestrane4_ENU.html")
                                         + ". Try opening the file manually. Error code returned is 4"}));
}

TEST_F(HelpFilesTest, ClosingWithoutAViewerDoesNotWait)
{
    createFile("Kestrane4_ENU.html");
    // Whatever the grace time, there is nothing to wait for: help never opened, or handed off.
    HelpFiles help(sink(), recordingOpener(), 600000);
    QElapsedTimer elapsed;
    elapsed.start();
    help.CloseHelpWindow();
    help.showCHMHelp(path("Kestrane4_ENU.html"));
    help.CloseHelpWindow();
    EXPECT_LT(elapsed.elapsed(), 60000);
}

TEST_F(HelpFilesTest, DesktopOpenerReadsTheLaunchersExitCode)
{
    createFile("Kestrane4_ENU.html");
    const QString document = path("Kestrane4_ENU.html");
    const auto openWith = [&](const QString& launcherPath) {
        HelpFiles help(sink(), HelpFiles::desktopOpener(programFolder.path(), launcherPath, 30000));
        help.showCHMHelp(document);
    };

    openWith(launcher("handed-off.sh", "printf '%s' \"$1\" > opened.txt\nexit 0\n"));
    EXPECT_TRUE(messages.isEmpty());
    QFile openedFile(path("opened.txt"));   // written in the working folder, naming the document
    ASSERT_TRUE(openedFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(openedFile.readAll()), document);

    openWith(launcher("no-method.sh", "exit 3\n"));
    openWith(launcher("failed.sh", "exit 4\n"));
    openWith(path("no-such-launcher"));
    EXPECT_EQ(messages,
              QStringList({"No program is currently associated to open this file type: " + document,
                           "Unable to launch help file " + document
                               + ". Try opening the file manually. Error code returned is 4",
                           "No program is currently associated to open this file type: " + document}));
}

TEST_F(HelpFilesTest, CloseHelpWindowEndsTheViewerAndWhatItStarted)
{
    createFile("Kestrane4_ENU.html");
    // A launcher that keeps the viewer (here: sleep) in the foreground, as xdg-open does for a
    // browser that was not running yet.
    const QString foreground = launcher("foreground.sh", "sleep 300 &\necho $! > viewer.pid\nwait\n");
    HelpFiles help(sink(), HelpFiles::desktopOpener(programFolder.path(), foreground, 200), 5000);
    help.showCHMHelp(path("Kestrane4_ENU.html"));
    EXPECT_TRUE(messages.isEmpty());

    const QDeadlineTimer started(10000);
    while (QFileInfo(path("viewer.pid")).size() == 0 && !started.hasExpired())
        QTest::qWait(20);
    QFile pidFile(path("viewer.pid"));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const qint64 viewer = pidFile.readAll().trimmed().toLongLong();
    ASSERT_GT(viewer, 0);
    ASSERT_FALSE(processEnded(viewer));

    help.CloseHelpWindow();
    const QDeadlineTimer deadline(10000);
    while (!processEnded(viewer) && !deadline.hasExpired())
        QTest::qWait(20);
    EXPECT_TRUE(processEnded(viewer));
}
