#pragma once
// A bounded map that forgets the least recently used entry first. Values are taken out while in
// use and put back afterwards, so a value is never shared by two users at once (a statement
// run again from inside its own run gets a fresh one).
#include <QHash>
#include <list>
#include <optional>
#include <utility>

template <typename Key, typename Value>
class LruCache {
public:
    explicit LruCache(int capacity) : m_capacity(capacity) {}

    // Removes the value kept for `key` and hands it over; nullopt when none is kept.
    std::optional<Value> take(const Key& key)
    {
        const auto found = m_index.constFind(key);
        if (found == m_index.constEnd())
            return std::nullopt;
        auto entry = *found;
        std::optional<Value> value(std::move(entry->second));
        m_index.erase(found);
        m_entries.erase(entry);
        return value;
    }

    // Keeps `value` as the most recently used entry (replacing one kept for the same key), and
    // destroys the least recently used entries beyond the capacity.
    void put(const Key& key, Value value)
    {
        take(key);
        m_entries.emplace_front(key, std::move(value));
        m_index.insert(key, m_entries.begin());
        while (int(m_entries.size()) > m_capacity) {
            m_index.remove(m_entries.back().first);
            m_entries.pop_back();
        }
    }

    bool contains(const Key& key) const { return m_index.contains(key); }
    int size() const { return int(m_entries.size()); }
    void clear()
    {
        m_index.clear();
        m_entries.clear();
    }

private:
    using Entries = std::list<std::pair<Key, Value>>;
    int m_capacity;
    Entries m_entries;   // most recently used first
    QHash<Key, typename Entries::iterator> m_index;
};
