#include "core/RowTable.h"

#include <bit>
#include <type_traits>

namespace {

// The rows after which a column of mostly distinct values stops looking its values up.
constexpr int kSampleRows = 1000;
// The rows kept as they come before a column starts looking its values up: a result of a few
// rows (a scratch query) costs no look-ups.
constexpr int kFewRows = 16;
// Marks a cell that is a text kept as UTF-8.
constexpr quint32 kUtf8Text = 0x80000000u;
// Marks a cell of the first rows, kept in one list for the whole table (a text of theirs in one
// run of UTF-8): a result of a few rows costs no list per column.
constexpr quint32 kFirstRows = 0x40000000u;

// A look-up key that owns its bytes: the key looked up points into the database's buffer.
QByteArray ownedKey(const QByteArray& key)
{
    return QByteArray(key.constData(), key.size());
}

qint64 ownedKey(qint64 key)
{
    return key;
}

// Whether `a` reads back as `b`: same type, both null or both not, and equal.
bool identical(const QVariant& a, const QVariant& b)
{
    return a.metaType() == b.metaType() && a.isNull() == b.isNull() && a == b;
}

}  // namespace

QVariant RowTable::value(int row, int column) const
{
    return cellValue(column, m_cells[qsizetype(row) * m_columns.size() + column]);
}

quint32 RowTable::Utf8Texts::append(QByteArrayView utf8)
{
    if (ends.empty()) {   // room for the texts of a few rows at once, grown as the rows come
        bytes.reserve(1024);
        ends.reserve(64);
    }
    bytes.append(utf8.data(), size_t(utf8.size()));
    ends.push_back(qsizetype(bytes.size()));
    return quint32(ends.size() - 1);
}

QString RowTable::Utf8Texts::at(qsizetype text) const
{
    const qsizetype begin = text == 0 ? 0 : ends[text - 1];
    return QString::fromUtf8(QByteArrayView(bytes.data() + begin, ends[text] - begin));
}

QVariant RowTable::cellValue(int column, quint32 cell) const
{
    const quint32 index = cell & ~(kUtf8Text | kFirstRows);
    if (cell & kFirstRows)
        return (cell & kUtf8Text) ? QVariant(m_firstTexts.at(index)) : m_firstRows[index];
    const Column& kept = m_columns[column];
    return (cell & kUtf8Text) ? QVariant(kept.texts.at(index)) : kept.values[index];
}

QVector<QVariant> RowTable::row(int row) const
{
    QVector<QVariant> values(m_columns.size());
    for (int column = 0; column < values.size(); ++column)
        values[column] = value(row, column);
    return values;
}

void RowTable::append(const QVector<QVariant>& values)
{
    for (int column = 0; column < values.size(); ++column)
        m_cells.push_back(keep(column, values[column]));
    ++m_rowCount;
}

void RowTable::replace(int row, const QVector<QVariant>& values, const QVector<bool>& columns)
{
    for (int column = 0; column < values.size(); ++column)
        if (columns[column])
            m_cells[qsizetype(row) * m_columns.size() + column] = keep(column, values[column]);
}

void RowTable::remove(int row)
{
    m_cells.remove(qsizetype(row) * m_columns.size(), qsizetype(m_columns.size()));
    --m_rowCount;
}

RowTable::Cells RowTable::cells(int row) const
{
    return m_cells.mid(qsizetype(row) * m_columns.size(), qsizetype(m_columns.size()));
}

void RowTable::setCells(int row, const Cells& cells)
{
    std::copy(cells.begin(), cells.end(), m_cells.begin() + qsizetype(row) * m_columns.size());
}

void RowTable::insertCells(int row, const Cells& cells)
{
    const qsizetype first = qsizetype(row) * m_columns.size();
    m_cells.insert(first, cells.size(), 0);
    std::copy(cells.begin(), cells.end(), m_cells.begin() + first);
    ++m_rowCount;
}

void RowTable::clear()
{
    *this = RowTable();
}

quint32 RowTable::keep(int column, const QVariant& value)
{
    QVector<QVariant>& values = m_columns[column].values;
    values.push_back(value);
    return quint32(values.size() - 1);
}

quint32 RowTable::keepFirst(QVariant value)
{
    m_firstRows.push_back(std::move(value));
    return kFirstRows | quint32(m_firstRows.size() - 1);
}

