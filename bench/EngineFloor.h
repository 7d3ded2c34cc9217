#pragma once
// What the engine benches share: a floor on the SQLite C API (a connection set up as
// Database::open sets one up, statements prepared once and bound, a log written once per object)
// and the check that floor and engine leave the same rows and log the same lines.
#include "bench/BenchInstallations.h"
#include "core/DirectoryLists.h"
#include "core/Recordset.h"
#include "core/RunFrame.h"
#include "core/RunLog.h"
#include "core/WizardState.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

[[noreturn]] inline void failFloor(sqlite3* db, const QByteArray& what)
{
    throw std::runtime_error("floor: " + what.toStdString() + ": " + sqlite3_errmsg(db));
}

// A connection set up as Database::open sets up the engine's; statements prepared once.
class FloorConnection {
public:
    // The statements the floors have run (each use of a prepared one, each run text), counted as
    // Database::statementCount counts the engine's.
    static inline qint64 statementCount = 0;

    explicit FloorConnection(const QString& file)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            failFloor(m_db, "open " + file.toUtf8());
        for (const char* pragma : {"PRAGMA busy_timeout = 5000", "PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
                                   "PRAGMA foreign_keys = ON", "PRAGMA mmap_size = 4294967296", "PRAGMA cache_size = -65536"})
            if (sqlite3_exec(m_db, pragma, nullptr, nullptr, nullptr) != SQLITE_OK)
                failFloor(m_db, pragma);
    }
    ~FloorConnection()
    {
        for (sqlite3_stmt* statement : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }
    FloorConnection(const FloorConnection&) = delete;
    FloorConnection& operator=(const FloorConnection&) = delete;

    void run(const char* sql)
    {
        ++statementCount;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            failFloor(m_db, sql);
    }
    sqlite3_stmt* prepare(const QByteArray& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
            != SQLITE_OK)
            failFloor(m_db, sql);
        m_statements.push_back(statement);
        return statement;
    }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    std::vector<sqlite3_stmt*> m_statements;
};

// One use of a prepared statement: its values bound in order, its rows stepped, reset at the end.
class Use {
public:
    Use(sqlite3* db, sqlite3_stmt* statement) : m_db(db), m_statement(statement) { ++FloorConnection::statementCount; }
    ~Use() { sqlite3_reset(m_statement); }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    Use& text(const QByteArray& value)   // a null value binds NULL
    {
        const int rc = value.isNull() ? sqlite3_bind_null(m_statement, ++m_bound)
                                      : sqlite3_bind_text(m_statement, ++m_bound, value.constData(), int(value.size()),
                                                          SQLITE_TRANSIENT);
        return check(rc);
    }
    Use& integer(qint64 value) { return check(sqlite3_bind_int64(m_statement, ++m_bound, value)); }
    bool next()
    {
        const int rc = sqlite3_step(m_statement);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            failFloor(m_db, sqlite3_sql(m_statement));
        return rc == SQLITE_ROW;
    }
    // Runs a statement without rows; the count of rows it changed.
    int done()
    {
        while (next()) {
        }
        return sqlite3_changes(m_db);
    }
    QByteArray textAt(int index) const   // NULL gives a null array
    {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
        return data ? QByteArray(data, sqlite3_column_bytes(m_statement, index)) : QByteArray();
    }
    qint64 integerAt(int index) const { return sqlite3_column_int64(m_statement, index); }
    bool isNullAt(int index) const { return sqlite3_column_type(m_statement, index) == SQLITE_NULL; }

private:
    Use& check(int rc)
    {
        if (rc != SQLITE_OK)
            failFloor(m_db, "bind");
        return *this;
    }
    sqlite3* m_db;
    sqlite3_stmt* m_statement;
    int m_bound = 0;
};

// The floor's run log: each object's lines in one write, flushed, as the engine's frame writes.
class FloorLog {
public:
    explicit FloorLog(const QString& path) : m_file(std::fopen(QFile::encodeName(path).constData(), "wb"), std::fclose)
    {
        if (!m_file)
            throw std::runtime_error("floor: cannot create its log");
    }
    void write(const QByteArray& bytes)
    {
        if (std::fwrite(bytes.constData(), 1, bytes.size(), m_file.get()) != size_t(bytes.size())
            || std::fflush(m_file.get()) != 0)
            throw std::runtime_error("floor: cannot write its log");
    }

private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file;
};

