#pragma once
// What a change engine reads of its options page: the snapshot taken at Go, read by control name
// and checked against the engine's list of every control it reads. A test proves each listed
// name is on the real page, so the check keeps an engine from reading a name the page lacks.
//
//     const EngineControlList& handlerEngineControlList();   // the engine's one list
//     const EngineOptions options(snapshot, handlerEngineControlList());
//     options.control("txtRingsToWait", 2).text ...
#include "core/OptionsSnapshot.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// A control an engine reads: of the options page or of one of its sub-dialogs; an array of
// `elements` controls "Name_0" ... when elements > 0.
struct EngineControl {
    const char* form;
    const char* name;
    int elements = 0;
};

// Every control an engine reads, in one list, and the form of its options page.
class EngineControlList {
public:
    // A control listed twice (elements of one array each, read by two parts of the engine) is
    // allowed with the larger count.
    EngineControlList(QString pageForm, std::vector<EngineControl> controls);

    const QString& pageForm() const { return m_pageForm; }
    const std::vector<EngineControl>& controls() const { return m_controls; }
    // The names of the controls of one form, array elements spelt out.
    QStringList names(const QString& form) const;
    // Reading a control the list lacks is a fault of the engine: throws std::logic_error.
    // `index` is the element of an array, -1 for a control that is not one.
    void requireListed(const QString& form, const QString& name, int index) const;

private:
    QString m_pageForm;
    std::vector<EngineControl> m_controls;
    QHash<QString, int> m_elements;   // by form + '/' + name
};

// The snapshot as an engine reads it. Reading a control the list does not hold throws
// std::logic_error; one the snapshot lacks throws OptionsSnapshot::UnknownName.
// A run reads the same controls for every object: each is found (and checked against the list)
// once, and a tri-state list's code worked out once.
class EngineOptions {
public:
    EngineOptions(const OptionsSnapshot& page, const EngineControlList& listed) : m_page(page), m_listed(listed) {}

    // A control of the options page.
    const ControlState& control(const QString& name) const;
    const ControlState& control(const QString& arrayName, int index) const;
    // The same, for a name of an engine's constant tables: its text stays where it is for the
    // whole program, and it is found by that place.
    const ControlState& control(const char* name) const;
    const ControlState& control(const char* arrayName, int index) const;
    // A control of the sub-dialog `form` of the options page.
    const ControlState& dialogControl(const QString& form, const QString& name) const;
    // The code `compute` gives for the tri-state list `list`, worked out on the first call.
    qint16 triStateCode(const ControlState& list, const std::function<qint16()>& compute) const;

private:
    using Key = std::pair<QString, int>;   // name and element index (-1: no array)
    const ControlState& resolve(QHash<Key, const ControlState*>& found, const QString& form, const QString& name,
                                int index, const std::function<const ControlState&()>& find) const;
    const ControlState& pageControl(const QString& name, int index, const std::function<const ControlState&()>& find) const;

    // A name spelt as a literal keeps its text at one place for the whole run: it is found by
    // that place, without hashing the name, as often as the engine reads it.
    struct LiteralKey {
        const void* text;
        qsizetype size;
        int index;
        bool operator==(const LiteralKey&) const = default;
        friend size_t qHash(const LiteralKey& key, size_t seed) noexcept
        {
            return qHashMulti(seed, key.text, key.size, key.index);
        }
    };

    const OptionsSnapshot& m_page;
    const EngineControlList& m_listed;
    mutable QHash<Key, const ControlState*> m_pageControls;
    mutable QHash<LiteralKey, const ControlState*> m_literalPageControls;
    mutable QHash<QString, QHash<Key, const ControlState*>> m_dialogControls;   // by form
    mutable QHash<const ControlState*, qint16> m_triStateCodes;
};

// The item data of a list's selected entry as an Int (qint16 or qint32); nothing when no entry
// is selected. Item data that does not fit throws KestraneError(ErrorNumber::Overflow), never
// a guessed value.
template <typename Int> std::optional<Int> selectedItemData(const ControlState& list);
