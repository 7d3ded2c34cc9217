#include "core/Database.h"
#include "core/Errors.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QFileInfo>

namespace {
QAtomicInt connectionCounter;
}

void throwDatabaseError(const QString& what, const QSqlError& error)
{
    QString description = error.text().trimmed();
    if (description.isEmpty())
        description = what;
    else if (!what.isEmpty())
        description = what + QStringLiteral(": ") + description;
    throw KestraneError(ErrorNumber::DatabaseError, description);
}

Database::Database()
    : m_connectionName(QStringLiteral("kestrane-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Database::~Database()
{
    close();
}

bool Database::open(const DatabaseTarget& target)
{
    close();
    m_embedded = target.odbcConnectionString.isEmpty();
    if (m_embedded) {
        if (!QFileInfo::exists(target.embeddedPath)) {
            m_lastError = QStringLiteral("No database at %1").arg(target.embeddedPath);
            return false;
        }
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_db.setDatabaseName(target.embeddedPath);
    } else {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        m_db.setDatabaseName(target.odbcConnectionString);
    }
    if (!m_db.open()) {
        m_lastError = m_db.lastError().text();
        close();
        return false;
    }
    if (m_embedded) {
        // Several processes (the server, tests) may share the file; writes wait rather than fail.
        QSqlQuery pragma(m_db);
        pragma.exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
        pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    }
    m_lastError.clear();
    return true;
}

void Database::close()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    m_inTransaction = false;
}

bool Database::isOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

void Database::execute(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(m_db);
    if (!query.prepare(sql))
        throwDatabaseError(sql, query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throwDatabaseError(sql, query.lastError());
}

void Database::beginTransaction()
{
    if (m_inTransaction)
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("A transaction is already open"));
    if (!m_db.transaction())
        throwDatabaseError(QStringLiteral("BEGIN TRANSACTION"), m_db.lastError());
    m_inTransaction = true;
}

void Database::commit()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (!m_db.commit())
        throwDatabaseError(QStringLiteral("COMMIT"), m_db.lastError());
}

void Database::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    m_db.rollback();
}

void Database::registerProcedure(const QString& name, ProcedureStandIn standIn)
{
    m_procedures.insert(name.toLower(), std::move(standIn));
}

void Database::callProcedure(const QString& name, ProcedureParameters& parameters)
{
    if (m_embedded) {
        const auto standIn = m_procedures.constFind(name.toLower());
        if (standIn == m_procedures.constEnd())
            throw KestraneError(ErrorNumber::DatabaseError,
                                QStringLiteral("Could not find stored procedure '%1'.").arg(name));
        (*standIn)(*this, parameters);
        return;
    }
    // On the server: the ODBC call escape with one marker per parameter.
    QStringList markers;
    for (int i = 0; i < parameters.size(); ++i)
        markers << QStringLiteral("?");
    QSqlQuery query(m_db);
    if (!query.prepare(QStringLiteral("{CALL %1(%2)}").arg(name, markers.join(u','))))
        throwDatabaseError(name, query.lastError());
    for (int i = 0; i < parameters.size(); ++i)
        query.bindValue(i, parameters[i].value, parameters[i].output ? QSql::InOut : QSql::In);
    if (!query.exec())
        throwDatabaseError(name, query.lastError());
    for (int i = 0; i < parameters.size(); ++i)
        if (parameters[i].output)
            parameters[i].value = query.boundValue(i);
}
