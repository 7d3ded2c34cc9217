#include "core/ui/TabFlags.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVariantMap>

namespace {

const QString kVersion = QStringLiteral("versionFlag");
const QString kType = QStringLiteral("typeFlag");

// The flags travel with their tab, in the tab bar's data of the tab; a tab without data has both.
bool flag(const QTabWidget* tabs, int tab, const QString& which)
{
    return tabs->tabBar()->tabData(tab).toMap().value(which, true).toBool();
}

void setFlag(QTabWidget* tabs, int tab, const QString& which, bool value)
{
    if (tab < 0 || tab >= tabs->count())
        return;
    QVariantMap flags = tabs->tabBar()->tabData(tab).toMap();
    flags.insert(which, value);
    tabs->tabBar()->setTabData(tab, flags);

    const bool opens = flag(tabs, tab, kVersion) && flag(tabs, tab, kType);
    tabs->setTabEnabled(tab, opens);
    if (opens || tabs->currentIndex() != tab)
        return;
    // A tab that cannot be opened is never the current one: the first that can be takes over.
    for (int other = 0; other < tabs->count(); ++other)
        if (tabs->isTabEnabled(other)) {
            tabs->setCurrentIndex(other);
            return;
        }
}

}  // namespace

namespace TabFlags {

void setVersionFlag(QTabWidget* tabs, int tab, bool value) { setFlag(tabs, tab, kVersion, value); }
void setTypeFlag(QTabWidget* tabs, int tab, bool value) { setFlag(tabs, tab, kType, value); }
bool versionFlag(const QTabWidget* tabs, int tab) { return flag(tabs, tab, kVersion); }
bool typeFlag(const QTabWidget* tabs, int tab) { return flag(tabs, tab, kType); }

}  // namespace TabFlags
