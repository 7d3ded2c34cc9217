#include "handlers/ui/frmChooseHandlers.h"

#include "core/ExtensionRules.h"
#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/SwitchCombo.h"
#include "core/ui/WizardContext.h"
#include "core/ui/frmMain.h"
#include "core/ui/frmSubscriberLoadProgress.h"
#include "handlers/HandlerCsv.h"
#include "handlers/ui/HandlerGrid.h"
#include "search/ui/SharedPicker.h"
#include "search/ui/frmAdvancedHandlerSearch.h"
#include "search/ui/frmDistributionListSearch.h"
#include "search/ui/frmSubscriberSearch.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

frmChooseHandlers::frmChooseHandlers(WizardContext& context, QWidget* parent)
    : SelectionPage(context, static_cast<int>(HandlerSelectionType::CsvFile), parent),
      optionsPage([this]() -> QWidget* { return m_context.handlerOptionsPage ? m_context.handlerOptionsPage() : nullptr; })
{
    setObjectName(QStringLiteral("frmChooseHandlers"));
    buildPage();

    connect(cmbHandlerSelectType, &QComboBox::currentIndexChanged, this, &frmChooseHandlers::cmbHandlerSelectType_Click);
    connect(cmdChooseCallHandlerOwnerSubscriber, &QPushButton::clicked, this,
            [this] { pickSubscriber(txtCallHandlerOwnerSubscriber, txtCallHandlerOwnerSubscriberObjectID); });
    connect(cmdChooseCallHandlerOwnerDL, &QPushButton::clicked, this,
            [this] { pickDistributionList(txtCallHandlerOwnerDL, txtCallHandlerOwnerDLObjectID); });
    connect(cmdChooseCallHandlerRecipientSubscriber, &QPushButton::clicked, this,
            [this] { pickSubscriber(txtCallHandlerRecipientSubscriber, txtCallHandlerRecipientSubscriberObjectID); });
    connect(cmdChooseCallHandlerRecipientDL, &QPushButton::clicked, this,
            [this] { pickDistributionList(txtCallHandlerRecipientDL, txtCallHandlerRecipientDLObjectID); });
    connectPageButtons();
    connect(cmdHelp, &QPushButton::clicked, this, [this] { showHelp(m_context); });

    m_context.forms.add(this, [this] { frmChooseHandlers_Auto_Init(); });
    Form_Load();
}

