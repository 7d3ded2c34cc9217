#pragma once
// Free SQL query over vw_CallHandler; Import fills the call handler selection page's grid.
#include "search/ui/FreeQueryDialog.h"

class HandlerGridTarget;

class frmAdvancedHandlerSearch : public FreeQueryDialog {
    Q_OBJECT
public:
    frmAdvancedHandlerSearch(WizardContext& context, HandlerGridTarget& selectionPage, QWidget* parent = nullptr);
};
