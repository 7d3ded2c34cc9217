#include "core/ui/SelectionPage.h"

#include "core/Errors.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/KeyedCheckGrid.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/WizardContext.h"
#include "core/ui/frmSubscriberLoadProgress.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

SelectionPage::SelectionPage(WizardContext& context, int lastCriterionType, QWidget* parent)
    : QWidget(parent), m_context(context), m_lastCriterionType(lastCriterionType)
{
}

void SelectionPage::clearGrid()
{
    myGrid->setRows(1);
}

int SelectionPage::gridRowCount() const
{
    return myGrid->Rows();
}

void SelectionPage::setUsersInGridText(const QString& text)
{
    txtUsersInGrid->setText(text);
}

QList<QWidget*> SelectionPage::allCriterionControls() const
{
    QList<QWidget*> all;
    for (int code = 2; code <= m_lastCriterionType; ++code)
        all += criterionControls(code);
    return all;
}

// Created one by one like every form's controls (frmMain's, say): each line names another control.
void SelectionPage::createSharedControls()
{
    Label1 = boldHeading("Label1");
    txtCSVPath = named(new QLineEdit, "txtCSVPath");
    cmdBrowseForCSV = named(new QPushButton, "cmdBrowseForCSV");
    cmdView = named(new QPushButton, "cmdView");
    cmdAdvancedSearch = named(new QPushButton, "cmdAdvancedSearch");
    cmdClearGrid = named(new QPushButton, "cmdClearGrid");
    lblTotalGridRows = named(new QLabel, "lblTotalGridRows");
    txtUsersInGrid = named(new QLineEdit, "txtUsersInGrid");
    txtUsersInGrid->setReadOnly(true);
    txtUsersInGrid->setMaximumWidth(80);
    cmdSelectAll = named(new QPushButton, "cmdSelectAll");
    cmdUnselectAll = named(new QPushButton, "cmdUnselectAll");
}

QVBoxLayout* SelectionPage::layOutTypeRow(QVBoxLayout* page, QGroupBox* frame, QComboBox* typeList)
{
    page->addWidget(Label1);
    auto* frameLayout = new QVBoxLayout(frame);
    auto* criterionRow = new QHBoxLayout;
    typeList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    criterionRow->addWidget(typeList);
    for (QWidget* control : allCriterionControls()) {
        criterionRow->addWidget(control);
        control->hide();
    }
    criterionRow->addStretch(1);
    frameLayout->addLayout(criterionRow);
    return frameLayout;
}

void SelectionPage::showCriterionControls(int typeCode, const QString& invalidTypeMessage)
{
    for (QWidget* control : allCriterionControls())
        control->hide();
    if (typeCode == 1)
        return;
    const QList<QWidget*> shown = criterionControls(typeCode);
    if (shown.isEmpty()) {
        m_context.messages.show(invalidTypeMessage);
        return;
    }
    for (QWidget* control : shown)
        control->show();
}

