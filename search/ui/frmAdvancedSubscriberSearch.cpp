#include "search/ui/frmAdvancedSubscriberSearch.h"
#include "search/ui/SelectionGridTarget.h"

frmAdvancedSubscriberSearch::frmAdvancedSubscriberSearch(WizardContext& context, SubscriberGridTarget& selectionPage,
                                                         QWidget* parent)
    : FreeQueryDialog(context, FreeQueryKind::Subscribers, selectionPage,
                      [&selectionPage] { selectionPage.AddUserToGrid(); }, parent)
{
}
