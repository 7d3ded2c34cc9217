#pragma once
// The About box: the tool's name and version, the maker's notices, and the one place where the
// user changes the language of the user interface while the tool runs. The start page creates it
// on first use and keeps it: OK only hides it, so its language menu is built once per run.
#include "core/UpdateCheck.h"
#include "core/ui/WizardContext.h"

#include <QDialog>

class QLabel;
class QMenu;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // `version` is the program's own version (major.minor.revision), shown as " 4.0 Build 117".
    // Construction is the form's load: captions, version text, language library, language menu.
    frmAbout(WizardContext& context, const ToolVersion& version, QWidget* parent = nullptr);

    // Caption routine: fonts of the current language, then every caption from the string table.
    void frmAbout_Auto_Init();

    // The language switch for entry `index` of the language menu: sets the language from the
    // entry's tag, reloads the language library and runs every loaded form's caption routine.
    // Errors on the way are passed over.
    void mnuLanguageList_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillLanguageMenu();

    WizardContext& m_context;

    QLabel* m_lblVersionTitle_1 = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblDravoAddress1 = nullptr;
    QLabel* m_lblDravoAddress2 = nullptr;
    QLabel* m_lblDravoAddress3 = nullptr;
    QLabel* m_lblTrademark = nullptr;
    QLabel* m_lblCopyright = nullptr;
    QLabel* m_lblChangeLanguage = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QMenu* m_mnuSelectLanguage = nullptr;
};
