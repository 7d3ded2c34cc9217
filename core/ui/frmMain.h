#pragma once
// The start page: runs the tool's start-up and lets the administrator choose the kind of
// object to change.
#include "core/StartUp.h"

#include <QMainWindow>

class QAction;
class frmAbout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
struct WizardContext;

// Next hands the chosen kind on through the wizard state (iSelectedSubscriberType).
class frmMain : public QMainWindow, public StartUpPage {
    Q_OBJECT
public:
    explicit frmMain(WizardContext& context, QWidget* parent = nullptr);

    // The start-up sequence (runStartUp) with the run's command line; runs once. False when it
    // ended the tool (the page is then not to be shown).
    bool Form_Load();
    void frmMain_Auto_Init() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // StartUpPage
    MessageSink startUpMessages() override;
    void placeStartPage() override;
    void exitWithoutAsking() override;

    void cmdNext_Click();
    void cmdBrowseForLogLocation_Click();
    void mnuAbout_Click();
    void checkForUpdatedVersion();

    WizardContext& m_context;
    frmAbout* m_about = nullptr;

    QGroupBox* Frame1;
    QRadioButton* optSubscriberUpdate;
    QRadioButton* optEditCallHandlers;
    QRadioButton* optInternetSubscriberUpdate;
    QRadioButton* optAMISSubscriberUpdate;
    QRadioButton* optBridgeSubscriberUpdate;
    QRadioButton* optVPIMSubscriberUpdate;
    QRadioButton* optTrustedSubscriberUpdate;
    QGroupBox* Frame2;
    QLineEdit* txtLogPath;
    QPushButton* cmdBrowseForLogLocation;
    QPushButton* cmdHelp;
    QPushButton* cmdPrevious;
    QPushButton* cmdExit;
    QPushButton* cmdNext;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label5;
    QMenu* mnuHelpMenu;
    QAction* mnuHelp;
    QAction* mnuAbout;
    QAction* mnuCheckForUpdatedVersion;
};
