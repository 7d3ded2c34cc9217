#include "core/ui/EngineRun.h"

#include "core/Errors.h"
#include "core/Languages.h"
#include "core/RunLog.h"
#include "core/ui/RunPageLayout.h"
#include "core/ui/WizardContext.h"

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
        m_controls.lblRecordNumber->setText(countText(processed, m_countForm));
    };
    RunEnd end = RunEnd::Completed;
    try {
        end = engine(log, frame, progress);
    } catch (const KestraneError& failure) {
        // The log itself cannot be written: the run ends here.
        m_context.messages.show(QStringLiteral("(error) in cmdGo_Click routine.  Description=") + failure.description()
                                + QStringLiteral(" Number=") + paddedNumber(failure.number()));
    }
    m_frame = nullptr;
    if (end == RunEnd::Stopped)
        return;   // Exit was pressed during the run: the program has ended

    m_page.unsetCursor();
    log.Close();
    closing(end, frame, log);
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

QString runStoppedByDatabase(const KestraneError& failure, int committed, const QString& noun)
{
    return QStringLiteral("The run was stopped because the database failed:\r\n%1\r\n\r\n"
                          "%2 %3(s) were changed before the failure and keep their changes; the %3 under "
                          "way was rolled back and no later %3 was touched.  Check the database before running "
                          "again.")
        .arg(failure.description())
        .arg(committed)
        .arg(noun);
}
