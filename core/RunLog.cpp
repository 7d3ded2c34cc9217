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

// Why a log whose file another program removed, replaced or cut short stopped the run.
const QString fileGone = QStringLiteral("the file was removed or replaced during the run");

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

// Appends the bytes whole to the open file `fd`, `size` bytes long, keeping it at or below `limit`
// (none when negative; a write past it fails with `limitError`); 0, or the error with the file as
// it was.
int appendWholeTo(int fd, qint64 size, QByteArrayView bytes, qint64 limit = -1, int limitError = 0)
{
    qint64 room = bytes.size();
    int error = 0;
    if (limit >= 0 && size + room > limit) {
        room = std::max<qint64>(0, limit - size);
        error = limitError;
    }
    qint64 written = 0;
    while (written < room) {
        const ssize_t part = ::pwrite(fd, bytes.data() + written, size_t(room - written), size + written);
        if (part < 0 && errno == EINTR)
            continue;
        if (part <= 0) {
            error = part < 0 ? errno : EIO;
            break;
        }
        written += part;
    }
    if (written == bytes.size())
        return 0;
    // Part of the lines reached the file: take them back, so that it ends at a whole line.
    if (written > 0 && ::ftruncate(fd, size) != 0)
        error = errno;
    return error;
}

bool isFullDisk(int error)
{
    // A quota used up is a full disk to the administrator: room is to be made either way.
    return error == ENOSPC || error == EDQUOT;
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

RunLog::RunLog(QString programFolder, MessageSink messages, Clock clock)
    : m_programFolder(std::move(programFolder)), m_messages(std::move(messages)),
      m_clock(std::move(clock))
{
}

RunLog::~RunLog()
{
    Close();
}

QString RunLog::programLogsFolder() const
{
    return QDir(m_programFolder).filePath(QStringLiteral("logs"));
}

QString RunLog::logFolder() const
{
    return m_logFolder.isEmpty() ? programLogsFolder() : m_logFolder;
}

QString RunLog::GenerateNewLogFileName()
{
    const QString fileName = newLogFileIn(usableLogFolder());
    announceFallback();
    return fileName;
}

QString RunLog::newLogFileIn(const QString& folder)
{
    m_logFolder = folder;
    CleanupLogFiles();
    return QDir(folder).filePath(QStringLiteral("Kestrane_Log_") + m_clock().toString(QStringLiteral("yyMMdd_HH_mm_ss"))
                                 + QStringLiteral(".TXT"));
}

namespace {

KestraneError noLogIn(const QString& programLogs, const QString& problem, const QString& userLogs,
                      const QString& fallbackProblem)
{
    return KestraneError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("The run log could not be created, so nothing was changed.\r\n"
                                        "%1: %2\r\n%3: %4")
                             .arg(QDir::toNativeSeparators(programLogs), problem, QDir::toNativeSeparators(userLogs),
                                  fallbackProblem));
}

KestraneError noLogFile(const QString& fileName, const QString& problem)
{
    return KestraneError(ErrorNumber::PathFileAccessError,
                         QStringLiteral("The run log could not be created, so nothing was changed.\r\n%1: %2")
                             .arg(QDir::toNativeSeparators(fileName), problem));
}

QString userLogsFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).filePath(QStringLiteral("logs"));
}

// The per-user logs folder exists (it is created when missing) and a file can be created in it.
bool prepareUserLogsFolder(QString* problem)
{
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!QDir().mkpath(userData)) {
        *problem = QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(userData));
        return false;
    }
    return prepareFolder(userData, userLogsFolder(), problem);
}

}  // namespace

QString RunLog::usableLogFolder(QString problem)
{
    const QString programLogs = programLogsFolder();
    m_programLogsProblem.clear();
    if (problem.isEmpty() && prepareFolder(m_programFolder, programLogs, &problem))
        return programLogs;

    QString fallbackProblem;
    if (!prepareUserLogsFolder(&fallbackProblem))
        throw noLogIn(programLogs, problem, userLogsFolder(), fallbackProblem);
    m_programLogsProblem = problem;
    return userLogsFolder();
}

