#pragma once
// The choice tables of the rule edits both engines run (greetings, transfer rules): a tri-state
// list or a list of fixed texts, and what each of its entries writes to the rule row. Each
// engine keeps its own tables: their lines, values and order differ.
//
//     class GreetingEdit : public RuleRowEdit<SubscriberEdit> { ... choose({...}); fromList(...); };
#include "core/EngineOptions.h"
#include "core/ExtensionRules.h"
#include "core/Recordset.h"

#include <QVariant>

#include <optional>
#include <span>

// What an entry of a list writes: the column's value and the log line.
struct ChoiceEntry {
    QVariant value;
    const char* line;
};

// What "TRUE" and "FALSE" of a tri-state list write.
struct TriStateChoice {
    const char* list;
    const char* column;
    ChoiceEntry onTrue;
    ChoiceEntry onFalse;

    // The entry tri-state code `code` chooses; none for "<Don't Change>" or anything else.
    const ChoiceEntry* chosenEntry(qint16 code) const { return code == 1 ? &onTrue : code == 0 ? &onFalse : nullptr; }
};

// A list of fixed texts and the column value each of its entries stands for.
struct ListChoice {
    int string;
    qint16 value;
    const char* line;
};

// The entry of `choices` that `text` shows (`shows(text, string)`); none when it shows none.
template <class Shows>
const ListChoice* chosenEntry(std::span<const ListChoice> choices, const QString& text, const Shows& shows)
{
    for (const ListChoice& choice : choices)
        if (shows(text, choice.string))
            return &choice;
    return nullptr;
}

// The edit of one rule row from the controls of tab `index` of an engine's options page. `Edit`
// is the engine's edit: its options, triState(), shows() and writeLine().
template <class Edit> class RuleRowEdit {
protected:
    RuleRowEdit(Edit& edit, Recordset& rule, int index) : m_edit(edit), m_rule(rule), m_index(index) {}

    const ControlState& control(const char* name) const { return m_edit.options.control(name, m_index); }
    void setColumn(const char* column, const QVariant& value) { m_rule.setValue(QLatin1String(column), value); }

    // The leading whole number typed in `box`; none when the box is empty.
    template <typename Int> std::optional<Int> typedNumber(const char* box) const
    {
        const QString text = control(box).text;
        if (text.isEmpty())
            return std::nullopt;
        return leadingWholeNumber<Int>(text);
    }

    void choose(const TriStateChoice& choice)
    {
        if (const ChoiceEntry* entry = choice.chosenEntry(m_edit.triState(control(choice.list))))
            write(choice.column, entry->value, entry->line);
    }

    void fromList(const char* list, std::span<const ListChoice> choices, const char* column)
    {
        const auto shows = [&](const QString& text, int string) { return m_edit.shows(text, string); };
        if (const ListChoice* entry = chosenEntry(choices, control(list).text, shows))
            write(column, QVariant::fromValue<qint16>(entry->value), entry->line);
    }

    Edit& m_edit;
    Recordset& m_rule;
    const int m_index;

private:
    void write(const char* column, const QVariant& value, const char* line)
    {
        setColumn(column, value);
        m_edit.writeLine(QLatin1String(line));
    }
};
