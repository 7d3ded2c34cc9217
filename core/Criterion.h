#pragma once
// The criteria of Recordset::find and Recordset::setFilter: comparisons of a field with a
// literal ("Alias='default'", "IsPrimary = 0", "DisplayName LIKE 'Sm*'"), joined by AND / OR,
// with parentheses. Text literals are quoted with ' and a quote inside one is doubled ('O''Brien').
// Text compares without regard to case, as the server does.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class Criterion {
public:
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like };

    // Parses the text; throws KestraneError on a malformed criterion. The same texts come back
    // for every object of a run: the last ones parsed are kept and shared.
    static Criterion parse(const QString& text);

    // The fields the criterion names, each once, in the order they first appear.
    const QStringList& fields() const;

    // Field value by its place in fields(); returns an invalid QVariant when the row has no such
    // field. The caller resolves the names once and looks values up by place for every row.
    using FieldLookup = std::function<QVariant(int field)>;
    bool matches(const FieldLookup& field) const;

    // Set when the whole criterion is one equality on one field (the case an index can serve).
    bool isSingleEquality() const;
    const QString& equalityField() const;
    const QVariant& equalityValue() const;
    const QString& equalityIndexKey() const;   // indexKey(equalityValue()), worked out once

    // The key under which an index stores a value, so that lookups ignore letter case.
    static QString indexKey(QVariant value);

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
    std::shared_ptr<const QStringList> m_fields;
};

// Quotes a value for a criterion or an SQL text literal: 'O''Brien'.
QString quoteLiteral(const QString& value);
