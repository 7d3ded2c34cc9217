#pragma once
// A client-side snapshot of a query, with the cursor operations the tool relies on: MoveFirst /
// MoveNext / EOF, Find and Filter on criteria (see Criterion), an optional hash index on one
// column (the "Optimize" index), and edits written back with optimistic concurrency: a row
// that was changed underneath since it was read is reported, never overwritten.
#include "core/Criterion.h"
#include "core/LruCache.h"
#include "core/RowTable.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>

class Database;

enum class CursorLocation { Server, Client };
enum class LockType { ReadOnly, Optimistic };
// Whether update() writes a field set to the value it already holds. Rows of the start-up
// directory lists are written all the same (the default): their optimistic check is what tells
// that another program changed the row since start-up. Rows read inside the object's own
// transaction have nothing such to tell, and are left unwritten when nothing else changed.
enum class EqualValueWrites { Written, Skipped };

class Recordset {
public:
    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Setting the cursor location of an open recordset raises error 3705.
    void setCursorLocation(CursorLocation location);
    CursorLocation cursorLocation() const { return m_cursorLocation; }

    // Runs the query and keeps its rows; throws KestraneError when it fails (nothing stays open).
    // Writes go to the first table or view named after FROM. A statement opened again keeps
    // what was worked out about its fields and writes the first time; only its rows are read.
    void open(const QString& sql, Database& db, LockType lock = LockType::ReadOnly,
              const QVariantList& bindValues = {});
    void close();   // closing a closed recordset does nothing
    bool isOpen() const { return m_open; }
    const QString& source() const { return m_sql; }

    // Cursor. Rows hidden by a filter are skipped by every operation.
    int recordCount() const;
    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    int absolutePosition() const { return m_position; }   // 0-based among the visible rows

    // Fields of the current row, by name without regard to case.
    int fieldCount() const { return m_fields.size(); }
    QString fieldName(int index) const { return m_fields.value(index); }
    int fieldIndex(const QString& name) const;   // -1 when absent
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    QVariant value(const QString& field) const;  // throws at EOF/BOF or for an unknown field
    QVariant value(int fieldIndex) const;

    // Moves to the first row at or after the current one (skipRows further on) matching the
    // criterion, searching forward or backward; EOF (or BOF backward) when none matches.
    bool find(const QString& criterion, int skipRows = 0, bool forward = true);
    // The value of `field` in the first row matching the criterion, found without moving the
    // cursor or dropping a pending edit of the current row; nothing when no row matches.
    std::optional<QVariant> lookUp(const QString& criterion, const QString& field) const;
    // Shows only the rows matching the criterion; an empty text clears the filter.
    void setFilter(const QString& criterion);
    const QString& filter() const { return m_filterText; }

    // The "Optimize" index: Find with a single equality on this field uses a hash look-up.
    void setOptimize(const QString& field, bool on = true);

    // Edits of the current row (or of a row started with addNew) are kept until update().
    void setValue(const QString& field, const QVariant& value);
    void addNew();
    // The columns that identify a row for writing. By default the object ID named after the
    // view ("vw_Subscriber": SubscriberObjectID); rows without one by the table's primary key or
    // unique index, and rows of a target with neither by all their columns.
    void setKeyColumns(const QStringList& columns);
    // Kept across close() and open().
    void setEqualValueWrites(EqualValueWrites writes) { m_equalValueWrites = writes; }

    // Writes the pending edit. Throws KestraneError: RowChangedUnderneath when the row in the
    // database no longer holds the values read (nothing is written), or the database's error.
    void update();
    void cancelUpdate();
    bool editPending() const { return m_edit.has_value(); }
    // Deletes the current row in the database (same concurrency check) and from the snapshot.
    void deleteCurrent();

    // Change journal. The snapshot is not part of the database's transaction: while a journal
    // is kept, every row that update(), addNew() + update() or deleteCurrent() changes in the
    // snapshot is remembered, so that a rolled-back transaction can put the rows back as they
    // were when the journal began. open() and close() drop the journal.
    void beginJournal();
    void keepJournalledChanges();   // ends the journal, rows stay as they are
    void restoreJournalledRows();   // puts every remembered row back and ends the journal

private:
    using Row = QVector<QVariant>;
    // The table's row is not changed while an edit is pending: the edit keeps the values set
    // (a new row: all its values) and reads the others from the row.
    struct PendingEdit {
        bool isNew = false;
        int row = -1;   // the row edited
        Row values;
        QVector<bool> changed;
    };
    // What the write of an edit compares and binds: the row as read, in the columns the write
    // reads (all of them for a row without a key); the same columns filled in `edit`.
    Row originalForWrite(PendingEdit& edit) const;

