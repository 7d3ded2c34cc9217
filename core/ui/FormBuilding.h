#pragma once
// Small helpers the forms are built with.
#include <QHBoxLayout>
#include <QLatin1String>
#include <QPushButton>

// Gives a new control its name (tests and tools find controls by it) and returns it.
template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The wizard pages' bottom row: Help at the left; Previous, Exit and Next at the right.
struct WizardButtons {
    QPushButton* cmdHelp;
    QPushButton* cmdPrevious;
    QPushButton* cmdExit;
    QPushButton* cmdNext;
    QHBoxLayout* row;
};

inline WizardButtons makeWizardButtons()
{
    WizardButtons buttons{named(new QPushButton, "cmdHelp"), named(new QPushButton, "cmdPrevious"),
                          named(new QPushButton, "cmdExit"), named(new QPushButton, "cmdNext"), new QHBoxLayout};
    buttons.row->addWidget(buttons.cmdHelp);
    buttons.row->addStretch(1);
    for (QPushButton* button : {buttons.cmdPrevious, buttons.cmdExit, buttons.cmdNext})
        buttons.row->addWidget(button);
    return buttons;
}
