#include "core/RunLog.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <utility>

namespace {

constexpr int MaximumAgeInDays = 10;

const QString separatorLine(64, u'=');

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
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw KestraneError(ErrorNumber::PathFileAccessError,
                            QStringLiteral("The run log could not be created, so nothing was changed.\r\n%1: %2")
                                .arg(QDir::toNativeSeparators(fileName), m_file.errorString()));
    WriteLogLine(separatorLine);
    // The version line and the closing separator carry an extra line break of their own.
    WriteLogLine(QStringLiteral("Running Kestrane version %1.%2.%3\r\n")
                     .arg(header.toolMajor).arg(header.toolMinor).arg(header.toolRevision));
    WriteLogLine(QStringLiteral("Local Velmo version=") + header.serverVersion);
    WriteLogLine(QStringLiteral("Starting edits at ") + timeStamp());
    WriteLogLine(QStringLiteral("\r\n") + separatorLine);
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
    if (countedAsError || line.contains(QLatin1String("(error)"), Qt::CaseInsensitive))
        ++m_errorCount;
    if (line.contains(QLatin1String("(warning)"), Qt::CaseInsensitive))
        ++m_warningCount;
    m_held += line.toUtf8() + "\r\n";
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
    if (m_held.isEmpty())
        return;
    // Flushed at once, so that a run that ends abruptly keeps every line written so far.
    const QByteArray bytes = std::exchange(m_held, QByteArray());
    if (m_file.write(bytes) != bytes.size() || !m_file.flush())
        throw KestraneError(ErrorNumber::DeviceIOError, m_file.errorString());
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
    m_file.close();
}
