#include "core/Database.h"
#include "core/Errors.h"
#include "core/LruCache.h"
#include "core/WholeNumbers.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <stdexcept>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QAtomicInt connectionCounter;

// Enough for every statement an engine runs per object and the texts of the recordsets'
// write-backs, which differ by the columns changed.
constexpr int kCachedStatements = 128;

const QString kSecondStatement = QStringLiteral("Only one statement can be run here; nothing was run.");
const QString kNotAQuery = QStringLiteral("Only a query that reads rows can be run here; nothing was changed.");

struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, Finalize>;

// One prepared statement of either backend.

sqlite3* sqliteHandle(QSqlDatabase& db)
{
    return *static_cast<sqlite3**>(db.driver()->handle().data());
}

// Failures of the file itself, after which no further statement can be trusted to work. A busy
// or locked database, a constraint or a changed row concern one statement only.
bool breaksDatabase(int resultCode)
{
    switch (resultCode & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void throwSqliteError(sqlite3* handle, const QString& what)
{
    QString message = QString::fromUtf8(sqlite3_errmsg(handle));
    // "database or disk is full" alone does not say which disk to make room on.
    if ((sqlite3_extended_errcode(handle) & 0xff) == SQLITE_FULL)
        message += QStringLiteral(" (database file %1)")
                       .arg(QDir::toNativeSeparators(QString::fromUtf8(sqlite3_db_filename(handle, "main"))));
    throw KestraneError(ErrorNumber::DatabaseError, what.isEmpty() ? message : what + QStringLiteral(": ") + message,
                        breaksDatabase(sqlite3_extended_errcode(handle)));
}

// Runs a statement without rows (BEGIN, COMMIT, ...) on the embedded database.
void execSqlite(sqlite3* handle, const char* sql)
{
    if (sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throwSqliteError(handle, QString::fromLatin1(sql));
}

[[noreturn]] void refuse(const QString& description)
{
    throw KestraneError(ErrorNumber::DatabaseError, description);
}

SqliteStatement prepareSqlite(sqlite3* handle, const QString& sql, const char** tail = nullptr)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* rest = nullptr;
    const int rc = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, &rest);
    SqliteStatement prepared(statement);
    if (rc != SQLITE_OK)
        throwSqliteError(handle, QString());
    if (tail)
        *tail = rest && *rest ? rest : nullptr;
    return prepared;
}

// Texts are bound as UTF-8, the encoding of the installations' database files: SQLite keeps them
// without converting them first.
int bindSqliteText(sqlite3_stmt* statement, int position, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text(statement, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Binds as Qt's SQLite driver does: null values and null texts or bytes are NULL, dates and
// times are ISO texts, anything else without a number or bytes type is its text.
int bindSqlite(sqlite3_stmt* statement, int position, const QVariant& value)
{
    // An unsigned 64-bit number is bound as its 64 bits, as the driver binds it.
    if (holdsSignedWholeNumber(value) || value.typeId() == QMetaType::ULongLong)
        return sqlite3_bind_int64(statement, position, value.toLongLong());
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(statement, position);
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, position, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray& bytes = *static_cast<const QByteArray*>(value.constData());
        if (bytes.isNull())
            return sqlite3_bind_null(statement, position);
        return sqlite3_bind_blob(statement, position, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::QDateTime:
        return bindSqliteText(statement, position, value.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QTime:
        return bindSqliteText(statement, position, value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
    default: {
        const QString text = value.toString();
        if (text.isNull())
            return sqlite3_bind_null(statement, position);
        return bindSqliteText(statement, position, text);
    }
    }
}

void bindAllSqlite(sqlite3* handle, sqlite3_stmt* statement, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        if (bindSqlite(statement, i + 1, values[i]) != SQLITE_OK)
            throwSqliteError(handle, QStringLiteral("binding value %1").arg(i + 1));
}

// The names of a statement's columns, as last read: a kept statement reads the same names at
// every run, unless SQLite re-prepared it for tables that changed.
struct ColumnNames {
    QList<QByteArray> utf8;
    QStringList fields;
};

const QStringList& sqliteFields(sqlite3_stmt* statement, ColumnNames& known)
{
    const int columns = sqlite3_column_count(statement);
    bool same = known.utf8.size() == columns;
    for (int i = 0; same && i < columns; ++i)
        same = qstrcmp(sqlite3_column_name(statement, i), known.utf8[i].constData()) == 0;
    if (!same) {
        known = {};
        for (int i = 0; i < columns; ++i) {
            known.utf8 << QByteArray(sqlite3_column_name(statement, i));
            known.fields << QString::fromUtf8(known.utf8.last());
        }
    }
    return known.fields;
}

struct PreparedStatement {
    SqliteStatement sqlite;
    std::unique_ptr<QSqlQuery> odbc;
    ColumnNames columns;
};

// Builds a QueryResult from the rows read; repeated texts of a column share one string.
class QueryResultSink final : public RowSink {
public:
    QueryResult result;

    void begin(const QStringList& fields) override
    {
        result.fields = fields;
        m_lastText.resize(fields.size());
        m_lastString.resize(fields.size());
    }
    void newRow() override
    {
        result.rows.push_back(QVector<QVariant>(result.fields.size()));
        m_column = 0;
    }
    void addInteger(qint64 value) override { next() = qlonglong(value); }
    void addReal(double value) override { next() = value; }
    void addText(QByteArrayView utf8) override
    {
        const int column = m_column;
        if (utf8 != m_lastText[column]) {
            m_lastText[column] = utf8.toByteArray();
            m_lastString[column] = QString::fromUtf8(utf8);
        }
        next() = m_lastString[column];
    }
    void addBytes(QByteArrayView bytes) override { next() = bytes.toByteArray(); }
    void addValue(const QVariant& value) override { next() = value; }
    void end() override {}

private:
    QVariant& next() { return result.rows.back()[m_column++]; }

    int m_column = 0;
    QVector<QByteArray> m_lastText;
    QVector<QString> m_lastString;
};

// Steps a bound statement to its end; reads its rows into `rows` when given. A whole directory
// list loads several times faster this way than through QSqlQuery.
void stepSqlite(sqlite3* handle, sqlite3_stmt* statement, ColumnNames& names, RowSink* rows, const QString& what)
{
    // The first step re-prepares a kept statement whose tables changed, so the columns are
    // known only after it ("SELECT *" of an altered table).
    int rc = sqlite3_step(statement);
    const int columns = rows ? sqlite3_column_count(statement) : 0;
    if (rows)
        rows->begin(sqliteFields(statement, names));
    for (; rc == SQLITE_ROW; rc = sqlite3_step(statement)) {
        if (!rows)
            continue;
        rows->newRow();
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_INTEGER:
                rows->addInteger(sqlite3_column_int64(statement, i));
                break;
            case SQLITE_FLOAT:
                rows->addReal(sqlite3_column_double(statement, i));
                break;
            case SQLITE_BLOB: {
                const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, i));
                rows->addBytes(QByteArrayView(data, sqlite3_column_bytes(statement, i)));
                break;
            }
            case SQLITE_TEXT: {
                const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                rows->addText(QByteArrayView(data, sqlite3_column_bytes(statement, i)));
                break;
            }
            default:
                rows->addValue(QVariant());
            }
        }
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(handle, what);
    if (rows)
        rows->end();
}

void readOdbcRows(QSqlQuery& query, RowSink& rows)
{
    const QSqlRecord record = query.record();
    QStringList fields;
    for (int i = 0; i < record.count(); ++i)
        fields << record.fieldName(i);
    rows.begin(fields);
    while (query.next()) {
        rows.newRow();
        for (int i = 0; i < fields.size(); ++i)
            rows.addValue(query.value(i));
    }
    if (query.lastError().isValid())
        throwDatabaseError(QString(), query.lastError());
    rows.end();
}

// Rolls back the transaction a read-only query runs in, whatever happens.
struct RollBack {
    Database& db;
    ~RollBack() { db.rollback(); }
};

}  // namespace

struct Database::Statements {
    LruCache<QString, PreparedStatement> cache{kCachedStatements};
};

namespace {

QString errorDescription(const QString& what, const QSqlError& error)
{
    const QString description = error.text().trimmed();
    if (description.isEmpty())
        return what;
    return what.isEmpty() ? description : what + QStringLiteral(": ") + description;
}

}  // namespace

void throwDatabaseError(const QString& what, const QSqlError& error)
{
    throw KestraneError(ErrorNumber::DatabaseError, errorDescription(what, error));
}

void Database::throwOdbcError(const QString& what, const QSqlError& error)
{
    // ODBC drivers report a lost connection each in their own words: a connection that no
    // longer answers the simplest query is the one sure sign.
    QSqlQuery probe(m_db);
    const bool lost = !probe.exec(QStringLiteral("SELECT 1"));
    throw KestraneError(ErrorNumber::DatabaseError, errorDescription(what, error), lost);
}

Database::Database()
    : m_connectionName(QStringLiteral("kestrane-%1").arg(connectionCounter.fetchAndAddRelaxed(1))),
      m_statements(std::make_unique<Statements>())
{
    // SQLite takes and frees buffers for every transaction. With the directory lists packed
    // compactly those buffers sit at the top of the heap, and glibc would give the memory back
    // to the system after each object and fault it in again for the next one (a run of six
    // changes took half as long again).
    static std::once_flag keepFreedHeap;
    std::call_once(keepFreedHeap, [] { mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024); });
}

