#include "core/Database.h"
#include "core/Errors.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlRecord>
#include <cstring>
#include <sqlite3.h>

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
            m_lastError = QStringLiteral("the file does not exist");
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
        // The whole directory is read at start-up: map the file instead of copying pages.
        pragma.exec(QStringLiteral("PRAGMA mmap_size = 4294967296"));
        pragma.exec(QStringLiteral("PRAGMA cache_size = -65536"));
    }
    m_lastError.clear();
    return true;
}

void Database::finalizeCachedStatements()
{
    for (sqlite3_stmt* statement : std::as_const(m_statementCache))
        sqlite3_finalize(statement);
    m_statementCache.clear();
}

void Database::close()
{
    finalizeCachedStatements();
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

QueryResult Database::select(const QString& sql, const QVariantList& values)
{
    if (!isOpen())
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("The database is not open."));
    if (m_embedded)
        return selectEmbedded(sql, values);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throwDatabaseError(QString(), query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throwDatabaseError(QString(), query.lastError());
    QueryResult result;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        result.fields << record.fieldName(i);
    const int columns = result.fields.size();
    while (query.next()) {
        QVector<QVariant> row(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = query.value(i);
        result.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throwDatabaseError(QString(), query.lastError());
    return result;
}

// The embedded database is read through SQLite itself: whole directory lists load several
// times faster than through QSqlQuery, and repeated texts of a column share one string.
QueryResult Database::selectEmbedded(const QString& sql, const QVariantList& values)
{
    sqlite3* handle = *static_cast<sqlite3**>(m_db.driver()->handle().data());
    constexpr int kCachedStatements = 16;
    const bool cacheable = !values.isEmpty();
    sqlite3_stmt* statement = cacheable ? m_statementCache.take(sql) : nullptr;
    const auto failWith = [&](const QString& what) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        throw KestraneError(ErrorNumber::DatabaseError, what.isEmpty() ? message : what + QStringLiteral(": ") + message);
    };
    if (!statement) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
            failWith(QString());
    }
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values[i];
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(statement, i + 1);
        } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            rc = sqlite3_bind_double(statement, i + 1, value.toDouble());
        } else if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(statement, i + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        } else if (value.canConvert<qlonglong>() && value.typeId() != QMetaType::QString) {
            rc = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(statement, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            failWith(QStringLiteral("binding value %1").arg(i + 1));
    }

    QueryResult result;
    const int columns = sqlite3_column_count(statement);
    for (int i = 0; i < columns; ++i)
        result.fields << QString::fromUtf8(sqlite3_column_name(statement, i));
    QVector<QByteArray> lastText(columns);
    QVector<QString> lastString(columns);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QVector<QVariant> row(columns);
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_INTEGER:
                row[i] = qlonglong(sqlite3_column_int64(statement, i));
                break;
            case SQLITE_FLOAT:
                row[i] = sqlite3_column_double(statement, i);
                break;
            case SQLITE_BLOB: {
                const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, i));
                row[i] = QByteArray(data, sqlite3_column_bytes(statement, i));
                break;
            }
            case SQLITE_TEXT: {
                const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                const int size = sqlite3_column_bytes(statement, i);
                if (size != lastText[i].size() || std::memcmp(data, lastText[i].constData(), size) != 0) {
                    lastText[i] = QByteArray(data, size);
                    lastString[i] = QString::fromUtf8(data, size);
                }
                row[i] = lastString[i];
                break;
            }
            default:
                row[i] = QVariant();
            }
        }
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        failWith(QString());
    if (cacheable && m_statementCache.size() < kCachedStatements) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        m_statementCache.insert(sql, statement);
    } else {
        sqlite3_finalize(statement);
    }
    return result;
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

void Database::runInTransaction(const std::function<void()>& work)
{
    if (m_inTransaction) {
        work();
        return;
    }
    beginTransaction();
    try {
        work();
        commit();
    } catch (...) {
        rollback();
        throw;
    }
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
