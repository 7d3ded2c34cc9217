#include "subscribers/ui/SubscriberGrid.h"

#include <array>

namespace {

// Headers of columns 2 to 8 are captioned again by the page in its language.
constexpr std::array<CheckGridColumn, SubscriberGrid::ColumnCount> kColumns{{
    {"", 270, "", true},
    {"Selected", 255, "", false},
    {"Alias", 1500, "Alias", false},
    {"DisplayName", 2340, "Display Name", false},
    {"FirstName", 1305, "First Name", false},
    {"LastName", 1500, "Last Name", false},
    {"Extension", 1020, "Extension", false},
    {"HomeServer", 1665, "Home Server", false},
    {"COS", 960, "COS", false},
    {"LegacyMailbox", 1275, "Legacy Mailbox", false},
    {"RemoteNodeID", 1380, "Remote Node ID", false},
    {"HandlerObjectID", 960, "HandlerObjectID", true},
    {"ObjectID", 960, "ObjectID", true},
}};

}  // namespace

SubscriberGrid::SubscriberGrid(QWidget* parent)
    : KeyedCheckGrid(kColumns, HeaderClick::Sorts, parent)
{
}

int SubscriberGrid::columnOfKey(const QString& key)
{
    return KeyedCheckGrid::columnOfKey(kColumns, key);
}

void SubscriberGrid::appendRow(const SubscriberGridRow& r)
{
    appendRow(QStringList{r.alias, r.displayName, r.firstName, r.lastName, r.extension, r.homeServer, r.cosTextName,
                          r.legacyMailbox, r.remoteNodeID, r.callHandlerObjectID, r.subscriberObjectID});
}
