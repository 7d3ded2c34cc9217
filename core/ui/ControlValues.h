#pragma once
// How the pages keep the values that their engines read: item roles of the lists and the three
// values of a check box.
#include "core/StringLookup.h"

#include <Qt>

#include <functional>

class QCheckBox;
class QComboBox;
class QObject;

namespace ListRole {
// The item data a list's Part gives its items (QComboBox::itemData's default role).
constexpr int ItemData = Qt::UserRole;
// The resource string number of a fixed-text item, so that the choice is known in any language.
constexpr int StringNumber = Qt::UserRole + 1;
}

// Adds an item of fixed text at the end of the list: the string's text in the look-up's
// language, its number under ListRole::StringNumber and no item data.
void addFixedTextItem(QComboBox* list, int string, const StringLookup& text);

// A check box's value: 0 clear, 1 ticked, 2 dimmed (Qt's partly checked state).
int checkBoxValue(const QCheckBox* box);
void setCheckBoxValue(QCheckBox* box, int value);

// Runs `handler` with the list's position on every choice of an item: a click or key on the
// item already chosen too, and a selection made by code; once per choice.
void onEveryChoice(QComboBox* list, QObject* receiver, std::function<void(int position)> handler);
