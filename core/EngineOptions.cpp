#include "core/EngineOptions.h"

#include "core/ControlNames.h"
#include "core/Errors.h"
#include "core/ExtensionRules.h"

#include <stdexcept>

EngineControlList::EngineControlList(QString pageForm, std::vector<EngineControl> controls)
    : m_pageForm(std::move(pageForm)), m_controls(std::move(controls))
{
    for (const EngineControl& control : m_controls) {
        int& elements = m_elements[QString::fromLatin1(control.form) + u'/' + QString::fromLatin1(control.name)];
        elements = qMax(elements, control.elements);
    }
}

QStringList EngineControlList::names(const QString& form) const
{
    QStringList names;
    for (const EngineControl& control : m_controls) {
        if (form != QLatin1String(control.form))
            continue;
        const QString name = QString::fromLatin1(control.name);
        if (control.elements == 0)
            names << name;
        for (int index = 0; index < control.elements; ++index)
            names << elementName(name, index);
    }
    return names;
}

void EngineControlList::requireListed(const QString& form, const QString& name, int index) const
{
    const auto listed = m_elements.constFind(form + u'/' + name);
    const bool known = listed != m_elements.constEnd() && (index < 0 ? *listed == 0 : index < *listed);
    if (!known)
        throw std::logic_error("the engine reads " + (index < 0 ? name : elementName(name, index)).toStdString()
                               + " of " + form.toStdString() + ", which its control list lacks");
}

const ControlState& EngineOptions::resolve(QHash<Key, const ControlState*>& found, const QString& form,
                                               const QString& name, int index,
                                               const std::function<const ControlState&()>& find) const
{
    const Key key{name, index};
    if (const ControlState* known = found.value(key))
        return *known;
    m_listed.requireListed(form, name, index);
    const ControlState& control = find();   // a control the snapshot lacks throws, and is not kept
    found.insert(key, &control);
    return control;
}

const ControlState& EngineOptions::pageControl(const QString& name, int index,
                                               const std::function<const ControlState&()>& find) const
{
    // A literal's text is not owned by any string (QStringLiteral): it stays where it is.
    const bool literal = !name.isEmpty() && !name.data_ptr().isMutable();
    const LiteralKey key{name.constData(), name.size(), index};
    if (literal)
        if (const ControlState* known = m_literalPageControls.value(key))
            return *known;
    const ControlState& control = resolve(m_pageControls, m_listed.pageForm(), name, index, find);
    if (literal)
        m_literalPageControls.insert(key, &control);
    return control;
}

const ControlState& EngineOptions::control(const QString& name) const
{
    return pageControl(name, -1, [&]() -> const ControlState& { return m_page.control(name); });
}

const ControlState& EngineOptions::control(const QString& arrayName, int index) const
{
    return pageControl(arrayName, index, [&]() -> const ControlState& { return m_page.control(arrayName, index); });
}

const ControlState& EngineOptions::control(const char* name) const
{
    return control(name, -1);
}

const ControlState& EngineOptions::control(const char* arrayName, int index) const
{
    const LiteralKey key{arrayName, -1, index};   // size -1: Latin-1 text of a table, not a string's
    if (const ControlState* known = m_literalPageControls.value(key))
        return *known;
    const QString name = QString::fromLatin1(arrayName);
    const ControlState& found = index < 0 ? control(name) : control(name, index);
    m_literalPageControls.insert(key, &found);
    return found;
}

const ControlState& EngineOptions::dialogControl(const QString& form, const QString& name) const
{
    return resolve(m_dialogControls[form], form, name, -1,
                   [&]() -> const ControlState& { return m_page.dialog(form).control(name); });
}

qint16 EngineOptions::triStateCode(const ControlState& list, const std::function<qint16()>& compute) const
{
    const auto known = m_triStateCodes.constFind(&list);
    if (known != m_triStateCodes.constEnd())
        return *known;
    const qint16 code = compute();
    m_triStateCodes.insert(&list, code);
    return code;
}

template <typename Int> std::optional<Int> selectedItemData(const ControlState& list)
{
    if (list.currentIndex < 0)
        return std::nullopt;
    const std::optional<Int> data = roundedToWhole<Int>(list.current.data.toDouble());
    if (!data)
        throw KestraneError(ErrorNumber::Overflow, QStringLiteral("Overflow"));
    return data;
}

template std::optional<qint16> selectedItemData<qint16>(const ControlState&);
template std::optional<qint32> selectedItemData<qint32>(const ControlState&);
