#pragma once
// The call handler CSV selection file (see core/SelectionCsv.h for its form). Each data line
// names one non-primary call handler: by its extension when the file has an extension column
// and the line's value there reads as a number (blanks around allowed), else by its alias when
// the file has an alias column. Values are used exactly as they stand, blanks included: "1234 "
// does not find extension 1234. A blank line has no field: it is counted and selects nothing.
#include "core/Messages.h"

#include <QString>
#include <functional>

class Session;

struct HandlerCsvResult {
    int linesRead = 0;       // data lines, the header not counted
    int handlersAdded = 0;   // grid rows added while reading
};

// Reads the file at `path` and, for each handler found, positions
// session.rsNonPrimaryCallHandlers on it (the first in list order among the handlers with that
// extension or alias) and calls AddHandlerToGrid. `gridDataRows` gives the grid's data rows; the
// handlers added are the rows it gained.
//
// Messages: 131 when the file cannot be opened, 130 when its header is not valid, resource
// string 126 + alias + 9 for each alias that finds no handler (reading goes on), and always the
// closing report "Import complete.   N lines read in from text file,  M handlers added to the
// grid." (308, 309, 349).
HandlerCsvResult LoadHandlersFromCSV(Session& session, const QString& path, const std::function<void()>& AddHandlerToGrid,
                                     const std::function<int()>& gridDataRows, const MessageSink& messages);
