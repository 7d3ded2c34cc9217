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
#include "search/ui/SharedPicker.h"
#include "search/ui/frmCallHandlerSearch.h"
#include "search/ui/frmDirectoryHandlerSearch.h"
#include "search/ui/frmDistributionListSearch.h"
#include "search/ui/frmInterviewerSearch.h"
#include "search/ui/frmSubscriberSearch.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

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

template <typename Picker> PickerDialog& picker(WizardContext& context)
{
    return sharedPicker<Picker>(context);
}
// Destinations may be subscribers of every kind, remote ones included; owners and recipients
// only the kinds offered by default.
template <bool remote> PickerDialog& subscriberPicker(WizardContext& context)
{
    auto& picker = sharedPicker<frmSubscriberSearch>(context);
    picker.bShowRemoteSubscribers = remote;
    return picker;
}

// A Find button, the two boxes it fills and its picker; each caller-input kind is an array of
// CallerInputCount, the owner and recipient buttons single.
struct Chooser {
    const char* find;
    const char* name;
    const char* objectId;
    PickerDialog& (*picker)(WizardContext&);
    bool perElement;
};
constexpr Chooser kChoosers[] = {
    {"cmdCallerInputFindDirectoryHandler", "txtCallerInputGoToDirectoryHandler",
     "txtCallerInputGoToDirectoryHandlerObjectID", picker<frmDirectoryHandlerSearch>, true},
    {"cmdCallerInputFindCallHandler", "txtCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID",
     picker<frmCallHandlerSearch>, true},
    {"cmdCallerInputFindSubscriber", "txtCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID",
     subscriberPicker<true>, true},
    {"cmdCallerInputFindInterviewer", "txtCallerInputGoToInterview", "txtCallerInputGoToInterviewObjectID",
     picker<frmInterviewerSearch>, true},
    {"cmdSelectCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriber", "txtCallHandlerOwnerSubscriberObjectID",
     subscriberPicker<false>, false},
    {"cmdSelectCallHandlerOwnerDL", "txtCallHandlerOwnerDL", "txtCallHandlerOwnerDLObjectID",
     picker<frmDistributionListSearch>, false},
    {"cmdChooseCallHandlerRecipient", "txtCallHandlerRecipientSubscriber",
     "txtCallHandlerRecipientSubscriberObjectID", subscriberPicker<false>, false},
    {"cmdChooseCallHandlerRecipientDL", "txtCallHandlerRecipientDL", "txtCallHandlerRecipientDLObjectID",
     picker<frmDistributionListSearch>, false},
};

// A pick fills its two boxes only: it chooses no option.
void connectChoosers(QWidget& page, WizardContext& context)
{
    for (const Chooser& chooser : kChoosers)
        for (int index = chooser.perElement ? 0 : -1; index < (chooser.perElement ? CallerInputCount : 0); ++index) {
            auto* nameBox = control<QLineEdit>(page, chooser.name, index);
            auto* objectIdBox = control<QLineEdit>(page, chooser.objectId, index);
            QObject::connect(control<QPushButton>(page, chooser.find, index), &QPushButton::clicked, &page,
                             [&context, &chooser, nameBox, objectIdBox] {
                                 chooser.picker(context).pickInto(nameBox, objectIdBox);
                             });
        }
}

// Browse: an existing WAV file into the path box, which keeps its text otherwise.
void connectGreetings(frmSelectCallHandlerChanges& page, WizardContext& context)
{
    const Languages& languages = context.session.languages;
    for (int greeting = 0; greeting < GreetingCount; ++greeting) {
        auto* path = control<QLineEdit>(page, "txtGreetingSourcePath", greeting);
        connectGreetingSourceControls(page, qint16(greeting));
        QObject::connect(control<QPushButton>(page, "cmdGreetingsourceWAVSelect", greeting), &QPushButton::clicked, &page,
                         [&page, &languages, path] {
                             if (const auto chosen = page.CommonDialog1.chooseWavFile(&page, languages.mymyLoadString(SelectWavTitle)))
                                 path->setText(*chosen);
                         });
    }
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
    for (int greeting = 0; greeting < GreetingCount; ++greeting) {
        const auto* browse = control<QPushButton>(page, "cmdGreetingsourceWAVSelect", greeting);
        // The button's own Enabled, whatever the tab it stands on.
        if (!browse->testAttribute(Qt::WA_ForceDisabled)
            && control<QLineEdit>(page, "txtGreetingSourcePath", greeting)->text().isEmpty())
            return languages.mymyLoadString(RecordingWithoutFileMessage);
    }
    return {};
}

}  // namespace HandlerOptions
