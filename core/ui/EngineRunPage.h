#pragma once
// The frame both engine pages share: the run page's layout and its EngineRun, the options page
// whose controls Go reads and to which Previous returns, Go / Exit / Previous / Help wired, and
// the window's close taken as Exit. A page brings its name, its Go (checks, engine, closing
// messages) and whether its Exit asks.
#include "core/ui/EngineRun.h"
#include "core/ui/RunPageLayout.h"

#include <QPointer>
#include <QWidget>

class QCloseEvent;
struct WizardContext;

class EngineRunPage : public QWidget {
    Q_OBJECT
public:
    ~EngineRunPage() override;

    // How the log is opened after the run (the desktop's handler by default).
    void setLogOpener(HelpFiles::Opener opener) { m_run.setLogOpener(std::move(opener)); }

    virtual void cmdGo_Click() = 0;
    virtual void cmdExit_Click() = 0;
    // Back to the options page, where this page stands.
    void cmdPrev_Click();

protected:
    // `optionsPage` is the options page whose controls Go reads and to which Previous returns;
    // null: no choices.
    EngineRunPage(WizardContext& context, QWidget* optionsPage, const QString& formName, RunWording wording,
                  QWidget* parent);

    // Exit: the program ends at once (after the question when `ask`), or, during a run, once the
    // object under way is committed or rolled back.
    void exitUnlessRunning(bool ask);

    // The window stays until the program ends (at once, or after the object under way).
    void closeEvent(QCloseEvent* event) override;

    WizardContext& m_context;
    QPointer<QWidget> m_optionsPage;
    RunPageControls m_controls;
    EngineRun m_run;
};
