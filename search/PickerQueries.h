#pragma once
// The five directory pickers (call handler, subscriber, interview handler, directory handler,
// public distribution list): what each one queries, how it builds its search statement and how
// its dialog differs from the others. The dialogs (search/ui/PickerDialog) take everything that
// tells the members apart from pickerDefinition().
//
// A search statement is the member's base statement, then (unless the search text begins with
// "*") a LIKE filter on the field chosen by the option buttons, then the member's tail, joined
// with nothing between them. Every "*" in the finished statement becomes "%", so "*" works as
// the wildcard for any run of characters; "%" and "_" typed by the user are the database's own
// wildcards. The search text goes into the statement as an escaped literal: a quote in it is
// doubled and never ends the pattern.
#include <QString>
#include <vector>

enum class PickerKind { CallHandler, Subscriber, Interviewer, DirectoryHandler, DistributionList };

// The field a search looks in; each picker offers some of them as option buttons.
enum class PickerSearchBy { DisplayName, FirstName, LastName, Alias, Extension };

// How a picker tells that its search statement could not be run.
enum class PickerErrorReport {
    SearchFunctionError,   // resource string 123 followed by the error's description
    ProcedureError,        // "(error):" number, description, "in procedure cmdSearch_Click of Form ..."
    Silent,
};

struct PickerFilter {
    PickerSearchBy searchBy;
    const char* optionName;   // objectName of the option button that chooses this filter
    int captionString;        // caption of that button
    const char* before;       // statement text before the quoted search text
    const char* after;        // statement text after it
    bool trimmed;             // blanks around the search text are removed
};

struct PickerColumn {
    const char* key;          // the grid column's key
    int captionString;        // header caption; 0 for the hidden object ID column
};

struct PickerDefinition {
    PickerKind kind;
    const char* formName;
    int titleString;
    int noSelectionString;    // shown by OK when no row is chosen
    PickerErrorReport errorReport;
    // In the order the option buttons are tested; the last one is used when none before it is
    // chosen.
    std::vector<PickerFilter> filters;
    PickerSearchBy initialSearchBy;   // the option chosen when the dialog opens
    // The fields of the result in SELECT order; the last one is the object ID.
    std::vector<PickerColumn> columns;
    const char* tail;

    const PickerColumn& idColumn() const { return columns.back(); }
    const PickerFilter& filterFor(PickerSearchBy searchBy) const;
};

// Key of the grid column that holds the chosen object's display name, in every picker.
inline constexpr char kDisplayNameKey[] = "DisplayName";

const PickerDefinition& pickerDefinition(PickerKind kind);

// Subscriber types the subscriber picker searches: "(1,2,3,5,7,8,9)" when remote subscribers
// are shown, else "(1,3)".
QString subscriberTypeList(bool bShowRemoteSubscribers);

// The statement before any filter. bShowRemoteSubscribers matters to the subscriber picker only.
QString pickerBaseStatement(PickerKind kind, bool bShowRemoteSubscribers = false);

// The statement one search sends.
QString pickerStatement(PickerKind kind, PickerSearchBy searchBy, const QString& searchText,
                        bool bShowRemoteSubscribers = false);
