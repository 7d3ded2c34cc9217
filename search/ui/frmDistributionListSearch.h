#pragma once
// Modal picker of a public distribution list (see PickerDialog for the contract with the caller).
#include "search/ui/PickerDialog.h"

class frmDistributionListSearch : public PickerDialog {
    Q_OBJECT
public:
    explicit frmDistributionListSearch(WizardContext& context, QWidget* parent = nullptr);
    void frmDistributionListSearch_Auto_Init();
};