void frmChooseHandlers::buildPage()
{
    auto* page = new QVBoxLayout(this);
    createSharedControls();
    Frame1 = named(new QGroupBox, "Frame1");
    cmbHandlerSelectType = named(new QComboBox, "cmbHandlerSelectType");

    const auto nameBox = [](const char* name) {
        auto* box = named(new QLineEdit, name);
        box->setReadOnly(true);   // filled by its picker, together with the hidden object ID
        box->setMinimumWidth(200);
        return box;
    };
    txtHandlerExtensionRangeLow = named(new QLineEdit, "txtHandlerExtensionRangeLow");
    lblExtensionTo = named(new QLabel, "lblExtensionTo");
    txtHandlerExtensionRangeHigh = named(new QLineEdit, "txtHandlerExtensionRangeHigh");
    for (QLineEdit* range : {txtHandlerExtensionRangeLow, txtHandlerExtensionRangeHigh})
        range->setMaximumWidth(100);
    comHandlerSwitch = named(new QComboBox, "comHandlerSwitch");
    comHandlerSwitch->setMinimumContentsLength(24);
    comHandlerSwitch->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    txtCallHandlerOwnerDL = nameBox("txtCallHandlerOwnerDL");
    cmdChooseCallHandlerOwnerDL = named(new QPushButton, "cmdChooseCallHandlerOwnerDL");
    txtCallHandlerOwnerSubscriber = nameBox("txtCallHandlerOwnerSubscriber");
    cmdChooseCallHandlerOwnerSubscriber = named(new QPushButton, "cmdChooseCallHandlerOwnerSubscriber");
    txtCallHandlerRecipientDL = nameBox("txtCallHandlerRecipientDL");
    cmdChooseCallHandlerRecipientDL = named(new QPushButton, "cmdChooseCallHandlerRecipientDL");
    txtCallHandlerRecipientSubscriber = nameBox("txtCallHandlerRecipientSubscriber");
    cmdChooseCallHandlerRecipientSubscriber = named(new QPushButton, "cmdChooseCallHandlerRecipientSubscriber");
    txtCSVPath->setMinimumWidth(185);
    QVBoxLayout* frame = layOutTypeRow(page, Frame1, cmbHandlerSelectType);

    // Holders of the picked object IDs behind the name boxes; never shown.
    txtCallHandlerOwnerDLObjectID = named(new QLineEdit(Frame1), "txtCallHandlerOwnerDLObjectID");
    txtCallHandlerRecipientDLObjectID = named(new QLineEdit(Frame1), "txtCallHandlerRecipientDLObjectID");
    txtCallHandlerOwnerSubscriberObjectID = named(new QLineEdit(Frame1), "txtCallHandlerOwnerSubscriberObjectID");
    txtCallHandlerRecipientSubscriberObjectID = named(new QLineEdit(Frame1), "txtCallHandlerRecipientSubscriberObjectID");
    for (QLineEdit* holder : {txtCallHandlerOwnerDLObjectID, txtCallHandlerRecipientDLObjectID,
                              txtCallHandlerOwnerSubscriberObjectID, txtCallHandlerRecipientSubscriberObjectID})
        holder->hide();

    auto* viewRow = new QHBoxLayout;
    cmdClearGrid->hide();   // the View empties the grid; this page offers no clearing of its own
    viewRow->addWidget(cmdView);
    viewRow->addStretch(1);
    viewRow->addWidget(cmdAdvancedSearch);
    viewRow->addWidget(cmdClearGrid);
    frame->addLayout(viewRow);

    myGrid = named(new HandlerGrid, "myGrid");
    frame->addWidget(myGrid, 1);

    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(cmdUnselectAll);
    gridRow->addWidget(cmdSelectAll);
    gridRow->addStretch(1);
    gridRow->addWidget(lblTotalGridRows);
    gridRow->addWidget(txtUsersInGrid);
    frame->addLayout(gridRow);
    page->addWidget(Frame1, 1);

    addWizardButtons(page, cmdHelp, cmdPrevious, cmdExit, cmdNext);

    // Room for the grid's 11,205 twips of width.
    resize(800, 520);
}

QList<QWidget*> frmChooseHandlers::criterionControls(int typeCode) const
{
    switch (static_cast<HandlerSelectionType>(typeCode)) {
    case HandlerSelectionType::ExtensionRange:
        return {txtHandlerExtensionRangeLow, lblExtensionTo, txtHandlerExtensionRangeHigh};
    case HandlerSelectionType::Switch: return {comHandlerSwitch};
    case HandlerSelectionType::OwnerDistributionList: return {txtCallHandlerOwnerDL, cmdChooseCallHandlerOwnerDL};
    case HandlerSelectionType::OwnerSubscriber:
        return {txtCallHandlerOwnerSubscriber, cmdChooseCallHandlerOwnerSubscriber};
    case HandlerSelectionType::RecipientDistributionList:
        return {txtCallHandlerRecipientDL, cmdChooseCallHandlerRecipientDL};
    case HandlerSelectionType::RecipientSubscriber:
        return {txtCallHandlerRecipientSubscriber, cmdChooseCallHandlerRecipientSubscriber};
    case HandlerSelectionType::CsvFile: return {txtCSVPath, cmdBrowseForCSV};
    case HandlerSelectionType::AllHandlers: break;
    }
    return {};
}

