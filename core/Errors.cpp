#include "core/Errors.h"

QString formatProcedureError(long number, const QString& description, const QString& procedure,
                             const QString& kind, const QString& owner)
{
    return QStringLiteral("(error):%1 (%2) in procedure %3 of %4 %5")
        .arg(number).arg(description, procedure, kind, owner);
}

QString formatProcedureError(const KestraneError& error, const QString& procedure,
                             const QString& kind, const QString& owner)
{
    return formatProcedureError(error.number(), error.description(), procedure, kind, owner);
}
