#pragma once
// The parts of the simulated Velmo server that are code rather than data: its stored
// procedures and its Notifier. One call makes a session use them; the program and the tests
// make it right after creating their Session.
//
// - sp_MD5 (@RawText in, @MD5Text in/out): @MD5Text receives the MD5 of @RawText (UTF-8) as
//   32 upper-case hexadecimal digits. The procedure keeps nothing it was given.
// - sp_ModifySubscriber (@SubscriberObjectID, @DirectorySync, @DirectorySyncFlags): asks for the
//   subscriber's write-through to the directory by adding a row to DirectorySyncRequest, inside
//   the caller's transaction, so that a rolled-back object leaves no request behind.
//   Both procedures report their parameter lists as the server does: the return value (0) at
//   position 0, then their parameters in the order above (Database::procedureParameters).
// - Notifier: records each call as one line of the installation's "notifier-calls.log".
//
// The procedures run on the embedded database and over the SQLite ODBC driver; on any other
// ODBC data source the server's own procedures run (core/Database.h callProcedure).
#include <QString>

class Session;

namespace velmo {

void registerServerStandIns(Session& session);

// The file in which the simulated Notifier records its calls.
QString notifierCallLogPath(const QString& installationFolder);

}  // namespace velmo
