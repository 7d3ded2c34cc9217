#pragma once
// What the View button of the subscriber selection page runs: one query over the server's views
// per selection type, whose rows go to the page's grid through its AddUserToGridFAST.
//
// The page empties its grid before it calls runSubscriberSelection and shows the count of its
// rows afterwards; the functions here only check the criteria, run the query and hand over rows.
// The CSV type is not a query: the page hands it to the CSV reader (subscribers/SubscriberCsv.h).
#include "core/Messages.h"
#include "subscribers/SelectionRows.h"

#include <QString>
#include <QtGlobal>
#include <functional>

class Session;

// The type code each entry of cmbSubscriberSelectType carries as its item data.
enum class SubscriberSelectionType {
    AllSubscribers = 1,
    ExtensionRange = 2,
    DistributionList = 3,
    Switch = 4,
    MailServer = 5,
    CsvFile = 6,
    ClassOfService = 7,
    DeliveryLocation = 8,
    RemoteNodeID = 9,
};

// The criteria as the page holds them. The visible texts (names) are what the checks test:
// an empty one means nothing has been chosen for that type. It shares no base with the handler
// criteria, which begin alike (type, range): it is filled by designated initialisers
// (.type = ..., .extensionLow = ...), and a designator cannot name a member of a base.
struct SubscriberSelectionCriteria {
    SubscriberSelectionType type = SubscriberSelectionType::AllSubscribers;
    QString extensionLow;               // txtSubscriberExtensionRangeLow
    QString extensionHigh;              // txtSubscriberExtensionRangeHigh
    QString distributionListName;       // txtPublicDistributionListName
    QString distributionListObjectID;   // txtPublicDistributionListObjectID
    QString switchName;                 // text of comSubscriberSwitch
    int switchID = 0;                   // number stored with the chosen comSubscriberSwitch entry
    QString mailServer;                 // text of comSubscriberMailServer
    QString cosName;                    // text of ComSubscribersCOS
    QString cosAlias;                   // comHiddenCOS item at the chosen ComSubscribersCOS entry
    QString locationName;               // text of comSubscriberLocation
    QString locationObjectID;           // comSubscriberLocationHidden item at the chosen entry
    QString remoteNodeID;               // text of comSubscriberNodeID
};

// The statement the criteria run, for the subscriber kind chosen on the start page
// (iSelectedSubscriberType of frmMain). Values are escaped literals. The columns RemoteNodeID and
// LegacyMailbox are asked for only from servers of version 4.0(2.22) on. The class-of-service
// type finds its class in session.rsCOS by alias (moving that list's cursor) and gives the empty
// text when the list has no such alias; so does the CSV type, which is no query. The texts are
// not checked here (see runSubscriberSelection).
QString subscriberSelectionStatement(Session& session, const SubscriberSelectionCriteria& criteria,
                                     qint16 iSelectedSubscriberType);

// Checks the criteria (a failed check is told through `messages` and runs nothing), runs the
// statement and calls AddUserToGridFAST once per subscriber found, in the statement's order. A
// subscriber the result holds more than once (doubled list memberships, say) is handed over once.
// An empty result tells the type's "No subscribers ..." message; a statement the database refuses
// is told as well. progress.begin gets the number of result rows before the first row,
// progress.step the rows walked so far, and progress.end runs on every way out. Returns the
// number of rows handed to AddUserToGridFAST (whose own checks may still refuse some). The CSV
// type runs nothing and returns 0.
int runSubscriberSelection(Session& session, const SubscriberSelectionCriteria& criteria,
                           qint16 iSelectedSubscriberType,
                           const std::function<void(const SubscriberGridRow&)>& AddUserToGridFAST,
                           const SelectionProgress& progress, const MessageSink& messages);
