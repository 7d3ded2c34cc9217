#include "search/ui/frmCallHandlerSearch.h"

#include "core/ui/WizardContext.h"

frmCallHandlerSearch::frmCallHandlerSearch(WizardContext& context, QWidget* parent)
    : PickerDialog(context, PickerKind::CallHandler, parent)
{
    context.forms.add(this, [this] { frmCallHandlerSearch_Auto_Init(); });
}

void frmCallHandlerSearch::frmCallHandlerSearch_Auto_Init()
{
    applyCaptions();
}
