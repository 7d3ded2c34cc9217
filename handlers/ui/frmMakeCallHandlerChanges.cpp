#include "handlers/ui/frmMakeCallHandlerChanges.h"

#include "core/ui/Captions.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerEngine.h"
#include "handlers/changes/OneKeyRouting.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"

#include <QCloseEvent>
#include <QPushButton>

frmMakeCallHandlerChanges::frmMakeCallHandlerChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent)
    : QWidget(parent), m_context(context), m_optionsPage(optionsPage), m_controls(buildRunPage(this)),
      m_run(context, *this, m_controls, {CountForm::Plain, "call handler"})
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
    OptionsSnapshot options(QStringLiteral("frmSelectCallHandlerChanges"));
    if (auto* page = qobject_cast<frmSelectCallHandlerChanges*>(m_optionsPage.data()))
        options = page->snapshot();
    // A caller-input choice the run could not apply is refused before anything is written.
    const QString refusal = OneKeyRouting::firstRefusal(options, m_context.session.languages.stringLookup(),
                                                               m_context.session.rsSubscribers);
    if (!refusal.isEmpty()) {
        m_context.messages.show(refusal);
        return;
    }

    m_run.go(
        [&](RunLog& log, RunFrame& frame, const RunProgress& progress) {
            return HandlerEngine(m_context.session, log, options)
                .run(m_context.state.selectionGridRows, frame, {progress.started, progress.rowDone});
        },
        [this](const RunLog& log) {
            m_context.messages.show(runSummary(m_context.session.languages, log, CountForm::Plain) + QStringLiteral("\r\n"));
        });
}

void frmMakeCallHandlerChanges::cmdExit_Click()
{
    // During a run the current handler is committed or rolled back before the program ends.
    if (!m_run.requestStop())
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
