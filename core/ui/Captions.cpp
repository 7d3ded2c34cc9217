#include "core/ui/Captions.h"

#include "core/ui/FormBuilding.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

bool setCaption(QObject* control, const QString& caption)
{
    if (auto* action = qobject_cast<QAction*>(control))
        action->setText(caption);
    else if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        frame->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else if (auto* widget = qobject_cast<QWidget*>(control); widget && widget->isWindow())
        widget->setWindowTitle(caption);
    else
        return false;
    return true;
}

bool applyRow(QWidget* root, const CaptionRow& row, const StringLookup& text)
{
    const QString name = QLatin1String(row.control);
    if (row.index == NoIndex) {
        QObject* control = findControl(root, name);
        return control && setCaption(control, text(row.string));
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(findControl(root, name))) {
        if (row.index >= tabs->count())
            return false;
        tabs->setTabText(row.index, text(row.string));
        return true;
    }
    QObject* element = findControl(root, elementName(name, row.index));
    return element && setCaption(element, text(row.string));
}

} // namespace

QStringList applyCaptions(QWidget* root, std::span<const CaptionRow> rows, const StringLookup& text)
{
    QStringList missing;
    for (const CaptionRow& row : rows)
        if (!applyRow(root, row, text))
            missing << (row.index == NoIndex ? QLatin1String(row.control)
                                             : elementName(QLatin1String(row.control), row.index));
    return missing;
}
