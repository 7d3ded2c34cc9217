#include "subscribers/ui/frmChooseSubscribers.h"
#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"

#include "core/Errors.h"
#include "core/ui/SwitchCombo.h"
#include "core/ui/WizardContext.h"
#include "core/ui/frmMain.h"
#include "search/ui/frmAdvancedSubscriberSearch.h"
#include "search/ui/frmDistributionListSearch.h"
#include "subscribers/SubscriberCsv.h"
#include "subscribers/ui/SubscriberGrid.h"
#include "core/ui/frmSubscriberLoadProgress.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFormName = QStringLiteral("frmChooseSubscribers");

}  // namespace

frmChooseSubscribers::frmChooseSubscribers(WizardContext& context, QWidget* parent)
    : SelectionPage(context, static_cast<int>(SubscriberSelectionType::RemoteNodeID), parent)
{
    setObjectName(kFormName);
    buildPage();

    connect(cmbSubscriberSelectType, &QComboBox::currentIndexChanged, this,
            &frmChooseSubscribers::cmbSubscriberSelectType_Change);
    connect(cmdChoosePublicDL, &QPushButton::clicked, this, &frmChooseSubscribers::cmdChoosePublicDL_Click);
    connectPageButtons();
    connect(cmdHelp, &QPushButton::clicked, this, &frmChooseSubscribers::cmdHelp_Click);

    m_context.forms.add(this, [this] { frmChooseSubscribers_Auto_Init(); });
    Form_Load();
}

void frmChooseSubscribers::buildPage()
{
    auto* page = new QVBoxLayout(this);
    createSharedControls();
    frameSelectSubscribers = named(new QGroupBox, "frameSelectSubscribers");
    cmbSubscriberSelectType = named(new QComboBox, "cmbSubscriberSelectType");

    const auto pickList = [](const char* name) {
        auto* list = named(new QComboBox, name);
        list->setMinimumContentsLength(24);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        return list;
    };
    txtSubscriberExtensionRangeLow = named(new QLineEdit, "txtSubscriberExtensionRangeLow");
    lblExtensionRangeTo = named(new QLabel, "lblExtensionRangeTo");
    txtSubscriberExtensionRangeHigh = named(new QLineEdit, "txtSubscriberExtensionRangeHigh");
    txtPublicDistributionListName = named(new QLineEdit, "txtPublicDistributionListName");
    txtPublicDistributionListName->setReadOnly(true);   // filled by the picker, with its object ID
    cmdChoosePublicDL = named(new QPushButton, "cmdChoosePublicDL");
    comSubscriberSwitch = pickList("comSubscriberSwitch");
    txtCSVPath->setMinimumWidth(260);
    ComSubscribersCOS = pickList("ComSubscribersCOS");
    comSubscriberMailServer = pickList("comSubscriberMailServer");
    comSubscriberLocation = pickList("comSubscriberLocation");
    comSubscriberNodeID = pickList("comSubscriberNodeID");
    for (QLineEdit* range : {txtSubscriberExtensionRangeLow, txtSubscriberExtensionRangeHigh})
        range->setMaximumWidth(120);
    QVBoxLayout* frame = layOutTypeRow(page, frameSelectSubscribers, cmbSubscriberSelectType);

    // Holders of the object IDs and aliases behind the visible texts; never shown.
    txtPublicDistributionListObjectID = named(new QLineEdit(frameSelectSubscribers), "txtPublicDistributionListObjectID");
    comHiddenCOS = named(new QComboBox(frameSelectSubscribers), "comHiddenCOS");
    comSubscriberLocationHidden = named(new QComboBox(frameSelectSubscribers), "comSubscriberLocationHidden");
    for (QWidget* holder : {static_cast<QWidget*>(txtPublicDistributionListObjectID),
                            static_cast<QWidget*>(comHiddenCOS), static_cast<QWidget*>(comSubscriberLocationHidden)})
        holder->hide();

    auto* viewRow = new QHBoxLayout;
    viewRow->addWidget(cmdView);
    viewRow->addWidget(cmdAdvancedSearch);
    viewRow->addStretch(1);
    frame->addLayout(viewRow);
    page->addWidget(frameSelectSubscribers);

    myGrid = named(new SubscriberGrid, "myGrid");
    page->addWidget(myGrid, 1);

    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(lblTotalGridRows);
    gridRow->addWidget(txtUsersInGrid);
    gridRow->addStretch(1);
    for (QPushButton* button : {cmdClearGrid, cmdSelectAll, cmdUnselectAll})
        gridRow->addWidget(button);
    page->addLayout(gridRow);

    addWizardButtons(page, cmdHelp, cmdPrevious, cmdExit, cmdNext);

    // Room for the grid's shown columns (13,200 twips) and the page's 8,100 twips of height.
    resize(940, 560);
}

