#pragma once
// Free SQL query over vw_Subscriber; Import fills the subscriber selection page's grid.
#include "search/ui/FreeQueryDialog.h"

class SubscriberGridTarget;

class frmAdvancedSubscriberSearch : public FreeQueryDialog {
    Q_OBJECT
public:
    frmAdvancedSubscriberSearch(WizardContext& context, SubscriberGridTarget& selectionPage, QWidget* parent = nullptr);
};
