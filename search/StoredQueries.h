#pragma once
// The previous queries of a free SQL dialog, kept in the registry: one text value per query,
// named by the local time of storing ("yyyyMMddhhmmss"), listed in the order of writing.
// Texts are stored with CR LF line breaks; the query box works with "\n".
#include <QDateTime>
#include <QList>
#include <QString>

class RegistryAPI;

inline const QString kSubscriberQueriesKey =
    QStringLiteral("SOFTWARE\\Brennhal\\Tollgrave\\Administration Tools\\Kestrane\\SubQueries");
inline const QString kHandlerQueriesKey =
    QStringLiteral("SOFTWARE\\Brennhal\\Tollgrave\\Administration Tools\\Kestrane\\HandlerQueries");

class StoredQueries {
public:
    // One entry of the previous-queries menu.
    struct Entry {
        QString caption;     // the text on one line, cut to 90 characters
        QString valueName;   // the registry value it stands for
    };

    StoredQueries(RegistryAPI& registry, const QString& key) : m_registry(registry), m_key(key) {}

    // Stores `text` under the time `now`. Eleven or more stored values are cut back to nine,
    // the oldest going first. Failures are ignored: storing is a convenience.
    void StorePreviousQuery(const QString& text, const QDateTime& now = QDateTime::currentDateTime());

    // The stored queries now in the registry, newest first, at most eleven; empty when none.
    QList<Entry> previousQueries() const;

    // The text stored under `valueName` ("\n" line breaks); empty when there is none.
    // Throws KestraneError when the registry refuses the read.
    QString queryText(const QString& valueName) const;

    // The menu caption of a stored text: each line break a blank, cut to 90 characters.
    static QString caption(const QString& text);

    const QString& key() const { return m_key; }

private:
    RegistryAPI& m_registry;
    QString m_key;
};
