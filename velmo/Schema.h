#pragma once
// The database VelmoDb of the simulated Velmo server: its tables, the views the tool reads and
// writes, and INSTEAD OF triggers that carry writes through the views to the base rows.
//
// Everything is generated from the table-driven description below (tableDefinitions(),
// viewDefinitions()); a column or view that only newer servers have names the first server
// version that has it, and createSchema() leaves it out on older versions.
//
// Conventions of the simulated database:
// - Text columns are TEXT COLLATE NOCASE: text compares without regard to case, as on the real
//   server. Object IDs are text ("2F1C...-...", GUID-like, upper case hex).
// - Whole numbers (16- and 32-bit) are INTEGER, truth values BOOLEAN holding 0 or 1, dates
//   DATETIME holding the text Qt's SQLite driver writes for a QDateTime
//   ("1990-12-25T08:00:00.000"), floating-point numbers FLOAT, binary values BLOB. The exact
//   type the tool reads or writes (16- or 32-bit, ...) is kept in the description: columnType().
// - Extensions of every object (subscribers, call handlers, interview and name lookup handlers,
//   distribution lists, locations) are rows of DTMFAccessID; the views of those objects add the
//   object's primary extension as the read-only column DTMFAccessID. A primary call handler
//   shows the extension of the subscriber it belongs to.
// - Child rows (contact, messaging and notification rules, menu entries, MWI devices, DTMF IDs,
//   list members, SubscriberEx) have no key of their own and no uniqueness constraint, so that
//   doubled or orphaned rows, which the tool has to cope with, can exist. Writes through their
//   views find the base row by all of its old values.
// - No foreign keys: rows whose owner is gone are possible, as on the real server.
// - Subscriber and Location rows are mirrored into GlobalSubscriber and GlobalLocation (the
//   dialing domain's directory, which also holds the other servers of the domain).
//
// Server stored procedures the tool calls (C++ stand-ins, see velmo/ServerStandIns.h; not part
// of this schema):
// - sp_MD5 (@RawText text in, @MD5Text text in/out): parameter list as the database reports
//   it: return value at 0, @RawText at 1, @MD5Text at 2; @MD5Text receives the hashed phone
//   password stored in Subscriber.PWDTMF (subscriber engine, account and password).
// - sp_ModifySubscriber (@SubscriberObjectID GUID, @DirectorySync int, @DirectorySyncFlags
//   int): starts the write-through of a changed subscriber to the directory, in the
//   background; no result used (subscriber engine, end of each subscriber). The stand-in
//   records each call as a row of DirectorySyncRequest.
// - csp_ConfigurationModifyString: named among the server's procedures the tool uses; no
//   procedure of the tool calls it at present.
#include "core/VelmoVersion.h"

#include <QSqlDatabase>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace velmo {

// How the tool reads and writes a column.
enum class ColumnType { Text, Int16, Int32, Bool, DateTime, Float, Binary };

// A server version as major.minor(release).build; all zero means "every version".
struct Version {
    qint16 major = 0, minor = 0, release = 0, build = 0;
    bool isSet() const { return major || minor || release || build; }
};

ServerVersion makeServerVersion(int major, int minor, int release, int build);

// True when the installed version has an object that exists from `since` on and, when `until`
// is set, no longer exists from `until` on.
bool presentOn(const ServerVersion& installed, const Version& since, const Version& until = {});

struct ColumnDefinition {
    const char* name;
    ColumnType type;
    Version since = {};
    Version until = {};
};

struct TableDefinition {
    const char* name;
    const char* key;   // object ID column (primary key), nullptr for child rows without one
    std::vector<ColumnDefinition> columns;
    std::vector<std::vector<const char*>> indexes;
    Version since = {};
};

// A column a view adds to its table's columns (read-only through the view).
struct JoinedColumn {
    const char* name;
    ColumnType type;
    const char* expression;   // SQL over the view's table, which is named "t"
};

struct ViewDefinition {
    const char* name;
    const char* table;          // the base table reads and writes go to
    const char* filterColumn;   // nullptr: all rows of the table
    int filterValue;            // the view shows rows whose filterColumn equals this
    std::vector<JoinedColumn> joined;
    Version since = {};
};

const std::vector<TableDefinition>& tableDefinitions();
const std::vector<ViewDefinition>& viewDefinitions();
const TableDefinition* findTable(const QString& name);   // by name, without regard to case
const ViewDefinition* findView(const QString& name);

// The type of a column of a table or view of the schema (names without regard to case);
// nullopt when the schema has no such column.
std::optional<ColumnType> columnType(const QString& tableOrView, const QString& column);

// Creates every table, index, view and trigger of a server of the given version on an open,
// empty SQLite database. Throws KestraneError when a statement fails (nothing is committed).
void createSchema(QSqlDatabase& db, int major, int minor, int release, int build);

}  // namespace velmo
