#include "search/ui/FindButtons.h"

#include "core/ControlNames.h"
#include "core/ui/FormBuilding.h"
#include "search/ui/frmCallHandlerSearch.h"
#include "search/ui/frmDirectoryHandlerSearch.h"
#include "search/ui/frmInterviewerSearch.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename Control> Control* control(QWidget& page, const char* name, int index)
{
    const QString single = QLatin1String(name);
    return qobject_cast<Control*>(findControl(&page, index < 0 ? single : elementName(single, index)));
}

constexpr FindButton kDestinationKinds[] = {
    {"cmdCallerInputFindCallHandler", "txtCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID",
     findPicker<frmCallHandlerSearch>},
    {"cmdCallerInputFindDirectoryHandler", "txtCallerInputGoToDirectoryHandler",
     "txtCallerInputGoToDirectoryHandlerObjectID", findPicker<frmDirectoryHandlerSearch>},
    {"cmdCallerInputFindInterviewer", "txtCallerInputGoToInterview", "txtCallerInputGoToInterviewObjectID",
     findPicker<frmInterviewerSearch>},
    {"cmdCallerInputFindSubscriber", "txtCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID",
     subscriberPicker<true>},
};

}  // namespace

void connectFindButton(QWidget& page, WizardContext& context, const FindButton& button, int index)
{
    auto* nameBox = control<QLineEdit>(page, button.name, index);
    auto* objectIdBox = control<QLineEdit>(page, button.objectId, index);
    QObject::connect(control<QPushButton>(page, button.find, index), &QPushButton::clicked, &page,
                     [&context, &button, nameBox, objectIdBox] { button.picker(context).pickInto(nameBox, objectIdBox); });
}

void connectCallerInputFindButtons(QWidget& page, WizardContext& context, int groupCount)
{
    for (const FindButton& kind : kDestinationKinds)
        for (int group = 0; group < groupCount; ++group)
            connectFindButton(page, context, kind, group);
}
