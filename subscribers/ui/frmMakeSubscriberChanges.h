#pragma once
// The last page of the subscriber branch: Go ("Update Subscribers") runs the subscriber change
// engine over the checked rows that the selection page handed on, with the choices of the
// options page as they stand at Go, then reports the errors and warnings, the closing notices
// and offers to open the run log. One page performs at most one run.
#include "core/ui/EngineRun.h"
#include "core/ui/RunPageLayout.h"

#include <QPointer>
#include <QWidget>

class KestraneError;
struct WizardContext;

class frmMakeSubscriberChanges : public QWidget {
    Q_OBJECT
public:
    // `optionsPage` is the options page whose controls (and conversation style dialog) Go reads
    // and to which Previous returns; null: no choices (nothing is changed but the frame's work).
    frmMakeSubscriberChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent = nullptr);
    ~frmMakeSubscriberChanges() override;

    // Fonts and captions in the current language.
    void frmMakeSubscriberChanges_Auto_Init();

    // How the log is opened after the run (the desktop's handler by default).
    void setLogOpener(HelpFiles::Opener opener) { m_run.setLogOpener(std::move(opener)); }

    void cmdGo_Click();
    void cmdExit_Click();
    void cmdPrev_Click();

protected:
    // Closing the window ends the tool, as Exit does.
    void closeEvent(QCloseEvent* event) override;

private:
    // After a completed run: the counts of errors and warnings and the notices the run asked for.
    void showClosingMessages(const RunLog& log);

    WizardContext& m_context;
    QPointer<QWidget> m_optionsPage;
    RunPageControls m_controls;
    EngineRun m_run;
};
