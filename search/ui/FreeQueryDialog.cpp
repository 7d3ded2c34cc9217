#include "search/ui/FreeQueryDialog.h"
#include "core/Errors.h"
#include "core/ui/WizardContext.h"
#include "core/ui/FormBuilding.h"
#include "search/ui/SelectionGridTarget.h"
#include "search/ui/SqlKeywordColouring.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// What differs between the two dialogs.
struct Twin {
    QString windowTitle;
    QString importCaption;
    int nothingToImport;     // resource string
    QString addedText;
    QString formName;
    QString queriesKey;
};

Twin twinOf(FreeQueryKind kind)
{
    if (kind == FreeQueryKind::Subscribers)
        return {QStringLiteral("Advanced Subscriber Search Query Builder"), QStringLiteral("Import Subscribers"), 393,
                QStringLiteral(" new subscribers added to grid"), QStringLiteral("frmAdvancedSubscriberSearch"),
                kSubscriberQueriesKey};
    return {QStringLiteral("Advanced Call Handler Search Query Builder"), QStringLiteral("Import Handler"), 392,
            QStringLiteral(" new handlers added to grid"), QStringLiteral("frmAdvancedHandlerSearch"),
            kHandlerQueriesKey};
}

// The rows of the last run as gridSQL shows them: one header row, one row per result row.
class ResultModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setResult(const QueryResult* result)
    {
        beginResetModel();
        m_result = result;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_result ? 0 : int(m_result->rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_result ? 0 : int(m_result->fields.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !m_result)
            return {};
        return m_result->rows[index.row()][index.column()].toString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role == Qt::DisplayRole && orientation == Qt::Horizontal && m_result)
            return m_result->fields.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    const QueryResult* m_result = nullptr;
};

// Design sizes are in twips; 1440 twips make an inch.
int pixels(const QWidget* widget, int twips)
{
    return twips * widget->logicalDpiX() / 1440;
}

// A count with one leading blank where a minus sign would stand.
QString countText(int count)
{
    return count < 0 ? QString::number(count) : u' ' + QString::number(count);
}

}  // namespace

