#pragma once
// The run log of a change engine: one text file per run, "Kestrane_Log_yymmdd_hh_mm_ss.TXT" in
// the "logs" folder under the program's folder, a fixed header, then one CR LF line per object
// and per change. Lines holding "(error)" or "(warning)" (any letter case) are counted for the
// engine's closing notice.
//
// Calling order of a run: GenerateNewLogFileName, WriteLogHeader with its result (or both at once:
// startNewLog), WriteLogLine any number of times, read LogErrorCount / LogWarningCount, Close.
//
// When the program's folder cannot take a "logs" folder (an installed program on Linux), the logs
// go to the per-user data folder (QStandardPaths::AppLocalDataLocation + "/logs") and the user is
// told once. A log that cannot be created, and a line that cannot be written, throw to the caller:
// a run must not start, or go on, without its log.
//
// During a run the lines of one object are held in memory and written together once its
// transaction has ended (holdLines, writeHeldLines, releaseLines), so that a run cut off in the
// middle of an object leaves no line of changes that were never kept. Before the transaction
// commits, secureHeldLines makes sure that the file can take them. Lines are written whole or
// not at all: a write that fails part-way is taken back, so the file ends at a whole line. Once a
// write has failed the log is broken: later lines are dropped, and writeHeldLines and
// secureHeldLines throw the same failure. A file whose size is not what the run wrote to it (cut
// short, or written over in place, by another program) counts as replaced: nothing more goes into
// it. Once the file is not the run's, nothing of the log writes to it, truncates it or changes
// its room.
//
// The log keeps its own copy of every line the file took, off the heap: an unnamed temporary file
// in the log's folder (gone with the program, even when it is killed), written with each write of
// the log. A gone, replaced or cut log is written again from it.
#include "core/Errors.h"
#include "core/Messages.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <cerrno>
#include <functional>
#include <optional>

class QDir;
class QFileInfo;
struct stat;

class RunLog {
public:
    using Clock = std::function<QDateTime()>;

    struct HeaderInfo {
        int toolMajor = 0;
        int toolMinor = 0;
        int toolRevision = 0;
        QString serverVersion;   // display text of the server version read at start-up
    };

    // programFolder is the folder of the program (QCoreApplication::applicationDirPath()); the
    // clock gives the start time of the file name and header and the "today" of the clean-up.
    RunLog(QString programFolder, MessageSink messages,
           Clock clock = [] { return QDateTime::currentDateTime(); });
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Full path of a new log file for the current time. Creates the logs folder when it is
    // missing and removes old files from it (CleanupLogFiles); creates no log file. Throws
    // KestraneError naming each folder tried and why it cannot take the log when none can.
    QString GenerateNewLogFileName();
    // Deletes any file of that name, opens it for appending, writes the header and sets both
    // counters to 0. Throws KestraneError, naming the file and the reason, when it cannot.
    void WriteLogHeader(const QString& fileName, const HeaderInfo& header);
    // The log of a new run: GenerateNewLogFileName, then WriteLogHeader; returns its path. Both
    // throw before anything is changed when no log can be created.
    QString startNewLog(const HeaderInfo& header);
    // Counts and writes one line plus CR LF, then lets pending events run so that the page stays
    // responsive; while lines are held, counts and keeps it instead. Throws KestraneError when no
    // log is open or the write fails.
    void WriteLogLine(const QString& line);
    // Writes the line as WriteLogLine does and counts it as one error, whatever its text holds:
    // for an error line whose wording carries no "(error)".
    void writeErrorLine(const QString& line);
    // From now on lines are kept in memory instead of written.
    void holdLines();
    // Writes the lines kept so far in one write and one flush; lines are still held after it.
    void writeHeldLines();
    // Writes the lines kept so far, then writes each line as it comes again.
    void releaseLines();
    // Makes sure the lines kept so far can be written: the file is still the one at the log's
    // path, holds all the run wrote to it, and room for them is reserved in it; where room cannot be reserved, they are written
    // now. Throws KestraneError (and the log is broken) when the file cannot take them.
    void secureHeldLines();
    // The failure that broke the log, once a write has failed.
    const std::optional<KestraneError>& failure() const { return m_failure; }
    // What broke it.
    enum class Fault { DiskFull, FileGone, Other };
    Fault fault() const { return m_fault; }
    // Once the log broke because its file was removed, replaced or cut short (Fault::FileGone):
    // writes every line the file took, whole, to a file again, where a new log would go: in the
    // log's folder (made again when it is gone too), else in the per-user one; under the log's
    // name when nothing is there now, otherwise with "-recovered" before the extension (and a
    // number after it when that name is taken too), never over another file. Returns that file's
    // path; throws KestraneError, naming each file or folder tried and the reason, when none
    // could be written.
    QString writeGoneFileAgain();
    // A log file's size is kept at or below `bytes`: a write past it fails with `error`, as on a
    // full disk (ENOSPC) or a quota used up (EDQUOT). Only for files in `folder` when one is
    // given. Tests stand it in for a file system that fills.
    void setSizeLimit(qint64 bytes, const QString& folder = QString(), int error = ENOSPC)
    {
        m_sizeLimit = bytes;
        m_sizeLimitFolder = folder;
        m_sizeLimitError = error;
    }
    bool holdingLines() const { return m_holding; }
    // Deletes every file of the logs folder last modified more than 10 calendar days ago.
    void CleanupLogFiles();
    // Closes the log and its copy; room reserved past the end and not used is given back, in a
    // file that is still the run's.
    void Close();

