#pragma once
// What the "Add Handlers To Grid" button of the call handler selection page runs for every
// selection type but the CSV file (handlers/HandlerCsv.h): a walk over the non-primary call
// handler list session.rsNonPrimaryCallHandlers, adding each handler of the chosen criterion.
// Only the switch type asks the database for more: each handler's contact rules.
#include "core/Messages.h"

#include <QString>
#include <functional>

class Session;

// The type code each entry of cmbHandlerSelectType carries as its item data.
enum class HandlerSelectionType {
    AllHandlers = 1,
    ExtensionRange = 2,
    OwnerSubscriber = 3,
    OwnerDistributionList = 4,
    RecipientSubscriber = 5,
    RecipientDistributionList = 6,
    Switch = 7,
    CsvFile = 8,
};

// The criteria as the page holds them. The visible name of a picked owner or recipient is what
// the check tests; its hidden object ID is the criterion. It takes no base from the subscriber
// criteria, which begin alike (type, range): those are filled by designated initialisers
// (.type = ..., .extensionLow = ...), and a designator cannot name a member of a base.
struct HandlerSelectionCriteria {
    HandlerSelectionType type = HandlerSelectionType::AllHandlers;
    QString extensionLow;    // txtHandlerExtensionRangeLow
    QString extensionHigh;   // txtHandlerExtensionRangeHigh
    QString switchName;      // text of comHandlerSwitch
    int switchID = 0;        // item data of the chosen comHandlerSwitch entry
    QString pickedName;      // the name box of the chosen owner or recipient type
    QString pickedObjectID;  // its hidden object ID box
};

// Checks the criteria (a failed check is told through `messages` and adds nothing) and, for each
// matching handler in list order, positions session.rsNonPrimaryCallHandlers on it, calls
// `handlerAdded` with the count of handlers added so far (this one included) and then
// `addHandlerToGrid`. A failing step is skipped silently and the walk goes on. The list's filter
// is empty again on every way out. The CSV type adds nothing here.
//
// Criteria: the extension range holds the handlers whose DTMFAccessID's leading number lies
// from low to high, both included (a null extension is in no range); the switch type takes a
// handler when the first row of "SELECT * FROM vw_ContactRule WHERE ParentObjectID=?" has the
// chosen switch (a null SwitchID counts as 0; no rows never match); owner and recipient types
// filter on AdministratorObjectID / RecipientObjectID.
void runHandlerSelection(Session& session, const HandlerSelectionCriteria& criteria,
                         const std::function<void()>& addHandlerToGrid,
                         const std::function<void(int added)>& handlerAdded, const MessageSink& messages);
