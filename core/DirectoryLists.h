#pragma once
// The directory lists of a session: loaded once at start-up, closed when the tool ends.
#include <QList>
#include <QString>

class Recordset;
class Session;

// Opens the database the connection string leads to (once per run) and loads every directory
// list. False after any failure, with every list closed; `failure`, when given, then says where
// the database was looked for (its file or ODBC data source) and the database's own reason.
bool LoadDirectoryLists(Session& session, const QString& connectionString, QString* failure = nullptr);
// Every directory list and work recordset of the session, open or not.
QList<Recordset*> directoryLists(Session& session);
// Closes every directory list and work recordset; never fails.
void CloseServerRecordsets(Session& session);
