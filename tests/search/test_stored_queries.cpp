#include "core/Registry.h"
#include "search/StoredQueries.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kStart(QDate(2024, 3, 9), QTime(17, 5, 0));

class StoredQueriesTest : public ::testing::Test {
protected:
    QStringList captions() const
    {
        QStringList list;
        for (const auto& entry : queries.previousQueries())
            list << entry.caption;
        return list;
    }

    RegistryStore store;
    RegistryAPI registry{store};
    StoredQueries queries{registry, kSubscriberQueriesKey};
};

}  // namespace

TEST_F(StoredQueriesTest, ElevenLeaveNineNewestFirst)
{
    EXPECT_TRUE(queries.previousQueries().isEmpty());   // no key yet
    for (int i = 1; i <= 11; ++i)
        queries.StorePreviousQuery(QStringLiteral("query %1").arg(i), kStart.addSecs(i));
    const QStringList names = store.valueNames(kSubscriberQueriesKey);
    ASSERT_EQ(names.size(), 9);
    EXPECT_EQ(names.first(), "20240309170503");   // named by the time of storing; the two oldest went
    EXPECT_EQ(captions().first(), "query 11");
    EXPECT_EQ(captions().last(), "query 3");
    EXPECT_FALSE(store.keyExists(kHandlerQueriesKey));

    queries.StorePreviousQuery("query 12", kStart.addSecs(12));
    EXPECT_EQ(captions().size(), 10);
    queries.StorePreviousQuery("same second", kStart.addSecs(12));   // replaces query 12
    EXPECT_EQ(captions().mid(0, 2), (QStringList{"same second", "query 11"}));
}

TEST_F(StoredQueriesTest, CaptionsOnOneLineCutTo90AndFullTextRestored)
{
    const QString threeLines = "WHERE Alias LIKE 'a%'\nAND LastName = 'Smith'\nORDER BY Alias";
    const QString longQuery = "WHERE Alias = '" + QString(120, u'x') + "'";
    queries.StorePreviousQuery(threeLines, kStart);
    queries.StorePreviousQuery(longQuery, kStart.addSecs(1));

    const auto entries = queries.previousQueries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].caption, longQuery.left(90));
    EXPECT_EQ(entries[1].caption, "WHERE Alias LIKE 'a%' AND LastName = 'Smith' ORDER BY Alias");
    EXPECT_EQ(store.value(kSubscriberQueriesKey, entries[1].valueName)->data,
              QByteArray("WHERE Alias LIKE 'a%'\r\nAND LastName = 'Smith'\r\nORDER BY Alias"));
    EXPECT_EQ(queries.queryText(entries[1].valueName), threeLines);
    EXPECT_EQ(queries.queryText(entries[0].valueName), longQuery);
}

TEST_F(StoredQueriesTest, FailuresAreIgnoredAndTextsTooLongToReadBackAreNotStored)
{
    queries.StorePreviousQuery("kept", kStart);
    store.setKeyWritable(kSubscriberQueriesKey, false);
    queries.StorePreviousQuery("refused", kStart.addSecs(1));
    store.setKeyWritable(kSubscriberQueriesKey, true);
    queries.StorePreviousQuery("WHERE Alias = '" + QString(2100, u'a') + "'", kStart.addSecs(2));
    EXPECT_EQ(captions(), QStringList{"kept"});

    store.createKey("SOFTWARE\\Locked");
    store.setKeyWritable("SOFTWARE\\Locked", false);
    EXPECT_NO_THROW(StoredQueries(registry, "SOFTWARE\\Locked\\Queries").StorePreviousQuery("x", kStart));
    EXPECT_FALSE(store.keyExists("SOFTWARE\\Locked\\Queries"));
}
