#pragma once
// Takes an options page's snapshot for its engine (core/OptionsSnapshot.h).
#include "core/OptionsSnapshot.h"

#include <initializer_list>

class QWidget;

// Records every named control of the page, and of each sub-dialog under the dialog's form name.
// Controls of other forms (a dialog that is a child of the page) are left to their own
// snapshot; a sub-dialog given as nullptr (not created yet) is left out.
OptionsSnapshot captureOptions(const QWidget* page, std::initializer_list<const QWidget*> subDialogs = {});

// True for a control the page named; false for an unnamed widget and for the parts Qt names
// inside its own widgets ("qt_..." names, the scroll buttons of a tab bar).
bool isNamedControl(const QWidget* control);
