#include "core/ui/ControlValues.h"

#include "core/OptionsSnapshot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QAbstractItemView>
#include <QEvent>

#include <utility>

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

namespace {

// Qt reports a user's choice of another item twice, the change of index and then the activation,
// in one go; a choice made by code is the change alone. The mark is set by a change and cleared
// by the activation that follows it, or when the user next acts on the list (a key, a click or a
// wheel turn on it, its drop-down shown), so a choice by code never swallows a user's choice.
class ChoiceWatcher : public QObject {
public:
    ChoiceWatcher(QComboBox* list, std::function<void(int)> handler) : QObject(list), m_handler(std::move(handler))
    {
        list->installEventFilter(this);
        list->view()->installEventFilter(this);
    }
    void changed(int position)
    {
        m_changedJustNow = true;
        m_handler(position);
    }
    void activated(int position)
    {
        if (!std::exchange(m_changedJustNow, false))
            m_handler(position);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::Show: m_changedJustNow = false; break;
        default: break;
        }
        return false;
    }

private:
    std::function<void(int)> m_handler;
    bool m_changedJustNow = false;
};

}  // namespace

void onEveryChoice(QComboBox* list, QObject* receiver, std::function<void(int position)> handler)
{
    auto* watcher = new ChoiceWatcher(list, std::move(handler));
    QObject::connect(list, &QComboBox::currentIndexChanged, receiver, [watcher](int position) { watcher->changed(position); });
    QObject::connect(list, &QComboBox::activated, receiver, [watcher](int position) { watcher->activated(position); });
}