Database::~Database()
{
    close();
}

bool Database::open(const DatabaseTarget& target)
{
    close();
    static std::atomic<quint64> lastSerial{0};
    m_connectionSerial = ++lastSerial;
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
        // WAL with synchronous=NORMAL makes the commit of one object's changes cheap.
        QSqlQuery pragma(m_db);
        pragma.exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
        pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        pragma.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        // The whole directory is read at start-up: mapping the file's first pages instead of
        // copying them saves about a tenth of the load; a larger mapping saves little more, and
        // every page it maps stays in the process's memory.
        pragma.exec(QStringLiteral("PRAGMA mmap_size = 134217728"));
        pragma.exec(QStringLiteral("PRAGMA cache_size = -65536"));
        // Entering WAL opened both files, and the connection holds them until it closes.
        m_wal = identityOf(target.embeddedPath + QStringLiteral("-wal"));
        m_sharedMemory = identityOf(target.embeddedPath + QStringLiteral("-shm"));
    }
    m_fileLetGo.clear();
    m_lastError.clear();
    return true;
}

void Database::close()
{
    // Closing ends an unfinished transaction anyway; ended first, it holds back no checkpoint.
    rollback();
    // Statements go before the connection they were prepared on, and before a checkpoint, which a
    // statement still reading would hold back.
    m_statements->cache.clear();
    m_columns.clear();
    m_tables.clear();
    if (fileHasMoved())
        letGoOfFileAtPath();
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

qint64 Database::execute(const QString& sql, const QVariantList& values)
{
    run(sql, values, nullptr);
    return m_embedded ? sqlite3_changes64(sqliteHandle(m_db)) : m_odbcRowsChanged;
}

bool Database::executeChangingAny(const QString& sql, const QVariantList& values)
{
    if (!m_embedded || !isOpen())
        return execute(sql, values) > 0;
    sqlite3* handle = sqliteHandle(m_db);
    const sqlite3_int64 before = sqlite3_total_changes64(handle);
    select(sql, values);   // a failure reads as a query's, without the statement's text
    return sqlite3_total_changes64(handle) > before;
}

QueryResult Database::select(const QString& sql, const QVariantList& values)
{
    QueryResultSink rows;
    run(sql, values, &rows);
    return std::move(rows.result);
}

void Database::select(const QString& sql, const QVariantList& values, RowSink& rows)
{
    run(sql, values, &rows);
}

void Database::run(const QString& sql, const QVariantList& values, RowSink* rows)
{
    if (!isOpen())
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("The database is not open."));
    ++m_statementCount;
    if (m_embedded)
        runEmbedded(sql, values, rows);
    else
        runOdbc(sql, values, rows);
}