FreeQueryDialog::FreeQueryDialog(WizardContext& context, FreeQueryKind kind, SelectionGridTarget& target,
                                 std::function<void()> addRow, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_kind(kind)
    , m_target(target)
    , m_addRow(std::move(addRow))
    , m_storedQueries(context.session.registry, twinOf(kind).queriesKey)
{
    const Twin twin = twinOf(kind);
    setObjectName(twin.formName);
    setWindowTitle(twin.windowTitle);
    setModal(true);

    auto* label = new QLabel(freeQueryHead(kind).trimmed(), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_txtSQL = new QTextEdit(this);
    m_txtSQL->setObjectName(QStringLiteral("txtSQL"));
    m_txtSQL->setFixedHeight(pixels(this, 1515));
    m_colouring = new SqlKeywordColouring(m_txtSQL);

    const auto button = [this](const char* name, const QString& caption, int width, int height) {
        auto* created = new QPushButton(caption, this);
        created->setObjectName(QLatin1StringView(name));
        created->setAutoDefault(false);
        created->setFixedSize(pixels(this, width), pixels(this, height));
        return created;
    };
    QPushButton* cmdExecute = button("cmdExecute", QStringLiteral("&Execute"), 975, 315);
    QPushButton* cmdClear = button("cmdClear", QStringLiteral("C&lear"), 975, 315);
    QPushButton* cmdPaste = button("cmdPaste", QStringLiteral("&Paste"), 975, 315);
    QPushButton* cmdPreviousQueries = button("cmdPreviousQueries", QStringLiteral("Previous Queries"), 1995, 375);
    QPushButton* cmdImport = button("cmdImport", twin.importCaption, 1995, 375);
    QPushButton* cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), 1155, 375);
    m_cmdPreviousQueries = cmdPreviousQueries;

    m_gridSQL = new QTableView(this);
    m_gridSQL->setObjectName(QStringLiteral("gridSQL"));
    m_gridSQL->setModel(new ResultModel(m_gridSQL));
    m_gridSQL->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_gridSQL->setWordWrap(false);   // object IDs stay on one line

    m_mnuPreviousQueriesPopup = new QMenu(this);
    m_mnuPreviousQueriesPopup->setObjectName(QStringLiteral("mnuPreviousQueriesPopup"));

    // The query box and the grid take every change of size; the buttons keep theirs, on the
    // right of the box and along the bottom.
    auto* side = new QVBoxLayout;
    side->addWidget(cmdExecute);
    side->addWidget(cmdClear);
    side->addWidget(cmdPaste);
    side->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdPreviousQueries);
    bottom->addStretch();
    bottom->addWidget(cmdImport);
    bottom->addWidget(cmdCancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_txtSQL, 1, 0);
    layout->addLayout(side, 1, 1);
    layout->addWidget(m_gridSQL, 2, 0, 1, 2);
    layout->addLayout(bottom, 3, 0, 1, 2);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
    setMinimumSize(pixels(this, 4000), pixels(this, 3600));
    resize(pixels(this, 10995), pixels(this, 4785));

    connect(cmdExecute, &QPushButton::clicked, this, &FreeQueryDialog::cmdExecute_Click);
    connect(cmdClear, &QPushButton::clicked, m_txtSQL, &QTextEdit::clear);
    connect(cmdPaste, &QPushButton::clicked, this, &FreeQueryDialog::cmdPaste_Click);
    connect(cmdPreviousQueries, &QPushButton::clicked, this, &FreeQueryDialog::ShowPreviousQueries);
    connect(cmdImport, &QPushButton::clicked, this, &FreeQueryDialog::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FreeQueryDialog::~FreeQueryDialog()
{
    // The grid outlives the result it shows (QDialog hides its children after this body), so
    // it lets go of it first.
    static_cast<ResultModel*>(m_gridSQL->model())->setResult(nullptr);
}

void FreeQueryDialog::done(int result)
{
    // The next opening starts from the design state: no query, no result.
    showResult({});
    m_txtSQL->clear();
    QDialog::done(result);
}

QString FreeQueryDialog::queryTail() const
{
    return m_txtSQL->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

void FreeQueryDialog::showResult(QueryResult result)
{
    auto* model = static_cast<ResultModel*>(m_gridSQL->model());
    model->setResult(nullptr);
    m_rsQueryResult = std::move(result);
    model->setResult(&m_rsQueryResult);
    m_gridSQL->resizeColumnsToContents();   // whole headers and values, whatever the columns
}

void FreeQueryDialog::cmdExecute_Click()
{
    showResult({});
    Languages& languages = m_context.session.languages;
    const QString tail = queryTail();
    if (const int refusal = freeQueryRefusal(tail)) {
        m_context.messages.show(languages.mymyLoadString(refusal), QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
        return;
    }
    try {
        showResult(runFreeQuery(m_context.session, m_kind, tail));
    } catch (const KestraneError& error) {
        m_context.messages.show(languages.mymyLoadString(391) + u'\n' + error.description(), QMessageBox::Ok,
                                QString(), QMessageBox::NoIcon, this);
        return;
    }
    m_storedQueries.StorePreviousQuery(tail);
}

void FreeQueryDialog::cmdImport_Click()
{
    if (m_rsQueryResult.rows.isEmpty()) {
        m_context.messages.show(m_context.session.languages.mymyLoadString(twinOf(m_kind).nothingToImport),
                                QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_target.clearGrid();
    try {
        importFreeQueryRows(m_rsQueryResult, m_kind, m_context.session, m_addRow);
    } catch (const KestraneError& error) {
        // The rows added so far stay; the count below tells how many.
        m_context.messages.show(formatProcedureError(error, QStringLiteral("cmdImport_Click"), QStringLiteral("Form"),
                                                     objectName()),
                                QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
    }
    QApplication::restoreOverrideCursor();
    const QString count = countText(m_target.gridRowCount() - 1);
    m_context.messages.show(count + twinOf(m_kind).addedText, QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
    m_target.setUsersInGridText(count);
    accept();
}

void FreeQueryDialog::cmdPaste_Click()
{
    m_txtSQL->setPlainText(QApplication::clipboard()->text());
}

// The menu lists the queries stored now, newest first; with none it offers one entry that
// empties the query box.
void FreeQueryDialog::ShowPreviousQueries()
{
    m_mnuPreviousQueriesPopup->clear();
    QList<StoredQueries::Entry> entries = m_storedQueries.previousQueries();
    if (entries.isEmpty())
        entries.append({QStringLiteral("No previous queries stored"), QString()});
    for (int i = 0; i < entries.size(); ++i) {
        QAction* item = m_mnuPreviousQueriesPopup->addAction(entries[i].caption);
        namedElement(item, "mnuPreviousQuery", i);
        item->setData(entries[i].valueName);
        connect(item, &QAction::triggered, this, [this, i] { mnuPreviousQuery_Click(i); });
    }
    m_mnuPreviousQueriesPopup->popup(m_cmdPreviousQueries->mapToGlobal(QPoint(m_cmdPreviousQueries->width(), 0)));
}

void FreeQueryDialog::mnuPreviousQuery_Click(int index)
{
    const QString valueName = m_mnuPreviousQueriesPopup->actions().value(index)->data().toString();
    try {
        m_txtSQL->setPlainText(m_storedQueries.queryText(valueName));
        m_colouring->SetQueryColors();
    } catch (const KestraneError& error) {
        m_context.messages.show(formatProcedureError(error, QStringLiteral("mnuPreviousQuery_Click"),
                                                     QStringLiteral("Form"), objectName()),
                                QMessageBox::Ok, QString(), QMessageBox::NoIcon, this);
    }
}