void frmChooseHandlers::frmChooseHandlers_Auto_Init()
{
    static constexpr CaptionRow kCaptions[] = {
        {"frmChooseHandlers", NoIndex, 73},
        {"cmdHelp", NoIndex, 153},
        {"Frame1", NoIndex, 63},
        {"cmdChooseCallHandlerOwnerDL", NoIndex, 138},
        {"cmdChooseCallHandlerRecipientDL", NoIndex, 138},
        {"cmdClearGrid", NoIndex, 98},
        {"cmdBrowseForCSV", NoIndex, 69},
        {"cmdUnselectAll", NoIndex, 299},
        {"cmdSelectAll", NoIndex, 230},
        {"cmdView", NoIndex, 23},
        {"cmdChooseCallHandlerRecipientSubscriber", NoIndex, 138},
        {"cmdChooseCallHandlerOwnerSubscriber", NoIndex, 138},
        {"lblTotalGridRows", NoIndex, 151},
        {"lblExtensionTo", NoIndex, 273},
        {"cmdNext", NoIndex, 191},
        {"cmdExit", NoIndex, 132},
        {"cmdPrevious", NoIndex, 18},
        {"Label1", NoIndex, 233},
        {"cmdAdvancedSearch", NoIndex, 401},
    };
    static constexpr GridHeaderCaption kHeaders[] = {
        {"Alias", 30}, {"DisplayName", 110}, {"Extension", 134}, {"MessageRecipient", 183}, {"HandlerOwner", 150}};
    captionPage(kCaptions, kHeaders);
}

void frmChooseHandlers::Form_Load()
{
    frmChooseHandlers_Auto_Init();
    // Until a pick replaces them, the object ID holders hold their own names (one of them
    // spelled with a lower-case "h"). Set here rather than with the captions, so that a
    // language switch keeps a pick.
    txtCallHandlerOwnerDLObjectID->setText(QStringLiteral("txtCallHandlerOwnerDLObjectID"));
    txtCallHandlerRecipientDLObjectID->setText(QStringLiteral("txtCallhandlerRecipientDLObjectID"));
    txtCallHandlerOwnerSubscriberObjectID->setText(QStringLiteral("txtCallHandlerOwnerSubscriberObjectID"));
    txtCallHandlerRecipientSubscriberObjectID->setText(QStringLiteral("txtCallHandlerRecipientSubscriberObjectID"));

    fillSelectionTypes();
    cmbHandlerSelectType->setCurrentIndex(0);
    cmbHandlerSelectType_Click();
    offerAdvancedSearchWhenAsked();
    myGrid->setRows(1);
    txtUsersInGrid->setText(QStringLiteral("0"));
    PopulateListControlWithSwitchInfo(comHandlerSwitch, m_context.session.switchInfo);
    comHandlerSwitch->setCurrentIndex(-1);   // nothing is chosen until the administrator chooses
    cmbHandlerSelectType->setFocus();
}

void frmChooseHandlers::fillSelectionTypes()
{
    Languages& languages = m_context.session.languages;
    const QSignalBlocker quiet(cmbHandlerSelectType);   // the load runs the change handler itself
    cmbHandlerSelectType->clear();
    using Type = HandlerSelectionType;
    const std::pair<int, Type> types[] = {
        {430, Type::AllHandlers},      {431, Type::ExtensionRange},      {432, Type::Switch},
        {433, Type::OwnerDistributionList}, {434, Type::OwnerSubscriber}, {435, Type::RecipientDistributionList},
        {436, Type::RecipientSubscriber},   {437, Type::CsvFile}};
    for (const auto& [number, type] : types)
        cmbHandlerSelectType->addItem(languages.mymyLoadString(number), static_cast<int>(type));
}

void frmChooseHandlers::cmbHandlerSelectType_Click()
{
    showCriterionControls(cmbHandlerSelectType->currentData().toInt(),
                          QStringLiteral("Error! Invalid handler selection value."));
}

