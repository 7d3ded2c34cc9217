#include "core/Recordset.h"
#include "core/Database.h"
#include "core/Errors.h"
#include "core/WholeNumbers.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

QString sqlName(const QString& field)
{
    return u'[' + field + u']';
}

// The first table or view after FROM: where edits are written.
QString writeTargetOf(const QString& sql)
{
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+(\[[^\]]+\]|[\w.]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = from.match(sql);
    return match.hasMatch() ? match.captured(1) : QString();
}

[[noreturn]] void fail(long number, const QString& description)
{
    throw KestraneError(number, description);
}

}  // namespace

void Recordset::setCursorLocation(CursorLocation location)
{
    if (m_open)
        fail(ErrorNumber::OperationNotAllowedWhenOpen, QStringLiteral("Operation is not allowed when the object is open."));
    m_cursorLocation = location;
}

Recordset::~Recordset()
{
    keepShape();
}

LruCache<QString, std::unique_ptr<Recordset::Shape>>& Recordset::keptShapes()
{
    // Never destroyed: a recordset destroyed at exit, after this thread's objects, still hands
    // its shape back.
    thread_local auto* shapes = new LruCache<QString, std::unique_ptr<Shape>>(64);
    return *shapes;
}

void Recordset::keepShape()
{
    if (!m_shape)
        return;
    const QString sql = m_shape->sql;
    keptShapes().put(sql, std::move(m_shape));
}

void Recordset::takeShape(const QString& sql, Database& db)
{
    if (m_shape && m_shape->sql == sql && m_shape->connection == db.connectionSerial())
        return;
    keepShape();
    std::optional<std::unique_ptr<Shape>> kept = keptShapes().take(sql);
    if (kept && (*kept)->connection == db.connectionSerial()) {
        m_shape = std::move(*kept);
        if (m_shape->keyColumns != m_keyColumns) {
            m_shape->key.reset();
            m_shape->writes.clear();
            m_shape->keyColumns = m_keyColumns;
        }
        return;
    }
    m_shape = std::make_unique<Shape>();
    m_shape->sql = sql;
    m_shape->connection = db.connectionSerial();
    m_shape->keyColumns = m_keyColumns;
    m_shape->writeTarget = writeTargetOf(sql);
    m_shape->writesTable = db.isEmbedded() && !m_shape->writeTarget.isEmpty() && db.isTable(m_shape->writeTarget);
    m_shape->readQuery = sql;
    // A table without a key of its own is written by the rowid read with each row, so that a
    // write is known to reach one row at most.
    static const QRegularExpression selectAll(QStringLiteral(R"(^\s*select\s+\*)"), QRegularExpression::CaseInsensitiveOption);
    const auto all = selectAll.match(sql);
    if (m_shape->writesTable && all.hasMatch() && db.uniqueKeyOf(m_shape->writeTarget).isEmpty())
        m_shape->readQuery = sql.left(all.capturedEnd()) + QStringLiteral(", ") + m_shape->writeTarget
                             + QStringLiteral(".rowid") + sql.mid(all.capturedEnd());
}

void Recordset::open(const QString& sql, Database& db, LockType lock, const QVariantList& bindValues)
{
    if (m_open)
        fail(ErrorNumber::OperationNotAllowedWhenOpen, QStringLiteral("Operation is not allowed when the object is open."));
    takeShape(sql, db);
    Shape& shape = *m_shape;
    RowTable rows;
    bool readsRowId = shape.readQuery.size() != sql.size();
    try {
        db.select(shape.readQuery, bindValues, rows);
    } catch (const KestraneError&) {
        if (!readsRowId)
            throw;
        // The target is named under another name in the statement: its rows go without the rowid.
        shape.readQuery = sql;
        shape.fields.clear();
        readsRowId = false;
        db.select(sql, bindValues, rows);
    }
    QStringList fields = rows.fields();
    if (readsRowId)
        fields.removeLast();
    if (fields != shape.fields) {
        // Opened for the first time, or the target's columns changed since.
        shape.fields = fields;
        shape.fieldIndex.clear();
        shape.exactFieldIndex.clear();
        for (int i = 0; i < fields.size(); ++i) {
            shape.fieldIndex.insert(fields[i].toCaseFolded(), i);
            shape.exactFieldIndex.insert(fields[i], i);
        }
        shape.rowIdField = readsRowId ? int(fields.size()) : -1;
        shape.fieldsOfTarget.reset();
        shape.key.reset();
        shape.writes.clear();
    }

    m_db = &db;
    m_lock = lock;
    m_sql = sql;
    m_fields = shape.fields;
    m_rows = std::move(rows);
    m_filtered = false;
    m_filterText.clear();
    m_visible.clear();
    m_indexedField = -1;
    clearIndex();
    m_edit.reset();
    m_journal.reset();
    m_position = 0;
    m_open = true;
}