// What one engine bench compares after a run: the tables it writes (a column named `timeStamp`
// compares only as set or not) and its log, from the line `firstLine` on, up to `closingLine`
// when the engine writes one.
struct FloorComparison {
    QList<const char*> tables;
    QByteArray timeStamp;
    QByteArray firstLine;
    QByteArray closingLine;
    QString objects;   // what the sizes count ("subscribers", "handlers")
};

// Where the rows of the installations at `engineFile` and `floorFile` differ, one line per
// column, naming the first differing row by its place and its first two columns.
inline QStringList rowDifferences(const QString& engineFile, const QString& floorFile, const FloorComparison& comparison)
{
    struct Column {
        int rows = 0;
        QString example;
    };
    const auto shown = [](const QByteArray& value) {
        return value.isNull() ? QStringLiteral("NULL") : QString::fromUtf8(value);
    };
    QMap<QString, Column> differing;
    QStringList lines;
    FloorConnection engine(engineFile);
    FloorConnection floor(floorFile);
    for (const char* table : comparison.tables) {
        const QByteArray sql = QByteArray("SELECT * FROM ") + table + " ORDER BY rowid";
        sqlite3_stmt* e = engine.prepare(sql);
        sqlite3_stmt* f = floor.prepare(sql);
        Use a(engine.handle(), e);
        Use b(floor.handle(), f);
        for (qint64 row = 0;; ++row) {
            const bool more = a.next();
            if (more != b.next()) {
                lines << QStringLiteral("%1: the runs leave different numbers of rows (from row %2 on)").arg(table).arg(row);
                break;
            }
            if (!more)
                break;
            for (int column = 0; column < sqlite3_column_count(e); ++column) {
                const QByteArray name = sqlite3_column_name(e, column);
                const QByteArray engineValue = a.textAt(column);
                const QByteArray floorValue = b.textAt(column);
                const bool same = name.compare(comparison.timeStamp, Qt::CaseInsensitive) == 0
                                      ? engineValue.isNull() == floorValue.isNull()
                                      : engineValue == floorValue && engineValue.isNull() == floorValue.isNull()
                                            && sqlite3_column_type(e, column) == sqlite3_column_type(f, column);
                if (same)
                    continue;
                Column& differs = differing[QString::fromLatin1(table) + u'.' + QString::fromUtf8(name)];
                if (differs.rows++ == 0)
                    differs.example = QStringLiteral("row %1 (%2=%3, %4=%5): engine '%6', floor '%7'")
                                          .arg(row)
                                          .arg(QString::fromUtf8(sqlite3_column_name(e, 0)), shown(a.textAt(0)),
                                               QString::fromUtf8(sqlite3_column_name(e, 1)), shown(a.textAt(1)),
                                               shown(engineValue), shown(floorValue));
            }
        }
    }
    for (auto column = differing.cbegin(); column != differing.cend(); ++column)
        lines << QStringLiteral("%1 differs in %2 rows, first %3").arg(column.key()).arg(column->rows).arg(column->example);
    return lines;
}

// A checked grid row (alias, object ID in `objectIDColumn`) for every record of `list`.
inline QList<SelectionGridRow> everyRecordChecked(Recordset& list, const QString& objectIDColumn)
{
    QList<SelectionGridRow> rows;
    for (list.moveFirst(); !list.eof(); list.moveNext())
        rows << SelectionGridRow{true, list.value(QStringLiteral("Alias")).toString(), list.value(objectIDColumn).toString()};
    return rows;
}

struct EngineTiming {
    qint64 engineMs = 0;
    qint64 floorMs = 0;
    qint64 engineStatements = 0;   // Database::statementCount over the run
    qint64 floorStatements = 0;
    qint32 processed = 0;
    int errors = 0;
    int warnings = 0;
    QString engineLog;
    // The run's own peak resident memory (the peak reset before it), and what was resident at
    // its start; -1 when the peak cannot be reset. What the run added of pages mapped from files.
    long peakMiB = -1;
    long startMiB = -1;
    long fileMappedMiB = 0;
};

