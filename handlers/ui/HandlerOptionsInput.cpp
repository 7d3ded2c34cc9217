#include "handlers/ui/HandlerOptionsInput.h"

#include "core/ControlNames.h"
#include "core/Languages.h"
#include "core/Session.h"
#include "core/ui/EntryChecks.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/GreetingSourceControls.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerEntryRules.h"
#include "handlers/HandlerOptionNames.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"
#include "search/ui/FindButtons.h"
#include "search/ui/frmDistributionListSearch.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace HandlerOptions {
namespace {

using namespace HandlerEntryRules;
using HandlerOptionNames::CallerInputCount;
using HandlerOptionNames::GreetingCount;

template <typename Control> Control* control(const QWidget& page, const QString& name)
{
    return qobject_cast<Control*>(findControl(const_cast<QWidget*>(&page), name));
}
// Element `index` of an array, or the single box for index -1.
template <typename Control> Control* control(const QWidget& page, const char* name, int index)
{
    const QString box = QLatin1String(name);
    return control<Control>(page, index < 0 ? box : elementName(box, index));
}

// The single Find buttons beside the caller-input groups' own; owners and recipients are
// subscribers of the kinds offered by default only.
constexpr FindButton kOwnerAndRecipientFinds[] = {
    {"cmdSelectCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriberObjectID",
     subscriberPicker<false>},
    {"cmdSelectCallHandlerOwnerDL", "txtCallHandlerOwnerDL", "txtCallHandlerOwnerDLObjectID",
     findPicker<frmDistributionListSearch>},
    {"cmdChooseCallHandlerRecipient", "txtCallHandlerRecipientSubscriber",
     "txtCallHandlerRecipientSubscriberObjectID", subscriberPicker<false>},
    {"cmdChooseCallHandlerRecipientDL", "txtCallHandlerRecipientDL", "txtCallHandlerRecipientDLObjectID",
     findPicker<frmDistributionListSearch>},
};

void connectChoosers(QWidget& page, WizardContext& context)
{
    connectCallerInputFindButtons(page, context, CallerInputCount);
    for (const FindButton& find : kOwnerAndRecipientFinds)
        connectFindButton(page, context, find);
}

void connectGreetings(frmSelectCallHandlerChanges& page, WizardContext& context)
{
    for (int greeting = 0; greeting < GreetingCount; ++greeting)
        connectGreetingFileControls(page, page.CommonDialog1, context.session.languages, qint16(greeting));
}

// A ticked Clear box empties and disables its digits box; cleared, the box is usable again.
void connectClearBoxes(QWidget& page)
{
    const std::pair<const char*, const char*> clears[] = {
        {"chkCallerInputPrependDigitsClear", "txtCallerInputPrependDigits"},
        {"chkCallerInputPostPendDigitsClear", "txtCallerInputPostPendDigits"},
    };
    for (const auto& [clear, digits] : clears) {
        auto* box = control<QLineEdit>(page, digits, -1);
        QObject::connect(control<QCheckBox>(page, clear, -1), &QCheckBox::clicked, &page, [box](bool ticked) {
            if (ticked)
                box->clear();
            box->setEnabled(!ticked);
        });
    }
}

void installEntryChecks(QWidget& page, WizardContext& context)
{
    auto* checks = new EntryChecks(&page, context.messages.sink());
    const Languages& languages = context.session.languages;
    for (const LeaveRule& rule : leaveRules()) {
        // The message in the language current when the text is refused.
        const EntryChecks::Check check = [&languages, &rule](const QString& text) {
            const std::optional<int> refusal = leaveRefusal(rule, text);
            return refusal ? languages.mymyLoadString(*refusal) : QString();
        };
        const auto order = rule.keepsFocus ? EntryChecks::Order::EmptyFirst : EntryChecks::Order::MessageFirst;
        for (int index = rule.firstIndex; index <= rule.lastIndex; ++index)
            checks->checkOnLeave(control<QLineEdit>(page, rule.box, index), check, rule.keepsFocus, order);
    }
    for (const char* name : {"cmdNext", "cmdPrevious", "cmdExit", "cmdHelp"})
        checks->guardButton(control<QAbstractButton>(page, name, -1));
}

bool lacksPick(const QWidget& page, const NeedsPick& choice, int index)
{
    const auto* option = control<QAbstractButton>(page, choice.option, index);
    const auto* name = control<QLineEdit>(page, choice.nameBox, index);
    return option->isChecked() && name->text().isEmpty();
}

}  // namespace

void connectHandlerOptionsInput(frmSelectCallHandlerChanges& page, WizardContext& context)
{
    connectChoosers(page, context);
    connectGreetings(page, context);
    connectClearBoxes(page);
    installEntryChecks(page, context);
}

QString firstEntryFault(const QWidget& page, const Languages& languages)
{
    for (int element = 0; element < CallerInputCount; ++element)
        for (const NeedsPick& kind : destinationKinds())
            if (lacksPick(page, kind, element))
                return languages.mymyLoadString(missingDestinationMessage(element));
    for (const NeedsPick& choice : ownerAndRecipient())
        if (lacksPick(page, choice, -1))
            return languages.mymyLoadString(choice.message);
    for (int greeting = 0; greeting < GreetingCount; ++greeting)
        if (greetingLacksFile(page, qint16(greeting)))
            return languages.mymyLoadString(RecordingWithoutFileMessage);
    return {};
}

}  // namespace HandlerOptions