void RowTable::begin(const QStringList& fields)
{
    clear();
    m_fields = fields;
    m_columns.resize(fields.size());
}

void RowTable::newRow()
{
    if (++m_rowCount == kSampleRows)
        for (Column& column : m_columns)
            if (column.values.size() > kSampleRows / 2)
                stopLookingUp(column);
    if (m_rowCount == 1 || m_rowCount == 2)   // room for one row, then for all the first rows
        m_firstRows.reserve((m_rowCount == 1 ? 1 : kFewRows) * qsizetype(m_columns.size()));
    // Grown in place (realloc) rather than copied as it grows.
    m_cells.resize(m_cells.size() + qsizetype(m_columns.size()));
    m_row = m_cells.data() + m_cells.size() - qsizetype(m_columns.size());
    m_column = 0;
}

void RowTable::stopLookingUp(Column& column)
{
    column.lookingUp = false;
    if (!column.lastKnown)
        return;   // nothing was looked up
    column.knownTexts = {};
    column.knownBytes = {};
    column.knownIntegers = {};
    column.knownReals = {};
    column.lastKnown = nullptr;
    column.lastBytes = {};
}

template <typename Key, typename MakeValue>
void RowTable::addKept(QHash<Key, quint32>& kept, const Key& key, MakeValue makeValue)
{
    const int column = m_column++;
    Column& known = m_columns[column];
    if (m_rowCount <= kFewRows) {
        m_row[column] = keepFirst(makeValue());
        return;
    }
    if (!known.lookingUp) {
        m_row[column] = keep(column, makeValue());
        return;
    }
    Key& last = [&]() -> Key& {
        if constexpr (std::is_same_v<Key, qint64>)
            return known.lastNumber;
        else
            return known.lastBytes;
    }();
    if (known.lastKnown == &kept && last == key) {
        m_row[column] = known.lastCell;
        return;
    }
    auto found = kept.constFind(key);
    if (found == kept.constEnd())
        found = kept.insert(ownedKey(key), keep(column, makeValue()));
    // The dictionary's own key: shared, not copied.
    last = found.key();
    known.lastKnown = &kept;
    known.lastCell = *found;
    m_row[column] = *found;
}

void RowTable::addInteger(qint64 value)
{
    addKept(m_columns[m_column].knownIntegers, value, [&] { return QVariant(qlonglong(value)); });
}

void RowTable::addReal(double value)
{
    // By its bits, so that 0 and -0 stay apart.
    addKept(m_columns[m_column].knownReals, std::bit_cast<qint64>(value), [&] { return QVariant(value); });
}

void RowTable::addText(QByteArrayView utf8)
{
    Column& column = m_columns[m_column];
    if (m_rowCount <= kFewRows) {
        m_row[m_column++] = kFirstRows | kUtf8Text | m_firstTexts.append(utf8);
        return;
    }
    if (!column.lookingUp) {
        m_row[m_column++] = kUtf8Text | column.texts.append(utf8);
        return;
    }
    addKept(column.knownTexts, QByteArray::fromRawData(utf8.data(), utf8.size()),
            [&] { return QVariant(QString::fromUtf8(utf8)); });
}

void RowTable::addBytes(QByteArrayView bytes)
{
    addKept(m_columns[m_column].knownBytes, QByteArray::fromRawData(bytes.data(), bytes.size()),
            [&] { return QVariant(bytes.toByteArray()); });
}

void RowTable::addValue(const QVariant& value)
{
    const int column = m_column++;
    Column& kept = m_columns[column];
    if (m_rowCount <= kFewRows) {
        m_row[column] = keepFirst(value);
        return;
    }
    if (!value.isValid()) {
        if (kept.null < 0)
            kept.null = keep(column, value);
        m_row[column] = quint32(kept.null);
        return;
    }
    // A driver's values (ODBC) are kept once while they repeat from row to row.
    const quint32* above = m_row - m_columns.size();
    if (identical(cellValue(column, above[column]), value))
        m_row[column] = above[column];
    else
        m_row[column] = keep(column, value);
}

void RowTable::end()
{
    for (Column& column : m_columns)
        stopLookingUp(column);
    m_row = nullptr;
}
