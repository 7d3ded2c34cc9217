#include "core/ui/RunPageLayout.h"

#include "core/ui/FormBuilding.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

RunPageControls buildRunPage(QWidget* page)
{
    RunPageControls c;
    auto* column = new QVBoxLayout(page);
    c.Label1 = named(new QLabel, "Label1");
    QFont bold = c.Label1->font();
    bold.setBold(true);
    c.Label1->setFont(bold);
    c.Label2 = named(new QLabel, "Label2");
    c.Label2->setWordWrap(true);
    column->addWidget(c.Label1);
    column->addWidget(c.Label2);

    c.frameProgress = named(new QGroupBox, "frameProgress");
    auto* progress = new QVBoxLayout(c.frameProgress);
    auto* counter = new QHBoxLayout;
    c.Label4 = named(new QLabel, "Label4");
    c.lblRecordNumber = named(new QLabel, "lblRecordNumber");
    counter->addWidget(c.Label4);
    counter->addWidget(c.lblRecordNumber);
    counter->addStretch(1);
    c.ProgressBar = named(new QProgressBar, "ProgressBar");
    c.ProgressBar->setTextVisible(false);
    progress->addLayout(counter);
    progress->addWidget(c.ProgressBar);
    column->addWidget(c.frameProgress);

    auto* goRow = new QHBoxLayout;
    c.cmdGo = named(new QPushButton, "cmdGo");
    goRow->addStretch(1);
    goRow->addWidget(c.cmdGo);
    goRow->addStretch(1);
    column->addLayout(goRow);
    column->addStretch(1);

    auto* buttons = new QHBoxLayout;
    c.cmdHelp = named(new QPushButton, "cmdHelp");
    c.cmdPrev = named(new QPushButton, "cmdPrev");
    c.cmdExit = named(new QPushButton, "cmdExit");
    c.cmdNext = named(new QPushButton, "cmdNext");
    c.cmdNext->setEnabled(false);   // the last page: Next has no action
    buttons->addWidget(c.cmdHelp);
    buttons->addStretch(1);
    for (QPushButton* button : {c.cmdPrev, c.cmdExit, c.cmdNext})
        buttons->addWidget(button);
    column->addLayout(buttons);
    return c;
}
