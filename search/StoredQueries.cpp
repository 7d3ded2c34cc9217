#include "search/StoredQueries.h"
#include "core/Errors.h"
#include "core/Registry.h"

namespace {

constexpr int kKeptAfterTrim = 9;      // eleven or more values are cut back to nine
constexpr int kMostBeforeTrim = 10;
constexpr int kMostListed = 11;
constexpr int kCaptionLength = 90;
// GetRegValue reads texts of up to 2047 bytes of UTF-8; a longer query would come back empty
// and, beyond the listing's limit, end the listing of every value stored after it.
constexpr int kLongestStored = 2047;

}  // namespace

void StoredQueries::StorePreviousQuery(const QString& text, const QDateTime& now)
{
    QString data = text;
    data.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    if (data.toUtf8().size() > kLongestStored)
        return;
    try {
        if (!m_registry.RegKeyExists(HKEY_LOCAL_MACHINE, m_key))
            m_registry.RegCreateNewKey(HKEY_LOCAL_MACHINE, m_key);
        m_registry.SetRegValue(HKEY_LOCAL_MACHINE, m_key, now.toString(QStringLiteral("yyyyMMddHHmmss")), REG_SZ, data);
        const RegValueTable values = m_registry.EnumRegValues(HKEY_LOCAL_MACHINE, m_key);
        if (values.count() > kMostBeforeTrim)
            for (int i = 0; i < values.count() - kKeptAfterTrim; ++i)
                m_registry.DeleteRegValue(HKEY_LOCAL_MACHINE, m_key, values.names[i]);
    } catch (const KestraneError&) {
        // Storing is a convenience; the run's result stays on screen.
    }
}

QList<StoredQueries::Entry> StoredQueries::previousQueries() const
{
    QList<Entry> entries;
    const RegValueTable values = m_registry.EnumRegValues(HKEY_LOCAL_MACHINE, m_key);
    for (int i = values.count() - 1; i >= 0 && entries.size() < kMostListed; --i)
        entries.append({caption(values.data[i].toString()), values.names[i]});
    return entries;
}

QString StoredQueries::queryText(const QString& valueName) const
{
    QString text = m_registry.GetRegValue(HKEY_LOCAL_MACHINE, m_key, valueName, REG_SZ, QString()).toString();
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString StoredQueries::caption(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    return line.left(kCaptionLength);
}
