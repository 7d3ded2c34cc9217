#include "core/ui/EngineRun.h"

#include "core/Errors.h"
#include "core/Languages.h"
#include "core/RunLog.h"
#include "core/ui/RunPageLayout.h"
#include "core/ui/WizardContext.h"
#include "core/WizardState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

bool EngineRun::requestStop()
{
    if (!m_frame)
        return false;
    m_frame->requestStop();
    return true;
}

void EngineRun::go(const Engine& engine, const Closing& closing, const Notices& notices)
{
    Session& session = m_context.session;
    WizardState& state = m_context.state;
    if (!state.runLog)
        state.runLog = std::make_unique<RunLog>(QCoreApplication::applicationDirPath(), m_context.messages.sink());
    RunLog& log = *state.runLog;
    const RunLog::HeaderInfo header{m_context.version.major, m_context.version.minor, m_context.version.revision,
                                    session.gServerVersion.strDisplay};
    // No run without its log: nothing has been changed yet, and Go stays available.
    QString logPath;
    try {
        logPath = log.startNewLog(header);
    } catch (const KestraneError& failure) {
        if (!m_context.exiting)
            m_context.messages.show(failure.description());
        return;
    }
    // Exit pressed while the header was written (its lines let the message loop run) has ended
    // the program already.
    if (m_context.exiting)
        return;
    m_controls.cmdPrev->setEnabled(false);
    m_controls.cmdGo->setEnabled(false);
    m_page.setCursor(Qt::WaitCursor);

    RunFrame frame(session, log);
    frame.setStopHandler([this] { ExitApplication(m_context, false); });
    m_frame = &frame;
    RunProgress progress;
    progress.started = [this](int maximum) {
        m_controls.ProgressBar->setRange(0, maximum);
        m_controls.ProgressBar->setValue(0);
    };
    progress.rowDone = [this](int value, qint32 processed) {
        m_controls.ProgressBar->setValue(value);
        m_controls.lblRecordNumber->setText(countText(processed, m_wording.countForm));
    };
    RunEnd end = RunEnd::Completed;
    std::optional<KestraneError> escaped;
    try {
        end = engine(log, frame, progress);
    } catch (const KestraneError& failure) {
        end = log.failure() ? RunEnd::LogBroken : end;
        escaped = failure;
    }
    m_frame = nullptr;
    // Go and Previous stay disabled: nothing needs the database after a run. Closed now, its
    // write-ahead log is ended into the file, so that while the messages wait the file alone
    // holds the run, and a backup restored over it or a copy taken of it is whole.
    session.database.close();
    if (end == RunEnd::Stopped)
        return;   // Exit was pressed during the run: the program has ended

    m_page.unsetCursor();
    // A log whose file is gone or cut short is written again, from the lines it took.
    const QString logAdvice = end == RunEnd::LogBroken ? afterBrokenLog(log) : QString();
    log.Close();
    const QString noun = QLatin1String(m_wording.noun);
    int untouched = 0;
    const QList<SelectionGridRow>& rows = state.selectionGridRows;
    for (int row = frame.firstRowNotReached(); row < rows.size(); ++row)
        untouched += rows[row].checked ? 1 : 0;
    const auto stopped = [&](const QString& cause, const KestraneError& failure, const QString& kept,
                             const QString& advice) {
        m_context.messages.show(runStoppedEarly(cause, failure, frame, untouched, noun, kept, advice));
    };
    switch (end) {
    case RunEnd::LogBroken:
        stopped(QStringLiteral("the run log could not be written"), *log.failure(), keptChanges(frame), logAdvice);
        break;
    case RunEnd::DatabaseBroken:
        stopped(QStringLiteral("the database failed"), *frame.databaseFailure(),
                keptChanges(frame, session.database.fileLetGo()), QStringLiteral("Check the database before running again."));
        break;
    default:
        if (escaped)
            stopped(QStringLiteral("of an error"), *escaped, keptChanges(frame),
                    QStringLiteral("The log holds the run up to the error."));
        else
            closing(log);
        break;
    }
    // The work the kept changes asked for goes on; after a database failure they are to be
    // checked first (or are in a file no longer at the path).
    if (notices && end != RunEnd::DatabaseBroken)
        notices();
    // A log that ends before the failure is not offered.
    if (end != RunEnd::LogBroken)
        m_logOffer.offer(m_context, logPath);
}

QString countText(qint64 count, CountForm form)
{
    return form == CountForm::Padded ? paddedNumber(count) : QString::number(count);
}

QString runSummary(const Languages& languages, const RunLog& log, CountForm form)
{
    return languages.mymyLoadString(115) + countText(log.LogErrorCount(), form) + languages.mymyLoadString(5)
           + countText(log.LogWarningCount(), form) + languages.mymyLoadString(8);
}

QString keptChanges(const RunFrame& frame, const QString& fileLetGo)
{
    if (fileLetGo.isEmpty())
        return QStringLiteral(" and keep their changes");
    if (frame.committedCount() == 0)
        return QString();
    const QString path = QDir::toNativeSeparators(fileLetGo);
    const QString written =
        QStringLiteral(", but their changes were written to the database file that was moved, removed or replaced");
    return QFileInfo::exists(fileLetGo) ? written + QStringLiteral(", and are not in the file now at %1").arg(path)
                                        : written + QStringLiteral(": no file is at %1 now").arg(path);
}

QString afterBrokenLog(RunLog& log)
{
    switch (log.fault()) {
    case RunLog::Fault::FileGone:
        try {
            return QStringLiteral("The log of the run up to the failure was written again to %1.")
                .arg(QDir::toNativeSeparators(log.writeGoneFileAgain()));
        } catch (const KestraneError& failure) {
            return QStringLiteral("The log of this run is lost: it could not be written again (%1).")
                .arg(failure.description());
        }
    case RunLog::Fault::DiskFull:
        return QStringLiteral("The log ends before the failure.  Make room for the log before running again.");
    case RunLog::Fault::Other:
        break;
    }
    return QStringLiteral("The log ends before the failure.");
}

QString runStoppedEarly(const QString& cause, const KestraneError& failure, const RunFrame& frame, int untouched,
                        const QString& noun, const QString& kept, const QString& advice)
{
    const QString rolledBack =
        frame.endedWithRollback() ? QStringLiteral("the %1 under way was rolled back and ").arg(noun) : QString();
    return QStringLiteral("The run was stopped because %1:\r\n%2\r\n\r\n"
                          "%3 %4(s) were changed before the failure%5; %6%7 selected %4(s) were not touched.  %8")
        .arg(cause, failure.description(), QString::number(frame.committedCount()), noun, kept, rolledBack,
             QString::number(untouched), advice);
}