QList<QWidget*> frmChooseSubscribers::criterionControls(int typeCode) const
{
    switch (typeCode) {
    case 2: return {txtSubscriberExtensionRangeLow, lblExtensionRangeTo, txtSubscriberExtensionRangeHigh};
    case 3: return {txtPublicDistributionListName, cmdChoosePublicDL};
    case 4: return {comSubscriberSwitch};
    case 5: return {comSubscriberMailServer};
    case 6: return {txtCSVPath, cmdBrowseForCSV};
    case 7: return {ComSubscribersCOS};
    case 8: return {comSubscriberLocation};
    case 9: return {comSubscriberNodeID};
    default: return {};
    }
}

void frmChooseSubscribers::frmChooseSubscribers_Auto_Init()
{
    static constexpr CaptionRow kCaptions[] = {
        {"frmChooseSubscribers", NoIndex, 74},
        {"cmdHelp", NoIndex, 153},
        {"frameSelectSubscribers", NoIndex, 237},
        {"cmdChoosePublicDL", NoIndex, 138},
        {"cmdView", NoIndex, 24},
        {"cmdSelectAll", NoIndex, 230},
        {"cmdUnselectAll", NoIndex, 299},
        {"cmdBrowseForCSV", NoIndex, 69},
        {"cmdClearGrid", NoIndex, 98},
        {"lblExtensionRangeTo", NoIndex, 274},
        {"lblTotalGridRows", NoIndex, 289},
        {"cmdPrevious", NoIndex, 18},
        {"cmdExit", NoIndex, 132},
        {"cmdNext", NoIndex, 191},
        {"Label1", NoIndex, 237},
        {"cmdAdvancedSearch", NoIndex, 401},
    };
    static constexpr GridHeaderCaption kHeaders[] = {{"Alias", 30},    {"DisplayName", 110}, {"Extension", 134},
                                                     {"FirstName", 139}, {"LastName", 170},  {"HomeServer", 155},
                                                     {"COS", 79}};
    captionPage(kCaptions, kHeaders);
}

void frmChooseSubscribers::loadStep(const std::function<void()>& step)
{
    try {
        step();
    } catch (const KestraneError& error) {
        m_context.messages.show(formatProcedureError(error, QStringLiteral("Form_Load"), QStringLiteral("Form"), kFormName));
    }
}

void frmChooseSubscribers::Form_Load()
{
    Session& session = m_context.session;
    const qint16 kind = selectedSubscriberType();
    frmChooseSubscribers_Auto_Init();

    // Ordinary subscribers on 4.0(2.23) and later have remote nodes and legacy mailboxes.
    const bool remoteNodes = kind == 1 && session.isVersionAtLeast(4, 0, 2, 23);
    fillSelectionTypes(kind);
    myGrid->setColumnShown(QStringLiteral("RemoteNodeID"), remoteNodes);
    myGrid->setColumnShown(QStringLiteral("LegacyMailbox"), remoteNodes);

    // One query recordset of the load's own serves the remote nodes and the home servers.
    Recordset query;
    const auto fillFromQuery = [&](QComboBox* list, const QString& sql, const QString& field) {
        query.close();   // still open when an earlier walk failed
        query.open(sql, session.database);
        for (query.moveFirst(); !query.eof(); query.moveNext())
            list->addItem(query.value(field).toString());
        query.close();
    };
    if (remoteNodes) {
        comSubscriberNodeID->clear();
        loadStep([&] {
            fillFromQuery(comSubscriberNodeID,
                          QStringLiteral("SELECT RemoteNodeID from vw_Subscriber WHERE RemoteNodeID IS NOT NULL GROUP BY "
                                         "RemoteNodeID ORDER BY RemoteNodeID"),
                          QStringLiteral("RemoteNodeID"));
        });
    }

    cmbSubscriberSelectType->setCurrentIndex(0);
    cmbSubscriberSelectType_Change();
    offerAdvancedSearchWhenAsked();
    myGrid->setRows(1);

    if (kind >= 3)
        loadStep([&] { fillLocations(kind); });
    loadStep([&] { fillClassesOfService(); });
    loadStep([&] {
        fillFromQuery(comSubscriberMailServer,
                      QStringLiteral("select homeserver from subscriber where homeserver is not null group by homeserver"),
                      QStringLiteral("HomeServer"));
    });
    PopulateListControlWithSwitchInfo(comSubscriberSwitch, session.switchInfo);

    // Nothing is chosen in a pick list until the administrator chooses it.
    for (QComboBox* list : {comSubscriberSwitch, ComSubscribersCOS, comSubscriberMailServer, comSubscriberLocation,
                            comSubscriberNodeID})
        list->setCurrentIndex(-1);
    cmbSubscriberSelectType->setFocus();
}

