#pragma once
// The two flags of a tab of an options page's tab control: its version flag (set by the server
// version's gates) and its type flag (set by the kind of object being edited). Each is set
// without touching the other; the tab can be opened only while both are True, otherwise it is
// greyed and never the current tab. Both start True.
class QTabWidget;

namespace TabFlags {

void setVersionFlag(QTabWidget* tabs, int tab, bool flag);
void setTypeFlag(QTabWidget* tabs, int tab, bool flag);
bool versionFlag(const QTabWidget* tabs, int tab);
bool typeFlag(const QTabWidget* tabs, int tab);

}  // namespace TabFlags
