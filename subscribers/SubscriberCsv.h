#pragma once
// The subscriber CSV selection file: a header line naming an alias column and/or an extension
// column (resource string 300, "extension"), then one subscriber per line. Fields are separated
// by "," with no quoting; lines end at CR LF, CR or LF. Each line adds the subscriber whose DTMF
// access ID equals its numeric extension field, or else the subscriber whose alias equals its
// alias field, when it is of the kind chosen on the start page and its primary call handler is
// in the directory list.
#include "core/Messages.h"
#include "subscribers/SelectionRows.h"

#include <QString>
#include <QtGlobal>
#include <functional>

class Session;

struct CsvImportResult {
    int linesRead = 0;    // data lines, the header not counted
    int usersAdded = 0;   // calls made to AddUserToGrid
};

// Reads the file at `path` and, for each subscriber found, positions session.rsSubscribers on
// it and session.rsPrimaryCallHandlers on its primary call handler, then calls AddUserToGrid.
// `iSelectedSubscriberType` is the start page's kind: 1 takes SubscriberType 1 and 3, any other
// value that SubscriberType only. The primary call handler list is given an index on
// CallHandlerObjectID (Find finds the same rows, only faster), and aliases are looked up
// through a map of the subscriber list built once per run.
//
// Progress: begin(0) at the start, step(lines read) for every data line, end() at the end (in
// every case); `usersAddedChanged` after every call to AddUserToGrid with the count so far.
// Messages: resource string 131 when the file cannot be opened, 130 when its header is not
// valid, then always the closing count "Import complete.   N lines read in from text file,  M
// users added to grid." (resource strings 308, 309, 310). A line whose look-up fails adds
// nothing and is not reported.
CsvImportResult LoadSubscribersFromCSV(Session& session, const QString& path, qint16 iSelectedSubscriberType,
                                       const std::function<void()>& AddUserToGrid,
                                       const SelectionProgress& progress, const MessageSink& messages,
                                       const std::function<void(int usersAdded)>& usersAddedChanged = {});

