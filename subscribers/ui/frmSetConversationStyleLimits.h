#pragma once
// The options page's dialog of allowed conversation styles ("Limit List"). It keeps the choice in
// its own check boxes: a valid Close hides it with the choice kept for the engine (which reads
// it through the page's snapshot); a valid close by the window's close box unloads it, so the
// next use finds the first state again ("Make no changes" checked).
#include <QDialog>

class QCheckBox;
class QPushButton;
struct WizardContext;

class frmSetConversationStyleLimits : public QDialog {
    Q_OBJECT
public:
    // The options page's one instance, created (in its first state) on first use.
    static frmSetConversationStyleLimits* instance(WizardContext& context, QWidget* optionsPage);
    // The page's "Limit List" button: the dialog at the page's position, modal.
    static void showFor(WizardContext& context, QWidget* optionsPage);

    // Escape closes the dialog as its close box does.
    void reject() override { close(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmSetConversationStyleLimits(WizardContext& context, QWidget* optionsPage);
    void chkNoChange_Click();
    void cmdExit_Click();
    bool bValidateStyleLimits();

    WizardContext& m_context;
    bool m_unloaded = false;   // closed by its close box: no longer the page's instance
    QCheckBox* chkNoChange;
    QList<QCheckBox*> m_styleBoxes;   // the nine style boxes, in the order of their captions
    QPushButton* cmdExit;
};
