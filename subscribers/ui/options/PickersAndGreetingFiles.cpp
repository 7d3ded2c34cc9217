#include "subscribers/ui/options/PickersAndGreetingFiles.h"

#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "subscribers/ui/frmSetConversationStyleLimits.h"
#include "subscribers/ui/frmSetNotificationSchedule.h"
#include "search/ui/CallerInputActionGroup.h"
#include "subscribers/ui/options/GreetingPage.h"
#include "subscribers/ui/options/NotificationDevicePage.h"

#include "core/Registry.h"
#include "core/VelmoVersion.h"
#include "core/ui/ControlValues.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/GreetingSourceControls.h"
#include "core/ui/WizardContext.h"
#include "search/ui/SharedPicker.h"
#include "search/ui/frmCallHandlerSearch.h"
#include "search/ui/frmDirectoryHandlerSearch.h"
#include "search/ui/frmInterviewerSearch.h"
#include "search/ui/frmSubscriberSearch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace SubscriberOptions {
namespace {

constexpr int SelectWavTitle = 458;
constexpr int AlternateGreetingNoticeMessage = 492;

template <typename Control> Control* element(QWidget& page, const char* arrayName, int index)
{
    return qobject_cast<Control*>(findControl(&page, elementName(QLatin1String(arrayName), index)));
}

template <typename Picker> PickerDialog& picker(WizardContext& context)
{
    return sharedPicker<Picker>(context);
}

PickerDialog& subscriberPicker(WizardContext& context)
{
    auto& picker = sharedPicker<frmSubscriberSearch>(context);
    // Destinations may be subscribers of every kind, remote ones included.
    picker.bShowRemoteSubscribers = true;
    return picker;
}

// Each destination kind of a caller-input group: its Find button, the two boxes it fills and
// its picker.
struct DestinationKind {
    const char* find;
    const char* name;
    const char* objectId;
    PickerDialog& (*picker)(WizardContext&);
};
constexpr DestinationKind kDestinationKinds[] = {
    {"cmdCallerInputFindCallHandler", "txtCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID",
     picker<frmCallHandlerSearch>},
    {"cmdCallerInputFindDirectoryHandler", "txtCallerInputGoToDirectoryHandler",
     "txtCallerInputGoToDirectoryHandlerObjectID", picker<frmDirectoryHandlerSearch>},
    {"cmdCallerInputFindInterviewer", "txtCallerInputGoToInterview", "txtCallerInputGoToInterviewObjectID",
     picker<frmInterviewerSearch>},
    {"cmdCallerInputFindSubscriber", "txtCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID",
     subscriberPicker},
};

void connectFindButtons(QWidget& page, WizardContext& context)
{
    for (const DestinationKind& kind : kDestinationKinds)
        for (int group = 0; group < CallerInputActionGroup::GroupCount; ++group) {
            auto* nameBox = element<QLineEdit>(page, kind.name, group);
            auto* objectIdBox = element<QLineEdit>(page, kind.objectId, group);
            QObject::connect(element<QPushButton>(page, kind.find, group), &QPushButton::clicked, &page,
                             [&context, &kind, nameBox, objectIdBox] { kind.picker(context).pickInto(nameBox, objectIdBox); });
        }
}

// Browse: the chosen WAV file into the path box; the box keeps its text when the dialog is
// cancelled or the file does not exist.
void cmdGreetingsourceWAVSelect_Click(frmSelectSubscriberChanges& page, WizardContext& context, int greeting)
{
    const std::optional<QString> chosen =
        page.CommonDialog1.chooseWavFile(&page, context.session.languages.mymyLoadString(SelectWavTitle));
    if (chosen)
        element<QLineEdit>(page, "txtGreetingSourcePath", greeting)->setText(*chosen);
}

// The server's alternate greeting notices would not follow a change made here: a warning only,
// the registry read on every choice, also of the item already chosen.
void comGreetingEnabled_Click(WizardContext& context, int position)
{
    if (position == 0)
        return;
    const qint32 notices = context.session.registry
                               .GetRegValue(HKEY_LOCAL_MACHINE, VelmoKeys::SystemParametersKey,
                                            QStringLiteral("EnabledAlternateGreetingNotice"), REG_DWORD, 0)
                               .toInt();
    if (notices > 0)
        context.messages.show(context.session.languages.mymyLoadString(AlternateGreetingNoticeMessage));
}

void connectGreetings(frmSelectSubscriberChanges& page, WizardContext& context)
{
    for (int greeting = 0; greeting < GreetingPage::GreetingCount; ++greeting) {
        connectGreetingSourceControls(page, qint16(greeting));
        QObject::connect(element<QPushButton>(page, "cmdGreetingsourceWAVSelect", greeting), &QPushButton::clicked, &page,
                         [&page, &context, greeting] { cmdGreetingsourceWAVSelect_Click(page, context, greeting); });
    }
    onEveryChoice(element<QComboBox>(page, "comGreetingEnabled", GreetingPage::Alternate), &page,
                  [&context](int position) { comGreetingEnabled_Click(context, position); });
}

void connectDialogButtons(frmSelectSubscriberChanges& page, WizardContext& context)
{
    for (int device = 0; device < NotificationDevicePage::DeviceCount; ++device)
        QObject::connect(element<QPushButton>(page, "cmdSetNotificationSchedule", device), &QPushButton::clicked, &page,
                         [&page, device] { frmSetNotificationSchedule::showFor(&page, qint16(device)); });
    auto* limits = qobject_cast<QPushButton*>(findControl(&page, QStringLiteral("cmdSetSubscriberConversationLimits")));
    QObject::connect(limits, &QPushButton::clicked, &page, [&page, &context] { frmSetConversationStyleLimits::showFor(context, &page); });
}

}  // namespace

void connectPickersAndGreetingFiles(frmSelectSubscriberChanges& page, WizardContext& context)
{
    connectFindButtons(page, context);
    connectGreetings(page, context);
    connectDialogButtons(page, context);
}

}  // namespace SubscriberOptions
