#include "search/ui/PickerDialog.h"
#include "core/ui/FormBuilding.h"

#include "core/Errors.h"
#include "core/ui/Captions.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/WizardContext.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

// The grid's content: the rows of the last search under the member's columns. Column 0 stays
// empty (the grid's fixed column); field i of the result is column i + 1.
class PickerGridModel : public QAbstractTableModel {
public:
    PickerGridModel(const std::vector<PickerColumn>& columns, QObject* parent)
        : QAbstractTableModel(parent)
    {
        m_keys.append(QString());
        for (const PickerColumn& column : columns)
            m_keys.append(QLatin1String(column.key));
        m_captions.resize(m_keys.size());
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_keys.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return text(index.row(), index.column());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= m_keys.size())
            return QAbstractTableModel::headerData(section, orientation, role);
        if (role == Qt::DisplayRole)
            return m_captions[section];
        if (role == Qt::UserRole)
            return m_keys[section];
        return {};
    }

    QString text(int row, int column) const
    {
        if (row < 0 || row >= m_rows.size() || column < 1)
            return {};
        return m_rows[row].value(column - 1).toString();
    }

    // -1 when no column has the key; keys compare without regard to case.
    int columnWithKey(const QString& key) const
    {
        for (int column = 0; column < m_keys.size(); ++column)
            if (!m_keys[column].isEmpty() && m_keys[column].compare(key, Qt::CaseInsensitive) == 0)
                return column;
        return -1;
    }

    void setCaption(int column, const QString& caption)
    {
        m_captions[column] = caption;
        emit headerDataChanged(Qt::Horizontal, column, column);
    }

    void setRows(QVector<QVector<QVariant>> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

    void clear() { setRows({}); }

private:
    QStringList m_keys;
    QStringList m_captions;
    QVector<QVector<QVariant>> m_rows;
};