void frmChooseSubscribers::fillSelectionTypes(qint16 kind)
{
    Languages& languages = m_context.session.languages;
    const QSignalBlocker quiet(cmbSubscriberSelectType);   // the load runs the change handler itself
    cmbSubscriberSelectType->clear();
    const auto add = [&](int number, SubscriberSelectionType type) {
        cmbSubscriberSelectType->addItem(languages.mymyLoadString(number), static_cast<int>(type));
    };
    add(421, SubscriberSelectionType::AllSubscribers);
    add(422, SubscriberSelectionType::ExtensionRange);
    add(423, SubscriberSelectionType::DistributionList);
    add(424, SubscriberSelectionType::Switch);
    add(425, SubscriberSelectionType::CsvFile);
    add(426, SubscriberSelectionType::ClassOfService);
    if (kind == 1)
        add(427, SubscriberSelectionType::MailServer);
    if (kind > 3)
        add(428, SubscriberSelectionType::DeliveryLocation);
    if (kind == 1 && m_context.session.isVersionAtLeast(4, 0, 2, 23))
        add(429, SubscriberSelectionType::RemoteNodeID);
}

void frmChooseSubscribers::fillLocations(qint16 kind)
{
    Recordset& locations = m_context.session.rsLocations;
    const FilterGuard unfilter(locations);
    locations.setFilter(QStringLiteral("DestinationType=") + quoteLiteral(QString::number(kind)));
    if (locations.recordCount() == 0) {
        m_context.messages.show(m_context.session.languages.mymyLoadString(330));
        return;
    }
    for (locations.moveFirst(); !locations.eof(); locations.moveNext()) {
        comSubscriberLocation->addItem(locations.value(QStringLiteral("TextName")).toString());
        comSubscriberLocationHidden->addItem(locations.value(QStringLiteral("LocationObjectID")).toString());
    }
}

void frmChooseSubscribers::fillClassesOfService()
{
    Recordset& classes = m_context.session.rsCOS;
    for (classes.moveFirst(); !classes.eof(); classes.moveNext()) {
        comHiddenCOS->addItem(classes.value(QStringLiteral("Alias")).toString());
        ComSubscribersCOS->addItem(classes.value(QStringLiteral("TextName")).toString(), comHiddenCOS->count() - 1);
    }
}

frmMain* frmChooseSubscribers::startPage() const
{
    return m_context.forms.find<frmMain>();
}

qint16 frmChooseSubscribers::selectedSubscriberType() const
{
    return m_context.state.iSelectedSubscriberType;
}

void frmChooseSubscribers::cmbSubscriberSelectType_Change()
{
    showCriterionControls(cmbSubscriberSelectType->currentData().toInt(),
                          QStringLiteral("Error! Invalid subscriber selection value."));
}

void frmChooseSubscribers::cmdChoosePublicDL_Click()
{
    if (!m_distributionListSearch)
        m_distributionListSearch = new frmDistributionListSearch(m_context, this);
    m_distributionListSearch->pickInto(txtPublicDistributionListName, txtPublicDistributionListObjectID);
}

void frmChooseSubscribers::cmdAdvancedSearch_Click()
{
    if (!m_advancedSearch)
        m_advancedSearch = new frmAdvancedSubscriberSearch(m_context, *this, this);
    m_advancedSearch->exec();
}

