#pragma once
// The call handler options page, the third page of the handler branch: five tabs of changes a
// run can make to the chosen call handlers (profile, transfer rules, greetings, caller input,
// messages). The page only gathers choices; the engine page takes its snapshot(). It is created
// once, by the selection page's first Next, and stays loaded: moving on or back hides and shows
// it, so every choice is kept.
#include "core/OptionsSnapshot.h"
#include "core/ui/WizardOptionsPage.h"

#include <QList>

class CompositeGroup;
class QTabWidget;

class frmSelectCallHandlerChanges : public WizardOptionsPage {
    Q_OBJECT
public:
    // Builds the page and runs its load (captions, then PopulateControls). Not shown: the page
    // that opens it places and shows it.
    explicit frmSelectCallHandlerChanges(WizardContext& context, QWidget* parent = nullptr);

    // Fonts first, then every caption in the current language, and the version-dependent
    // prompt labels. Run by the load, and again by the language switch.
    void frmSelectCallHandlerChanges_Auto_Init();
    // Fills the option lists and sets the controls that depend on the server's version; a
    // failing statement shows one message and filling goes on.
    void PopulateControls();

    // What the engine reads: every named control of the page.
    OptionsSnapshot snapshot() const;

private:
    void buildPage();
    void Form_Load();

    void cmdNext_Click() override;
    void cmdPrevious_Click() override;

    // The repeated groups, each captioning its own controls.
    QList<CompositeGroup*> m_groups;
    QTabWidget* SSTab1;
};