    void requireOpen() const;
    // The position of the first row from `start` on (or back from it) matching the criterion:
    // recordCount() (or -1 backward) when none does.
    int matchingPosition(const Criterion& criterion, int start, bool forward) const;
    // The criterion's fields as columns (-1: not a field here), resolved once per search.
    QVector<int> columnsOf(const Criterion& criterion) const;
    bool matchesRow(const Criterion& criterion, const QVector<int>& columns, int row) const;
    void requireCurrent() const;
    void requireWritable() const;
    int rowAt(int position) const { return m_filtered ? m_visible[position] : position; }
    void rebuildIndex();
    // How a write finds the row as it was read: by its key and the columns being changed
    // (`changed` null: the key alone), or by all its columns when it has no key; on the embedded
    // database a row of a table without a key also by the rowid carried with it. Most of these
    // values go into the WHERE text; those the database may not give back exactly as it stores
    // them (see comparedAfterReading) are compared with the row as read again before the write.
    // The texts depend only on which columns are compared how, so they are kept per statement.
    struct RowWrite {
        QString statement;          // UPDATE ... SET ... WHERE ... (or DELETE), ready to run
        QString readAgainQuery;     // per row the WHERE matches: its compared-after-reading columns
        QVector<int> setFields;     // bound first: the new values of these fields
        QVector<int> whereFields;   // then the values as read of these
        QVector<int> readAgain;     // fields compared after reading the row again
        bool singleRow = false;     // the WHERE can match no more than one row
    };
    const RowWrite& rowWrite(const Row& row, const QVector<bool>* changed) const;
    RowWrite buildRowWrite(const QByteArray& pattern) const;
    // Over ODBC a date-time or floating-point value read through the driver need not compare
    // equal to the stored value when bound again (a text of another form, a rounded fraction of
    // a second); read again through the same driver it is always the same value.
    bool comparedAfterReading(const QVariant& value) const;
    // The key of the rows: the columns set by setKeyColumns, else the target's object ID, else
    // the key the target table has; empty when none of them is among the fields. An object ID
    // or the table's own key tells one row from every other.
    struct RowKey {
        QVector<int> fields;
        bool unique = false;
    };
    const RowKey& rowKey() const;
    QVector<int> fieldsNamed(const QStringList& names) const;   // empty when one is missing
    const QVector<bool>& fieldsOfTarget() const;
    // Runs `write` with the new `values` on the row in the state `original`, and only when
    // exactly one row matches; otherwise throws RowChangedUnderneath and leaves the database as
    // it was.
    void writeSingleRow(const RowWrite& write, const Row& values, const Row& original) const;
    // After a write over ODBC: the values of `row` that the database may store otherwise than
    // bound (see comparedAfterReading) as it gives them back, so that the next write of the row
    // compares with what is stored.
    void readBackStoredValues(Row& row, const QVector<bool>& changed, QVector<bool>& readBack) const;

    // What is worked out once per statement: its fields, the table it writes and how.
    struct Shape {
        QString sql;
        quint64 connection = 0;            // Database::connectionSerial() of the database it was read from
        QString readQuery;                 // the statement as run: with the rowid where it is carried
        QStringList fields;
        QHash<QString, int> fieldIndex;        // case-folded name -> index
        QHash<QString, int> exactFieldIndex;   // name as the query gives it -> index
        QString writeTarget;               // table or view after FROM
        bool writesTable = false;          // the target is a table of the embedded database
        int rowIdField = -1;               // the hidden last column holding the rowid, or -1
        std::optional<QVector<bool>> fieldsOfTarget;   // per field: a column of the target
        std::optional<RowKey> key;                     // resolved on the first write
        QStringList keyColumns;                        // the recordset's key columns it was resolved with
        QHash<QByteArray, RowWrite> writes;            // by how each column is compared
    };
    // Makes m_shape the shape of `sql` on `db`, kept from an earlier open or new.
    void takeShape(const QString& sql, Database& db);
    void keepShape();   // hands m_shape to the kept shapes

    Database* m_db = nullptr;
    CursorLocation m_cursorLocation = CursorLocation::Server;
    LockType m_lock = LockType::ReadOnly;
    EqualValueWrites m_equalValueWrites = EqualValueWrites::Written;
    bool m_open = false;
    QString m_sql;
    QStringList m_keyColumns;
    std::unique_ptr<Shape> m_shape;        // of the statement opened last
    // The shapes of statements opened before, by any recordset: a recordset made for one object
    // reads what an earlier one worked out.
    static LruCache<QString, std::unique_ptr<Shape>>& keptShapes();
    QStringList m_fields;                  // the shape's, visible fields only
    RowTable m_rows;

    bool m_filtered = false;
    QString m_filterText;
    QVector<int> m_visible;                // row indices shown through the filter
    int m_position = 0;                    // among visible rows; == count means EOF, -1 BOF

    // The "Optimize" index without a list per key: per key (Criterion::indexKey) its first row
    // plus one, and per row the next row of its key (-1 after the last), in ascending order.
    int m_indexedField = -1;
    QHash<QString, int> m_indexFirst;
    QVector<int> m_indexNext;
    void clearIndex();
    void addToIndex(int row, const QVariant& value);   // `row` after every row indexed
    int firstIndexed(const QString& key) const;

    std::optional<PendingEdit> m_edit;

    struct JournalEntry {
        enum Kind { Changed, Added, Removed } kind;
        int row;
        RowTable::Cells before;   // the row before a change or a deletion
    };
    void remember(JournalEntry::Kind kind, int row);
    std::optional<QVector<JournalEntry>> m_journal;
};

// Clears the filter a step sets on a directory list, however the step ends.
class FilterGuard {
public:
    explicit FilterGuard(Recordset& list) : m_list(list) {}
    ~FilterGuard()
    {
        if (m_list.isOpen())
            m_list.setFilter(QString());   // an empty filter text cannot fail on an open list
    }
    FilterGuard(const FilterGuard&) = delete;
    FilterGuard& operator=(const FilterGuard&) = delete;

private:
    Recordset& m_list;
};
