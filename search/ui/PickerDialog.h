#pragma once
// The modal directory picker shared by frmCallHandlerSearch, frmSubscriberSearch,
// frmInterviewerSearch, frmDirectoryHandlerSearch and frmDistributionListSearch: a search text,
// option buttons choosing the searched field, a grid of the objects found, OK and Cancel.
//
// Contract with the caller: the caller shows the dialog modally (exec() or pickInto()) and then
// reads strDisplayName, strObjectID and bCancelHit. Every showing starts afresh: empty search
// text, empty grid, the member's initial option, bCancelHit false and both texts empty. OK (or
// a double-click on a data row) sets both texts from the chosen row with bCancelHit false;
// Cancel sets bCancelHit true. Closing the window any other way keeps the fresh values, so the
// caller ends up with two empty boxes either way. Enter and Escape press no button and close
// nothing.
//
// The grid's columns are those of the member's statement, from column 1 on; column 0 and the
// last column (the object ID) are hidden. Each column carries a key (header data Qt::UserRole):
// "Alias", "DisplayName", "Extension" (and "FirstName", "LastName"), and the object ID's key.
#include "search/PickerQueries.h"

#include <QDialog>
#include <QList>

class KestraneError;
class PickerGridModel;
class QGroupBox;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QRadioButton;
class QTableView;
struct WizardContext;

class PickerDialog : public QDialog {
    Q_OBJECT
public:
    // The pick; kept after the dialog closes, until it is shown again.
    QString strDisplayName;
    QString strObjectID;
    bool bCancelHit = false;

    // Shows the dialog modally, then puts the pick into the caller's two boxes, or empties both
    // when Cancel was hit.
    void pickInto(QLineEdit* nameBox, QLineEdit* objectIdBox);

    const PickerDefinition& definition() const { return m_definition; }

protected:
    PickerDialog(WizardContext& context, PickerKind kind, QWidget* parent);

    // Fonts for the current language, then the title and every caption: the body of each
    // member's _Auto_Init.
    void applyCaptions();
    // The statement of one search; the subscriber picker adds its choice of subscriber types.
    virtual QString searchStatement(PickerSearchBy searchBy, const QString& searchText) const;

    void showEvent(QShowEvent* event) override;
    // Escape leaves the dialog open: no button is its cancel button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void load();
    void cmdSearch_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void myGrid_DblClick(const QModelIndex& index);

    PickerSearchBy chosenSearchBy() const;
    int chosenRow() const;   // -1 when no data row is chosen
    void captionColumns();
    void hideColumns();
    void reportSearchError(const KestraneError& error);

    WizardContext& m_context;
    const PickerDefinition& m_definition;
    PickerGridModel* m_model;

    QGroupBox* Frame1;
    QList<QRadioButton*> m_searchOptions;   // one per filter of the definition, in its order
    QLineEdit* txtSearchString;
    QPushButton* cmdSearch;
    QTableView* myGrid;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
