#include "core/ui/ControlValues.h"

#include "core/OptionsSnapshot.h"

#include <QCheckBox>
#include <QComboBox>

void addFixedTextItem(QComboBox* list, int string, const StringLookup& text)
{
    list->addItem(text(string));
    list->setItemData(list->count() - 1, string, ListRole::StringNumber);
}

int checkBoxValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return CheckValue::Ticked;
    case Qt::PartiallyChecked: return CheckValue::Dimmed;
    case Qt::Unchecked: break;
    }
    return CheckValue::Clear;
}

void setCheckBoxValue(QCheckBox* box, int value)
{
    switch (value) {
    case CheckValue::Ticked: box->setCheckState(Qt::Checked); return;
    case CheckValue::Dimmed: box->setCheckState(Qt::PartiallyChecked); return;
    default: box->setCheckState(Qt::Unchecked); return;
    }
}