void Database::runEmbedded(const QString& sql, const QVariantList& values, RowSink* rows)
{
    sqlite3* handle = sqliteHandle(m_db);
    // A statement that fails is dropped rather than kept (it goes with `prepared`).
    std::optional<PreparedStatement> prepared = m_statements->cache.take(sql);
    if (!prepared)
        prepared = PreparedStatement{prepareSqlite(handle, sql), nullptr, {}};
    sqlite3_stmt* statement = prepared->sqlite.get();
    bindAllSqlite(handle, statement, values);
    stepSqlite(handle, statement, prepared->columns, rows, rows ? QString() : sql);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    m_statements->cache.put(sql, std::move(*prepared));
}

void Database::runOdbc(const QString& sql, const QVariantList& values, RowSink* rows)
{
    std::optional<PreparedStatement> prepared = m_statements->cache.take(sql);
    if (!prepared) {
        auto query = std::make_unique<QSqlQuery>(m_db);
        query->setForwardOnly(true);
        if (!query->prepare(sql))
            throwOdbcError(rows ? QString() : sql, query->lastError());
        prepared = PreparedStatement{nullptr, std::move(query), {}};
    }
    QSqlQuery& query = *prepared->odbc;
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        throwOdbcError(rows ? QString() : sql, query.lastError());
    m_odbcRowsChanged = query.numRowsAffected();
    if (rows) {
        try {
            readOdbcRows(query, *rows);
        } catch (const KestraneError&) {
            throwOdbcError(QString(), query.lastError());   // a connection lost while reading, too
        }
    }
    query.finish();
    // A driver may keep the columns a statement had when it was prepared; only statements with
    // bound values, the ones run again and again, are kept.
    if (!values.isEmpty())
        m_statements->cache.put(sql, std::move(*prepared));
}

