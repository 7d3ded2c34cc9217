#pragma once
// Modal picker of an interview handler (see PickerDialog for the contract with the caller).
#include "search/ui/PickerDialog.h"

class frmInterviewerSearch : public PickerDialog {
    Q_OBJECT
public:
    explicit frmInterviewerSearch(WizardContext& context, QWidget* parent = nullptr);
    void frmInterviewerSearch_Auto_Init();
};