// Times one run of `Engine` (constructed from the session, a new log and `engineArguments`) over
// `rows`, with its log written in `folder`.
template <typename Engine, typename... EngineArguments>
EngineTiming timeEngineRun(Session& session, const QString& folder, const QList<SelectionGridRow>& rows,
                           const EngineArguments&... engineArguments)
{
    RunLog log(folder, {});
    Engine engine(session, log, engineArguments...);
    RunFrame frame(session, log);
    QElapsedTimer timer;
    timer.start();
    EngineTiming timing;
    timing.engineLog = log.startNewLog({});
    session.database.resetStatementCount();
    QString resetError;
    const bool peakReset = resetPeakMemory(&resetError);
    timing.startMiB = peakReset ? peakMemoryMiB() : -1;
    const long fileMappedAtStart = residentFileMiB();
    engine.run(rows, frame);
    timing.engineMs = timer.elapsed();
    timing.peakMiB = peakReset ? peakMemoryMiB() : -1;
    timing.fileMappedMiB = residentFileMiB() - fileMappedAtStart;
    timing.engineStatements = session.database.statementCount();
    timing.processed = engine.processedCount();
    timing.errors = log.LogErrorCount();
    timing.warnings = log.LogWarningCount();
    log.Close();
    return timing;
}

inline double perObject(qint64 count, qsizetype objects)
{
    return double(count) / std::max<qsizetype>(objects, 1);
}

inline void reportTiming(QTextStream& out, const QString& what, qsizetype rows, const QString& objects,
                         const EngineTiming& timing)
{
    out << QString("%1 %2, %3 (%4 processed, %5 errors, %6 warnings): engine %7 ms (%8 ms per 1,000), "
                   "floor %9 ms, ratio %10; statements per object: engine %11, floor %12, ratio %13; "
                   "peak memory of the run %14 MiB (%15 MiB above its start; %16 MiB more mapped from files)")
               .arg(rows).arg(objects, what).arg(timing.processed).arg(timing.errors).arg(timing.warnings)
               .arg(timing.engineMs).arg(timing.engineMs * 1000.0 / std::max<qsizetype>(rows, 1), 0, 'f', 0)
               .arg(timing.floorMs)
               .arg(timing.floorMs > 0 ? double(timing.engineMs) / timing.floorMs : 0.0, 0, 'f', 2)
               .arg(perObject(timing.engineStatements, rows), 0, 'f', 1)
               .arg(perObject(timing.floorStatements, rows), 0, 'f', 1)
               .arg(timing.floorStatements > 0 ? double(timing.engineStatements) / timing.floorStatements : 0.0, 0, 'f', 2)
               .arg(timing.peakMiB).arg(timing.peakMiB - timing.startMiB).arg(timing.fileMappedMiB)
        << Qt::endl;
}

// The engine's run over ODBC (no floor there): its time and statements per object, the latter
// also against the floor's count on the embedded database.
inline void reportOdbcTiming(QTextStream& out, const QString& what, qsizetype rows, const QString& objects,
                             const EngineTiming& timing, qint64 embeddedFloorStatements)
{
    out << QString("%1 %2, %3 over ODBC (%4 processed, %5 errors, %6 warnings): engine %7 ms (%8 ms per 1,000); "
                   "statements per object: engine %9, against the embedded floor's %10: ratio %11; "
                   "peak memory of the run %12 MiB (%13 MiB above its start; %14 MiB more mapped from files)")
               .arg(rows).arg(objects, what).arg(timing.processed).arg(timing.errors).arg(timing.warnings)
               .arg(timing.engineMs).arg(timing.engineMs * 1000.0 / std::max<qsizetype>(rows, 1), 0, 'f', 0)
               .arg(perObject(timing.engineStatements, rows), 0, 'f', 1)
               .arg(perObject(embeddedFloorStatements, rows), 0, 'f', 1)
               .arg(embeddedFloorStatements > 0 ? double(timing.engineStatements) / embeddedFloorStatements : 0.0, 0, 'f', 2)
               .arg(timing.peakMiB).arg(timing.peakMiB - timing.startMiB).arg(timing.fileMappedMiB)
        << Qt::endl;
}