namespace {

// 200 twips at the 15 twips per pixel Qt's 96 dots per inch give.
constexpr int kScreenMargin = 200 / 15;

// The wait cursor while a search runs, restored however the search ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// None of the buttons is the default one: Enter in the search box must not press a button.
QPushButton* plainButton(const char* name)
{
    auto* button = named(new QPushButton, name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

PickerDialog::PickerDialog(WizardContext& context, PickerKind kind, QWidget* parent)
    : QDialog(parent), m_context(context), m_definition(pickerDefinition(kind))
{
    setObjectName(QLatin1String(m_definition.formName));
    setModal(true);

    Frame1 = named(new QGroupBox, "Frame1");
    auto* options = new QHBoxLayout(Frame1);
    for (const PickerFilter& filter : m_definition.filters) {
        auto* option = named(new QRadioButton, filter.optionName);
        options->addWidget(option);
        m_searchOptions.append(option);
    }
    options->addStretch();

    txtSearchString = named(new QLineEdit, "txtSearchString");
    cmdSearch = plainButton("cmdSearch");
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(txtSearchString, 1);
    searchRow->addWidget(cmdSearch);

    m_model = new PickerGridModel(m_definition.columns, this);
    myGrid = named(new QTableView, "myGrid");
    myGrid->setModel(m_model);
    myGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    myGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    myGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    myGrid->setAlternatingRowColors(true);
    myGrid->verticalHeader()->hide();
    myGrid->horizontalHeader()->setHighlightSections(false);
    myGrid->horizontalHeader()->setStretchLastSection(true);
    myGrid->setWordWrap(false);
    hideColumns();

    cmdOK = plainButton("cmdOK");
    cmdCancel = plainButton("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* page = new QVBoxLayout(this);
    page->addWidget(Frame1);
    page->addLayout(searchRow);
    page->addWidget(myGrid, 1);
    page->addLayout(buttons);
    resize(640, 420);

    connect(cmdSearch, &QPushButton::clicked, this, &PickerDialog::cmdSearch_Click);
    connect(cmdOK, &QPushButton::clicked, this, &PickerDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &PickerDialog::cmdCancel_Click);
    connect(myGrid, &QAbstractItemView::doubleClicked, this, &PickerDialog::myGrid_DblClick);

    applyCaptions();
}

void PickerDialog::pickInto(QLineEdit* nameBox, QLineEdit* objectIdBox)
{
    exec();
    nameBox->setText(bCancelHit ? QString() : strDisplayName);
    objectIdBox->setText(bCancelHit ? QString() : strObjectID);
}

void PickerDialog::applyCaptions()
{
    const Languages& languages = m_context.session.languages;
    SetFormFontForLanguage(this, languages.lngLanguageID);
    std::vector<CaptionRow> captions{{m_definition.formName, NoIndex, m_definition.titleString},
                                     {"Frame1", NoIndex, 226}};
    for (const PickerFilter& filter : m_definition.filters)
        captions.push_back({filter.optionName, NoIndex, filter.captionString});
    captions.insert(captions.end(), {{"cmdSearch", NoIndex, 225}, {"cmdOK", NoIndex, 195}, {"cmdCancel", NoIndex, 88}});
    ::applyCaptions(this, captions, languages.stringLookup());
}

QString PickerDialog::searchStatement(PickerSearchBy searchBy, const QString& searchText) const
{
    return pickerStatement(m_definition.kind, searchBy, searchText);
}

void PickerDialog::showEvent(QShowEvent* event)
{
    // A window system's re-show (after minimising) is no new showing.
    if (!event->spontaneous())
        load();
    QDialog::showEvent(event);
}

void PickerDialog::keyPressEvent(QKeyEvent* event)
{
    // QDialog would reject, and the caller empty its boxes: a key press must not lose a pick.
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}

// Every showing starts afresh, as a newly loaded dialog would. The directory handler picker
// does so too: its caller must not get back an earlier pick when the window is closed by its
// frame.
void PickerDialog::load()
{
    applyCaptions();
    if (const QScreen* current = screen())
        move(current->geometry().topLeft() + QPoint(kScreenMargin, kScreenMargin));
    bCancelHit = false;
    strDisplayName.clear();
    strObjectID.clear();
    txtSearchString->clear();
    for (int i = 0; i < m_searchOptions.size(); ++i)
        m_searchOptions[i]->setChecked(m_definition.filters[i].searchBy == m_definition.initialSearchBy);
    m_model->clear();
    hideColumns();
    captionColumns();
}

void PickerDialog::cmdSearch_Click()
{
    m_model->clear();
    const WaitCursor waitCursor;
    myGrid->setUpdatesEnabled(false);
    try {
        const QueryResult result = m_context.session.database.select(
            searchStatement(chosenSearchBy(), txtSearchString->text()));
        m_model->setRows(result.rows);
    } catch (const KestraneError& error) {
        reportSearchError(error);
    }
    captionColumns();
    hideColumns();
    myGrid->resizeColumnsToContents();
    myGrid->setUpdatesEnabled(true);
    // No object is chosen until the user selects a row.
    myGrid->selectionModel()->clear();
}

void PickerDialog::cmdOK_Click()
{
    const int row = chosenRow();
    if (row < 0) {
        m_context.messages.show(m_context.session.languages.mymyLoadString(m_definition.noSelectionString),
                                QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
        return;
    }
    strObjectID = m_model->text(row, m_model->columnWithKey(QLatin1String(m_definition.idColumn().key)));
    strDisplayName = m_model->text(row, m_model->columnWithKey(QLatin1String(kDisplayNameKey)));
    bCancelHit = false;
    m_model->clear();
    accept();
}

void PickerDialog::cmdCancel_Click()
{
    bCancelHit = true;
    m_model->clear();
    reject();
}

void PickerDialog::myGrid_DblClick(const QModelIndex& index)
{
    if (index.isValid())
        cmdOK_Click();
}

PickerSearchBy PickerDialog::chosenSearchBy() const
{
    for (int i = 0; i < m_searchOptions.size(); ++i)
        if (m_searchOptions[i]->isChecked())
            return m_definition.filters[i].searchBy;
    return m_definition.filters.back().searchBy;
}

int PickerDialog::chosenRow() const
{
    const QModelIndexList selected = myGrid->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void PickerDialog::captionColumns()
{
    const Languages& languages = m_context.session.languages;
    for (const PickerColumn& column : m_definition.columns)
        if (column.captionString)
            m_model->setCaption(m_model->columnWithKey(QLatin1String(column.key)),
                                languages.mymyLoadString(column.captionString));
}

void PickerDialog::hideColumns()
{
    myGrid->setColumnHidden(0, true);
    myGrid->setColumnHidden(m_model->columnCount() - 1, true);
}

void PickerDialog::reportSearchError(const KestraneError& error)
{
    QString text;
    switch (m_definition.errorReport) {
    case PickerErrorReport::SearchFunctionError:
        text = m_context.session.languages.mymyLoadString(123) + error.description();
        break;
    case PickerErrorReport::ProcedureError:
        text = formatProcedureError(error, QStringLiteral("cmdSearch_Click"), QStringLiteral("Form"),
                                    QLatin1String(m_definition.formName));
        break;
    case PickerErrorReport::Silent:
        return;
    }
    m_context.messages.show(text, QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
}
