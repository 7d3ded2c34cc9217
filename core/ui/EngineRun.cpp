#include "core/ui/EngineRun.h"

#include "core/Errors.h"
#include "core/Languages.h"
#include "core/RunLog.h"
#include "core/ui/RunPageLayout.h"
#include "core/ui/WizardContext.h"
#include "core/WizardState.h"

#include <QCoreApplication>
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

void EngineRun::go(const Engine& engine, const Closing& closing)
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
    if (end == RunEnd::Stopped)
        return;   // Exit was pressed during the run: the program has ended

    m_page.unsetCursor();
    log.Close();
    const QString noun = QLatin1String(m_wording.noun);
    int untouched = 0;
    const QList<SelectionGridRow>& rows = state.selectionGridRows;
    for (int row = frame.firstRowNotReached(); row < rows.size(); ++row)
        untouched += rows[row].checked ? 1 : 0;
    switch (end) {
    case RunEnd::LogBroken:
        // The log ends before the failure: it is not offered.
        m_context.messages.show(runStoppedEarly(QStringLiteral("the run log could not be written"), *log.failure(), frame,
                                                untouched, noun,
                                                QStringLiteral("The log ends before the failure.  Make room for the "
                                                               "log before running again.")));
        return;
    case RunEnd::DatabaseBroken:
        m_context.messages.show(runStoppedEarly(QStringLiteral("the database failed"), *frame.databaseFailure(), frame,
                                                untouched, noun,
                                                QStringLiteral("Check the database before running again.")));
        break;
    default:
        if (escaped)
            m_context.messages.show(runStoppedEarly(QStringLiteral("of an error"), *escaped, frame, untouched, noun,
                                                    QStringLiteral("The log holds the run up to the error.")));
        else
            closing(log);
        break;
    }
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

QString runStoppedEarly(const QString& cause, const KestraneError& failure, const RunFrame& frame, int untouched,
                        const QString& noun, const QString& advice)
{
    const QString rolledBack =
        frame.endedWithRollback() ? QStringLiteral("the %1 under way was rolled back and ").arg(noun) : QString();
    return QStringLiteral("The run was stopped because %1:\r\n%2\r\n\r\n"
                          "%3 %4(s) were changed before the failure and keep their changes; %5%6 selected %4(s) "
                          "were not touched.  %7")
        .arg(cause, failure.description(), QString::number(frame.committedCount()), noun, rolledBack,
             QString::number(untouched), advice);
}