// The same run once more over ODBC, on a new installation of `subscribers` subscribers and
// `handlers` handlers in a folder of its own, with every object of `everyObject` checked;
// reported against the floor's statements on the embedded database. False when the installation
// could not be opened over ODBC (the reason is written to `out`).
template <typename Engine, typename... EngineArguments>
bool timeEngineRunOverOdbc(QTextStream& out, const QString& what, qsizetype rows, const QString& objects,
                           qint64 embeddedFloorStatements, int subscribers, int handlers,
                           QList<SelectionGridRow> (*everyObject)(Session&), const EngineArguments&... engineArguments)
{
    QTemporaryDir odbcDir;
    const std::unique_ptr<Session> overOdbc = openBenchSessionOverOdbc(odbcDir.path(), subscribers, out, handlers);
    if (!overOdbc)
        return false;
    const EngineTiming odbc = timeEngineRun<Engine>(*overOdbc, odbcDir.path(), everyObject(*overOdbc), engineArguments...);
    reportOdbcTiming(out, what, rows, objects, odbc, embeddedFloorStatements);
    CloseServerRecordsets(*overOdbc);
    return true;
}

// Times `floorRun`, reports engine, floor and ratio, then compares the rows both installations
// hold and the lines both logs hold. False, with every difference written to `out`, when the
// floor failed or the two differ.
inline bool runFloorAndCompare(QTextStream& out, const QString& what, qsizetype rows, EngineTiming& timing,
                               const QString& engineFile, const QString& floorFile, const QString& floorLog,
                               const FloorComparison& comparison, const std::function<void()>& floorRun)
{
    QElapsedTimer timer;
    timer.start();
    FloorConnection::statementCount = 0;
    try {
        floorRun();
    } catch (const std::exception& failure) {
        out << what << ": " << failure.what() << Qt::endl;
        return false;
    }
    timing.floorMs = timer.elapsed();
    timing.floorStatements = FloorConnection::statementCount;
    reportTiming(out, what, rows, comparison.objects, timing);

    QStringList tables;
    for (const char* table : comparison.tables)
        tables << QString::fromLatin1(table);
    const QStringList differences = rowDifferences(engineFile, floorFile, comparison);
    if (differences.isEmpty())
        out << what << ": floor and engine leave the same rows (" << tables.join(QStringLiteral(", "))
            << (comparison.timeStamp.isEmpty() ? QString() : QStringLiteral("; %1 compared as set").arg(comparison.timeStamp))
            << ")" << Qt::endl;
    for (const QString& difference : differences)
        out << what << ": ROWS DIFFER: " << difference << Qt::endl;

    QFile engineLog(timing.engineLog);
    QFile floorLines(floorLog);
    const bool read = engineLog.open(QIODevice::ReadOnly) && floorLines.open(QIODevice::ReadOnly);
    const QByteArray floorBytes = read ? floorLines.readAll() : QByteArray();
    QByteArray engineBytes = read ? engineLog.readAll() : QByteArray();
    engineBytes = engineBytes.mid(engineBytes.indexOf(comparison.firstLine));
    if (!comparison.closingLine.isEmpty())
        engineBytes.truncate(engineBytes.lastIndexOf(comparison.closingLine));
    const bool sameLines = read && engineBytes == floorBytes;
    out << what << ": floor log " << floorBytes.size() << " bytes, "
        << (sameLines ? "equals the engine's lines" : "NOT the engine's lines") << Qt::endl;
    if (!sameLines) {
        const QList<QByteArray> engineLines = engineBytes.split('\n');
        const QList<QByteArray> floorLineList = floorBytes.split('\n');
        qsizetype line = 0;
        while (line < engineLines.size() && line < floorLineList.size() && engineLines[line] == floorLineList[line])
            ++line;
        out << what << ": LOGS DIFFER, first at line " << line + 1 << ": engine '" << engineLines.value(line).trimmed()
            << "', floor '" << floorLineList.value(line).trimmed() << "'" << Qt::endl;
    }
    return differences.isEmpty() && sameLines;
}
