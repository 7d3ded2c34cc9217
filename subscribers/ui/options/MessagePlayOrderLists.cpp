#include "subscribers/ui/options/MessagePlayOrderLists.h"

#include "core/ui/ControlValues.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>

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

void ConnectFlexStackArrows(QSpinBox* arrows, QListWidget* list)
{
    // The value rests in the middle of its range, so that either arrow always steps; each step
    // becomes a move and the value goes back to rest.
    arrows->setRange(-1, 1);
    arrows->setValue(0);
    QObject::connect(arrows, &QSpinBox::valueChanged, list, [arrows, list](int value) {
        if (value == 0)
            return;
        {
            const QSignalBlocker quiet(arrows);
            arrows->setValue(0);
        }
        if (value > 0)
            MoveFlexStackEntryUp(list);
        else
            MoveFlexStackEntryDown(list);
    });
}
