#pragma once
// The subscriber options page, the third page of the subscriber branch: fourteen tabs of changes
// that a run can make to the chosen subscribers. The page only gathers choices; at Go the engine
// page takes its snapshot(). It is created once and stays loaded for the rest of the run: moving
// on or back hides and shows it.
#include "core/OptionsSnapshot.h"
#include "core/ui/WizardOptionsPage.h"

#include <QString>

#include <initializer_list>

class QLabel;
class QTabWidget;

class frmSelectSubscriberChanges : public WizardOptionsPage {
    Q_OBJECT
public:
    // Builds the page and runs its load: captions, PopulateControls, show, initial focus.
    explicit frmSelectSubscriberChanges(WizardContext& context, QWidget* parent = nullptr);

    // Fonts and captions in the current language, the receipt list and the version-dependent
    // layout. Run by the load, and again by the language switch; a statement that fails is
    // passed over silently.
    void frmSelectSubscriberChanges_Auto_Init();
    // Fills every option list and sets every default; each run leaves the page as one run does.
    // A statement that fails costs one message and the next one runs.
    void PopulateControls();

    // What the engine page reads at Go: every named control, the tab flags included, and those of
    // the sub-dialogs given. Controls the kind being edited cannot reach are handed over as the
    // first fill left them.
    OptionsSnapshot snapshot(std::initializer_list<const QWidget*> subDialogs = {}) const;

private:
    void buildPage();
    void Form_Load();

    void cmdNext_Click() override;
    void cmdPrevious_Click() override;
    // The message of the first caller-input group whose chosen destination kind has no
    // destination, then of the first greeting to be recorded without a file; empty: none.
    QString firstEntryFault() const;

    // The page as its first PopulateControls left it: what the snapshot hands over of the
    // controls the kind being edited cannot reach.
    OptionsSnapshot m_freshlyFilled;
    QLabel* label11_44;
    QLabel* label11_43;
    QTabWidget* tabMain;
};
