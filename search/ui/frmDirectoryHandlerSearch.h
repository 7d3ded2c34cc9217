#pragma once
// Modal picker of a directory (name lookup) handler (see PickerDialog for the contract with
// the caller).
#include "search/ui/PickerDialog.h"

class frmDirectoryHandlerSearch : public PickerDialog {
    Q_OBJECT
public:
    explicit frmDirectoryHandlerSearch(WizardContext& context, QWidget* parent = nullptr);
    void frmDirectoryHandlerSearch_Auto_Init();
};
