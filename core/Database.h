#pragma once
// The one connection of the run to VelmoDb, and the one entry point for the server's stored
// procedures. The tool's connection string names the server's ODBC driver; on Linux it resolves
// to the installation's embedded SQLite database, or to an ODBC data source when one is
// configured (see README).
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

// The rows of a query, read in full.
struct QueryResult {
    QStringList fields;
    QVector<QVector<QVariant>> rows;
};

struct ProcedureParameter {
    QString name;
    QVariant value;
    bool output = false;
};
using ProcedureParameters = QList<ProcedureParameter>;

class Database;
// A C++ stand-in for a stored procedure of the server (see callProcedure).
using ProcedureStandIn = std::function<void(Database& db, ProcedureParameters& parameters)>;

// Where the connection string leads.
struct DatabaseTarget {
    QString embeddedPath;            // the installation's VelmoDb file
    QString odbcConnectionString;    // when set, used instead of the embedded file
};

class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the target. Returns false with lastError() set when it cannot be opened.
    bool open(const DatabaseTarget& target);
    void close();
    bool isOpen() const;
    bool isEmbedded() const { return m_embedded; }
    QString lastError() const { return m_lastError; }
    QSqlDatabase& connection() { return m_db; }

    // Runs a statement with bound values; throws KestraneError when it fails.
    void execute(const QString& sql, const QVariantList& values = {});
    // Runs a query with bound values and reads all its rows; throws KestraneError when it fails.
    QueryResult select(const QString& sql, const QVariantList& values = {});

    // Transactions; one level. Throws KestraneError when the database refuses.
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }
    // Runs `work` inside the open transaction, or inside one of its own that it commits, or
    // rolls back when `work` throws.
    void runInTransaction(const std::function<void()>& work);

    // Stored procedures: registered stand-ins on the embedded database (and on an SQLite file
    // reached through the SQLite ODBC driver), the server's own procedures over any other ODBC
    // data source. Output parameters are written back into `parameters`.
    void registerProcedure(const QString& name, ProcedureStandIn standIn);
    void callProcedure(const QString& name, ProcedureParameters& parameters);

private:
    QueryResult selectEmbedded(const QString& sql, const QVariantList& values);
    void finalizeCachedStatements();

    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_embedded = true;
    bool m_inTransaction = false;
    QString m_lastError;
    QHash<QString, ProcedureStandIn> m_procedures;   // keyed by lower-case name
    // Prepared queries with bound values, kept for the next call with the same text (a query
    // repeated per line of a file is prepared once).
    QHash<QString, struct sqlite3_stmt*> m_statementCache;
};

// Throws KestraneError for a failed QSqlQuery / QSqlDatabase operation.
[[noreturn]] void throwDatabaseError(const QString& what, const class QSqlError& error);
