#pragma once
// The free SQL query dialog shared by frmAdvancedSubscriberSearch and frmAdvancedHandlerSearch:
// the administrator types the tail of a SELECT over the object's view into txtSQL, runs it
// (read-only) into gridSQL, and Import replaces the opening page's selection grid with the
// objects found. Captions are fixed English texts; the dialog is shown modally.
#include "search/FreeQuery.h"
#include "search/StoredQueries.h"

#include <QDialog>
#include <functional>

class QMenu;
class QTableView;
class QTextEdit;
class SelectionGridTarget;
class SqlKeywordColouring;
struct WizardContext;

class FreeQueryDialog : public QDialog {
    Q_OBJECT
public:
    ~FreeQueryDialog() override;
    SqlKeywordColouring& colouring() const { return *m_colouring; }

protected:
    // `addRow` adds one row to the target's grid from the positioned directory lists.
    FreeQueryDialog(WizardContext& context, FreeQueryKind kind, SelectionGridTarget& target,
                    std::function<void()> addRow, QWidget* parent);
    // Every way out (Import, Cancel, the window frame) drops the query and its result.
    void done(int result) override;

private:
    void cmdExecute_Click();
    void cmdImport_Click();
    void cmdPaste_Click();
    void ShowPreviousQueries();
    void mnuPreviousQuery_Click(int index);

    // The text of txtSQL with CR LF line breaks, as it is checked, run and stored.
    QString queryTail() const;
    void showResult(QueryResult result);

    WizardContext& m_context;
    FreeQueryKind m_kind;
    SelectionGridTarget& m_target;
    std::function<void()> m_addRow;
    StoredQueries m_storedQueries;
    QueryResult m_rsQueryResult;

    QTextEdit* m_txtSQL = nullptr;
    QTableView* m_gridSQL = nullptr;
    QWidget* m_cmdPreviousQueries = nullptr;
    QMenu* m_mnuPreviousQueriesPopup = nullptr;
    SqlKeywordColouring* m_colouring = nullptr;
};
