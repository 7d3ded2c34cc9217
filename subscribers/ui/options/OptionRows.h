#pragma once
// Building blocks of the options page's tabs: the controls of a tab are made by these helpers,
// named as the engine reads them, and laid out as rows from top to bottom, the controls of a
// row from left to right.
#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"

#include <QString>

#include <initializer_list>
#include <span>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace SubscriberOptions {

// A row of a label and the list beside it.
struct LabelledList {
    const char* labelArray;
    int label;                     // the label's element of labelArray
    const char* list;
    int listIndex = NoIndex;       // the list's element, when the list is one of an array
    const char* laidOut = nullptr; // the label's laid-out text, where the caption routine sets none
};

// Lays out a tab (or a page of an inner tab control) as a grid: column j of every row holds the
// row's j-th control, so the labels and lists of a tab line up; what space is left goes to the
// right and the bottom.
class OptionRows {
public:
    explicit OptionRows(QWidget* container);

    // A row of controls; a null entry leaves its column empty.
    OptionRows& row(std::initializer_list<QWidget*> controls);
    // One row per label and list.
    OptionRows& lists(std::span<const LabelledList> rows);
    // A control that takes the whole width (a note, a check box heading a group of rows).
    OptionRows& wide(QWidget* control);
    // Gives the rest of the space to the right and the bottom; call it after the last row.
    void end();

private:
    QGridLayout* m_grid;
    int m_row = 0;
};

// A label, element `index` of `array`. The caption routine replaces the laid-out text of most
// labels; `laidOut` is for those it leaves to PopulateControls (or to nobody).
QLabel* label(const char* array, int index, const QString& laidOut = {});
// A long note, wrapped to the tab's width.
QLabel* note(const char* array, int index, const QString& laidOut = {});
QComboBox* list(const char* name);
QComboBox* list(const char* array, int index);
// A text box accepting at most `maxLength` characters (0: no limit).
QLineEdit* textBox(const char* name, int maxLength = 0);
QLineEdit* textBox(const char* array, int index, int maxLength);
QCheckBox* checkBox(const char* name, const QString& laidOut = {});
QPushButton* button(const char* name, const QString& laidOut = {});

// Laid out hidden: a list or box that keeps values for the engine in step with a shown one.
template <typename Control>
Control* laidOutHidden(Control* control)
{
    control->hide();
    return control;
}

}  // namespace SubscriberOptions
