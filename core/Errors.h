#pragma once
// Errors travel as exceptions carrying a number and a description up to the procedure that
// handles them; the handler turns them into the tool's error texts with the helpers below.
#include <QString>
#include <stdexcept>

class KestraneError : public std::runtime_error {
public:
    KestraneError(long number, const QString& description, bool databaseBroken = false)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description),
          m_databaseBroken(databaseBroken) {}
    long number() const { return m_number; }
    const QString& description() const { return m_description; }
    // The database itself is damaged or out of reach (a malformed file, an I/O failure, a full
    // disk, a lost connection): whatever comes next would fail too, so a run ends here.
    bool databaseBroken() const { return m_databaseBroken; }

private:
    long m_number;
    QString m_description;
    bool m_databaseBroken;
};

// The error numbers the tool raises, named once. The platform's numbers are kept where the tool
// (or an administrator reading the log) reacts to a particular one.
namespace ErrorNumber {
// Language runtime.
constexpr long InvalidProcedureCall = 5;      // a value the procedure cannot work with
constexpr long Overflow = 6;                  // a number does not fit its type
constexpr long BadFileNameOrNumber = 52;
constexpr long InvalidUseOfNull = 94;         // a null field read as a text or a number
constexpr long DeviceIOError = 57;
constexpr long PathFileAccessError = 75;
constexpr long ObjectRequired = 424;          // a control the form does not have
constexpr long CannotCreateObject = 429;      // a server component is not installed
// Registry procedures.
constexpr long RegistryError = 1001;
// Data access (recordsets and the provider).
constexpr long InvalidArgument = 3001;        // a Find or Filter criterion that cannot be read
constexpr long NoCurrentRecord = 3021;        // BOF or EOF
constexpr long UpdateNotSupported = 3251;     // a read-only recordset, or no table to write to
constexpr long ItemNotFound = 3265;           // a field the row does not have
constexpr long OperationNotAllowedWhenClosed = 3704;
constexpr long OperationNotAllowedWhenOpen = 3705;
constexpr long DatabaseError = -2147467259;   // generic provider failure
constexpr long RowChangedUnderneath = -2147217864;
// A server component (the Notifier) that cannot be reached.
constexpr long ComponentUnavailable = -2147023174;
// An object a server component looked for is not there (hexadecimal 8004010F). The call handler
// edits pass it over without a line or a message.
constexpr long ComponentObjectNotFound = -2147221233;
}

// True for a failure of the database itself: a statement, a stored procedure, a commit or a
// write-back the database refused. An engine lets these end the object's transaction (see
// RunFrame); every other failure (a field a row lacks, a conversion, the Notifier) it logs and
// goes on.
inline bool isDatabaseFailure(const KestraneError& error)
{
    return error.number() == ErrorNumber::DatabaseError || error.number() == ErrorNumber::RowChangedUnderneath;
}

// "(error):" + number + " (" + description + ") in procedure " + procedure + " of " + kind + " " + owner
// kind is "Module" or "Form".
QString formatProcedureError(long number, const QString& description, const QString& procedure,
                             const QString& kind, const QString& owner);
QString formatProcedureError(const KestraneError& error, const QString& procedure,
                             const QString& kind, const QString& owner);