    // The clock's current time as the header writes it ("yyyy-MM-dd HH:mm:ss").
    QString timeStamp() const;

    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    qint32 LogErrorCount() const { return m_errorCount; }
    qint32 LogWarningCount() const { return m_warningCount; }
    // Where the procedures that a run calls show their messages.
    const MessageSink& messages() const { return m_messages; }
    // The folder the logs go to: the program's "logs" folder, or the per-user one after a
    // fallback.
    QString logFolder() const;

private:
    QString programLogsFolder() const;
    // The program's "logs" folder, or the per-user one when that cannot be written (`problem`
    // when already known: the program's folder took no log).
    QString usableLogFolder(QString problem = QString());
    // The name of a new log in `folder` for the current time; cleans the folder up.
    QString newLogFileIn(const QString& folder);
    // Opens the file and writes the header; the reason when it cannot, with no file left.
    QString startLogFile(const QString& fileName, const HeaderInfo& header);
    // Tells the user, once, that the logs go to the per-user folder.
    void announceFallback();
    void writeLine(const QString& line, bool countedAsError);
    // Appends the bytes whole, or throws (the log broken) with the file as it was.
    void appendWhole(const QByteArray& bytes);
    // Breaks the log when the open file, `opened`, is not as long as what the run wrote to it;
    // the lines `unwritten` that were due to it are kept for writing the log again.
    void breakIfWrittenOver(const struct stat& opened, const QByteArray& unwritten = QByteArray());
    // The open file, `opened`, is still the run's: the file at the log's path, as long as what
    // the run wrote to it.
    bool stillTheRunsFile(const struct stat& opened) const;
    // Opens the log's copy in `folder`; 0, or the error.
    int openCopy(const QString& folder);
    // Writes every line the file took to a new file in `folder` named after `log`; its path, or
    // throws KestraneError naming the file and the reason.
    QString writeCopyIn(const QDir& folder, const QFileInfo& log) const;
    // The size limit of the stand-in for that file; -1 for none.
    qint64 sizeLimitFor(const QString& path) const;
    [[noreturn]] void breakWith(const QString& reason, Fault fault);

    QString m_programFolder;
    MessageSink m_messages;
    Clock m_clock;
    QString m_logFolder;   // empty until GenerateNewLogFileName has chosen one
    bool m_fallbackAnnounced = false;
    QFile m_file;
    bool m_holding = false;
    QByteArray m_held;   // lines kept while holding, each with its CR LF
    qint64 m_written = 0;   // the bytes the file took
    // The copy of every line the file took (and of those due to it when it was found written
    // over), and its size; -1 while no log is open.
    int m_copy = -1;
    qint64 m_copySize = 0;
    std::optional<KestraneError> m_failure;
    QString m_failureReason;   // its description without the file's name
    Fault m_fault = Fault::Other;
    qint64 m_sizeLimit = -1;   // none
    QString m_sizeLimitFolder;
    int m_sizeLimitError = ENOSPC;
    QString m_programLogsProblem;   // why the program's logs folder took no log, after a fallback
    qint32 m_errorCount = 0;
    qint32 m_warningCount = 0;
};

// The padded form of a number in a log line or a notice: one leading blank when it is zero or
// positive, the minus sign otherwise.
inline QString paddedNumber(qint64 number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}
