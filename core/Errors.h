#pragma once
// Errors travel as exceptions carrying a number and a description up to the procedure that
// handles them; the handler turns them into the tool's error texts with the helpers below.
#include <QString>
#include <stdexcept>

class KestraneError : public std::runtime_error {
public:
    KestraneError(long number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}
    long number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    long m_number;
    QString m_description;
};

// Error numbers used by the stand-ins where the tool reacts to a particular one.
namespace ErrorNumber {
constexpr long RegistryError = 1001;          // raised by the registry procedures
constexpr long OperationNotAllowedWhenOpen = 3705;
constexpr long DatabaseError = -2147467259;   // generic provider failure
constexpr long RowChangedUnderneath = -2147217864;
}

// "(error):" + number + " (" + description + ") in procedure " + procedure + " of " + kind + " " + owner
// kind is "Module" or "Form".
QString formatProcedureError(long number, const QString& description, const QString& procedure,
                             const QString& kind, const QString& owner);
QString formatProcedureError(const KestraneError& error, const QString& procedure,
                             const QString& kind, const QString& owner);