QueryResult Database::selectReadOnly(const QString& sql)
{
    if (!isOpen())
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("The database is not open."));
    if (holdsSecondStatement(sql))
        refuse(kSecondStatement);
    return m_embedded ? selectReadOnlyEmbedded(sql) : selectReadOnlyOdbc(sql);
}

// SQLite runs only the first statement of a text; it must also be one that SQLite calls
// read-only, and query_only stops any write that slips through all the same.
QueryResult Database::selectReadOnlyEmbedded(const QString& sql)
{
    sqlite3* handle = sqliteHandle(m_db);
    const char* tail = nullptr;
    const SqliteStatement statement = prepareSqlite(handle, sql, &tail);
    if (tail && !QString::fromUtf8(tail).trimmed().isEmpty())
        refuse(kSecondStatement);
    if (!statement || !sqlite3_stmt_readonly(statement.get()) || sqlite3_column_count(statement.get()) == 0)
        refuse(kNotAQuery);

    sqlite3_exec(handle, "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
    struct QueryOnlyOff {
        sqlite3* handle;
        ~QueryOnlyOff() { sqlite3_exec(handle, "PRAGMA query_only = OFF", nullptr, nullptr, nullptr); }
    } queryOnlyOff{handle};
    begin(false);
    const RollBack rollBack{*this};
    QueryResultSink rows;
    ColumnNames names;
    stepSqlite(handle, statement.get(), names, &rows, QString());
    return std::move(rows.result);
}

// The server's dialect may run several statements from one text without a separator, so every
// further result (a row set or a count) refuses the text; the transaction is always rolled
// back, so nothing such a text did stays.
QueryResult Database::selectReadOnlyOdbc(const QString& sql)
{
    begin(false);
    const RollBack rollBack{*this};
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throwDatabaseError(QString(), query.lastError());
    if (!query.isSelect())
        refuse(kNotAQuery);
    QueryResultSink rows;
    readOdbcRows(query, rows);
    if (query.nextResult())
        refuse(kSecondStatement);
    return std::move(rows.result);
}

QStringList Database::columnsOf(const QString& tableOrView)
{
    const QString key = tableOrView.toCaseFolded();
    const auto known = m_columns.constFind(key);
    if (known != m_columns.constEnd())
        return *known;
    QStringList columns;
    try {
        columns = select(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(tableOrView)).fields;
    } catch (const KestraneError&) {
        return {};
    }
    m_columns.insert(key, columns);
    return columns;
}

namespace {

// What is known of a table or view, by its name without brackets and regardless of case: looked
// up once per connection.
template <typename Fact, typename LookUp>
Fact knownOfTable(QHash<QString, Fact>& known, const QString& table, LookUp lookUp)
{
    const QString name = QString(table).remove(u'[').remove(u']');
    const QString key = name.toCaseFolded();
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    const Fact fact = lookUp(name);
    known.insert(key, fact);
    return fact;
}

}  // namespace

QStringList Database::uniqueKeyOf(const QString& table)
{
    return knownOfTable(m_uniqueKeys, table, [this](const QString& name) {
        QStringList columns;
        try {
            if (m_embedded) {
                // A primary key first, then the unique indexes in SQLite's order; partial ones
                // do not cover every row.
                const QueryResult indexes = select(
                    QStringLiteral("SELECT name FROM pragma_index_list(?) WHERE \"unique\" = 1 AND partial = 0 "
                                   "ORDER BY origin = 'pk' DESC, seq"),
                    {name});
                if (!indexes.rows.isEmpty())
                    for (const QVector<QVariant>& column :
                         select(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"), {indexes.rows[0][0]})
                             .rows)
                        columns << column[0].toString();
            } else {
                const QSqlIndex primary = m_db.primaryIndex(name);
                for (int i = 0; i < primary.count(); ++i)
                    columns << primary.fieldName(i);
            }
        } catch (const KestraneError&) {
            columns.clear();
        }
        return columns;
    });
}

bool Database::isTable(const QString& name)
{
    return knownOfTable(m_tables, name, [this](const QString& table) {
        if (!m_embedded)
            return false;
        try {
            return !select(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                           {table})
                        .rows.isEmpty();
        } catch (const KestraneError&) {
            return false;
        }
    });
}

void Database::beginTransaction()
{
    begin(true);
}

void Database::begin(bool forWriting)
{
    if (m_inTransaction)
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("A transaction is already open"));
    ++m_statementCount;
    if (m_embedded) {
        // A deferred BEGIN takes the write lock at the first write, where SQLite cannot wait for
        // another writer without risking a deadlock and fails at once; IMMEDIATE takes it here,
        // waiting up to the busy timeout. Over ODBC the server does its own locking.
        execSqlite(sqliteHandle(m_db), forWriting ? "BEGIN IMMEDIATE" : "BEGIN");
    } else if (!m_db.transaction()) {
        throwOdbcError(QStringLiteral("BEGIN TRANSACTION"), m_db.lastError());
    }
    m_inTransaction = true;
}

void Database::commit()
{
    if (!m_inTransaction)
        return;
    ++m_statementCount;
    // The database keeps a transaction whose COMMIT it refused open; left so, every later
    // BEGIN would fail: it is rolled back before the error goes on.
    if (m_embedded) {
        try {
            execSqlite(sqliteHandle(m_db), "COMMIT");
        } catch (const KestraneError&) {
            rollback();
            throw;
        }
        m_inTransaction = false;
        return;
    }
    if (m_db.commit()) {
        m_inTransaction = false;
        return;
    }
    const QSqlError error = m_db.lastError();
    rollback();
    throwOdbcError(QStringLiteral("COMMIT"), error);
}

void Database::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    ++m_statementCount;
    if (m_embedded)
        sqlite3_exec(sqliteHandle(m_db), "ROLLBACK", nullptr, nullptr, nullptr);
    else
        m_db.rollback();
}

