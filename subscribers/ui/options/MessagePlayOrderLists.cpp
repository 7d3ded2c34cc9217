#include "subscribers/ui/options/MessagePlayOrderLists.h"

#include "core/ui/ControlValues.h"

#include <QListWidget>

namespace {

constexpr int kMessageTypes = 7;
constexpr int kFirstTypeString = 320;

// Exchanges the entries at `from` and `to` (neighbours), texts with their item data, and selects
// `to`.
void swapEntries(QListWidget* list, int from, int to)
{
    QListWidgetItem* moved = list->takeItem(from);
    list->insertItem(to, moved);
    list->setCurrentRow(to);
}

}  // namespace

void FillFlexStackOrderList(QListWidget* list, const StringLookup& text)
{
    list->clear();
    for (int type = 1; type <= kMessageTypes; ++type) {
        const int string = kFirstTypeString + type - 1;
        auto* item = new QListWidgetItem(text(string), list);
        item->setData(ListRole::ItemData, type);
        item->setData(ListRole::StringNumber, string);
    }
    list->setCurrentRow(-1);
}

void MoveFlexStackEntryDown(QListWidget* list)
{
    const int selected = list->currentRow();
    if (selected < 0 || selected >= list->count() - 1)
        return;
    swapEntries(list, selected, selected + 1);
}

void MoveFlexStackEntryUp(QListWidget* list)
{
    const int selected = list->currentRow();
    if (selected < 1)
        return;
    swapEntries(list, selected, selected - 1);
}