void frmChooseHandlers::pickSubscriber(QLineEdit* nameBox, QLineEdit* objectIdBox)
{
    auto& picker = sharedPicker<frmSubscriberSearch>(m_context);
    picker.bShowRemoteSubscribers = false;
    picker.pickInto(nameBox, objectIdBox);
}

void frmChooseHandlers::pickDistributionList(QLineEdit* nameBox, QLineEdit* objectIdBox)
{
    sharedPicker<frmDistributionListSearch>(m_context).pickInto(nameBox, objectIdBox);
}

void frmChooseHandlers::cmdAdvancedSearch_Click()
{
    if (!m_advancedSearch)
        m_advancedSearch = new frmAdvancedHandlerSearch(m_context, *this, this);
    m_advancedSearch->exec();
}

HandlerSelectionCriteria frmChooseHandlers::criteria() const
{
    using Type = HandlerSelectionType;
    HandlerSelectionCriteria chosen;
    chosen.type = static_cast<Type>(cmbHandlerSelectType->currentData().toInt());
    chosen.extensionLow = txtHandlerExtensionRangeLow->text();
    chosen.extensionHigh = txtHandlerExtensionRangeHigh->text();
    chosen.switchName = comHandlerSwitch->currentText();
    chosen.switchID = comHandlerSwitch->currentData().toInt();
    const std::pair<QLineEdit*, QLineEdit*> picked = [&]() -> std::pair<QLineEdit*, QLineEdit*> {
        switch (chosen.type) {
        case Type::OwnerSubscriber: return {txtCallHandlerOwnerSubscriber, txtCallHandlerOwnerSubscriberObjectID};
        case Type::OwnerDistributionList: return {txtCallHandlerOwnerDL, txtCallHandlerOwnerDLObjectID};
        case Type::RecipientSubscriber:
            return {txtCallHandlerRecipientSubscriber, txtCallHandlerRecipientSubscriberObjectID};
        case Type::RecipientDistributionList: return {txtCallHandlerRecipientDL, txtCallHandlerRecipientDLObjectID};
        default: return {nullptr, nullptr};
        }
    }();
    if (picked.first) {
        chosen.pickedName = picked.first->text();
        chosen.pickedObjectID = picked.second->text();
    }
    return chosen;
}

void frmChooseHandlers::cmdView_Click()
{
    Session& session = m_context.session;
    const HandlerSelectionCriteria chosen = criteria();
    const SelectionProgress count = showFillProgress(372).countProgress();
    fillGrid([&] {
        const auto counted = qScopeGuard([&] { count.end(); });   // also when the fill fails
        const MessageSink sink = m_context.messages.sink();
        if (chosen.type == HandlerSelectionType::CsvFile)
            LoadHandlersFromCSV(session, txtCSVPath->text(), [this] { AddHandlerToGrid(); },
                                [this] { return myGrid->Rows() - 1; }, sink);
        else
            runHandlerSelection(session, chosen, [this] { AddHandlerToGrid(); }, count.step, sink);
    });
    txtUsersInGrid->setText(signedCount(myGrid->Rows() - 1));
}

void frmChooseHandlers::AddHandlerToGrid()
{
    if (const std::optional<HandlerGridRow> row = handlerRowOfCurrentRecord(m_context.session))
        grid()->appendRow(*row);
}

HandlerGrid* frmChooseHandlers::grid() const
{
    return static_cast<HandlerGrid*>(myGrid);   // built by buildPage
}

void frmChooseHandlers::cmdNext_Click()
{
    nextToOptionsPage(295, 297, [this] { showInPlaceOf(optionsPage ? optionsPage() : nullptr, this); });
}

void frmChooseHandlers::cmdPrevious_Click()
{
    // Only hidden: the grid, the type and the criteria wait for the next visit (the subscriber
    // page unloads itself instead, so the two Previous stay apart).
    hide();
    if (frmMain* start = m_context.forms.find<frmMain>()) {
        start->move(pos());
        start->show();
    }
}
