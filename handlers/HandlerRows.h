#pragma once
// One call handler row of the handler selection grid, read from the directory lists.
#include <QString>
#include <optional>

class Session;

struct HandlerGridRow {
    QString alias;
    QString displayName;        // the handler's TextName
    QString extension;          // DTMFAccessID, empty when null
    QString messageRecipient;   // display name of the recipient, or "(none) - Error!"
    QString handlerOwner;       // display name of the owner, or "(none) - Error!"
    QString objectID;           // CallHandlerObjectID
};

// The row AddHandlerToGrid adds for the handler at the current record of
// session.rsNonPrimaryCallHandlers; nothing for a primary handler (IsPrimary not 0). Owner and
// recipient of type 1 are looked up by SubscriberObjectID in session.rsSubscribers, of any
// other type by SystemDListObjectID in session.rsDistributionLists (each search moves that
// list); a null ID, or one neither list holds, gives "(none) - Error!". A field that cannot be
// read leaves its value as it stood: the row is made with what could be read.
std::optional<HandlerGridRow> handlerRowOfCurrentRecord(Session& session);
