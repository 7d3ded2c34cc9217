#include "core/OptionsSnapshot.h"

#include "core/ControlNames.h"

#include <utility>

namespace {

std::string describeName(const QString& formName, const QString& what, const QString& name)
{
    return (formName + QStringLiteral(" holds no ") + what + QStringLiteral(" named ") + name).toStdString();
}

} // namespace

void OptionsSnapshot::add(const QString& name, ControlState state)
{
    if (!m_controls.contains(name))
        m_controls.insert(name, std::move(state));
}

void OptionsSnapshot::addDialog(OptionsSnapshot dialog)
{
    m_dialogs.push_back(std::move(dialog));
}

const ControlState& OptionsSnapshot::control(const QString& name) const
{
    const auto found = m_controls.constFind(name);
    if (found == m_controls.cend())
        throw UnknownName(describeName(m_formName, QStringLiteral("control"), name));
    return *found;
}

const ControlState& OptionsSnapshot::control(const QString& arrayName, int index) const
{
    return control(elementName(arrayName, index));
}

const OptionsSnapshot& OptionsSnapshot::dialog(const QString& formName) const
{
    for (const OptionsSnapshot& dialog : m_dialogs)
        if (dialog.m_formName == formName)
            return dialog;
    throw UnknownName(describeName(m_formName, QStringLiteral("dialog"), formName));
}

ControlState& OptionsSnapshot::control(const QString& name)
{
    return const_cast<ControlState&>(std::as_const(*this).control(name));
}

OptionsSnapshot& OptionsSnapshot::dialog(const QString& formName)
{
    return const_cast<OptionsSnapshot&>(std::as_const(*this).dialog(formName));
}
