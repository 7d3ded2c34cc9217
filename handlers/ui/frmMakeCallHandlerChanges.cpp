#include "handlers/ui/frmMakeCallHandlerChanges.h"

#include "core/ui/Captions.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerEngine.h"
#include "handlers/changes/OneKeyRouting.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"


frmMakeCallHandlerChanges::frmMakeCallHandlerChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent)
    : EngineRunPage(context, optionsPage, QStringLiteral("frmMakeCallHandlerChanges"), {CountForm::Plain, "call handler"}, parent)
{
    m_context.forms.add(this, [this] { frmMakeCallHandlerChanges_Auto_Init(); });
    frmMakeCallHandlerChanges_Auto_Init();
}

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
    // Never asks: during a run, the handler under way is committed or rolled back first.
    exitUnlessRunning(false);
}