void Database::checkFileInPlace()
{
    if (fileHasMoved())
        throw KestraneError(ErrorNumber::DatabaseError,
                            QStringLiteral("The database file %1 was moved, removed or replaced during the run")
                                .arg(QDir::toNativeSeparators(m_db.databaseName())),
                            true);
}

bool Database::fileHasMoved()
{
    int moved = 0;
    return m_embedded && isOpen()
           && sqlite3_file_control(sqliteHandle(m_db), "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved;
}

Database::FileIdentity Database::identityOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

void Database::letGoOfMovedFile()
{
    if (fileHasMoved())
        close();
}

void Database::letGoOfFileAtPath()
{
    sqlite3* handle = sqliteHandle(m_db);
    const QString path = m_db.databaseName();
    // A plain close is not enough. SQLite neither ends its log into a database file that moved
    // nor removes the log and its index: it cannot tell whose they are. The next opener of the
    // file now at the path would take them for its own and write the old file's pages into it,
    // and a file moved away would lack every change still in the log.
    // So the changes kept in the log go into the file they belong to, wherever it is now...
    sqlite3_wal_checkpoint_v2(handle, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    // ...and the log and its index are removed while the connection still holds them open: their
    // inodes cannot have been given to another file, so a file of the same identity at the path is
    // this connection's own. (A rollback journal is gone already: a rollback deletes it.)
    for (const auto& [suffix, identity] :
         {std::pair{QStringLiteral("-wal"), m_wal}, std::pair{QStringLiteral("-shm"), m_sharedMemory}}) {
        const QString file = path + suffix;
        if (identity != FileIdentity{} && identityOf(file) == identity)
            ::unlink(QFile::encodeName(file).constData());
    }
    m_fileLetGo = path;
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
    } catch (...) {
        rollback();
        throw;
    }
    commit();
}

bool holdsSecondStatement(const QString& sql)
{
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            // A literal or quoted name; a doubled closing character stays inside it.
            const QChar close = c == u'[' ? QChar(u']') : c;
            for (++i; i < n; ++i) {
                if (sql[i] != close)
                    continue;
                if (i + 1 < n && sql[i + 1] == close)
                    ++i;
                else
                    break;
            }
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n' && sql[i] != u'\r')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 1;
        } else if (c == u';') {
            for (qsizetype j = i + 1; j < n; ++j)
                if (!sql[j].isSpace())
                    return true;
            return false;
        }
    }
    return false;
}

