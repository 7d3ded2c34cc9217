#include "search/ui/frmDistributionListSearch.h"

#include "core/ui/WizardContext.h"

frmDistributionListSearch::frmDistributionListSearch(WizardContext& context, QWidget* parent)
    : PickerDialog(context, PickerKind::DistributionList, parent)
{
    context.forms.add(this, [this] { frmDistributionListSearch_Auto_Init(); });
}

void frmDistributionListSearch::frmDistributionListSearch_Auto_Init()
{
    applyCaptions();
}
