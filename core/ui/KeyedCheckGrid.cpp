// The selection grid: a table model over a vector of rows (50,000 rows stay cheap: no item
// objects per cell) and a table view with the flex-grid reading interface.
#include "core/ui/KeyedCheckGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <algorithm>
#include <vector>

namespace {

constexpr int kTwipsPerPixel = 15;

struct GridRow {
    int number = 0;   // the row's index when it was added
    bool checked = true;
    QStringList texts;   // columns 2 on

    const QString& text(int column) const { return texts[column - KeyedCheckGrid::FirstTextColumn]; }
};

// Numbers sort as numbers (extensions of different lengths), other texts without regard to case.
bool textLess(const QString& a, const QString& b)
{
    bool aNumber = false;
    bool bNumber = false;
    const qlonglong aValue = a.toLongLong(&aNumber);
    const qlonglong bValue = b.toLongLong(&bNumber);
    if (aNumber && bNumber)
        return aValue < bValue;
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

// The check column toggles on a click anywhere in its cell, and on Space like any check box.
class CheckCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        // The indicator's size is asked while the cell still has one; the cell is then drawn
        // without it and the box centred on its own.
        cell.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect indicator = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, widget);
        cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

        QStyleOptionViewItem box = option;
        box.rect = QStyle::alignedRect(option.direction, Qt::AlignCenter, indicator.size(), option.rect);
        box.state = option.state & ~QStyle::State_HasFocus;
        box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (event->type() == QEvent::MouseButtonDblClick)
            return true;   // the second press of a double click toggles on its release
        if (event->type() != QEvent::MouseButtonRelease)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
            return false;
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
};

}  // namespace

class KeyedCheckGridModel : public QAbstractTableModel {
public:
    KeyedCheckGridModel(std::span<const CheckGridColumn> columns, QObject* parent)
        : QAbstractTableModel(parent), m_columnCount(int(columns.size()))
    {
        for (const CheckGridColumn& column : columns)
            m_headers << QString::fromLatin1(column.header);
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_announced; }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_columnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_announced)
            return {};
        const GridRow& row = m_rows[index.row()];
        const int column = index.column();
        if (column == KeyedCheckGrid::SelectedColumn)
            return role == Qt::CheckStateRole ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        return column == 0 ? QString::number(row.number) : row.text(column);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || index.column() != KeyedCheckGrid::SelectedColumn || role != Qt::CheckStateRole)
            return false;
        setChecked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }

    // Only the check column can be edited; text cells have no editor.
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        const Qt::ItemFlags cell = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        return index.column() == KeyedCheckGrid::SelectedColumn ? cell | Qt::ItemIsUserCheckable : cell;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_columnCount)
            return QAbstractTableModel::headerData(section, orientation, role);
        return m_headers[section];
    }

    void sort(int column, Qt::SortOrder order) override
    {
        if (column < 0 || column >= m_columnCount)
            return;
        const auto less = [column](const GridRow& a, const GridRow& b) {
            if (column == 0)
                return a.number < b.number;
            if (column == KeyedCheckGrid::SelectedColumn)
                return a.checked < b.checked;
            return textLess(a.text(column), b.text(column));
        };
        beginResetModel();
        if (order == Qt::AscendingOrder)
            std::stable_sort(m_rows.begin(), m_rows.end(), less);
        else
            std::stable_sort(m_rows.begin(), m_rows.end(), [&](const GridRow& a, const GridRow& b) { return less(b, a); });
        endResetModel();
    }

    int dataRows() const { return int(m_rows.size()); }
    const GridRow& row(int index) const { return m_rows[index]; }

    void append(const QStringList& texts)
    {
        const int index = dataRows();
        GridRow row{index + 1, true, texts};
        row.texts.resize(m_columnCount - KeyedCheckGrid::FirstTextColumn);
        if (m_filling) {
            m_rows.push_back(std::move(row));
            return;
        }
        beginInsertRows({}, index, index);
        m_rows.push_back(std::move(row));
        m_announced = dataRows();
        endInsertRows();
    }

    void beginFill() { m_filling = true; }

    void endFill()
    {
        m_filling = false;
        if (dataRows() == m_announced)
            return;
        beginInsertRows({}, m_announced, dataRows() - 1);
        m_announced = dataRows();
        endInsertRows();
    }

    void truncate(int keep)
    {
        if (keep >= dataRows())
            return;
        beginResetModel();
        m_rows.resize(keep);
        m_announced = std::min(m_announced, keep);
        endResetModel();
    }

    void setChecked(int index, bool checked)
    {
        m_rows[index].checked = checked;
        if (index < m_announced) {
            const QModelIndex cell = this->index(index, KeyedCheckGrid::SelectedColumn);
            emit dataChanged(cell, cell, {Qt::CheckStateRole});
        }
    }

    void setAllChecked(bool checked)
    {
        for (GridRow& row : m_rows)
            row.checked = checked;
        if (m_announced > 0)
            emit dataChanged(index(0, KeyedCheckGrid::SelectedColumn),
                             index(m_announced - 1, KeyedCheckGrid::SelectedColumn), {Qt::CheckStateRole});
    }

    const QString& header(int column) const { return m_headers[column]; }
    void setHeader(int column, const QString& text)
    {
        m_headers[column] = text;
        emit headerDataChanged(Qt::Horizontal, column, column);
    }