void Recordset::close()
{
    m_open = false;
    m_db = nullptr;
    m_rows.clear();
    m_fields.clear();
    m_visible.clear();
    clearIndex();
    m_indexedField = -1;
    m_filtered = false;
    m_filterText.clear();
    m_edit.reset();
    m_journal.reset();
    m_position = 0;
}

void Recordset::requireOpen() const
{
    if (!m_open)
        fail(ErrorNumber::OperationNotAllowedWhenClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (bof() || eof())
        fail(ErrorNumber::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                  "Requested operation requires a current record."));
}

void Recordset::requireWritable() const
{
    requireOpen();
    if (m_lock == LockType::ReadOnly)
        fail(ErrorNumber::UpdateNotSupported, QStringLiteral("Current Recordset does not support updating. "
                                  "This may be a limitation of the provider, or of the selected locktype."));
    if (m_shape->writeTarget.isEmpty())
        fail(ErrorNumber::UpdateNotSupported, QStringLiteral("The recordset's query names no table to update."));
}

int Recordset::recordCount() const
{
    if (!m_open)
        return -1;
    return m_filtered ? m_visible.size() : m_rows.rowCount();
}

bool Recordset::eof() const
{
    return !m_open || m_position >= recordCount();
}

bool Recordset::bof() const
{
    return !m_open || m_position < 0 || recordCount() == 0;
}

void Recordset::moveFirst()
{
    requireOpen();
    m_edit.reset();
    m_position = 0;
}

void Recordset::moveLast()
{
    requireOpen();
    m_edit.reset();
    m_position = std::max(0, recordCount() - 1);
}

void Recordset::moveNext()
{
    requireOpen();
    if (eof())
        fail(ErrorNumber::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                  "Requested operation requires a current record."));
    m_edit.reset();
    ++m_position;
}

void Recordset::movePrevious()
{
    requireOpen();
    if (m_position < 0)
        fail(ErrorNumber::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                  "Requested operation requires a current record."));
    m_edit.reset();
    --m_position;
}

int Recordset::fieldIndex(const QString& name) const
{
    if (!m_open)
        return -1;
    // Callers spell a field the same way for every object: a spelling found by case folding is
    // kept among the exact names, so that it is folded once per statement.
    const auto exact = m_shape->exactFieldIndex.constFind(name);
    if (exact != m_shape->exactFieldIndex.constEnd())
        return *exact;
    const int index = m_shape->fieldIndex.value(name.toCaseFolded(), -1);
    if (index >= 0)
        m_shape->exactFieldIndex.insert(name, index);
    return index;
}

QVariant Recordset::value(const QString& field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        fail(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)").arg(field));
    return value(index);
}

