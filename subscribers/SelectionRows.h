#pragma once
// What the subscriber selection (queries, CSV file) hands to the selection page: the rows to add
// to its grid and the progress of a long fill.
#include "core/SelectionProgress.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

class Session;

// One subscriber row of the selection grid, with the texts of its columns.
struct SubscriberGridRow {
    QString alias;
    QString firstName;
    QString lastName;
    QString displayName;
    QString extension;
    QString homeServer;
    QString remoteNodeID;
    QString legacyMailbox;
    QString cosTextName;
    QString subscriberObjectID;
    QString callHandlerObjectID;
};

// The row AddUserToGrid adds for the subscriber at the current record of session.rsSubscribers
// and its primary call handler at the current record of session.rsPrimaryCallHandlers (which
// gives the extension and the handler's object ID); the class of service is looked up in
// session.rsCOS, whose position it moves. Nothing when the subscriber list is at no record or
// the subscriber is not of the start page's kind: kind 1 takes SubscriberType 1 and 3, any other
// kind every type but 0, 1, 3 and 6. A field that cannot be read, and a class of service the
// list lacks, leave their cells empty.
std::optional<SubscriberGridRow> gridRowOfCurrentRecords(Session& session, qint16 iSelectedSubscriberType);
