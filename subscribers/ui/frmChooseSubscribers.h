#pragma once
// The subscriber selection page: the administrator picks a selection type and its criterion,
// fills the check-box grid `myGrid` with View (and/or the free SQL dialog's Import), checks the
// subscribers to change and goes on; Next hands the grid's rows to the wizard state, where the
// change engine reads them. The page stays loaded while the later pages run; Previous unloads it
// (the next visit loads it afresh).
#include "core/ui/SelectionPage.h"
#include "search/ui/SelectionGridTarget.h"
#include "subscribers/SelectionQueries.h"
#include "subscribers/SelectionRows.h"

#include <functional>

class frmAdvancedSubscriberSearch;
class frmDistributionListSearch;
class frmMain;
class QComboBox;
class QGroupBox;
class SubscriberGrid;

class frmChooseSubscribers : public SelectionPage, public SubscriberGridTarget {
    Q_OBJECT
public:
    // Builds the page and runs its load; reads the kind chosen on the start page, so the start
    // page's Next has set it already. Not shown yet: the caller places and shows it.
    explicit frmChooseSubscribers(WizardContext& context, QWidget* parent = nullptr);

    // Fonts, captions and grid headers in the current language (the language switch runs it
    // again on a loaded page).
    void frmChooseSubscribers_Auto_Init();

    // Adds one checked row for the subscriber at the current record of session.rsSubscribers
    // and its primary call handler at the current record of session.rsPrimaryCallHandlers
    // (gridRowOfCurrentRecords); a subscriber of another kind than the start page's is passed
    // over silently.
    void AddUserToGrid() override;
    // Adds one checked row from values that a query has already read; refuses (with a message)
    // a row without alias, class of service name, subscriber or call handler object ID.
    void AddUserToGridFAST(const SubscriberGridRow& row);

    // Previous: empties the grid, shows the start page at this page's position and unloads
    // this page.
    void cmdPrevious_Click() override;

    SubscriberGrid* grid() const;

private:
    void buildPage();
    void Form_Load();
    void fillSelectionTypes(qint16 kind);
    void fillLocations(qint16 kind);
    void fillClassesOfService();
    // Runs one step of the load; a failure is reported and the load goes on.
    void loadStep(const std::function<void()>& step);

    void cmbSubscriberSelectType_Change();
    void cmdChoosePublicDL_Click();
    void cmdAdvancedSearch_Click() override;
    void cmdView_Click() override;
    void cmdNext_Click() override;
    void cmdHelp_Click();

    frmMain* startPage() const;
    qint16 selectedSubscriberType() const;
    SubscriberSelectionCriteria criteria() const;
    // The controls that show the criterion of a selection type (of types 2 to 9; none for "All
    // subscribers").
    QList<QWidget*> criterionControls(int typeCode) const override;

    frmDistributionListSearch* m_distributionListSearch = nullptr;
    frmAdvancedSubscriberSearch* m_advancedSearch = nullptr;

    QGroupBox* frameSelectSubscribers;
    QComboBox* cmbSubscriberSelectType;
    QLineEdit* txtSubscriberExtensionRangeLow;
    QLabel* lblExtensionRangeTo;
    QLineEdit* txtSubscriberExtensionRangeHigh;
    QLineEdit* txtPublicDistributionListName;
    QLineEdit* txtPublicDistributionListObjectID;
    QPushButton* cmdChoosePublicDL;
    QComboBox* comSubscriberSwitch;
    QComboBox* ComSubscribersCOS;
    QComboBox* comHiddenCOS;
    QComboBox* comSubscriberMailServer;
    QComboBox* comSubscriberLocation;
    QComboBox* comSubscriberLocationHidden;
    QComboBox* comSubscriberNodeID;
};
