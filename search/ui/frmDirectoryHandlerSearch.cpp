#include "search/ui/frmDirectoryHandlerSearch.h"

#include "core/ui/WizardContext.h"

frmDirectoryHandlerSearch::frmDirectoryHandlerSearch(WizardContext& context, QWidget* parent)
    : PickerDialog(context, PickerKind::DirectoryHandler, parent)
{
    context.forms.add(this, [this] { frmDirectoryHandlerSearch_Auto_Init(); });
}

void frmDirectoryHandlerSearch::frmDirectoryHandlerSearch_Auto_Init()
{
    applyCaptions();
}
