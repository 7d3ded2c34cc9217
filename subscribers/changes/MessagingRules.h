#pragma once
// The six messaging rules (greetings) of the subscriber's primary call handler, as the greetings
// and after-greeting categories find them: greeting index i is the options page's greeting tab
// i and caller-input slot 13 + i.
#include "core/Criterion.h"
#include "core/Recordset.h"
#include "subscribers/SubscriberEngine.h"

#include <array>

namespace MessagingRules {

constexpr int Count = 6;
constexpr const char* kAliases[Count] = {"Standard", "Off Hours", "Busy", "Alternate", "Internal", "Error"};

// The same texts for every subscriber: written once.
inline const QString& criterion(int index)
{
    static const auto texts = [] {
        std::array<QString, Count> criteria;
        for (int each = 0; each < Count; ++each)
            criteria[each] = QStringLiteral("Alias=") + quoteLiteral(QLatin1String(kAliases[each]));
        return criteria;
    }();
    return texts[index];
}

// The handler's rules, read once per subscriber in the shared scratch recordset.
inline Recordset& open(SubscriberEdit& edit)
{
    return edit.sharedScratch(ScratchQuery::MessagingRules,
                              QStringLiteral("SELECT * FROM vw_MessagingRule WHERE ParentObjectID=?"),
                              {edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString()});
}

// Moves to the rule of greeting `index`, searching from the first; false when there is none.
inline bool find(Recordset& rules, int index)
{
    rules.moveFirst();
    return rules.find(criterion(index));
}

}  // namespace MessagingRules
