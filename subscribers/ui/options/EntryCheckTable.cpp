#include "subscribers/ui/options/EntryCheckTable.h"

#include "core/ControlNames.h"
#include "core/Session.h"
#include "core/ui/EntryChecks.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/WizardContext.h"
#include "subscribers/EntryRules.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace SubscriberOptions {

namespace {

const char* const kGuardedButtons[] = {"cmdNext", "cmdPrevious", "cmdExit", "cmdHelp", "cmdSubscriberExtensionTest",
                                       "cmdAltExtTest"};

// The box's name: the array's element, or the single box.
QString boxName(const EntryRule& rule, int index)
{
    const QString box = QLatin1String(rule.box);
    return index < 0 ? box : elementName(box, index);
}

}  // namespace

void installEntryChecks(QWidget* page, WizardContext& context)
{
    auto* checks = new EntryChecks(page, context.messages.sink());
    const Session& session = context.session;
    for (const EntryRule& rule : subscriberEntryRules()) {
        // The message in the language current when the text is refused.
        const EntryChecks::Check check = [&session, &rule](const QString& text) {
            const std::optional<EntryMessage> refusal = entryRefusal(rule, text, {session.registry, session.gServerVersion});
            if (!refusal)
                return QString();
            return refusal->literal ? QString::fromLatin1(refusal->literal) : session.languages.mymyLoadString(refusal->number);
        };
        for (int index = rule.firstIndex; index <= rule.lastIndex; ++index) {
            auto* box = qobject_cast<QLineEdit*>(findControl(page, boxName(rule, index)));
            if (!box)
                continue;
            if (rule.maxLength > 0)
                box->setMaxLength(rule.maxLength);
            if (rule.when == EntryCheckTime::Leave)
                checks->checkOnLeave(box, check, rule.keepsFocus, EntryChecks::Order::MessageFirst);
            else
                checks->checkOnChange(box, check, EntryChecks::Order::MessageFirst);
        }
    }
    for (const char* name : kGuardedButtons)
        if (auto* button = qobject_cast<QAbstractButton*>(findControl(page, QLatin1String(name))))
            checks->guardButton(button);
}

}  // namespace SubscriberOptions
