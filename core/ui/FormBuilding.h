#pragma once
// Small helpers the forms are built with.
#include "core/ControlNames.h"

#include <QHBoxLayout>
#include <QLatin1String>
#include <QPushButton>

class QLabel;

// Gives a new control its name (tests and tools find controls by it) and returns it.
template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// Names a new control element `index` of the control array `arrayName` ("Name_i") and returns it.
template <typename Control>
Control* namedElement(Control* control, const char* arrayName, int index)
{
    control->setObjectName(elementName(QLatin1String(arrayName), index));
    return control;
}

// A page's heading label of that name, in the bold of the page's font.
QLabel* boldHeading(const char* name);

// The form a control belongs to: its nearest window, menus excepted (they pop up as windows of
// their own). Sub-dialogs are forms of their own.
const QWidget* ownerForm(const QObject* control);

// The control of that name within `root` (root itself included) that belongs to root's form;
// nullptr when there is none. A named form's controls are looked up in one index per form, built
// on its first look-up and kept as controls are added, named, renamed, moved or destroyed, so
// every routine that works through controls by name goes through here.
QObject* findControl(QWidget* root, const QString& name);

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

// The wizard pages' bottom row added at the bottom of `page`, its buttons set into the page's
// members of their names.
inline void addWizardButtons(QBoxLayout* page, QPushButton*& cmdHelp, QPushButton*& cmdPrevious, QPushButton*& cmdExit,
                             QPushButton*& cmdNext)
{
    const WizardButtons buttons = makeWizardButtons();
    cmdHelp = buttons.cmdHelp;
    cmdPrevious = buttons.cmdPrevious;
    cmdExit = buttons.cmdExit;
    cmdNext = buttons.cmdNext;
    page->addLayout(buttons.row);
}
