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

#include <QPushButton>

frmMakeSubscriberChanges::frmMakeSubscriberChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent)
    : EngineRunPage(context, optionsPage, QStringLiteral("frmMakeSubscriberChanges"), {CountForm::Padded, "subscriber"}, parent)
{
    m_context.forms.add(this, [this] { frmMakeSubscriberChanges_Auto_Init(); });
    frmMakeSubscriberChanges_Auto_Init();
}

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

    m_run.go(
        [&](RunLog& log, RunFrame& frame, const RunProgress& progress) {
            return SubscriberEngine(session, log, options)
                .run(state.selectionGridRows, frame, {progress.started, progress.rowDone});
        },
        [this](const RunLog& log) {
            m_context.messages.show(runSummary(m_context.session.languages, log, CountForm::Padded)
                                    + QStringLiteral("\r\n\r\n"));
        },
        [this] { showClosingNotices(); });
}

void frmMakeSubscriberChanges::showClosingNotices()
{
    const Session& session = m_context.session;
    const Languages& languages = session.languages;
    if (session.bDirectoryWriteThroughPending)
        m_context.messages.show(languages.mymyLoadString(336));
    if (session.bNotifierRestartPending)
        m_context.messages.show(languages.mymyLoadString(445));
}

void frmMakeSubscriberChanges::cmdExit_Click()
{
    // Asks while Go is still available; during a run, the subscriber under way is committed or
    // rolled back first.
    exitUnlessRunning(m_controls.cmdGo->isEnabled());
}
