#pragma once
// The start page: runs the tool's start-up and lets the administrator choose the kind of
// object to change.
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

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(WizardContext& context, QWidget* parent = nullptr);

    // The start-up sequence; runs once. False when it ended the tool (the page is then not
    // to be shown).
    bool Form_Load();
    void frmMain_Auto_Init();

    // The kind of object chosen: 1 subscribers, 2 Internet, 5 AMIS, 7 Bridge, 8 VPIM,
    // 9 trusted, -1 call handlers.
    qint16 iSelectedSubscriberType = 1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdNext_Click();
    void cmdBrowseForLogLocation_Click();
    void mnuAbout_Click();
    void checkForUpdatedVersion();
    void bindNotifier();
    void runStartUpHook();

    WizardContext& m_context;
    bool m_startUpDone = false;
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