void RunLog::announceFallback()
{
    if (m_programLogsProblem.isEmpty() || m_fallbackAnnounced)
        return;
    m_fallbackAnnounced = true;
    tell(m_messages, QStringLiteral("Run logs cannot be written to %1 (%2). They are written to %3 instead.")
                         .arg(QDir::toNativeSeparators(programLogsFolder()), m_programLogsProblem,
                              QDir::toNativeSeparators(m_logFolder)));
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
    if (const QString problem = startLogFile(fileName, header); !problem.isEmpty())
        throw noLogFile(fileName, problem);
}

QString RunLog::startLogFile(const QString& fileName, const HeaderInfo& header)
{
    Close();
    QFile::remove(fileName);
    m_file.setFileName(fileName);
    m_failure.reset();
    m_fault = Fault::Other;
    m_written = 0;
    // Unbuffered: every write goes straight to the file, whole or not at all (appendWhole).
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return m_file.errorString();
    if (const int error = openCopy(QFileInfo(fileName).absolutePath())) {
        Close();
        QFile::remove(fileName);
        m_fault = isFullDisk(error) ? Fault::DiskFull : Fault::Other;
        m_failureReason = errorText(error);
        return m_failureReason;
    }
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
        if (!m_failure)   // closed under the header by Exit: the file stays as a run's log does
            return failure.description();
        // A header the file could not take makes no log: nothing is left of it.
        QFile::remove(fileName);
        return m_failureReason;
    }
    m_errorCount = 0;
    m_warningCount = 0;
    return QString();
}

QString RunLog::startNewLog(const HeaderInfo& header)
{
    QString fileName = newLogFileIn(usableLogFolder());
    QString problem = startLogFile(fileName, header);
    // The program's folder can be written but its disk takes no log: the per-user folder takes
    // it, as when the program's folder cannot be written.
    if (!problem.isEmpty() && m_fault == Fault::DiskFull && m_programLogsProblem.isEmpty()) {
        fileName = newLogFileIn(usableLogFolder(problem));
        problem = startLogFile(fileName, header);
    }
    if (problem.isEmpty()) {
        announceFallback();
        return fileName;
    }
    if (m_programLogsProblem.isEmpty())   // the file alone could not be made: no other folder helps
        throw noLogFile(fileName, problem);
    throw noLogIn(programLogsFolder(), m_programLogsProblem, m_logFolder, problem);
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
        breakWith(errorText(errno), Fault::Other);
    breakIfWrittenOver(info, bytes);
    if (const int error = appendWholeTo(fd, info.st_size, bytes, sizeLimitFor(m_file.fileName()), m_sizeLimitError))
        breakWith(errorText(error), isFullDisk(error) ? Fault::DiskFull : Fault::Other);
    // The copy takes the lines too, or neither keeps them.
    if (const int error = appendWholeTo(m_copy, m_copySize, bytes)) {
        (void)::ftruncate(fd, info.st_size);
        breakWith(errorText(error), isFullDisk(error) ? Fault::DiskFull : Fault::Other);
    }
    m_written += bytes.size();
    m_copySize += bytes.size();
}

void RunLog::breakIfWrittenOver(const struct stat& opened, const QByteArray& unwritten)
{
    // Another program truncated the file, or wrote over it in place (a copy-truncate rotation, an
    // editor saving in place): what the run wrote is no longer what it holds, and it is that
    // program's file now. Lines that were due to it (those of an object already kept, say) go
    // with the rest of the run's when the log is written again.
    if (opened.st_size == m_written)
        return;
    if (appendWholeTo(m_copy, m_copySize, unwritten) == 0)
        m_copySize += unwritten.size();
    breakWith(fileGone, Fault::FileGone);
}

bool RunLog::stillTheRunsFile(const struct stat& opened) const
{
    struct stat atPath {};
    return ::stat(QFile::encodeName(m_file.fileName()).constData(), &atPath) == 0 && opened.st_dev == atPath.st_dev
           && opened.st_ino == atPath.st_ino && opened.st_size == m_written;
}

int RunLog::openCopy(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    m_copySize = 0;
    m_copy = ::open(path.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_copy >= 0)
        return 0;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return errno;
    // A file system without unnamed files: a named one, removed at once.
    QByteArray name = path + "/.Kestrane_Log_copy_XXXXXX";
    m_copy = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_copy < 0)
        return errno;
    ::unlink(name.constData());
    return 0;
}

qint64 RunLog::sizeLimitFor(const QString& path) const
{
    if (m_sizeLimitFolder.isEmpty() || QFileInfo(path).absoluteDir() == QDir(m_sizeLimitFolder))
        return m_sizeLimit;
    return -1;
}

