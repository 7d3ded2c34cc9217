#include "handlers/ui/HandlerGrid.h"

namespace {

// Headers of columns 2 to 6 are captioned again by the page in its language; "ObjectID" is not.
constexpr CheckGridColumn kColumns[] = {
    {"", 240, "", true},
    {"selected", 375, "", false},
    {"Alias", 1740, "Alias", false},
    {"DisplayName", 2685, "Display Name", false},
    {"Extension", 1170, "Extension", false},
    {"MessageRecipient", 2490, "Message Recipient", false},
    {"HandlerOwner", 2715, "Handler Owner", false},
    {"ObjectID", 960, "ObjectID", true},
};

}  // namespace

HandlerGrid::HandlerGrid(QWidget* parent)
    : KeyedCheckGrid(kColumns, HeaderClick::DoesNothing, parent)
{
}

void HandlerGrid::appendRow(const HandlerGridRow& r)
{
    appendRow(QStringList{r.alias, r.displayName, r.extension, r.messageRecipient, r.handlerOwner, r.objectID});
}
