#pragma once
// The last page of the call handler branch: Go ("Update Call Handlers") runs the call handler
// change engine over the checked rows of the selection grid, with the choices of the options page
// as they stand at Go, then reports the errors and warnings and offers to open the run log. One
// page performs at most one run; Exit never asks.
#include "core/ui/EngineRunPage.h"

class frmMakeCallHandlerChanges : public EngineRunPage {
    Q_OBJECT
public:
    frmMakeCallHandlerChanges(WizardContext& context, QWidget* optionsPage, QWidget* parent = nullptr);

    // Fonts and captions in the current language.
    void frmMakeCallHandlerChanges_Auto_Init();

    void cmdGo_Click() override;
    void cmdExit_Click() override;
};
