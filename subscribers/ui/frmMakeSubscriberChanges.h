#pragma once
// The last page of the subscriber branch: Go ("Update Subscribers") runs the subscriber change
// engine over the checked rows that the selection page handed on, with the choices of the
// options page as they stand at Go, then reports the errors and warnings, the closing notices
// and offers to open the run log. One page performs at most one run.
#include "core/ui/EngineRunPage.h"

class frmMakeSubscriberChanges : public EngineRunPage {
    Q_OBJECT
public:
    // `optionsPage` is the options page whose controls (and conversation style dialog) Go reads
    // and to which Previous returns; null: no choices (nothing is changed but the frame's work).
    frmMakeSubscriberChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent = nullptr);

    // Fonts and captions in the current language.
    void frmMakeSubscriberChanges_Auto_Init();

    void cmdGo_Click() override;
    void cmdExit_Click() override;

private:
    // After a completed run, or a stop whose kept changes are kept: the write-through to the
    // directory and the Notifier restart that the kept changes asked for.
    void showClosingNotices();
};
