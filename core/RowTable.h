#pragma once
// The rows of a recordset, kept compactly: a row is one index into each column's values, and a
// column keeps each value it holds once, or, where its texts are mostly distinct (object IDs,
// names), keeps them as UTF-8 one after another. A directory list of 50,000 rows of about 90
// columns so takes 4 bytes a cell instead of a QVariant of 32 and a string of its own; a cell
// reads back as the QVariant the database gave. A result's first few rows keep each value as it
// comes, in one list for the whole table (texts as UTF-8, made strings when read): a result of a
// few rows is never looked up and has no list per column.
#include "core/Database.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <string>
#include <vector>

class RowTable final : public RowSink {
public:
    // One row as kept (an index into each column's values): what a journal puts back.
    using Cells = QVector<quint32>;

    const QStringList& fields() const { return m_fields; }
    int rowCount() const { return m_rowCount; }
    QVariant value(int row, int column) const;
    QVector<QVariant> row(int row) const;
    void append(const QVector<QVariant>& values);
    // A row written back: the columns marked take their new value (the ones changed, and any the
    // database gave back after the write).
    void replace(int row, const QVector<QVariant>& values, const QVector<bool>& columns);
    void remove(int row);
    Cells cells(int row) const;
    void setCells(int row, const Cells& cells);
    void insertCells(int row, const Cells& cells);
    void clear();

    // Rows as the database reads them; equal values of a column are kept once.
    void begin(const QStringList& fields) override;
    void newRow() override;
    void addInteger(qint64 value) override;
    void addReal(double value) override;
    void addText(QByteArrayView utf8) override;
    void addBytes(QByteArrayView bytes) override;
    void addValue(const QVariant& value) override;
    void end() override;

private:
    // Texts kept as UTF-8 one after another, read back as strings only when asked for: most
    // columns of a row are never read.
    // The standard containers: their appends are inline, a text per cell costs no call.
    struct Utf8Texts {
        std::string bytes;
        std::vector<qsizetype> ends;   // text i runs from ends[i - 1] (or 0) to ends[i]
        quint32 append(QByteArrayView utf8);
        QString at(qsizetype text) const;
    };
    struct Column {
        QVector<QVariant> values;
        // While rows are read: where a value already kept is, by its bytes as read. A column
        // whose values are mostly distinct stops looking them up, which would cost more than it
        // saves, and keeps its further texts in `utf8`.
        bool lookingUp = true;
        QHash<QByteArray, quint32> knownTexts, knownBytes;
        QHash<qint64, quint32> knownIntegers, knownReals;
        qint64 null = -1;
        // The value looked up last (its dictionary, its key and its cell): a value that repeats
        // from row to row, as flags and classes of service do, is kept without a look-up.
        const void* lastKnown = nullptr;
        QByteArray lastBytes;
        qint64 lastNumber = 0;
        quint32 lastCell = 0;
        Utf8Texts texts;   // cell kUtf8Text | i: its text i
    };
    void stopLookingUp(Column& column);
    quint32 keep(int column, const QVariant& value);
    quint32 keepFirst(QVariant value);
    QVariant cellValue(int column, quint32 cell) const;
    template <typename Key, typename MakeValue>
    void addKept(QHash<Key, quint32>& kept, const Key& key, MakeValue makeValue);

    QStringList m_fields;
    std::vector<Column> m_columns;
    QVector<QVariant> m_firstRows;   // the values of the first rows, cell after cell ...
    Utf8Texts m_firstTexts;          // ... but their texts
    QVector<quint32> m_cells;   // row after row
    quint32* m_row = nullptr;   // the cells of the row being read
    int m_rowCount = 0;
    int m_column = 0;           // the column of the next cell read
};
