#include "core/ui/OptionsCapture.h"

#include "core/ui/ControlValues.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/TabFlags.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

namespace {

ListItem listItem(const QModelIndex& item)
{
    if (!item.isValid())
        return {};
    const QVariant number = item.data(ListRole::StringNumber);
    return {item.data(Qt::DisplayRole).toString(), item.data(ListRole::ItemData),
            number.isValid() ? number.toInt() : -1};
}

void readList(const QAbstractItemModel* model, int modelColumn, int current, ControlState& state)
{
    for (int row = 0; row < model->rowCount(); ++row)
        state.items << listItem(model->index(row, modelColumn));
    state.currentIndex = current;
    if (current >= 0 && current < state.items.size())
        state.current = state.items[current];
    state.text = state.current.text;
}

// A tab control's pages are hidden while another tab is shown and disabled with their tab; what
// the page set on the tab itself is recorded under the tab control.
bool isTabPage(const QWidget* widget)
{
    const QWidget* stack = widget->parentWidget();
    return qobject_cast<const QStackedWidget*>(stack) && qobject_cast<const QTabWidget*>(stack->parentWidget());
}

// Enabled and visible as the page set them: no widget from the control up to the form was
// hidden or disabled, tab pages apart. Showing or hiding the form itself changes neither.
void readAvailability(const QWidget* control, const QWidget* form, ControlState& state)
{
    for (const QWidget* widget = control; widget && widget != form; widget = widget->parentWidget()) {
        if (isTabPage(widget))
            continue;
        if (widget->isHidden())
            state.visible = false;
        if (widget->testAttribute(Qt::WA_ForceDisabled))
            state.enabled = false;
    }
}

ControlState readControl(const QWidget* control)
{
    ControlState state;
    if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
        state.kind = ControlKind::CheckBox;
        state.text = box->text();
        state.checkState = checkBoxValue(box);
    } else if (const auto* option = qobject_cast<const QRadioButton*>(control)) {
        state.kind = ControlKind::OptionButton;
        state.text = option->text();
        state.selected = option->isChecked();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        state.kind = ControlKind::Button;
        state.text = button->text();
    } else if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
        state.kind = ControlKind::LineEdit;
        state.text = line->text();
    } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(control)) {
        state.kind = ControlKind::TextBox;
        state.text = plain->toPlainText();
    } else if (const auto* rich = qobject_cast<const QTextEdit*>(control)) {
        state.kind = ControlKind::TextBox;
        state.text = rich->toPlainText();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        state.kind = ControlKind::ComboBox;
        readList(combo->model(), combo->modelColumn(), combo->currentIndex(), state);
        state.text = combo->currentText();   // what was typed, in a list that takes typing
    } else if (const auto* list = qobject_cast<const QListView*>(control)) {
        state.kind = ControlKind::ListBox;
        readList(list->model(), list->modelColumn(), list->currentIndex().row(), state);
    } else if (const auto* upDown = qobject_cast<const QSpinBox*>(control)) {
        state.kind = ControlKind::UpDown;
        state.value = upDown->value();
        state.text = upDown->text();
    } else if (const auto* bar = qobject_cast<const QScrollBar*>(control)) {
        state.kind = ControlKind::ScrollBar;
        state.value = bar->value();
    } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        state.kind = ControlKind::Label;
        state.text = label->text();
    } else if (const auto* tabs = qobject_cast<const QTabWidget*>(control)) {
        state.kind = ControlKind::TabControl;
        for (int tab = 0; tab < tabs->count(); ++tab)
            state.tabs << TabState{tabs->tabText(tab), tabs->isTabEnabled(tab), tabs->isTabVisible(tab),
                                   TabFlags::versionFlag(tabs, tab), TabFlags::typeFlag(tabs, tab)};
        state.currentIndex = tabs->currentIndex();
        state.text = tabs->tabText(state.currentIndex);
    } else if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
        state.kind = ControlKind::Frame;
        state.text = frame->title();
    }
    return state;
}

OptionsSnapshot captureForm(const QWidget* form)
{
    OptionsSnapshot snapshot(form->objectName());
    for (const QWidget* control : form->findChildren<const QWidget*>()) {
        if (!isNamedControl(control) || ownerForm(control) != form)
            continue;
        ControlState state = readControl(control);
        readAvailability(control, form, state);
        snapshot.add(control->objectName(), std::move(state));
    }
    return snapshot;
}

} // namespace

bool isNamedControl(const QWidget* control)
{
    const QString name = control->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && !qobject_cast<const QTabBar*>(control->parentWidget());
}

OptionsSnapshot captureOptions(const QWidget* page, std::initializer_list<const QWidget*> subDialogs)
{
    OptionsSnapshot snapshot = captureForm(page);
    for (const QWidget* dialog : subDialogs)
        if (dialog)
            snapshot.addDialog(captureForm(dialog));
    return snapshot;
}