SubscriberSelectionCriteria frmChooseSubscribers::criteria() const
{
    SubscriberSelectionCriteria chosen;
    chosen.type = static_cast<SubscriberSelectionType>(cmbSubscriberSelectType->currentData().toInt());
    chosen.extensionLow = txtSubscriberExtensionRangeLow->text();
    chosen.extensionHigh = txtSubscriberExtensionRangeHigh->text();
    chosen.distributionListName = txtPublicDistributionListName->text();
    chosen.distributionListObjectID = txtPublicDistributionListObjectID->text();
    chosen.switchName = comSubscriberSwitch->currentText();
    chosen.switchID = comSubscriberSwitch->currentData().toInt();
    chosen.mailServer = comSubscriberMailServer->currentText();
    chosen.cosName = ComSubscribersCOS->currentText();
    chosen.cosAlias = comHiddenCOS->itemText(ComSubscribersCOS->currentIndex());
    chosen.locationName = comSubscriberLocation->currentText();
    chosen.locationObjectID = comSubscriberLocationHidden->itemText(comSubscriberLocation->currentIndex());
    chosen.remoteNodeID = comSubscriberNodeID->currentText();
    return chosen;
}

void frmChooseSubscribers::cmdView_Click()
{
    Session& session = m_context.session;
    const SubscriberSelectionCriteria chosen = criteria();
    const qint16 kind = selectedSubscriberType();
    frmSubscriberLoadProgress& progress = showFillProgress(373);
    fillGrid([&] {
        const MessageSink sink = m_context.messages.sink();
        if (chosen.type == SubscriberSelectionType::CsvFile)
            LoadSubscribersFromCSV(session, txtCSVPath->text(), kind, [this] { AddUserToGrid(); },
                                   progress.lineProgress(), sink,
                                   [&progress](int usersAdded) { progress.showUsersAdded(usersAdded); });
        else
            runSubscriberSelection(session, chosen, kind,
                                   [this](const SubscriberGridRow& row) { AddUserToGridFAST(row); },
                                   progress.rowProgress(), sink);
    });
    // A View writes its count without blanks ("23"); the free SQL dialog's Import writes its own.
    txtUsersInGrid->setText(QString::number(myGrid->Rows() - 1));
}

void frmChooseSubscribers::AddUserToGrid()
{
    if (const std::optional<SubscriberGridRow> row = gridRowOfCurrentRecords(m_context.session, selectedSubscriberType()))
        grid()->appendRow(*row);
}

SubscriberGrid* frmChooseSubscribers::grid() const
{
    return static_cast<SubscriberGrid*>(myGrid);   // built by buildPage
}

void frmChooseSubscribers::AddUserToGridFAST(const SubscriberGridRow& row)
{
    const auto refuse = [this](const char* what) {
        m_context.messages.show(QStringLiteral("Error, invalid %1 string passed into AdDUserToGridFast routine.  Skipping user")
                                    .arg(QLatin1String(what)));
    };
    if (row.alias.isEmpty())
        return refuse("Alias");
    if (row.cosTextName.isEmpty())
        return refuse("COSObjectID");
    if (row.subscriberObjectID.isEmpty())
        return refuse("SubscriberObjectID");
    if (row.callHandlerObjectID.isEmpty())
        return refuse("CallHandlerObjectID");
    grid()->appendRow(row);
}

void frmChooseSubscribers::cmdNext_Click()
{
    nextToOptionsPage(296, 298, [this] {
        // The options page is loaded on the first Next; every Next refills its lists.
        QWidget* page = m_context.subscriberOptionsPage ? m_context.subscriberOptionsPage() : nullptr;
        if (auto* options = qobject_cast<frmSelectSubscriberChanges*>(page)) {
            options->move(pos());
            options->PopulateControls();
            options->show();
            hide();
        }
    });
}

void frmChooseSubscribers::cmdPrevious_Click()
{
    cmdClearGrid_Click();
    frmMain* start = startPage();
    if (start)
        start->move(pos());
    // Unloaded: the next visit builds and loads the page afresh.
    hide();
    deleteLater();
    if (start)
        start->show();
}

void frmChooseSubscribers::cmdHelp_Click()
{
    ::showHelp(m_context);
}
