#pragma once
// What both selection pages (frmChooseSubscribers, frmChooseHandlers) do alike around their own
// selection types, criteria and rows: the check-box grid `myGrid` and its count box, Clear,
// Select All, Unselect All, Exit and closing the window, the criterion controls shown for a
// type, the CSV Browse, the frame of a grid fill and Next's checks. A page derives from it,
// creates and lays out the controls declared here in its own order, and brings its grid, its
// criterion controls, its captions and its messages.
#include "core/ui/Captions.h"
#include "core/ui/SelectionGridTarget.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <span>

class KeyedCheckGrid;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class frmSubscriberLoadProgress;
struct WizardContext;

// A grid column's header caption: the column's key and its string number.
struct GridHeaderCaption {
    const char* key;
    int string;
};

class SelectionPage : public QWidget, public virtual SelectionGridTarget {
    Q_OBJECT
public:
    // SelectionGridTarget (the free SQL dialog's Import).
    void clearGrid() override;
    int gridRowCount() const override;
    void setUsersInGridText(const QString& text) override;

protected:
    // The page's selection types 2 to lastCriterionType have criterion controls.
    SelectionPage(WizardContext& context, int lastCriterionType, QWidget* parent);

    // The controls that show the criterion of a selection type (none for the "All" type).
    virtual QList<QWidget*> criterionControls(int typeCode) const = 0;
    QList<QWidget*> allCriterionControls() const;
    // Creates the controls declared here but the grid and the wizard buttons; the page lays
    // them out.
    void createSharedControls();
    // Starts the page's layout: the bold heading Label1 on `page`, then `frame`, whose layout it
    // returns, with the row of the selection type list `typeList` and, to its right, every
    // criterion control (hidden until its type is chosen). The criterion controls exist by then.
    QVBoxLayout* layOutTypeRow(QVBoxLayout* page, QGroupBox* frame, QComboBox* typeList);
    // Shows only the criterion controls of `typeCode`; a type without any but the "All" type (1)
    // shows none and tells `invalidTypeMessage`.
    void showCriterionControls(int typeCode, const QString& invalidTypeMessage);

    // Connects the buttons to the handlers below, once the page has built them; Help and the
    // criterion controls' buttons are the page's own.
    void connectPageButtons();
    // The page's fonts and captions in the current language, and its grid's headers.
    void captionPage(std::span<const CaptionRow> captions, std::span<const GridHeaderCaption> headers);
    // Advanced Search is offered only when the command line asks for it ("Advanced").
    void offerAdvancedSearchWhenAsked();
    void cmdClearGrid_Click();
    void cmdBrowseForCSV_Click();
    // Each page's own.
    virtual void cmdView_Click() = 0;
    virtual void cmdAdvancedSearch_Click() = 0;
    virtual void cmdNext_Click() = 0;
    virtual void cmdPrevious_Click() = 0;

    // The progress window titled with string `titleNumber` shown over the page, with the wait
    // cursor; the page asks it for the kind of count its fill shows before calling fillGrid.
    frmSubscriberLoadProgress& showFillProgress(int titleNumber);
    // Empties the grid (whatever happens afterwards), paints the progress window once and runs
    // `fill`, whose rows reach the grid in one insertion. A KestraneError ends the fill without a
    // message of its own; the rows added so far stay. The progress window and the wait cursor
    // go away afterwards; the page then writes its count.
    void fillGrid(const std::function<void()>& fill);

    // Next: a grid without data rows tells `noRowsMessage`, one without a checked row
    // `noCheckedRowMessage`, and the page stays as it was. Otherwise the rows go to the wizard
    // (handRowsToWizard) and `showOptionsPage` makes or finds, refills and shows the options page
    // in this page's place, with the wait cursor on this page and cmdNext disabled meanwhile;
    // both are restored however it ends, a throw included.
    void nextToOptionsPage(int noRowsMessage, int noCheckedRowMessage, const std::function<void()>& showOptionsPage);

    // Closing the window ends the tool, as Exit does.
    void closeEvent(QCloseEvent* event) override;

    WizardContext& m_context;

    // Declared one by one like every form's controls (frmAbout's, say): other controls, no shared logic.
    QLabel* Label1 = nullptr;
    QLineEdit* txtCSVPath = nullptr;
    QPushButton* cmdBrowseForCSV = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdAdvancedSearch = nullptr;
    KeyedCheckGrid* myGrid = nullptr;   // the page's own grid type
    QLabel* lblTotalGridRows = nullptr;
    QLineEdit* txtUsersInGrid = nullptr;
    QPushButton* cmdClearGrid = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdUnselectAll = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdNext = nullptr;

private:
    // Next's checks; when they pass, every row goes to the wizard state, where the run reads them
    // (the grid cannot change while the later pages run: this page is hidden then).
    bool handRowsToWizard(int noRowsMessage, int noCheckedRowMessage);

    const int m_lastCriterionType;
    frmSubscriberLoadProgress* m_progress = nullptr;
    QFileDialog* CommonDialog = nullptr;   // created by the first CSV browse
};
