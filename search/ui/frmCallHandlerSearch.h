#pragma once
// Modal picker of a call handler that is not a subscriber's primary handler (see PickerDialog
// for the contract with the caller).
#include "search/ui/PickerDialog.h"

class frmCallHandlerSearch : public PickerDialog {
    Q_OBJECT
public:
    explicit frmCallHandlerSearch(WizardContext& context, QWidget* parent = nullptr);
    void frmCallHandlerSearch_Auto_Init();
};
