#include "search/ui/frmSubscriberSearch.h"

#include "core/ui/WizardContext.h"

frmSubscriberSearch::frmSubscriberSearch(WizardContext& context, QWidget* parent)
    : PickerDialog(context, PickerKind::Subscriber, parent)
{
    context.forms.add(this, [this] { frmSubscriberSearch_Auto_Init(); });
}

void frmSubscriberSearch::frmSubscriberSearch_Auto_Init()
{
    applyCaptions();
}

QString frmSubscriberSearch::searchStatement(PickerSearchBy searchBy, const QString& searchText) const
{
    return pickerStatement(PickerKind::Subscriber, searchBy, searchText, bShowRemoteSubscribers);
}
