#include "handlers/ui/frmMakeCallHandlerChanges.h"

#include "core/Errors.h"
#include "core/RunFrame.h"
#include "core/ui/Captions.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerEngine.h"
#include "handlers/changes/OneKeyRouting.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmMakeCallHandlerChanges::frmMakeCallHandlerChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent)
    : QWidget(parent), m_context(context), m_optionsPage(optionsPage), m_controls(buildRunPage(this))
{
    setObjectName(QStringLiteral("frmMakeCallHandlerChanges"));
    connect(m_controls.cmdGo, &QPushButton::clicked, this, &frmMakeCallHandlerChanges::cmdGo_Click);
    connect(m_controls.cmdExit, &QPushButton::clicked, this, &frmMakeCallHandlerChanges::cmdExit_Click);
    connect(m_controls.cmdPrev, &QPushButton::clicked, this, &frmMakeCallHandlerChanges::cmdPrev_Click);
    connect(m_controls.cmdHelp, &QPushButton::clicked, this, [this] { showHelp(m_context); });
    m_context.forms.add(this, [this] { frmMakeCallHandlerChanges_Auto_Init(); });
    frmMakeCallHandlerChanges_Auto_Init();
}

frmMakeCallHandlerChanges::~frmMakeCallHandlerChanges() = default;

void frmMakeCallHandlerChanges::frmMakeCallHandlerChanges_Auto_Init()
{
    static constexpr CaptionRow kCaptions[] = {
        {"frmMakeCallHandlerChanges", NoIndex, 71},
        {"cmdHelp", NoIndex, 153},
        {"frameProgress", NoIndex, 212},
        {"Label4", NoIndex, 286},
        {"cmdNext", NoIndex, 191},
        {"cmdPrev", NoIndex, 18},
        {"cmdExit", NoIndex, 116},
        {"cmdGo", NoIndex, 284},
        {"Label2", NoIndex, 302},
        {"Label1", NoIndex, 62},
    };
    Languages& languages = m_context.session.languages;
    SetFormFontForLanguage(this, languages.lngLanguageID);
    applyCaptions(this, kCaptions, languages.stringLookup());
}

void frmMakeCallHandlerChanges::cmdGo_Click()
{
    Session& session = m_context.session;
    const Languages& languages = session.languages;
    WizardState& state = m_context.state;
    OptionsSnapshot options(QStringLiteral("frmSelectCallHandlerChanges"));
    if (auto* page = qobject_cast<frmSelectCallHandlerChanges*>(m_optionsPage.data()))
        options = page->snapshot();
    // A caller-input choice the run could not apply is refused before anything is written.
    const QString refusal = OneKeyRouting::firstRefusal(options, languages.stringLookup(), session.rsSubscribers);
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
    m_controls.cmdPrev->setEnabled(false);
    m_controls.cmdGo->setEnabled(false);
    setCursor(Qt::WaitCursor);

    RunFrame frame(session, log);
    frame.setStopHandler([this] { ExitApplication(m_context, false); });
    m_runFrame = &frame;
    HandlerEngine::Progress progress;
    progress.started = [this](int maximum) {
        m_controls.ProgressBar->setRange(0, maximum);
        m_controls.ProgressBar->setValue(0);
    };
    progress.rowDone = [this](int value, qint32 processed) {
        m_controls.ProgressBar->setValue(value);
        m_controls.lblRecordNumber->setText(paddedNumber(processed));
    };
    HandlerEngine engine(session, log, options);
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
    m_context.messages.show(languages.mymyLoadString(115) + paddedNumber(log.LogErrorCount())
                            + languages.mymyLoadString(5) + paddedNumber(log.LogWarningCount())
                            + languages.mymyLoadString(8) + QStringLiteral("\r\n"));
    m_logOffer.offer(m_context, logPath);
}

void frmMakeCallHandlerChanges::cmdExit_Click()
{
    // During a run the current handler is committed or rolled back before the program ends.
    if (m_runFrame)
        m_runFrame->requestStop();
    else
        ExitApplication(m_context, false);
}

void frmMakeCallHandlerChanges::cmdPrev_Click()
{
    hide();
    if (m_optionsPage) {
        m_optionsPage->move(pos());
        m_optionsPage->show();
    }
}

void frmMakeCallHandlerChanges::closeEvent(QCloseEvent* event)
{
    // The window stays until the program ends (at once, or after the handler under way).
    event->ignore();
    cmdExit_Click();
}
