#pragma once
// The call handler selection page: the administrator picks a selection type and its criterion,
// fills the check-box grid `myGrid` with "Add Handlers To Grid" (and/or the free SQL dialog's
// Import), checks the handlers to change and goes on. One instance for the whole run: Previous
// and Next only hide it, so a later visit finds the grid, the type and the criteria as left.
#include "core/ui/SelectionPage.h"
#include "handlers/HandlerSelection.h"
#include "search/ui/SelectionGridTarget.h"

#include <functional>

class frmAdvancedHandlerSearch;
class HandlerGrid;
class QComboBox;
class QGroupBox;

class frmChooseHandlers : public SelectionPage, public HandlerGridTarget {
    Q_OBJECT
public:
    // Builds the page and runs its load. Not shown yet: the caller places and shows it.
    explicit frmChooseHandlers(WizardContext& context, QWidget* parent = nullptr);

    // Opens the handler options page for Next: the context's handlerOptionsPage unless replaced;
    // a page that returns none keeps Next here.
    std::function<QWidget*()> optionsPage;

    // Fonts, captions and grid headers in the current language (the language switch runs it
    // again on a loaded page).
    void frmChooseHandlers_Auto_Init();

    // Adds one checked row for the handler at the current record of
    // session.rsNonPrimaryCallHandlers (handlerRowOfCurrentRecord); a primary handler is passed
    // over silently. txtUsersInGrid is left to the caller.
    void AddHandlerToGrid() override;

    HandlerGrid* grid() const;

private:
    void buildPage();
    void Form_Load();
    void fillSelectionTypes();

    void cmbHandlerSelectType_Click();
    void cmdAdvancedSearch_Click() override;
    void cmdView_Click() override;
    void cmdNext_Click() override;
    void cmdPrevious_Click() override;
    // Opens the run's subscriber or distribution list picker and puts the pick into the boxes.
    void pickSubscriber(QLineEdit* nameBox, QLineEdit* objectIdBox);
    void pickDistributionList(QLineEdit* nameBox, QLineEdit* objectIdBox);

    HandlerSelectionCriteria criteria() const;
    // The controls that show the criterion of a selection type (of types 2 to 8; none for "All
    // call handlers").
    QList<QWidget*> criterionControls(int typeCode) const override;

    frmAdvancedHandlerSearch* m_advancedSearch = nullptr;

    QGroupBox* Frame1;
    QComboBox* cmbHandlerSelectType;
    QLineEdit* txtHandlerExtensionRangeLow;
    QLabel* lblExtensionTo;
    QLineEdit* txtHandlerExtensionRangeHigh;
    QComboBox* comHandlerSwitch;
    QLineEdit* txtCallHandlerOwnerSubscriber;
    QPushButton* cmdChooseCallHandlerOwnerSubscriber;
    QLineEdit* txtCallHandlerOwnerSubscriberObjectID;
    QLineEdit* txtCallHandlerOwnerDL;
    QPushButton* cmdChooseCallHandlerOwnerDL;
    QLineEdit* txtCallHandlerOwnerDLObjectID;
    QLineEdit* txtCallHandlerRecipientSubscriber;
    QPushButton* cmdChooseCallHandlerRecipientSubscriber;
    QLineEdit* txtCallHandlerRecipientSubscriberObjectID;
    QLineEdit* txtCallHandlerRecipientDL;
    QPushButton* cmdChooseCallHandlerRecipientDL;
    QLineEdit* txtCallHandlerRecipientDLObjectID;
};
