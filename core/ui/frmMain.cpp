#include "core/ui/frmMain.h"
#include "core/ui/FormBuilding.h"
#include "core/Errors.h"
#include "core/ui/Captions.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/UpdateCheckUi.h"
#include "core/ui/frmAbout.h"
#include "core/ui/WizardContext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Where the log location box starts; the run log itself always goes to the program's "logs" folder.
const QString kDefaultLogPath = QStringLiteral("c:\\Kestrane.log");

// 1 twip is 1/1440 inch; at the 96 dots per inch Qt assumes for layout, 15 twips make a pixel.
constexpr int twips(int value) { return value / 15; }

QLabel* wrappedLabel(const char* name)
{
    auto* label = named(new QLabel, name);
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmMain::frmMain(WizardContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmMain"));
    auto* central = new QWidget;
    auto* page = new QVBoxLayout(central);

    Label1 = boldHeading("Label1");
    Label2 = wrappedLabel("Label2");
    page->addWidget(Label1);
    page->addWidget(Label2);

    Frame1 = named(new QGroupBox, "Frame1");
    auto* kinds = new QVBoxLayout(Frame1);
    optSubscriberUpdate = named(new QRadioButton, "optSubscriberUpdate");
    optInternetSubscriberUpdate = named(new QRadioButton, "optInternetSubscriberUpdate");
    optAMISSubscriberUpdate = named(new QRadioButton, "optAMISSubscriberUpdate");
    optBridgeSubscriberUpdate = named(new QRadioButton, "optBridgeSubscriberUpdate");
    optVPIMSubscriberUpdate = named(new QRadioButton, "optVPIMSubscriberUpdate");
    optTrustedSubscriberUpdate = named(new QRadioButton, "optTrustedSubscriberUpdate");
    optEditCallHandlers = named(new QRadioButton, "optEditCallHandlers");
    for (QRadioButton* option : {optSubscriberUpdate, optInternetSubscriberUpdate, optAMISSubscriberUpdate,
                                 optBridgeSubscriberUpdate, optVPIMSubscriberUpdate, optTrustedSubscriberUpdate,
                                 optEditCallHandlers})
        kinds->addWidget(option);
    optSubscriberUpdate->setChecked(true);
    page->addWidget(Frame1);

    Frame2 = named(new QGroupBox, "Frame2");
    auto* logBox = new QVBoxLayout(Frame2);
    auto* logRow = new QHBoxLayout;
    txtLogPath = named(new QLineEdit, "txtLogPath");
    cmdBrowseForLogLocation = named(new QPushButton, "cmdBrowseForLogLocation");
    logRow->addWidget(txtLogPath, 1);
    logRow->addWidget(cmdBrowseForLogLocation);
    logBox->addLayout(logRow);
    Label3 = wrappedLabel("Label3");
    logBox->addWidget(Label3);
    page->addWidget(Frame2);

    Label5 = wrappedLabel("Label5");
    page->addWidget(Label5);
    page->addStretch(1);

    addWizardButtons(page, cmdHelp, cmdPrevious, cmdExit, cmdNext);
    setCentralWidget(central);

    mnuHelpMenu = menuBar()->addMenu(QString());
    mnuHelpMenu->setObjectName(QStringLiteral("mnuHelpMenu"));
    mnuHelp = named(mnuHelpMenu->addAction(QString()), "mnuHelp");
    mnuAbout = named(mnuHelpMenu->addAction(QString()), "mnuAbout");
    mnuCheckForUpdatedVersion = named(mnuHelpMenu->addAction(QString()), "mnuCheckForUpdatedVersion");

    connect(cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(cmdExit, &QPushButton::clicked, this, [this] { ExitApplication(m_context, false); });
    connect(cmdBrowseForLogLocation, &QPushButton::clicked, this, &frmMain::cmdBrowseForLogLocation_Click);
    connect(cmdHelp, &QPushButton::clicked, this, [this] { showHelp(m_context); });
    connect(mnuHelp, &QAction::triggered, this, [this] { showHelp(m_context); });
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
    connect(mnuCheckForUpdatedVersion, &QAction::triggered, this, &frmMain::checkForUpdatedVersion);

    m_context.forms.add(this, [this] { frmMain_Auto_Init(); });
}

bool frmMain::Form_Load()
{
    // The language switch sets the fonts of every loaded form, this one included.
    SetFormFontsOnLanguageChange(m_context.session.languages, m_context.forms);
    return runStartUp(m_context.session, m_context.arguments, *this, m_context.version);
}

MessageSink frmMain::startUpMessages()
{
    return m_context.messages.sink();
}

void frmMain::placeStartPage()
{
    move(twips(100), twips(100));
    resize(width(), twips(8100));
    unsetCursor();
}

void frmMain::exitWithoutAsking()
{
    ExitApplication(m_context, false, 1);
}

void frmMain::mnuAbout_Click()
{
    // Created on the first showing and kept: OK only hides it.
    if (!m_about)
        m_about = new frmAbout(m_context, m_context.version, this);
    m_about->exec();
}

void frmMain::checkForUpdatedVersion()
{
    setCursor(Qt::WaitCursor);
    checkForUpdatedVersion_Foreground(homePageAddress(), QString(), m_context.version, m_context.messages, this);
    unsetCursor();
}

void frmMain::frmMain_Auto_Init()
{
    static constexpr CaptionRow kCaptions[] = {
        {"frmMain", NoIndex, 281},
        {"Frame1", NoIndex, 180},
        {"optSubscriberUpdate", NoIndex, 255},
        {"optEditCallHandlers", NoIndex, 82},
        {"optInternetSubscriberUpdate", NoIndex, 397},
        {"optAMISSubscriberUpdate", NoIndex, 394},
        {"optBridgeSubscriberUpdate", NoIndex, 395},
        {"optVPIMSubscriberUpdate", NoIndex, 396},
        {"optTrustedSubscriberUpdate", NoIndex, 537},
        {"Frame2", NoIndex, 197},
        {"cmdBrowseForLogLocation", NoIndex, 69},
        {"cmdHelp", NoIndex, 153},
        {"cmdPrevious", NoIndex, 18},
        {"cmdExit", NoIndex, 132},
        {"cmdNext", NoIndex, 191},
        {"Label1", NoIndex, 198},
        {"Label2", NoIndex, 266},
        {"Label3", NoIndex, 50},
        {"Label5", NoIndex, 270},
        {"mnuHelpMenu", NoIndex, 153},
        {"mnuHelp", NoIndex, 153},
        {"mnuAbout", NoIndex, 21},
        {"mnuCheckForUpdatedVersion", NoIndex, 350},
    };
    Session& session = m_context.session;
    SetFormFontForLanguage(this, session.languages.lngLanguageID);
    applyCaptions(this, kCaptions, session.languages.stringLookup());
    txtLogPath->setText(kDefaultLogPath);
    // Trusted Internet subscribers exist from 5.0(0).10 on, and not with the Domino connector.
    optTrustedSubscriberUpdate->setVisible(session.isVersionAtLeast(5, 0, 0, 10)
                                           && !bIsDominoDirectory(session.registry, session.gServerVersion));
}

void frmMain::cmdNext_Click()
{
    const std::pair<QRadioButton*, qint16> kinds[] = {
        {optAMISSubscriberUpdate, 5}, {optBridgeSubscriberUpdate, 7}, {optInternetSubscriberUpdate, 2},
        {optSubscriberUpdate, 1},     {optVPIMSubscriberUpdate, 8},   {optTrustedSubscriberUpdate, 9}};
    qint16& iSelectedSubscriberType = m_context.state.iSelectedSubscriberType;
    iSelectedSubscriberType = -1;
    for (const auto& [option, type] : kinds)
        if (option->isChecked()) {
            iSelectedSubscriberType = type;
            break;
        }
    cmdNext->setEnabled(false);
    const auto& openPage = optEditCallHandlers->isChecked() ? m_context.handlerSelectionPage
                                                            : m_context.subscriberSelectionPage;
    showInPlaceOf(openPage ? openPage() : nullptr, this);
    unsetCursor();
    cmdNext->setEnabled(true);
}

void frmMain::cmdBrowseForLogLocation_Click()
{
    const QString before = txtLogPath->text();
    const QString chosen = QFileDialog::getOpenFileName(this, m_context.session.languages.mymyLoadString(235),
                                                        before, QStringLiteral("All Files (*)"), nullptr,
                                                        QFileDialog::DontUseNativeDialog);
    txtLogPath->setText(chosen.size() >= 5 ? chosen : before);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    ExitApplication(m_context, false);
}
