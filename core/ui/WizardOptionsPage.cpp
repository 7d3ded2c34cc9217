#include "core/ui/WizardOptionsPage.h"

#include "core/ui/FormBuilding.h"
#include "core/ui/WizardContext.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

WizardOptionsPage::WizardOptionsPage(WizardContext& context, const QString& formName, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(formName);
}

void WizardOptionsPage::layOutPage(QLabel* heading, QLabel* instructions, QTabWidget* tabs, QSize size)
{
    auto* page = new QVBoxLayout(this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    page->addWidget(heading);
    instructions->setWordWrap(true);
    page->addWidget(instructions);
    page->addWidget(tabs, 1);

    const WizardButtons buttons = makeWizardButtons();
    page->addLayout(buttons.row);
    connect(buttons.cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(buttons.cmdPrevious, &QPushButton::clicked, this, [this] { cmdPrevious_Click(); });
    connect(buttons.cmdExit, &QPushButton::clicked, this, [this] { ExitApplication(m_context, false); });
    connect(buttons.cmdHelp, &QPushButton::clicked, this, [this] { showHelp(m_context); });
    resize(size);
}

void WizardOptionsPage::addScrolledTab(QTabWidget* tabs, QWidget* controls)
{
    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(controls);
    tabs->addTab(scroller, QString());
}

void WizardOptionsPage::showEnginePageUnless(const QString& fault, const std::function<QWidget*(QWidget*)>& enginePage)
{
    if (!fault.isEmpty()) {
        m_context.messages.show(fault);
        return;
    }
    showInPlaceOf(enginePage ? enginePage(this) : nullptr, this);
}

void WizardOptionsPage::showSelectionPage(const std::function<QWidget*()>& selectionPage)
{
    showInPlaceOf(selectionPage ? selectionPage() : nullptr, this);
}

void WizardOptionsPage::closeEvent(QCloseEvent* event)
{
    event->accept();
    ExitApplication(m_context, false);
}