private:
    const int m_columnCount;
    std::vector<GridRow> m_rows;
    int m_announced = 0;   // rows the views know of; a fill announces its rows at its end
    bool m_filling = false;
    QStringList m_headers;
};

KeyedCheckGrid::KeyedCheckGrid(std::span<const CheckGridColumn> columns, HeaderClick headerClick, QWidget* parent)
    : QTableView(parent)
    , m_columns(columns)
    , m_model(new KeyedCheckGridModel(columns, this))
{
    setModel(m_model);
    setItemDelegateForColumn(SelectedColumn, new CheckCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(headerClick == HeaderClick::Sorts);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setMinimumSectionSize(m_columns[SelectedColumn].widthTwips / kTwipsPerPixel);
    for (int column = 0; column < int(m_columns.size()); ++column) {
        fitColumnWidth(column);
        setColumnHidden(column, m_columns[column].hidden);
    }
    connect(this, &QAbstractItemView::clicked, this, &KeyedCheckGrid::cellClicked);
    if (headerClick == HeaderClick::Sorts)
        connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &KeyedCheckGrid::sortByHeader);
}

int KeyedCheckGrid::columnOfKey(std::span<const CheckGridColumn> columns, const QString& key)
{
    if (key.isEmpty())
        return -1;
    for (int column = 0; column < int(columns.size()); ++column)
        if (key.compare(QLatin1String(columns[column].key), Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

int KeyedCheckGrid::Rows() const
{
    return m_model->dataRows() + 1;
}

void KeyedCheckGrid::setRows(int rows)
{
    m_model->truncate(std::max(rows, 1) - 1);
}

QString KeyedCheckGrid::TextMatrix(int row, const QString& key) const
{
    const int column = this->column(key);
    if (row < 1 || row >= Rows() || column < 0)
        return {};
    const GridRow& values = m_model->row(row - 1);
    if (column == 0)
        return QString::number(values.number);
    if (column == SelectedColumn)
        return values.checked ? QStringLiteral("1") : QStringLiteral("0");
    return values.text(column);
}

bool KeyedCheckGrid::isChecked(int row) const
{
    return row >= 1 && row < Rows() && m_model->row(row - 1).checked;
}

void KeyedCheckGrid::setChecked(int row, bool checked)
{
    if (row >= 1 && row < Rows())
        m_model->setChecked(row - 1, checked);
}

void KeyedCheckGrid::setAllChecked(bool checked)
{
    m_model->setAllChecked(checked);
}

void KeyedCheckGrid::appendRow(const QStringList& texts)
{
    m_model->append(texts);
}

void KeyedCheckGrid::beginFill()
{
    m_model->beginFill();
}

void KeyedCheckGrid::endFill()
{
    m_model->endFill();
}

void KeyedCheckGrid::setColumnShown(const QString& key, bool shown)
{
    const int column = this->column(key);
    if (column >= 0)
        setColumnHidden(column, !shown);
}

bool KeyedCheckGrid::isColumnShown(const QString& key) const
{
    const int column = this->column(key);
    return column >= 0 && !isColumnHidden(column);
}

void KeyedCheckGrid::setHeaderText(const QString& key, const QString& text)
{
    const int column = this->column(key);
    if (column >= 0) {
        m_model->setHeader(column, text);
        fitColumnWidth(column);
    }
}

void KeyedCheckGrid::fitColumnWidth(int column)
{
    // The laid-out width, or wider where this language's header text needs it; the columns that
    // never show keep the laid-out width.
    const int laidOut = m_columns[column].widthTwips / kTwipsPerPixel;
    if (m_columns[column].hidden) {
        setColumnWidth(column, laidOut);
        return;
    }
    const int header = horizontalHeader()->fontMetrics().horizontalAdvance(m_model->header(column)) + 16;
    setColumnWidth(column, std::max(laidOut, header));
}

QString KeyedCheckGrid::headerText(const QString& key) const
{
    const int column = this->column(key);
    return column >= 0 ? m_model->header(column) : QString();
}

QList<SelectionGridRow> KeyedCheckGrid::selectionRows() const
{
    const int alias = column(QStringLiteral("Alias"));
    const int objectID = column(QStringLiteral("ObjectID"));
    QList<SelectionGridRow> rows;
    rows.reserve(m_model->dataRows());
    for (int index = 0; index < m_model->dataRows(); ++index) {
        const GridRow& row = m_model->row(index);
        rows.push_back({row.checked, row.text(alias), row.text(objectID)});
    }
    return rows;
}

QList<SelectionGridRow> KeyedCheckGrid::checkedRows() const
{
    QList<SelectionGridRow> checked = selectionRows();
    checked.removeIf([](const SelectionGridRow& row) { return !row.checked; });
    return checked;
}

// A click on a cell right of the check column flips its row; the check column changes through
// its own edit (CheckCellDelegate), so a click there is not counted twice. The clicked cell
// decides, not the current one: a press on a check box is taken by its edit and leaves the
// current cell where an earlier click put it, on another row maybe.
void KeyedCheckGrid::cellClicked(const QModelIndex& clicked)
{
    if (clicked.isValid() && clicked.column() > SelectedColumn)
        m_model->setChecked(clicked.row(), !m_model->row(clicked.row()).checked);
}

// Sorting ends with no current cell, so the next click flips only a row it lands on.
void KeyedCheckGrid::sortByHeader(int column)
{
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sortColumn = column;
    m_model->sort(column, m_sortOrder);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, m_sortOrder);
    setCurrentIndex(QModelIndex());
}
