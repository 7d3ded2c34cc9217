#include "core/RunLog.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <utility>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MaximumAgeInDays = 10;

const QString separatorLine(64, u'=');

// Whether the line holds the marker ("(error)") in any letter case. Every line of a run is
// looked at: the marker's opening parenthesis is found first, rather than folding every
// character of the line.
bool holdsMarker(QStringView line, QLatin1StringView marker)
{
    for (qsizetype at = line.indexOf(u'('); at >= 0 && at + marker.size() <= line.size(); at = line.indexOf(u'(', at + 1))
        if (line.sliced(at, marker.size()).compare(marker, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString moduleError(long number, const QString& description, const QString& procedure)
{
    return formatProcedureError(number, description, procedure, QStringLiteral("Module"),
                                QStringLiteral("modLogging"));
}

// The folder exists (it is created, one level, when missing) and a file can be created in it.
bool prepareFolder(const QString& parent, const QString& folder, QString* problem)
{
    if (!QFileInfo(folder).isDir() && !QDir(parent).mkdir(QFileInfo(folder).fileName())) {
        *problem = QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-test-XXXXXX")));
    if (!probe.open()) {
        *problem = probe.errorString();
        return false;
    }
    return true;
}

} // namespace

RunLog::RunLog(QString programFolder, MessageSink messages, Clock clock)
    : m_programFolder(std::move(programFolder)), m_messages(std::move(messages)),
      m_clock(std::move(clock))
{
}

QString RunLog::logFolder() const
{
    return m_logFolder.isEmpty() ? QDir(m_programFolder).filePath(QStringLiteral("logs")) : m_logFolder;
}

QString RunLog::GenerateNewLogFileName()
{
    const QString fileName = QStringLiteral("Kestrane_Log_")
        + m_clock().toString(QStringLiteral("yyMMdd_HH_mm_ss")) + QStringLiteral(".TXT");
    m_logFolder = usableLogFolder();
    CleanupLogFiles();
    return QDir(m_logFolder).filePath(fileName);
}

QString RunLog::usableLogFolder()
{
    const QString programLogs = QDir(m_programFolder).filePath(QStringLiteral("logs"));
    QString problem;
    if (prepareFolder(m_programFolder, programLogs, &problem))
        return programLogs;

    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString userLogs = QDir(userData).filePath(QStringLiteral("logs"));
    QString fallbackProblem;
    if (!QDir().mkpath(userData)) {
        fallbackProblem = QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(userData));
    }
    if (!fallbackProblem.isEmpty() || !prepareFolder(userData, userLogs, &fallbackProblem))
        throw KestraneError(ErrorNumber::PathFileAccessError,
                            QStringLiteral("The run log could not be created, so nothing was changed.\r\n"
                                           "%1: %2\r\n%3: %4")
                                .arg(QDir::toNativeSeparators(programLogs), problem,
                                     QDir::toNativeSeparators(userLogs), fallbackProblem));
    if (!m_fallbackAnnounced) {
        m_fallbackAnnounced = true;
        tell(m_messages, QStringLiteral("Run logs cannot be written to %1 (%2). They are written to %3 instead.")
                             .arg(QDir::toNativeSeparators(programLogs), problem, QDir::toNativeSeparators(userLogs)));
    }
    return userLogs;
}

void RunLog::CleanupLogFiles()
{
    const QDir folder(logFolder());
    if (!folder.exists())
        return;
    const QDate today = m_clock().date();
    const auto files = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : files) {
        if (info.lastModified().date().daysTo(today) <= MaximumAgeInDays)
            continue;
        QFile file(info.filePath());
        if (!file.remove())
            tell(m_messages,
                 moduleError(ErrorNumber::PathFileAccessError, file.errorString(), QStringLiteral("CleanupLogFiles")));
    }
}

void RunLog::WriteLogHeader(const QString& fileName, const HeaderInfo& header)
{
    Close();
    QFile::remove(fileName);
    m_file.setFileName(fileName);
    m_failure.reset();
    // Unbuffered: every write goes straight to the file, whole or not at all (appendWhole).
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw KestraneError(ErrorNumber::PathFileAccessError,
                            QStringLiteral("The run log could not be created, so nothing was changed.\r\n%1: %2")
                                .arg(QDir::toNativeSeparators(fileName), m_file.errorString()));
    try {
        WriteLogLine(separatorLine);
        // The version line and the closing separator carry an extra line break of their own.
        WriteLogLine(QStringLiteral("Running Kestrane version %1.%2.%3\r\n")
                         .arg(header.toolMajor).arg(header.toolMinor).arg(header.toolRevision));
        WriteLogLine(QStringLiteral("Local Velmo version=") + header.serverVersion);
        WriteLogLine(QStringLiteral("Starting edits at ") + timeStamp());
        WriteLogLine(QStringLiteral("\r\n") + separatorLine);
    } catch (const KestraneError& failure) {
        Close();
        throw KestraneError(ErrorNumber::PathFileAccessError,
                            QStringLiteral("The run log could not be created, so nothing was changed.\r\n")
                                + failure.description());
    }
    m_errorCount = 0;
    m_warningCount = 0;
}

QString RunLog::startNewLog(const HeaderInfo& header)
{
    const QString fileName = GenerateNewLogFileName();
    WriteLogHeader(fileName, header);
    return fileName;
}

QString RunLog::timeStamp() const
{
    return m_clock().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void RunLog::WriteLogLine(const QString& line)
{
    writeLine(line, false);
}

void RunLog::writeErrorLine(const QString& line)
{
    writeLine(line, true);
}

void RunLog::writeLine(const QString& line, bool countedAsError)
{
    if (!m_file.isOpen())
        throw KestraneError(ErrorNumber::BadFileNameOrNumber, QStringLiteral("Bad file name or number"));
    if (m_failure)
        return;   // the run is ending: it stops at its next object
    if (countedAsError || holdsMarker(line, QLatin1StringView("(error)")))
        ++m_errorCount;
    if (holdsMarker(line, QLatin1StringView("(warning)")))
        ++m_warningCount;
    m_held += line.toUtf8();
    m_held += "\r\n";
    if (m_holding)
        return;
    writeHeldLines();
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void RunLog::holdLines()
{
    m_holding = true;
}

void RunLog::writeHeldLines()
{
    if (m_failure)
        throw *m_failure;
    if (m_held.isEmpty())
        return;
    appendWhole(std::exchange(m_held, QByteArray()));
}

void RunLog::appendWhole(const QByteArray& bytes)
{
    const int fd = m_file.handle();
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        breakWith(QString::fromLocal8Bit(std::strerror(errno)));
    qint64 room = bytes.size();
    int error = 0;
    if (m_sizeLimit >= 0 && info.st_size + room > m_sizeLimit) {
        room = std::max<qint64>(0, m_sizeLimit - info.st_size);
        error = ENOSPC;
    }
    qint64 written = 0;
    while (written < room) {
        const ssize_t part = ::write(fd, bytes.constData() + written, size_t(room - written));
        if (part < 0 && errno == EINTR)
            continue;
        if (part <= 0) {
            error = part < 0 ? errno : EIO;
            break;
        }
        written += part;
    }
    if (written == bytes.size())
        return;
    // Part of the lines reached the file: take them back, so that it ends at a whole line.
    if (written > 0 && ::ftruncate(fd, info.st_size) != 0)
        error = errno;
    breakWith(QString::fromLocal8Bit(std::strerror(error)));
}

void RunLog::secureHeldLines()
{
    if (!m_file.isOpen())
        throw KestraneError(ErrorNumber::BadFileNameOrNumber, QStringLiteral("Bad file name or number"));
    if (m_failure)
        throw *m_failure;
    // Lines written to a file that was removed or replaced would reach no one.
    const int fd = m_file.handle();
    struct stat opened {}, atPath {};
    if (::fstat(fd, &opened) != 0 || ::stat(QFile::encodeName(m_file.fileName()).constData(), &atPath) != 0
        || opened.st_dev != atPath.st_dev || opened.st_ino != atPath.st_ino)
        breakWith(QStringLiteral("the file was removed or replaced during the run"));
    if (m_held.isEmpty())
        return;
    const bool withinLimit = m_sizeLimit < 0 || opened.st_size + m_held.size() <= m_sizeLimit;
    if (withinLimit && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, opened.st_size, m_held.size()) == 0)
        return;
    // No room can be reserved (a full disk, or a file system that does not reserve): the lines
    // go to the file now, ahead of the commit.
    writeHeldLines();
}

void RunLog::breakWith(const QString& reason)
{
    m_held.clear();
    m_failure = KestraneError(ErrorNumber::DeviceIOError,
                              QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_file.fileName()), reason));
    throw *m_failure;
}

void RunLog::releaseLines()
{
    m_holding = false;
    writeHeldLines();
}

void RunLog::Close()
{
    // Lines still held belong to work that did not end: they are not written.
    m_held.clear();
    m_holding = false;
    // Room reserved past the end and not used is given back.
    if (m_file.isOpen())
        if (struct stat info {}; ::fstat(m_file.handle(), &info) == 0)
            (void)::ftruncate(m_file.handle(), info.st_size);
    m_file.close();
}
