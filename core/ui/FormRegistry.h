#pragma once
// The loaded forms of the run and their caption routines, so that a language switch can set
// every caption again, on hidden forms too.
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class FormRegistry {
public:
    // The form leaves the registry when it is destroyed.
    void add(QWidget* form, std::function<void()> autoInit);
    // Runs the caption routine of every loaded form, in the order they were loaded.
    void runAutoInits();
    QList<QWidget*> forms() const;

    template <typename Form>
    Form* find() const
    {
        for (const Entry& entry : m_entries)
            if (auto* form = qobject_cast<Form*>(entry.form.data()))
                return form;
        return nullptr;
    }

private:
    struct Entry {
        QPointer<QWidget> form;
        std::function<void()> autoInit;
    };
    void prune();
    QList<Entry> m_entries;
};
