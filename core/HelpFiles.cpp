#include "core/HelpFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

QString helpFilePath(const QString& programFolder, const QString& suffix)
{
    return QDir(programFolder).filePath(QStringLiteral("Kestrane4") + suffix + QStringLiteral(".html"));
}

void signalGroup(const QProcess& process, int signal)
{
    // Each viewer leads a process group of its own (desktopOpener), which takes in the browser a
    // launcher script runs; a process started by another opener only gets the signal itself.
    const pid_t pid = static_cast<pid_t>(process.processId());
    if (pid > 0 && ::kill(-pid, signal) != 0)
        ::kill(pid, signal);
}

} // namespace

QString getHelpFileName(const QString& languageCode, const QString& programFolder)
{
    const QString languageFile = helpFilePath(programFolder, QStringLiteral("_") + languageCode);
    if (QFileInfo::exists(languageFile))
        return languageFile;
    const QString englishFile = helpFilePath(programFolder, QStringLiteral("_ENU"));
    if (QFileInfo::exists(englishFile))
        return englishFile;
    return helpFilePath(programFolder, QString());
}

HelpFiles::HelpFiles(MessageSink messages, Opener opener, int closeGraceMs)
    : m_messages(std::move(messages)), m_opener(std::move(opener)), m_closeGraceMs(closeGraceMs)
{
}

HelpFiles::HelpFiles(MessageSink messages) : HelpFiles(std::move(messages), desktopOpener())
{
}

HelpFiles::~HelpFiles()
{
    CloseHelpWindow();
}

void HelpFiles::showCHMHelp(const QString& file)
{
    std::erase_if(m_viewers, [](const auto& viewer) { return viewer->state() == QProcess::NotRunning; });

    Launch launch;
    if (QFileInfo(file).isFile()) {
        launch = m_opener(file);
    } else {
        launch.status = Launch::Failed;
        launch.errorCode = FileNotFound;
    }

    switch (launch.status) {
    case Launch::Started:
        if (launch.viewer)
            m_viewers.push_back(std::move(launch.viewer));
        break;
    case Launch::NoHandler:
        tell(m_messages, QStringLiteral("No program is currently associated to open this file type: ") + file);
        break;
    case Launch::Failed:
        tell(m_messages, QStringLiteral("Unable to launch help file ") + file
                             + QStringLiteral(". Try opening the file manually. Error code returned is ")
                             + QString::number(launch.errorCode));
        break;
    }
}

void HelpFiles::CloseHelpWindow()
{
    std::vector<std::unique_ptr<QProcess>> running;
    for (auto& viewer : m_viewers)
        if (viewer->state() != QProcess::NotRunning)
            running.push_back(std::move(viewer));
    m_viewers.clear();
    if (running.empty())
        return;

    for (const auto& viewer : running)
        signalGroup(*viewer, SIGTERM);
    const QDeadlineTimer deadline(m_closeGraceMs);
    for (const auto& viewer : running) {
        if (!viewer->waitForFinished(static_cast<int>(deadline.remainingTime()))) {
            signalGroup(*viewer, SIGKILL);
            viewer->waitForFinished();
        }
    }
}

HelpFiles::Opener HelpFiles::desktopOpener(const QString& workingFolder, const QString& launcher, int handOffMs)
{
    return [=](const QString& file) {
        Launch launch;
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(workingFolder);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setChildProcessModifier([] { ::setpgid(0, 0); });
        process->start(launcher, {file});
        if (!process->waitForStarted()) {
            // Without the launcher nothing on this desktop opens files by their type.
            launch.status = Launch::NoHandler;
            return launch;
        }

        // Wait for the hand-off with the window still painting; clicks wait until it is over.
        if (process->state() != QProcess::NotRunning) {
            QEventLoop loop;
            QObject::connect(process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
            QTimer::singleShot(handOffMs, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        if (process->state() != QProcess::NotRunning) {
            launch.viewer = std::move(process);
            return launch;
        }

        const int exitCode = process->exitCode();
        if (process->exitStatus() == QProcess::NormalExit && exitCode == 0)
            return launch;
        if (process->exitStatus() == QProcess::NormalExit && exitCode == NoMethodExitCode) {
            launch.status = Launch::NoHandler;
            return launch;
        }
        launch.status = Launch::Failed;
        launch.errorCode = exitCode;
        return launch;
    };
}
