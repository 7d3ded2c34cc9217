#include "subscribers/ExtensionRuleReader.h"

#include "core/Errors.h"
#include "core/ExtensionRules.h"

namespace {

bool chosen(const ExtensionRuleControls& rule, const ControlLookup& control)
{
    return control(rule.check).checkState != CheckValue::Clear;
}

// The rule's value box as strManipulateExtension takes it: the empty text for a rule not chosen.
QString ruleText(const ExtensionRuleControls& rule, const ControlLookup& control)
{
    return chosen(rule, control) ? control(rule.value).text : QString();
}

template <typename Int>
void readNumber(Int& target, const ExtensionRuleControls& rule, const ControlLookup& control,
                const std::function<void(const KestraneError&)>& unreadable)
{
    try {
        target = leadingWholeNumber<Int>(ruleText(rule, control));
    } catch (const KestraneError& error) {
        if (!unreadable)
            throw;
        unreadable(error);
    }
}

}  // namespace

QString ExtensionRuleValues::applyTo(const QString& extension) const
{
    return strManipulateExtension(extension, keepRightMost, keepLeftMost, removeLeftMost, removeRightMost, leftDigits,
                                  rightDigits, addValue, subtractValue);
}

bool anyExtensionRuleChosen(const ExtensionTabRules& rules, const ControlLookup& control)
{
    for (const ExtensionRuleControls& rule : rules)
        if (chosen(rule, control))
            return true;
    return false;
}

ExtensionRuleValues readExtensionRules(const ExtensionTabRules& rules, const ControlLookup& control,
                                       const std::function<void(const KestraneError&)>& unreadable)
{
    ExtensionRuleValues values;
    readNumber(values.keepRightMost, rules[0], control, unreadable);
    readNumber(values.keepLeftMost, rules[1], control, unreadable);
    readNumber(values.removeLeftMost, rules[2], control, unreadable);
    readNumber(values.removeRightMost, rules[3], control, unreadable);
    values.leftDigits = ruleText(rules[4], control);
    values.rightDigits = ruleText(rules[5], control);
    readNumber(values.addValue, rules[6], control, unreadable);
    readNumber(values.subtractValue, rules[7], control, unreadable);
    return values;
}
