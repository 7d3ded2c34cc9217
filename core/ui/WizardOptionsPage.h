#pragma once
// The frame both options pages share around their own tabs: the bold heading and the wrapped
// instructions above the tab strip, each tab's controls scrolled, the Help / Previous / Exit /
// Next row below; Exit and Help wired; Next refused with the message of the page's own checks or
// the engine page shown in its place; Previous back to the selection page; and the window's
// close ending the tool. A page brings its names, tabs, checks and the pages around it.
#include "core/ui/OpenFileDialog.h"

#include <QWidget>

#include <functional>

class QCloseEvent;
class QLabel;
class QTabWidget;
struct WizardContext;

class WizardOptionsPage : public QWidget {
    Q_OBJECT
public:
    // The greetings' Browse dialog, its settings kept between showings.
    OpenFileDialog CommonDialog1;

protected:
    WizardOptionsPage(WizardContext& context, const QString& formName, QWidget* parent);

    // Lays the page out: `heading` made bold and `instructions` wrapped above `tabs`, the wizard
    // buttons below, each connected. The page is resized to `size`.
    void layOutPage(QLabel* heading, QLabel* instructions, QTabWidget* tabs, QSize size);
    // A tab of `tabs` holding `controls`, scrolled where they are taller or wider than the window.
    static void addScrolledTab(QTabWidget* tabs, QWidget* controls);

    virtual void cmdNext_Click() = 0;
    virtual void cmdPrevious_Click() = 0;
    // What Next does: `fault` shown when there is one, else the engine page (made for this page) shown in
    // its place.
    void showEnginePageUnless(const QString& fault, const std::function<QWidget*(QWidget* optionsPage)>& enginePage);
    // What Previous does: the selection page shown in this page's place.
    void showSelectionPage(const std::function<QWidget*()>& selectionPage);

    // Closing the window ends the tool, as Exit does: a hidden page would keep it running.
    void closeEvent(QCloseEvent* event) override;

    WizardContext& m_context;
};
