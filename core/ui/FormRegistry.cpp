#include "core/ui/FormRegistry.h"

#include <exception>

void FormRegistry::add(QWidget* form, std::function<void()> autoInit)
{
    prune();
    m_entries.append({form, std::move(autoInit)});
}

void FormRegistry::runAutoInits()
{
    prune();
    const QList<Entry> entries = m_entries;   // a caption routine may load another form
    // One form's failure does not keep the others in the old language.
    for (const Entry& entry : entries)
        if (entry.form && entry.autoInit) {
            try {
                entry.autoInit();
            } catch (const std::exception&) {
            }
        }
}

QList<QWidget*> FormRegistry::forms() const
{
    QList<QWidget*> forms;
    for (const Entry& entry : m_entries)
        if (entry.form)
            forms.append(entry.form.data());
    return forms;
}

void FormRegistry::prune()
{
    m_entries.removeIf([](const Entry& entry) { return entry.form.isNull(); });
}
