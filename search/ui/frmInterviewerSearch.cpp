#include "search/ui/frmInterviewerSearch.h"

#include "core/ui/WizardContext.h"

frmInterviewerSearch::frmInterviewerSearch(WizardContext& context, QWidget* parent)
    : PickerDialog(context, PickerKind::Interviewer, parent)
{
    context.forms.add(this, [this] { frmInterviewerSearch_Auto_Init(); });
}

void frmInterviewerSearch::frmInterviewerSearch_Auto_Init()
{
    applyCaptions();
}
