#pragma once
// The check-box grid of the subscriber selection page (`myGrid`): one subscriber per row, found
// by callers the way a flex grid is read. Row 0 is the header, data rows are 1 to Rows() - 1;
// columns are found by key, without regard to case:
//
//   0 (no key, hidden: the row's number when it was added), 1 Selected (check box), 2 Alias,
//   3 DisplayName, 4 FirstName, 5 LastName, 6 Extension, 7 HomeServer, 8 COS, 9 LegacyMailbox,
//   10 RemoteNodeID, 11 HandlerObjectID (hidden), 12 ObjectID (hidden).
//
// Only the check column can be edited (mouse or Space). A click on any other cell of a data row
// flips that row's check. Clicking a column header sorts the rows by that column; afterwards no
// cell is current, so a click that lands on no data row flips nothing.
#include "core/WizardState.h"
#include "subscribers/SelectionRows.h"

#include <QList>
#include <QString>
#include <QTableView>

class SubscriberGridModel;

class SubscriberGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 13;
    static constexpr int SelectedColumn = 1;

    explicit SubscriberGrid(QWidget* parent = nullptr);

    // Column of a key ("selected" finds "Selected"); -1 for an unknown key.
    static int columnOfKey(const QString& key);

    // Data rows + 1.
    int Rows() const;
    // Keeps the first rows - 1 data rows; Rows 1 removes every data row. A larger count than
    // the grid holds changes nothing.
    void setRows(int rows);

    // Text of a data row's cell in the keyed column: the row number for column 0, "1" or "0"
    // for the check column. Empty for row 0, a row past the end or an unknown key.
    QString TextMatrix(int row, const QString& key) const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);   // Select All / Unselect All

    // Adds a checked row at the end; column 0 gets the new row's index ("1" for the first).
    void appendRow(const SubscriberGridRow& row);

    // A big fill: rows appended between beginFill() and endFill() reach the view in one
    // insertion at endFill(). The read functions above see them at once.
    void beginFill();
    void endFill();

    void setColumnShown(const QString& key, bool shown);
    bool isColumnShown(const QString& key) const;
    void setHeaderText(const QString& key, const QString& text);
    QString headerText(const QString& key) const;

    // What the page's Next hands to the change engine: every data row, top to bottom, with its
    // check state, alias and object ID.
    QList<SelectionGridRow> selectionRows() const;
    // The checked ones of those.
    QList<SelectionGridRow> checkedSubscribers() const;

private:
    void fitColumnWidth(int column);
    void cellClicked(const QModelIndex& index);
    void sortByHeader(int column);

    SubscriberGridModel* m_model = nullptr;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
