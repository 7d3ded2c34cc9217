#pragma once
// The option lists that both options pages fill from the installation: its caller-interface
// languages (the registry), its schedules (the database) and its phone-system integrations.
// Each works through a page's FormStatements, so a failing statement costs that page's one
// message and filling goes on; lists are filled with their signals blocked.
#include "core/ui/FormStatements.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

class Database;
class RegistryAPI;
struct SwitchInfo;

// A field's value as the text of a list item; a null value fails with "Invalid use of Null", as
// reading it into a text would.
QString itemTextOf(const QVariant& value);

// Fills `list` with fixed texts, each carrying the item data paired with it, the first selected.
void fillCodedFixedTexts(FormStatements& run, const QString& list, const QList<std::pair<int, int>>& stringsAndCodes);
// One statement: appends an item of the installation's own text with its code.
void addCodedItem(FormStatements& run, const QString& list, const QString& text, const QVariant& code);
// One statement: selects `position` of `list`.
void selectItem(FormStatements& run, const QString& list, int position);

// Appends to each of `lists` one item per code of "TUI Languages Loaded" (split at ",", the
// pieces untrimmed): the language's name with its identifier as item data.
void appendInstalledLanguages(FormStatements& run, const RegistryAPI& registry, const QStringList& lists);
// "<Don't Change>" selected, then the name of every schedule in the query's order, without item
// data; a query that fails leaves "<Don't Change>" alone.
void fillScheduleList(FormStatements& run, Database& database, const QString& list);
// "<Don't Change>" (no item data) selected, then one item per integration.
void fillSwitchList(FormStatements& run, const SwitchInfo& switches, const QString& list);
