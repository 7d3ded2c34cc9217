#pragma once
// The check-box grid of the selection pages (`myGrid`): one object per row, read by callers the
// way a flex grid is read. Row 0 is the header, data rows are 1 to Rows() - 1; columns are found
// by key, without regard to case. A table of columns drives each grid: column 0 (no key, hidden)
// holds the row's number when it was added, column 1 is the check column, every further column
// a text cell.
//
// Only the check column can be edited (mouse or Space). A click on any other cell of a data row
// flips that row's check. Where the grid sorts, clicking a column header sorts the rows by that
// column and leaves no cell current, so a click that lands on no data row flips nothing.
#include "core/WizardState.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTableView>

#include <span>

class KeyedCheckGridModel;

struct CheckGridColumn {
    const char* key;      // empty for column 0
    int widthTwips;       // laid-out width
    const char* header;   // the text until the page captions the column in its language
    bool hidden;          // never shown
};

class KeyedCheckGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int SelectedColumn = 1;
    static constexpr int FirstTextColumn = 2;
    enum class HeaderClick { Sorts, DoesNothing };

    // `columns` outlives the grid (a table of constants).
    KeyedCheckGrid(std::span<const CheckGridColumn> columns, HeaderClick headerClick, QWidget* parent = nullptr);

    // Column of a key in a column table ("selected" finds "Selected"); -1 for an unknown key.
    static int columnOfKey(std::span<const CheckGridColumn> columns, const QString& key);
    int column(const QString& key) const { return columnOfKey(m_columns, key); }

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
    void setAllChecked(bool checked);   // Select All / Clear All

    // Adds a checked row at the end with the texts of columns 2 on, in column order; column 0
    // gets the new row's index ("1" for the first).
    void appendRow(const QStringList& texts);

    // A big fill: rows appended between beginFill() and endFill() reach the view in one
    // insertion at endFill(). The read functions above see them at once.
    void beginFill();
    void endFill();

    void setColumnShown(const QString& key, bool shown);
    bool isColumnShown(const QString& key) const;
    void setHeaderText(const QString& key, const QString& text);
    QString headerText(const QString& key) const;

    // What the run reads: every data row, top to bottom, with its check state and its "Alias"
    // and "ObjectID" cells.
    QList<SelectionGridRow> selectionRows() const;
    // The checked ones of those.
    QList<SelectionGridRow> checkedRows() const;

private:
    void fitColumnWidth(int column);
    void cellClicked(const QModelIndex& index);
    void sortByHeader(int column);

    std::span<const CheckGridColumn> m_columns;
    KeyedCheckGridModel* m_model = nullptr;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
