#include "core/ui/EngineRunPage.h"

#include "core/ui/WizardContext.h"

#include <QCloseEvent>
#include <QPushButton>

EngineRunPage::EngineRunPage(WizardContext& context, QWidget* optionsPage, const QString& formName, RunWording wording,
                             QWidget* parent)
    : QWidget(parent), m_context(context), m_optionsPage(optionsPage), m_controls(buildRunPage(this)),
      m_run(context, *this, m_controls, wording)
{
    setObjectName(formName);
    connect(m_controls.cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(m_controls.cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(m_controls.cmdPrev, &QPushButton::clicked, this, &EngineRunPage::cmdPrev_Click);
    connect(m_controls.cmdHelp, &QPushButton::clicked, this, [this] { showHelp(m_context); });
}

EngineRunPage::~EngineRunPage() = default;

void EngineRunPage::cmdPrev_Click()
{
    hide();
    if (m_optionsPage) {
        m_optionsPage->move(pos());
        m_optionsPage->show();
    }
}

void EngineRunPage::exitUnlessRunning(bool ask)
{
    if (!m_run.requestStop())
        ExitApplication(m_context, ask);
}

void EngineRunPage::closeEvent(QCloseEvent* event)
{
    event->ignore();
    cmdExit_Click();
}
