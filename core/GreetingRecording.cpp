#include "core/GreetingRecording.h"

#include "core/RunFrame.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

namespace {

std::filesystem::path fileSystemPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

KestraneError accessError(const QString& target, const QString& reason)
{
    return KestraneError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("Path/File access error: ") + target + QStringLiteral(": ") + reason);
}

}  // namespace

RecordingClock RecordingClock::system()
{
    return {[] {
                const QDateTime now = QDateTime::currentDateTime();
                return now.toSecsSinceEpoch() + now.offsetFromUtc();
            },
            [] { std::this_thread::sleep_for(std::chrono::seconds(1)); }};
}

QString streamFilesFolder(const QString& rootPath)
{
    if (rootPath.isEmpty())
        return QStringLiteral("Stream Files");
    QString root = rootPath;
    while (root.endsWith(u'/'))
        root.chop(1);
    return root + QStringLiteral("/Stream Files");
}

GreetingRecording copyGreetingRecording(const QString& sourcePath, const QString& rootPath,
                                        const GreetingRecordingName& name, ObjectActions& actions,
                                        std::function<void(const KestraneError&)> placeFailed,
                                        const RecordingClock& clock)
{
    const QString folder = streamFilesFolder(rootPath);
    const QString prefix = QString(name.objectAlias).remove(u'/') + u'_' + name.ruleAlias + QStringLiteral("_CustomGreeting_");
    GreetingRecording copy;
    for (;;) {
        copy.streamPath = prefix + QString::number(clock.secondsNow()) + QStringLiteral(".WAV");
        copy.targetPath = folder + u'/' + copy.streamPath;
        if (!QFileInfo::exists(copy.targetPath))
            break;
        clock.pauseOneSecond();
    }

    // A name of its own in the same folder, so that placing it is a rename.
    QTemporaryFile reserved(folder + QStringLiteral("/.") + copy.streamPath + QStringLiteral(".XXXXXX"));
    if (!reserved.open())
        throw accessError(copy.targetPath, reserved.errorString());
    reserved.setAutoRemove(false);
    const QString temporary = reserved.fileName();
    reserved.close();
    std::error_code failure;
    std::filesystem::copy_file(fileSystemPath(sourcePath), fileSystemPath(temporary),
                               std::filesystem::copy_options::overwrite_existing, failure);
    if (failure) {
        QFile::remove(temporary);
        throw accessError(copy.targetPath, QString::fromStdString(failure.message()));
    }

    actions.onCommit([temporary, target = copy.targetPath, placeFailed = std::move(placeFailed)] {
        std::error_code failure;
        std::filesystem::rename(fileSystemPath(temporary), fileSystemPath(target), failure);
        if (!failure)
            return;
        QFile::remove(temporary);
        placeFailed(accessError(target, QString::fromStdString(failure.message())));
    });
    actions.onRollback([temporary] { QFile::remove(temporary); });
    return copy;
}
