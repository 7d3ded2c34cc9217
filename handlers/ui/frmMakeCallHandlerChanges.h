#pragma once
// The last page of the call handler branch: Go ("Update Call Handlers") runs the call handler
// change engine over the checked rows of the selection grid, with the choices of the options page
// as they stand at Go, then reports the errors and warnings and offers to open the run log. One
// page performs at most one run; Exit never asks.
#include "core/ui/EngineRun.h"
#include "core/ui/RunPageLayout.h"

#include <QPointer>
#include <QWidget>

struct WizardContext;

class frmMakeCallHandlerChanges : public QWidget {
    Q_OBJECT
public:
    // `optionsPage` is the options page whose controls Go reads and to which Previous returns;
    // null: no choices.
    frmMakeCallHandlerChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent = nullptr);
    ~frmMakeCallHandlerChanges() override;

    // Fonts and captions in the current language.
    void frmMakeCallHandlerChanges_Auto_Init();

    // How the log is opened after the run (the desktop's handler by default).
    void setLogOpener(HelpFiles::Opener opener) { m_run.setLogOpener(std::move(opener)); }

    void cmdGo_Click();
    void cmdExit_Click();
    void cmdPrev_Click();

protected:
    // Closing the window ends the tool, as Exit does.
    void closeEvent(QCloseEvent* event) override;

private:
    WizardContext& m_context;
    QPointer<QWidget> m_optionsPage;
    RunPageControls m_controls;
    EngineRun m_run;
};