struct BulkInsert::Prepared {
    sqlite3* handle = nullptr;
    SqliteStatement statement;
    std::vector<QString> boundText;      // per column: the text last bound ...
    std::vector<QByteArray> boundUtf8;   // ... and its encoding
};

BulkInsert::BulkInsert(Database& db, const QString& table, const QStringList& columns)
    : m_prepared(std::make_unique<Prepared>())
{
    if (!db.isOpen() || !db.isEmbedded())
        throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("A bulk insert needs the open embedded database"));
    QStringList names;
    for (const QString& column : columns)
        names << u'"' + column + u'"';
    const QString sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                            .arg(table, names.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u','));
    m_prepared->handle = sqliteHandle(db.m_db);
    m_prepared->statement = prepareSqlite(m_prepared->handle, sql);
    m_prepared->boundText.resize(columns.size());
    m_prepared->boundUtf8.resize(columns.size());
}

BulkInsert::~BulkInsert() = default;

void BulkInsert::insert(const std::vector<QVariant>& values)
{
    Prepared& p = *m_prepared;
    sqlite3_stmt* statement = p.statement.get();
    if (values.size() != p.boundText.size())
        throw std::logic_error("a bulk insert row must hold one value per column");
    for (size_t i = 0; i < values.size(); ++i) {
        const QVariant& value = values[i];
        const int position = int(i) + 1;
        int rc;
        if (value.typeId() == QMetaType::QString && !static_cast<const QString*>(value.constData())->isNull()) {
            // The kept copy shares (and so keeps alive) the buffer: same buffer, same text.
            const QString& text = *static_cast<const QString*>(value.constData());
            if (text.constData() != p.boundText[i].constData() || text.size() != p.boundText[i].size()) {
                p.boundText[i] = text;
                p.boundUtf8[i] = text.toUtf8();
            }
            rc = sqlite3_bind_text(statement, position, p.boundUtf8[i].constData(), int(p.boundUtf8[i].size()), SQLITE_STATIC);
        } else if (value.typeId() == QMetaType::QByteArray && !static_cast<const QByteArray*>(value.constData())->isNull()) {
            // Bound in place: `values` outlives the step below.
            const QByteArray& bytes = *static_cast<const QByteArray*>(value.constData());
            rc = sqlite3_bind_blob(statement, position, bytes.constData(), int(bytes.size()), SQLITE_STATIC);
        } else {
            rc = bindSqlite(statement, position, value);
        }
        if (rc != SQLITE_OK)
            throwSqliteError(p.handle, QString::fromUtf8(sqlite3_sql(statement)));
    }
    if (sqlite3_step(statement) != SQLITE_DONE) {
        const QString what = QString::fromUtf8(sqlite3_sql(statement));
        const QString message = QString::fromUtf8(sqlite3_errmsg(p.handle));
        sqlite3_reset(statement);
        throw KestraneError(ErrorNumber::DatabaseError, what + QStringLiteral(": ") + message);
    }
    sqlite3_reset(statement);
}

