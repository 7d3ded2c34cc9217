#pragma once
// Modal picker of a subscriber (see PickerDialog for the contract with the caller).
#include "search/ui/PickerDialog.h"

class frmSubscriberSearch : public PickerDialog {
    Q_OBJECT
public:
    explicit frmSubscriberSearch(WizardContext& context, QWidget* parent = nullptr);
    void frmSubscriberSearch_Auto_Init();

    // Set by the caller before each showing; the dialog never changes it. True searches the
    // subscriber types 1, 2, 3, 5, 7, 8 and 9, false only 1 and 3.
    bool bShowRemoteSubscribers = false;

protected:
    QString searchStatement(PickerSearchBy searchBy, const QString& searchText) const override;
};
