#pragma once
// The statements of a form routine that works through many controls by name (a caption routine,
// a list-filling procedure). Each statement runs on its own: one that fails (a control the form
// lacks, an error raised on the way) goes to the routine's failure handler, and the routine goes
// on with the next statement.
#include "core/Errors.h"
#include "core/StringLookup.h"
#include "core/ui/FormBuilding.h"

#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>

class QWidget;

class FormStatements {
public:
    using FailureHandler = std::function<void(const KestraneError&)>;

    // An empty handler passes over a failing statement silently.
    FormStatements(QWidget* form, StringLookup text, FailureHandler onFailure = {});

    void run(const std::function<void()>& statement);

    // The control `name` of the form, of the given kind; throws KestraneError (ObjectRequired)
    // when the form has no such control.
    template <typename Control>
    Control* control(const QString& name) const
    {
        if (auto* found = qobject_cast<Control*>(findControl(m_form, name)))
            return found;
        throw missingControl(name);
    }

    // One statement each. `name` is a control's name or "Array_i" (elementName).
    void setCaption(const QString& name, int string);
    void setShown(const QString& name, bool shown);
    void setShown(std::initializer_list<QString> names, bool shown);
    void setEnabled(const QString& name, bool enabled);
    void setEnabled(std::initializer_list<QString> names, bool enabled);
    // Empties the list and adds the fixed texts of `strings` (string numbers kept under
    // ListRole::StringNumber, no item data), then selects `selected`; signals blocked.
    void fillFixedTexts(const QString& list, const QList<int>& strings, int selected = 0);
    // FillTriStateCombo, signals blocked.
    void fillTriState(const QString& list);
    // The version flag of tab `tab` of the tab control `tabControl` (core/ui/TabFlags.h).
    void setTabVersionFlag(const QString& tabControl, int tab, bool flag);

    const StringLookup& text() const { return m_text; }
    // The same form's statements, passing over a failing one silently: for a follow-up whose
    // failures the routine has already reported.
    FormStatements silently() const { return FormStatements(m_form, m_text); }

private:
    static KestraneError missingControl(const QString& name);

    QWidget* m_form;
    StringLookup m_text;
    FailureHandler m_onFailure;
};
