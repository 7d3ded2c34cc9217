#include "core/ui/FormBuilding.h"

#include <QChildEvent>
#include <QLabel>
#include <QHash>
#include <QList>
#include <QMenu>
#include <QPointer>

namespace {

// A window of its own: a form, or a sub-dialog within one. Menus pop up as windows but belong to
// the form that holds them.
bool isForm(const QObject* object)
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget);
}

bool isWithin(const QObject* control, const QObject* root)
{
    for (const QObject* object = control; object; object = object->parent())
        if (object == root)
            return true;
    return false;
}

// The first control of that name in tree order within `root` that belongs to `form`.
QObject* searchTree(QWidget* root, const QString& name, const QWidget* form)
{
    for (QObject* candidate : root->findChildren<QObject*>(name))
        if (ownerForm(candidate) == form)
            return candidate;
    return nullptr;
}

// The controls of one form by name, so that a routine's statements do not each walk the whole
// form. It follows the form: controls added to it (ChildAdded) and names given (objectNameChanged)
// are entered as they come. What leaves a name (destroyed, renamed, moved out of the form) is
// dropped when the name is next looked up, so no stale control is ever returned.
class ControlIndex : public QObject {
    Q_OBJECT
public:
    explicit ControlIndex(QWidget* form) : QObject(form), m_form(form)
    {
        form->installEventFilter(this);
        for (QObject* child : form->children())
            if (child != this)
                watch(child);
    }

    QObject* find(QWidget* root, const QString& name)
    {
        const auto entry = m_controls.find(name);
        if (entry == m_controls.end())
            return nullptr;
        entry->removeIf([&](const QPointer<QObject>& control) {
            return !control || control->objectName() != name || ownerForm(control) != m_form;
        });
        QObject* found = nullptr;
        for (QObject* control : std::as_const(*entry)) {
            if (root != m_form && !isWithin(control, root))
                continue;
            if (found)   // a name held twice: the first in tree order, as a search finds it
                return searchTree(root, name, m_form);
            found = control;
        }
        return found;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            if (ownerForm(watched) == m_form)
                watch(static_cast<QChildEvent*>(event)->child());
        } else if (event->type() == QEvent::ParentChange) {
            if (watched == m_form) {
                if (!isForm(m_form))   // no longer a form: its controls are now another form's
                    deleteLater();
            } else if (ownerForm(watched) == m_form) {
                watch(watched);   // a sub-dialog that became part of the form
            }
        }
        return false;
    }

private:
    // Follows `object` and, unless it is a sub-dialog (a form of its own), enters it and its
    // children.
    void watch(QObject* object)
    {
        object->installEventFilter(this);   // once, however often it is called
        if (isForm(object))
            return;
        connect(object, &QObject::objectNameChanged, this, &ControlIndex::named, Qt::UniqueConnection);
        enter(object, object->objectName());
        for (QObject* child : object->children())
            watch(child);
    }

    void named(const QString& name) { enter(sender(), name); }

    void enter(QObject* control, const QString& name)
    {
        if (name.isEmpty())
            return;
        QList<QPointer<QObject>>& controls = m_controls[name];
        if (!controls.contains(control))
            controls.append(control);
    }

    QWidget* m_form;
    QHash<QString, QList<QPointer<QObject>>> m_controls;
};

}  // namespace

QLabel* boldHeading(const char* name)
{
    auto* heading = named(new QLabel, name);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    return heading;
}

const QWidget* ownerForm(const QObject* control)
{
    for (const QObject* object = control; object; object = object->parent())
        if (isForm(object))
            return static_cast<const QWidget*>(object);
    return nullptr;
}

QObject* findControl(QWidget* root, const QString& name)
{
    if (root->objectName() == name)
        return root;
    auto* form = const_cast<QWidget*>(ownerForm(root));
    // Every form carries its name; a window without one is a part still being built (a group
    // captioned before it is placed), searched directly rather than indexed for a moment.
    if (!form || form->objectName().isEmpty())
        return searchTree(root, name, form);
    auto* index = form->findChild<ControlIndex*>(QString(), Qt::FindDirectChildrenOnly);
    if (!index)
        index = new ControlIndex(form);
    return index->find(root, name);
}

#include "FormBuilding.moc"
