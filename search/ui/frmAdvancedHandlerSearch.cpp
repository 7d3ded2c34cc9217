#include "search/ui/frmAdvancedHandlerSearch.h"
#include "search/ui/SelectionGridTarget.h"

frmAdvancedHandlerSearch::frmAdvancedHandlerSearch(WizardContext& context, HandlerGridTarget& selectionPage,
                                                   QWidget* parent)
    : FreeQueryDialog(context, FreeQueryKind::Handlers, selectionPage,
                      [&selectionPage] { selectionPage.AddHandlerToGrid(); }, parent)
{
}