// An SQLite file reached through the SQLite ODBC driver has no stored procedures of its own; the
// stand-ins serve it as they serve the embedded database.
static bool isSqliteOverOdbc(const QString& connectionString)
{
    for (const QString& part : connectionString.split(u';', Qt::SkipEmptyParts)) {
        const int equals = part.indexOf(u'=');
        if (equals > 0 && part.left(equals).trimmed().compare(QLatin1String("Driver"), Qt::CaseInsensitive) == 0)
            return part.mid(equals + 1).contains(QLatin1String("sqlite"), Qt::CaseInsensitive);
    }
    return false;
}

void Database::registerProcedure(const QString& name, ProcedureStandIn standIn, ProcedureParameters declared)
{
    m_procedures.insert(name.toLower(), {std::move(standIn), std::move(declared)});
}

namespace {

[[noreturn]] void throwUnknownProcedure(const QString& name)
{
    throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("Could not find stored procedure '%1'.").arg(name));
}

}  // namespace

ProcedureParameters Database::procedureParameters(const QString& name) const
{
    const auto procedure = m_procedures.constFind(name.toLower());
    if (procedure == m_procedures.constEnd())
        throwUnknownProcedure(name);
    ProcedureParameters parameters{{QStringLiteral("@RETURN_VALUE"), {}, true, true}};
    for (const ProcedureParameter& declared : procedure->declared)
        parameters << ProcedureParameter{declared.name, {}, declared.output};
    return parameters;
}

void Database::callProcedure(const QString& name, ProcedureParameters& parameters)
{
    if (m_embedded || isSqliteOverOdbc(m_db.databaseName())) {
        const auto procedure = m_procedures.constFind(name.toLower());
        if (procedure == m_procedures.constEnd())
            throwUnknownProcedure(name);
        procedure->standIn(*this, parameters);
        for (ProcedureParameter& parameter : parameters)
            if (parameter.returnValue)
                parameter.value = 0;
        return;
    }
    // On the server: the ODBC call escape with one marker per parameter.
    // A return value, first in the list, is the escape's leading marker.
    const bool returns = !parameters.isEmpty() && parameters.front().returnValue;
    QStringList markers;
    for (int i = returns ? 1 : 0; i < parameters.size(); ++i)
        markers << QStringLiteral("?");
    ++m_statementCount;
    QSqlQuery query(m_db);
    if (!query.prepare(QStringLiteral("{%1CALL %2(%3)}")
                           .arg(returns ? QStringLiteral("? = ") : QString(), name, markers.join(u','))))
        throwOdbcError(name, query.lastError());
    for (int i = 0; i < parameters.size(); ++i)
        query.bindValue(i, parameters[i].value,
                        parameters[i].returnValue ? QSql::Out : parameters[i].output ? QSql::InOut : QSql::In);
    if (!query.exec())
        throwOdbcError(name, query.lastError());
    for (int i = 0; i < parameters.size(); ++i)
        if (parameters[i].output)
            parameters[i].value = query.boundValue(i);
}