void SelectionPage::connectPageButtons()
{
    connect(cmdBrowseForCSV, &QPushButton::clicked, this, &SelectionPage::cmdBrowseForCSV_Click);
    connect(cmdView, &QPushButton::clicked, this, &SelectionPage::cmdView_Click);
    connect(cmdAdvancedSearch, &QPushButton::clicked, this, &SelectionPage::cmdAdvancedSearch_Click);
    connect(cmdNext, &QPushButton::clicked, this, &SelectionPage::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &SelectionPage::cmdPrevious_Click);
    connect(cmdClearGrid, &QPushButton::clicked, this, &SelectionPage::cmdClearGrid_Click);
    connect(cmdSelectAll, &QPushButton::clicked, this, [this] { myGrid->setAllChecked(true); });
    connect(cmdUnselectAll, &QPushButton::clicked, this, [this] { myGrid->setAllChecked(false); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { ExitApplication(m_context, false); });
}

void SelectionPage::captionPage(std::span<const CaptionRow> captions, std::span<const GridHeaderCaption> headers)
{
    Languages& languages = m_context.session.languages;
    const StringLookup text = languages.stringLookup();
    SetFormFontForLanguage(this, languages.lngLanguageID);
    applyCaptions(this, captions, text);
    for (const GridHeaderCaption& header : headers)
        myGrid->setHeaderText(QLatin1String(header.key), text(header.string));
}

void SelectionPage::offerAdvancedSearchWhenAsked()
{
    cmdAdvancedSearch->setVisible(
        m_context.arguments.join(u' ').contains(QLatin1String("Advanced"), Qt::CaseInsensitive));
}

void SelectionPage::cmdClearGrid_Click()
{
    clearGrid();
    txtUsersInGrid->setText(QStringLiteral("0"));
}

void SelectionPage::cmdBrowseForCSV_Click()
{
    const QString kept = txtCSVPath->text();
    if (!CommonDialog) {
        CommonDialog = named(new QFileDialog(this), "CommonDialog");
        CommonDialog->setOption(QFileDialog::DontUseNativeDialog);
        CommonDialog->setAcceptMode(QFileDialog::AcceptOpen);
        CommonDialog->setFileMode(QFileDialog::ExistingFile);
        CommonDialog->setNameFilter(QStringLiteral("All Files (*)"));
    }
    CommonDialog->setWindowTitle(m_context.session.languages.mymyLoadString(231));
    CommonDialog->setDirectory(QDir::homePath());   // the home folder stands in for "c:\"
    CommonDialog->selectFile(kept);                 // an empty name selects nothing
    QString chosen;
    if (CommonDialog->exec() == QDialog::Accepted && !CommonDialog->selectedFiles().isEmpty())
        chosen = CommonDialog->selectedFiles().constFirst();
    txtCSVPath->setText(chosen.size() >= 4 ? chosen : kept);
}

frmSubscriberLoadProgress& SelectionPage::showFillProgress(int titleNumber)
{
    if (!m_progress)
        m_progress = new frmSubscriberLoadProgress(this);
    setCursor(Qt::WaitCursor);
    m_progress->setTitle(m_context.session.languages.mymyLoadString(titleNumber));
    m_progress->showOver(this);
    return *m_progress;
}

void SelectionPage::fillGrid(const std::function<void()>& fill)
{
    myGrid->setRows(1);
    myGrid->beginFill();
    // Paint the progress window once; input waits, so that nothing else runs during the fill.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        fill();
    } catch (const KestraneError&) {
        // The fill ends without a message of its own; the rows added so far stay.
    }
    myGrid->endFill();
    m_progress->hide();
    unsetCursor();
}

bool SelectionPage::handRowsToWizard(int noRowsMessage, int noCheckedRowMessage)
{
    Languages& languages = m_context.session.languages;
    if (myGrid->Rows() < 2) {
        m_context.messages.show(languages.mymyLoadString(noRowsMessage));
        return false;
    }
    bool anyChecked = false;
    for (int row = 1; row < myGrid->Rows() && !anyChecked; ++row)
        anyChecked = myGrid->isChecked(row);
    if (!anyChecked) {
        m_context.messages.show(languages.mymyLoadString(noCheckedRowMessage));
        return false;
    }
    m_context.state.selectionGridRows = myGrid->selectionRows();
    return true;
}

void SelectionPage::nextToOptionsPage(int noRowsMessage, int noCheckedRowMessage,
                                      const std::function<void()>& showOptionsPage)
{
    if (!handRowsToWizard(noRowsMessage, noCheckedRowMessage))
        return;
    // Making and filling the options page can take a while: the page says so and takes no
    // second Next meanwhile.
    setCursor(Qt::WaitCursor);
    cmdNext->setEnabled(false);
    const auto restore = qScopeGuard([this] {
        unsetCursor();
        cmdNext->setEnabled(true);
    });
    showOptionsPage();
}

void SelectionPage::closeEvent(QCloseEvent* event)
{
    event->accept();
    ExitApplication(m_context, false);
}