void RunLog::secureHeldLines()
{
    if (!m_file.isOpen())
        throw KestraneError(ErrorNumber::BadFileNameOrNumber, QStringLiteral("Bad file name or number"));
    if (m_failure)
        throw *m_failure;
    // Lines written to a file that was removed, replaced or written over would reach no one.
    const int fd = m_file.handle();
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !stillTheRunsFile(opened))
        breakWith(fileGone, Fault::FileGone);
    if (m_held.isEmpty())
        return;
    const qint64 limit = sizeLimitFor(m_file.fileName());
    const bool withinLimit = limit < 0 || opened.st_size + m_held.size() <= limit;
    if (withinLimit && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, opened.st_size, m_held.size()) == 0)
        return;
    // No room can be reserved (a full disk, or a file system that does not reserve): the lines
    // go to the file now, ahead of the commit.
    writeHeldLines();
}

void RunLog::breakWith(const QString& reason, Fault fault)
{
    m_held.clear();
    m_fault = fault;
    m_failureReason = reason;
    m_failure = KestraneError(ErrorNumber::DeviceIOError,
                              QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_file.fileName()), reason));
    throw *m_failure;
}

QString RunLog::writeGoneFileAgain()
{
    const QFileInfo log(m_file.fileName());
    // Where a new log would go: the log's own folder (made again when it was removed too), else
    // the per-user one.
    QStringList folders{log.absolutePath()};
    if (QDir(userLogsFolder()) != log.absoluteDir())
        folders << userLogsFolder();
    QStringList problems;
    for (const QString& folder : std::as_const(folders)) {
        QString problem;
        const bool ready = folder == log.absolutePath()
                               ? prepareFolder(QFileInfo(folder).absolutePath(), folder, &problem)
                               : prepareUserLogsFolder(&problem);
        if (!ready) {
            problems << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), problem);
            continue;
        }
        try {
            return writeCopyIn(QDir(folder), log);
        } catch (const KestraneError& failure) {
            problems << failure.description();
        }
    }
    throw KestraneError(ErrorNumber::DeviceIOError, problems.join(QStringLiteral("; ")));
}

QString RunLog::writeCopyIn(const QDir& folder, const QFileInfo& log) const
{
    const auto unwritten = [](const QString& file, int error) {
        return KestraneError(ErrorNumber::DeviceIOError,
                             QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), errorText(error)));
    };
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString number = attempt > 1 ? u'-' + QString::number(attempt) : QString();
        const QString file = folder.filePath(attempt == 0 ? log.fileName()
                                                          : log.completeBaseName() + QStringLiteral("-recovered")
                                                                + number + u'.' + log.suffix());
        // O_EXCL: whatever is at the name now is someone else's file.
        const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            throw unwritten(file, errno);
        // From the copy a block at a time: the log is never all in memory.
        QByteArray block(1 << 20, Qt::Uninitialized);
        int error = 0;
        for (qint64 done = 0; error == 0 && done < m_copySize;) {
            const qint64 wanted = std::min<qint64>(block.size(), m_copySize - done);
            const ssize_t part = ::pread(m_copy, block.data(), size_t(wanted), done);
            if (part < 0 && errno == EINTR)
                continue;
            error = part < 0 ? errno : part == 0 ? EIO
                                                 : appendWholeTo(fd, done, QByteArrayView(block.constData(), part),
                                                                 sizeLimitFor(file), m_sizeLimitError);
            done += std::max<ssize_t>(part, 0);
        }
        ::close(fd);
        if (error == 0)
            return file;
        ::unlink(QFile::encodeName(file).constData());
        throw unwritten(file, error);
    }
    throw unwritten(folder.filePath(log.fileName()), EEXIST);
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
    // Room reserved past the end and not used is given back, only in a file that is still the
    // run's: another program's file keeps what it wrote and the room it took.
    struct stat info {};
    if (m_file.isOpen() && m_fault != Fault::FileGone && ::fstat(m_file.handle(), &info) == 0 && stillTheRunsFile(info))
        (void)::ftruncate(m_file.handle(), m_written);
    m_file.close();
    if (m_copy >= 0)
        ::close(m_copy);
    m_copy = -1;
    m_copySize = 0;
}