QVariant Recordset::value(int index) const
{
    if (m_edit && index >= 0 && index < m_fields.size())
        return m_edit->isNew || m_edit->changed[index] ? m_edit->values[index] : m_rows.value(m_edit->row, index);
    requireCurrent();
    if (index < 0 || index >= m_fields.size())
        fail(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
    return m_rows.value(rowAt(m_position), index);
}

bool Recordset::find(const QString& criterionText, int skipRows, bool forward)
{
    requireOpen();
    const Criterion criterion = Criterion::parse(criterionText);
    m_edit.reset();
    const int count = recordCount();
    const int start = std::clamp(m_position, -1, count) + (forward ? skipRows : -skipRows);
    m_position = matchingPosition(criterion, start, forward);
    return m_position >= 0 && m_position < count;
}

std::optional<QVariant> Recordset::lookUp(const QString& criterionText, const QString& field) const
{
    requireOpen();
    const int index = fieldIndex(field);
    if (index < 0)
        fail(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)").arg(field));
    const int position = matchingPosition(Criterion::parse(criterionText), 0, true);
    if (position >= recordCount())
        return std::nullopt;
    return m_rows.value(rowAt(position), index);
}

int Recordset::matchingPosition(const Criterion& criterion, int start, bool forward) const
{
    const int count = recordCount();
    if (!m_filtered && criterion.isSingleEquality()
        && fieldIndex(criterion.equalityField()) == m_indexedField && m_indexedField >= 0) {
        const int from = forward ? std::max(start, 0) : std::min(start, count - 1);
        int before = -1;
        for (int row = firstIndexed(criterion.equalityIndexKey()); row >= 0; row = m_indexNext[row]) {
            if (forward && row >= from)
                return row;
            if (!forward && row > from)
                break;
            before = row;
        }
        return forward ? count : before;
    }

    const QVector<int> columns = columnsOf(criterion);
    const auto rowMatches = [&](int position) { return matchesRow(criterion, columns, rowAt(position)); };
    if (forward) {
        for (int position = std::max(start, 0); position < count; ++position)
            if (rowMatches(position))
                return position;
        return count;
    }
    for (int position = std::min(start, count - 1); position >= 0; --position)
        if (rowMatches(position))
            return position;
    return -1;
}

QVector<int> Recordset::columnsOf(const Criterion& criterion) const
{
    QVector<int> columns;
    for (const QString& field : criterion.fields())
        columns << fieldIndex(field);
    return columns;
}

bool Recordset::matchesRow(const Criterion& criterion, const QVector<int>& columns, int row) const
{
    return criterion.matches([&](int field) {
        const int index = columns[field];
        return index < 0 ? QVariant() : m_rows.value(row, index);
    });
}

void Recordset::setFilter(const QString& criterionText)
{
    requireOpen();
    m_edit.reset();
    if (criterionText.trimmed().isEmpty()) {
        m_filtered = false;
        m_filterText.clear();
        m_visible.clear();
    } else {
        const Criterion criterion = Criterion::parse(criterionText);
        QVector<int> visible;
        if (criterion.isSingleEquality() && m_indexedField >= 0 && fieldIndex(criterion.equalityField()) == m_indexedField) {
            for (int row = firstIndexed(criterion.equalityIndexKey()); row >= 0; row = m_indexNext[row])
                visible.push_back(row);
        } else {
            const QVector<int> columns = columnsOf(criterion);
            for (int row = 0; row < m_rows.rowCount(); ++row)
                if (matchesRow(criterion, columns, row))
                    visible.push_back(row);
        }
        m_visible = std::move(visible);
        m_filtered = true;
        m_filterText = criterionText;
    }
    m_position = 0;
}

void Recordset::setOptimize(const QString& field, bool on)
{
    requireOpen();
    const int index = fieldIndex(field);
    if (index < 0)
        fail(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)").arg(field));
    m_indexedField = on ? index : -1;
    rebuildIndex();
}

void Recordset::clearIndex()
{
    m_indexFirst.clear();
    m_indexNext.clear();
}

void Recordset::rebuildIndex()
{
    clearIndex();
    if (m_indexedField < 0)
        return;
    const int rows = m_rows.rowCount();
    m_indexFirst.reserve(rows);
    // From the last row back, each row goes first in its key's chain: the chains run ascending.
    m_indexNext.resize(rows);
    for (int row = rows - 1; row >= 0; --row) {
        int& first = m_indexFirst[Criterion::indexKey(m_rows.value(row, m_indexedField))];
        m_indexNext[row] = first - 1;
        first = row + 1;
    }
}

void Recordset::addToIndex(int row, const QVariant& value)
{
    m_indexNext.push_back(-1);
    int& first = m_indexFirst[Criterion::indexKey(value)];
    if (first == 0) {
        first = row + 1;
        return;
    }
    int last = first - 1;
    while (m_indexNext[last] >= 0)
        last = m_indexNext[last];
    m_indexNext[last] = row;
}

int Recordset::firstIndexed(const QString& key) const
{
    return m_indexFirst.value(key) - 1;
}

void Recordset::setValue(const QString& field, const QVariant& value)
{
    requireWritable();
    const int index = fieldIndex(field);
    if (index < 0)
        fail(ErrorNumber::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)").arg(field));
    if (!m_edit) {
        requireCurrent();
        const int columns = int(m_rows.fields().size());
        m_edit = PendingEdit{false, rowAt(m_position), Row(columns), QVector<bool>(columns, false)};
    }
    m_edit->values[index] = value;
    m_edit->changed[index] = true;
}

void Recordset::addNew()
{
    requireWritable();
    // A new row's rowid is not known: it is written back by its values, as a row without one.
    m_edit = PendingEdit{true, -1, Row(m_rows.fields().size()), QVector<bool>(m_rows.fields().size(), false)};
}

void Recordset::cancelUpdate()
{
    m_edit.reset();
}

void Recordset::setKeyColumns(const QStringList& columns)
{
    m_keyColumns = columns;
    if (m_shape) {
        m_shape->key.reset();
        m_shape->writes.clear();
        m_shape->keyColumns = columns;
    }
}

QVector<int> Recordset::fieldsNamed(const QStringList& names) const
{
    QVector<int> fields;
    for (const QString& name : names) {
        const int index = fieldIndex(name);
        if (index < 0)
            return {};
        fields << index;
    }
    return fields;
}

const Recordset::RowKey& Recordset::rowKey() const
{
    if (!m_shape->key) {
        RowKey key;
        QStringList names = m_keyColumns;
        if (names.isEmpty()) {
            static const QRegularExpression brackets(QStringLiteral(R"(^\[|\]$)"));
            static const QRegularExpression view(QStringLiteral("^vw_"), QRegularExpression::CaseInsensitiveOption);
            static const QRegularExpression part(QStringLiteral("_(Primary|NonPrimary)$"),
                                                 QRegularExpression::CaseInsensitiveOption);
            QString object = m_shape->writeTarget;
            object.remove(brackets).remove(view).remove(part);
            names << object + QStringLiteral("ObjectID");
        }
        key.fields = fieldsNamed(names);
        key.unique = m_keyColumns.isEmpty() && !key.fields.isEmpty();   // the server's object IDs are unique
        // A table without an object ID is addressed by the key it has, not by all its values.
        const QVector<int> tableKey = fieldsNamed(m_db->uniqueKeyOf(m_shape->writeTarget));
        if (key.fields.isEmpty() && m_keyColumns.isEmpty())
            key.fields = tableKey;
        if (!tableKey.isEmpty() && QSet<int>(key.fields.begin(), key.fields.end()) == QSet<int>(tableKey.begin(), tableKey.end()))
            key.unique = true;
        m_shape->key = key;
    }
    return *m_shape->key;
}

const QVector<bool>& Recordset::fieldsOfTarget() const
{
    if (!m_shape->fieldsOfTarget) {
        QSet<QString> columns;
        for (const QString& column : m_db->columnsOf(m_shape->writeTarget))
            columns.insert(column.toCaseFolded());
        // When the target cannot be probed, every field takes part.
        QVector<bool> inTarget(m_fields.size(), true);
        if (!columns.isEmpty())
            for (int i = 0; i < m_fields.size(); ++i)
                inTarget[i] = columns.contains(m_fields[i].toCaseFolded());
        m_shape->fieldsOfTarget = inTarget;
    }
    return *m_shape->fieldsOfTarget;
}

bool Recordset::comparedAfterReading(const QVariant& value) const
{
    if (m_db->isEmbedded() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

namespace {

// True when writing `value` over `held` would store what is already there: numbers by their
// value, texts exactly (letter case counts), anything else of the same type by equality. A value
// of another kind (a text over a number, a date-time over its text) counts as a change.
bool holdsAlready(const QVariant& held, const QVariant& value)
{
    if (held.isNull() || value.isNull())
        return held.isNull() && value.isNull();
    if (holdsSignedWholeNumber(held) && holdsSignedWholeNumber(value))
        return held.toLongLong() == value.toLongLong();
    return held.metaType() == value.metaType() && held == value;
}

[[noreturn]] void refuseChangedRow()
{
    fail(ErrorNumber::RowChangedUnderneath,
         QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read."));
}

void refuseMatches(qsizetype matching)
{
    if (matching == 0)
        refuseChangedRow();
    if (matching > 1)
        fail(ErrorNumber::RowChangedUnderneath,
             QStringLiteral("Insufficient key column information for updating or refreshing."));
}

QVariantList valuesOf(const QVector<QVariant>& row, const QVector<int>& fields)
{
    QVariantList values;
    values.reserve(fields.size());
    for (int field : fields)
        values << row[field];
    return values;
}

}  // namespace

const Recordset::RowWrite& Recordset::rowWrite(const Row& row, const QVector<bool>* changed) const
{
    // Only the columns that the target itself has take part (a query may add joined columns).
    const QVector<bool>& inTarget = fieldsOfTarget();
    const RowKey& key = rowKey();
    // The write's text follows from this pattern: the kind of write, what proves it reaches one
    // row at most, and per field whether it is set and how it is compared.
    QByteArray pattern(2 + 2 * m_fields.size(), Qt::Uninitialized);
    char* next = pattern.data();
    *next++ = changed ? 'U' : 'D';
    bool keyHoldsNull = false;
    for (int field : key.fields)
        keyHoldsNull |= row[field].isNull();
    const int rowId = m_shape->rowIdField;
    *next++ = rowId >= 0 && !row[rowId].isNull() ? 'r' : key.unique && !keyHoldsNull ? 'k' : '-';
    for (int i = 0; i < m_fields.size(); ++i) {
        const bool set = changed && (*changed)[i];
        *next++ = set ? 'S' : '.';
        if (!inTarget[i] || (!key.fields.isEmpty() && !key.fields.contains(i) && !set))
            *next++ = '-';
        else
            *next++ = row[i].isNull() ? 'n' : comparedAfterReading(row[i]) ? 'r' : 'v';
    }
    auto found = m_shape->writes.constFind(pattern);
    if (found == m_shape->writes.constEnd())
        found = m_shape->writes.insert(pattern, buildRowWrite(pattern));
    return *found;
}

Recordset::RowWrite Recordset::buildRowWrite(const QByteArray& pattern) const
{
    RowWrite write;
    QStringList assignments;
    QStringList conditions;
    QStringList readAgain;
    if (pattern[1] == 'r') {
        conditions << QStringLiteral("rowid = ?");
        write.whereFields << m_shape->rowIdField;
    }
    for (int i = 0; i < m_fields.size(); ++i) {
        const QString name = sqlName(m_fields[i]);
        if (pattern[2 + 2 * i] == 'S') {
            assignments << name + QStringLiteral(" = ?");
            write.setFields << i;
        }
        switch (pattern[3 + 2 * i]) {
        case 'n': conditions << name + QStringLiteral(" IS NULL"); break;
        case 'v':
            conditions << name + QStringLiteral(" = ?");
            write.whereFields << i;
            break;
        case 'r':
            readAgain << name;
            write.readAgain << i;
            break;
        }
    }
    const QString& target = m_shape->writeTarget;
    const QString where = conditions.isEmpty() ? QStringLiteral("1 = 1") : conditions.join(QStringLiteral(" AND "));
    write.singleRow = pattern[1] != '-';
    write.statement = (pattern[0] == 'U' ? QStringLiteral("UPDATE %1 SET %2").arg(target, assignments.join(QStringLiteral(", ")))
                                         : QStringLiteral("DELETE FROM %1").arg(target))
                      + QStringLiteral(" WHERE ") + where;
    write.readAgainQuery = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                               .arg(readAgain.isEmpty() ? QStringLiteral("1") : readAgain.join(QStringLiteral(", ")),
                                    target, where);
    if (m_db->isEmbedded() && !write.singleRow) {
        // Nothing proves one row: the statement writes only when its WHERE matches exactly one,
        // counted before any row is written (SQLite gathers the rows to write first). A view's
        // INSTEAD OF trigger leaves SQLite's count of changed rows at 0, but RETURNING gives one
        // row for each row the WHERE matched.
        write.statement += QStringLiteral(" AND (SELECT count(*) FROM %1 WHERE %2) = 1 RETURNING 1").arg(target, where);
    }
    return write;
}

void Recordset::writeSingleRow(const RowWrite& write, const Row& values, const Row& original) const
{
    QVariantList bound = valuesOf(values, write.setFields);
    const QVariantList whereValues = valuesOf(original, write.whereFields);
    if (!m_db->isEmbedded()) {
        // Over ODBC the count of affected rows through a view is not to be trusted, and the
        // statement has no portable way to return the rows it matched: read them first, with
        // the values that are compared here rather than in the WHERE text.
        const QueryResult found = m_db->select(write.readAgainQuery, whereValues);
        refuseMatches(found.rows.size());
        for (int i = 0; i < write.readAgain.size(); ++i)
            if (found.rows[0][i] != original[write.readAgain[i]])
                refuseChangedRow();
        m_db->execute(write.statement, bound + whereValues);
        return;
    }
    bound += whereValues;
    if (write.singleRow) {
        // At most one row matches: a write that finds none has nothing to take back. Through a
        // view the row matched when the view's triggers changed a row.
        refuseMatches(m_shape->writesTable ? m_db->execute(write.statement, bound)
                                           : m_db->executeChangingAny(write.statement, bound) ? 1 : 0);
        return;
    }
    // The statement wrote nothing unless its WHERE matched exactly one row: a refused write has
    // nothing to take back, and the rows it matched tell which refusal it is.
    if (m_db->select(write.statement, bound + whereValues).rows.size() != 1) {
        const qsizetype matching = m_db->select(write.readAgainQuery, whereValues).rows.size();
        refuseMatches(matching > 1 ? matching : 0);
    }
}

Recordset::Row Recordset::originalForWrite(PendingEdit& edit) const
{
    // A keyless table's rows also carry their rowid, after the fields.
    const int columns = int(m_rows.fields().size());
    Row original(columns);
    const RowKey& key = rowKey();
    for (int column = 0; column < columns; ++column)
        if (key.fields.isEmpty() || edit.changed[column] || key.fields.contains(column) || column == m_shape->rowIdField) {
            original[column] = m_rows.value(edit.row, column);
            if (!edit.changed[column])
                edit.values[column] = original[column];
        }
    return original;
}

void Recordset::readBackStoredValues(Row& row, const QVector<bool>& changed, QVector<bool>& readBack) const
{
    if (m_db->isEmbedded())
        return;
    const RowWrite& check = rowWrite(row, &changed);
    if (check.readAgain.isEmpty())
        return;
    const QueryResult stored = m_db->select(check.readAgainQuery, valuesOf(row, check.whereFields));
    if (stored.rows.size() != 1)
        return;   // the row cannot be told apart by its other values: the next write compares with what was bound
    for (int i = 0; i < check.readAgain.size(); ++i) {
        row[check.readAgain[i]] = stored.rows[0][i];
        readBack[check.readAgain[i]] = true;
    }
}

void Recordset::update()
{
    requireWritable();
    if (!m_edit)
        return;
    PendingEdit edit = std::move(*m_edit);
    m_edit.reset();
    const Row original = edit.isNew ? Row() : originalForWrite(edit);
    const QVector<bool> setColumns = edit.changed;
    // The columns whose value the row keeps after the write: the ones set (a value set to what
    // the column holds is kept as set, of the type it was set with) and any read back.
    QVector<bool> stored = setColumns;
    if (!edit.isNew && m_equalValueWrites == EqualValueWrites::Skipped)
        for (int i = 0; i < m_fields.size(); ++i)
            if (edit.changed[i] && holdsAlready(original[i], edit.values[i]))
                edit.changed[i] = false;
    if (!edit.changed.contains(true))
        return;

    try {
        m_db->runInTransaction([&] {
            if (edit.isNew) {
                QStringList columns;
                QVariantList newValues;
                for (int i = 0; i < m_fields.size(); ++i)
                    if (edit.changed[i]) {
                        columns << sqlName(m_fields[i]);
                        newValues << edit.values[i];
                    }
                m_db->execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(m_shape->writeTarget, columns.join(u','),
                                       QStringList(columns.size(), QStringLiteral("?")).join(u',')),
                              newValues);
                return;
            }
            writeSingleRow(rowWrite(original, &edit.changed), edit.values, original);
            readBackStoredValues(edit.values, edit.changed, stored);
        });
    } catch (...) {
        // A refused or failed write leaves the edit pending, as it was.
        edit.changed = setColumns;
        m_edit = std::move(edit);
        throw;
    }
    if (edit.isNew) {
        m_rows.append(edit.values);
        const int row = m_rows.rowCount() - 1;
        remember(JournalEntry::Added, row);
        if (m_filtered)
            m_visible.push_back(row);
        m_position = recordCount() - 1;
        if (m_indexedField >= 0)
            addToIndex(row, edit.values[m_indexedField]);
    } else {
        const int row = edit.row;
        const bool keyChanged = m_indexedField >= 0 && edit.changed[m_indexedField];
        remember(JournalEntry::Changed, row);
        m_rows.replace(row, edit.values, stored);
        if (keyChanged)
            rebuildIndex();
    }
}

void Recordset::deleteCurrent()
{
    requireWritable();
    requireCurrent();
    m_edit.reset();
    const int row = rowAt(m_position);
    const Row values = m_rows.row(row);
    m_db->runInTransaction([&] { writeSingleRow(rowWrite(values, nullptr), values, values); });

    remember(JournalEntry::Removed, row);
    m_rows.remove(row);
    if (m_filtered) {
        m_visible.remove(m_position);
        for (int& visibleRow : m_visible)
            if (visibleRow > row)
                --visibleRow;
    }
    rebuildIndex();
}

void Recordset::beginJournal()
{
    m_journal.emplace();
}

void Recordset::keepJournalledChanges()
{
    m_journal.reset();
}

void Recordset::remember(JournalEntry::Kind kind, int row)
{
    if (m_journal)
        m_journal->push_back({kind, row, kind == JournalEntry::Added ? RowTable::Cells() : m_rows.cells(row)});
}

void Recordset::restoreJournalledRows()
{
    if (!m_journal)
        return;
    const QVector<JournalEntry> entries = std::move(*m_journal);
    m_journal.reset();
    m_edit.reset();   // an edit not yet written belongs to the rolled-back work too
    if (entries.isEmpty())
        return;
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        switch (entry->kind) {
        case JournalEntry::Changed: m_rows.setCells(entry->row, entry->before); break;
        case JournalEntry::Added: m_rows.remove(entry->row); break;
        case JournalEntry::Removed: m_rows.insertCells(entry->row, entry->before); break;
        }
    }
    // The filter and the index follow the restored rows; the cursor stays where it was.
    const int position = m_position;
    if (m_filtered)
        setFilter(m_filterText);
    rebuildIndex();
    m_position = std::clamp(position, -1, recordCount());
}
