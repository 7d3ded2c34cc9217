#pragma once
// The one connection of the run to VelmoDb, and the one entry point for the server's stored
// procedures. The tool's connection string names the server's ODBC driver; on Linux it resolves
// to the installation's embedded SQLite database, or to an ODBC data source when one is
// configured (see README).
#include <QByteArrayView>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

// The rows of a query, read in full.
struct QueryResult {
    QStringList fields;
    QVector<QVector<QVariant>> rows;
};

// Takes the rows of a query as they are read: begin() with the column names, then for each row
// newRow() and one add call per column in order, then end().
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void begin(const QStringList& fields) = 0;
    virtual void newRow() = 0;
    virtual void addInteger(qint64 value) = 0;
    virtual void addReal(double value) = 0;
    virtual void addText(QByteArrayView utf8) = 0;
    virtual void addBytes(QByteArrayView bytes) = 0;
    virtual void addValue(const QVariant& value) = 0;   // a null, or a value as a driver gives it
    virtual void end() = 0;
};

struct ProcedureParameter {
    QString name;
    QVariant value;
    bool output = false;
    bool returnValue = false;   // the procedure's return value; first in its list when present
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
    // Ends the connection (an unfinished transaction rolled back). On the embedded database, a
    // file that is no longer the file at its path (moved, removed or replaced) is let go of
    // first: every change kept in its write-ahead log goes into that file (wherever it is now),
    // and the connection's own -wal and -shm files are removed from beside the path, so that
    // nothing of this connection is left for the next opener of the file now at the path to take
    // for its own. Every close does this: the end of a run, Exit, the end of the session, a reopen.
    void close();
    bool isOpen() const;
    bool isEmbedded() const { return m_embedded; }
    // Tells connections apart: a new number at each open, never given twice in a process.
    quint64 connectionSerial() const { return m_connectionSerial; }
    QString lastError() const { return m_lastError; }
    QSqlDatabase& connection() { return m_db; }

    // Runs a statement with bound values and returns the count of rows it changed in the table
    // it names (rows changed by triggers not counted; 0 through a view's INSTEAD OF trigger);
    // throws KestraneError when it fails.
    qint64 execute(const QString& sql, const QVariantList& values = {});
    // The same for a write through a view of the embedded database, whose INSTEAD OF triggers
    // make the changes: whether they changed any row, counted by SQLite over the whole
    // statement (triggers included). Over ODBC, execute's count.
    bool executeChangingAny(const QString& sql, const QVariantList& values = {});
    // Runs a query (or a statement with a RETURNING clause) with bound values and reads all its
    // rows; throws KestraneError when it fails.
    // Both keep the statements they prepare in one cache keyed by the statement's text (the
    // least recently used are dropped), so a statement run per object is prepared once.
    QueryResult select(const QString& sql, const QVariantList& values = {});
    // The same, handing the rows to `rows` as they are read, so that a large list is never held
    // twice.
    void select(const QString& sql, const QVariantList& values, RowSink& rows);

    // Runs a text typed by the administrator and returns its rows without changing anything:
    // it must be one statement (see holdsSecondStatement) that returns rows, and it runs
    // inside a transaction that is always rolled back; on the embedded database also only when
    // SQLite judges it read-only, and with PRAGMA query_only. Throws KestraneError when the
    // database rejects the text or when it is refused as more than one statement or a write.
    QueryResult selectReadOnly(const QString& sql);

    // The column names of a table or view, as "SELECT *" gives them; asked of the database once
    // per name and connection. Empty when the database does not know the name.
    QStringList columnsOf(const QString& tableOrView);
    // The columns of a table's primary key, or on the embedded database of its first full unique
    // index, that tell its rows apart; asked once per name and connection. Empty for a view or
    // a table without one.
    QStringList uniqueKeyOf(const QString& table);
    // On the embedded database: true when the name is a table's (not a view's); asked once per
    // name and connection.
    bool isTable(const QString& name);

    // Transactions; one level. Throws KestraneError when the database refuses. On the embedded
    // database the transaction takes the write lock at once, waiting for another writer up to
    // the busy timeout (5 s). A failure that leaves the database unusable (a damaged file, an
    // I/O failure, a lost ODBC connection) is marked KestraneError::databaseBroken.
    void beginTransaction();
    // A COMMIT the database refuses (a deferred constraint, say) is rolled back before the
    // error is thrown: either way no transaction is left open.
    void commit();
    void rollback();   // never throws
    // On the embedded database, a failure that breaks the database (KestraneError::
    // databaseBroken) when the file it opened is no longer the file at its path (moved, removed
    // or replaced): what a commit writes there would be lost. Over ODBC the server keeps its
    // files: nothing to check.
    void checkFileInPlace();
    // On the embedded database, when the file it opened is no longer the file at its path:
    // closes the connection, letting go of that file (see close), so that nothing of the session
    // writes there again. Otherwise nothing.
    void letGoOfMovedFile();
    // The path of the file that a close let go of; empty while it has not happened since open.
    QString fileLetGo() const { return m_fileLetGo; }
    bool inTransaction() const { return m_inTransaction; }

