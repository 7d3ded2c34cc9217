#include "core/ui/FormBuilding.h"

#include <QMenu>

const QWidget* ownerForm(const QObject* control)
{
    for (const QObject* object = control; object; object = object->parent()) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget))
            return widget;
    }
    return nullptr;
}

QObject* findControl(QWidget* root, const QString& name)
{
    if (root->objectName() == name)
        return root;
    const QWidget* form = ownerForm(root);
    for (QObject* candidate : root->findChildren<QObject*>(name))
        if (ownerForm(candidate) == form)
            return candidate;
    return nullptr;
}
