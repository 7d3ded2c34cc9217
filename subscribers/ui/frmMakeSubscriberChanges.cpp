#include "subscribers/ui/frmMakeSubscriberChanges.h"

#include "core/Errors.h"
#include "core/RunFrame.h"
#include "core/ui/Captions.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/WizardContext.h"
#include "subscribers/SubscriberEngine.h"
#include "subscribers/changes/DestinationLookup.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmMakeSubscriberChanges::frmMakeSubscriberChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent)
    : QWidget(parent), m_context(context), m_optionsPage(optionsPage), m_controls(buildRunPage(this))
{
    setObjectName(QStringLiteral("frmMakeSubscriberChanges"));
    connect(m_controls.cmdGo, &QPushButton::clicked, this, &frmMakeSubscriberChanges::cmdGo_Click);
    connect(m_controls.cmdExit, &QPushButton::clicked, this, &frmMakeSubscriberChanges::cmdExit_Click);
    connect(m_controls.cmdPrev, &QPushButton::clicked, this, &frmMakeSubscriberChanges::cmdPrev_Click);
    connect(m_controls.cmdHelp, &QPushButton::clicked, this, [this] { showHelp(m_context); });
    m_context.forms.add(this, [this] { frmMakeSubscriberChanges_Auto_Init(); });
    frmMakeSubscriberChanges_Auto_Init();
}

frmMakeSubscriberChanges::~frmMakeSubscriberChanges() = default;

void frmMakeSubscriberChanges::frmMakeSubscriberChanges_Auto_Init()
{
    static constexpr CaptionRow kCaptions[] = {
        {"frmMakeSubscriberChanges", NoIndex, 72},
        {"frameProgress", NoIndex, 212},
        {"Label4", NoIndex, 286},
        {"cmdHelp", NoIndex, 153},
        {"cmdGo", NoIndex, 285},
        {"cmdExit", NoIndex, 116},
        {"cmdPrev", NoIndex, 18},
        {"cmdNext", NoIndex, 191},
        {"Label1", NoIndex, 62},
        {"Label2", NoIndex, 99},
    };
    Languages& languages = m_context.session.languages;
    SetFormFontForLanguage(this, languages.lngLanguageID);
    applyCaptions(this, kCaptions, languages.stringLookup());
}

void frmMakeSubscriberChanges::cmdGo_Click()
{
    Session& session = m_context.session;
    const Languages& languages = session.languages;
    WizardState& state = m_context.state;
    if (state.selectionGridRowCount() == 1) {
        m_context.messages.show(languages.mymyLoadString(193));
        return;
    }

    // The choices as they stand now; the style dialog is loaded (in its first state) if the
    // administrator never opened it.
    OptionsSnapshot options(QStringLiteral("frmSelectSubscriberChanges"));
    if (auto* page = qobject_cast<frmSelectSubscriberChanges*>(m_optionsPage.data()))
        options = page->snapshot({frmSetConversationStyleLimits::instance(m_context, page)});
    // A caller-input choice the run could not apply is refused before anything is written.
    const QString refusal =
        firstInvalidCallerInput(SubscriberOptions(options), languages.stringLookup(), session.rsSubscribers);
    if (!refusal.isEmpty()) {
        m_context.messages.show(refusal);
        return;
    }

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
        m_context.messages.show(failure.description());
        return;
    }
    m_controls.cmdGo->setEnabled(false);
    m_controls.cmdPrev->setEnabled(false);
    setCursor(Qt::WaitCursor);

    RunFrame frame(session, log);
    frame.setStopHandler([this] { ExitApplication(m_context, false); });
    m_runFrame = &frame;
    SubscriberEngine::Progress progress;
    progress.started = [this](int maximum) {
        m_controls.ProgressBar->setRange(0, maximum);
        m_controls.ProgressBar->setValue(0);
    };
    progress.rowDone = [this](int value, qint32 processed) {
        m_controls.ProgressBar->setValue(value);
        m_controls.lblRecordNumber->setText(paddedNumber(processed));
    };
    SubscriberEngine engine(session, log, options);
    RunEnd end = RunEnd::Completed;
    try {
        end = engine.run(state.selectionGridRows, frame, progress);
    } catch (const KestraneError& failure) {
        // The log itself cannot be written: the run ends here.
        m_context.messages.show(QStringLiteral("(error) in cmdGo_Click routine.  Description=") + failure.description()
                                + QStringLiteral(" Number=") + paddedNumber(failure.number()));
    }
    m_runFrame = nullptr;
    if (end == RunEnd::Stopped)
        return;   // Exit was pressed during the run: the program has ended

    unsetCursor();
    log.Close();
    if (end == RunEnd::DatabaseBroken)
        showDatabaseFailure(*frame.databaseFailure(), frame.committedCount());
    else
        showClosingMessages();
    m_logOffer.offer(m_context, logPath);
}

void frmMakeSubscriberChanges::showClosingMessages()
{
    const Session& session = m_context.session;
    const Languages& languages = session.languages;
    const RunLog& log = *m_context.state.runLog;
    MessageBoxService& messages = m_context.messages;
    messages.show(languages.mymyLoadString(115) + paddedNumber(log.LogErrorCount()) + languages.mymyLoadString(5)
                  + paddedNumber(log.LogWarningCount()) + languages.mymyLoadString(8) + QStringLiteral("\r\n\r\n"));
    if (session.bDirectoryWriteThroughPending)
        messages.show(languages.mymyLoadString(336));
    if (session.bNotifierRestartPending)
        messages.show(languages.mymyLoadString(445));
}

void frmMakeSubscriberChanges::showDatabaseFailure(const KestraneError& failure, int committed)
{
    m_context.messages.show(
        QStringLiteral("The run was stopped because the database failed:\r\n%1\r\n\r\n"
                       "%2 subscriber(s) were changed before the failure and keep their changes; the subscriber under "
                       "way was rolled back and no later subscriber was touched.  Check the database before running "
                       "again.")
            .arg(failure.description())
            .arg(committed));
}

void frmMakeSubscriberChanges::cmdExit_Click()
{
    // During a run the current subscriber is committed or rolled back before the program ends.
    if (m_runFrame)
        m_runFrame->requestStop();
    else
        ExitApplication(m_context, m_controls.cmdGo->isEnabled());
}

void frmMakeSubscriberChanges::cmdPrev_Click()
{
    hide();
    if (m_optionsPage) {
        m_optionsPage->move(pos());
        m_optionsPage->show();
    }
}

void frmMakeSubscriberChanges::closeEvent(QCloseEvent* event)
{
    // The window stays until the program ends (at once, or after the subscriber under way).
    event->ignore();
    cmdExit_Click();
}
