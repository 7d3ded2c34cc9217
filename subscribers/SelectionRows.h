#pragma once
// What the subscriber selection (queries, CSV file) hands to the selection page: the rows to add
// to its grid and the progress of a long fill.
#include <QString>
#include <functional>

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

// Progress of a fill, shown by the page in its progress window. Any member may be empty.
struct SelectionProgress {
    std::function<void(int total)> begin;   // the fill starts; total rows expected (0: unknown)
    std::function<void(int done)> step;     // rows handled so far
    std::function<void()> end;              // the fill is over, also after an error
};