    // The statements sent to the database since the last reset (queries, writes, transaction
    // control, stored procedures over ODBC): what a benchmark counts per object.
    qint64 statementCount() const { return m_statementCount; }
    void resetStatementCount() { m_statementCount = 0; }
    // Runs `work` inside the open transaction, or inside one of its own that it commits, or
    // rolls back when `work` or the commit throws.
    void runInTransaction(const std::function<void()>& work);

    // Stored procedures: registered stand-ins on the embedded database (and on an SQLite file
    // reached through the SQLite ODBC driver), the server's own procedures over any other ODBC
    // data source. Output parameters are written back into `parameters`.
    // `declared` is the procedure's parameter list as the server defines it (see
    // procedureParameters), its return value left out.
    void registerProcedure(const QString& name, ProcedureStandIn standIn, ProcedureParameters declared = {});
    void callProcedure(const QString& name, ProcedureParameters& parameters);
    // The parameter list of a registered procedure as the database reports it: its return value
    // at position 0, then the declared parameters in order, for the caller to fill and pass to
    // callProcedure. The stand-ins return 0. Throws KestraneError for an unknown procedure.
    ProcedureParameters procedureParameters(const QString& name) const;

private:
    friend class BulkInsert;
    struct Statements;
    // Runs a statement, reading its rows into `rows` when given.
    void run(const QString& sql, const QVariantList& values, RowSink* rows);
    void runEmbedded(const QString& sql, const QVariantList& values, RowSink* rows);
    void runOdbc(const QString& sql, const QVariantList& values, RowSink* rows);
    QueryResult selectReadOnlyEmbedded(const QString& sql);
    QueryResult selectReadOnlyOdbc(const QString& sql);
    // A transaction that takes the write lock at once (`forWriting`) or at its first write.
    void begin(bool forWriting);
    [[noreturn]] void throwOdbcError(const QString& what, const class QSqlError& error);

    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_embedded = true;
    quint64 m_connectionSerial = 0;
    bool m_inTransaction = false;
    qint64 m_statementCount = 0;
    QString m_lastError;
    // The files beside the embedded database that the connection made its own on opening it (its
    // write-ahead log and shared-memory index), known by device and inode; zero when absent.
    struct FileIdentity {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    static FileIdentity identityOf(const QString& path);
    // On the embedded database, while open: the file it opened is no longer the file at its path.
    bool fileHasMoved();
    // Puts the log's changes into the moved file and removes the connection's own -wal and -shm
    // from beside the path (see close).
    void letGoOfFileAtPath();
    FileIdentity m_wal;
    FileIdentity m_sharedMemory;
    QString m_fileLetGo;
    struct Procedure {
        ProcedureStandIn standIn;
        ProcedureParameters declared;
    };
    QHash<QString, Procedure> m_procedures;          // keyed by lower-case name
    std::unique_ptr<Statements> m_statements;        // prepared statements, by text
    QHash<QString, QStringList> m_columns;           // columnsOf, by case-folded name
    QHash<QString, QStringList> m_uniqueKeys;        // uniqueKeyOf, by case-folded name
    QHash<QString, bool> m_tables;                   // isTable, by case-folded name
    qint64 m_odbcRowsChanged = 0;                    // by the last statement run over ODBC
};

// True when `sql` holds a ";" outside quoted literals, quoted names and comments that is
// followed by anything but blanks.
bool holdsSecondStatement(const QString& sql);

// Many rows into one table of the embedded database through one prepared INSERT whose values
// are bound straight into SQLite: the way a generated directory of millions of rows is written
// in seconds. Texts are bound as UTF-8 kept per column, so the same string bound again (an
// owner's ID on each of its child rows) is encoded once.
class BulkInsert {
public:
    // Prepares INSERT INTO table (columns) VALUES (?, ...). Throws KestraneError when the
    // database is not the embedded one or the statement cannot be prepared.
    BulkInsert(Database& db, const QString& table, const QStringList& columns);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    // Writes one row: values[i] into columns[i] (a null value or null text is NULL). Throws
    // KestraneError when the database refuses the row.
    void insert(const std::vector<QVariant>& values);

private:
    struct Prepared;
    std::unique_ptr<Prepared> m_prepared;
};

// Throws KestraneError for a failed QSqlQuery / QSqlDatabase operation.
[[noreturn]] void throwDatabaseError(const QString& what, const class QSqlError& error);
