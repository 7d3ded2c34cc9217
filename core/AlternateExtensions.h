#pragma once
// Extension (DTMF access ID) services of the subscriber change engine, on the table DTMFAccessID:
// giving unordered alternate extensions their slot aliases, and finding every object that
// already uses an extension.
#include "core/Messages.h"

#include <QList>
#include <QString>
#include <QtGlobal>

class RunLog;
class Session;

// The alias prefix of ordered alternate extensions: slot n is "SYSTEM_DEFINED_ALT_EXT_" + n.
inline const QString OrderedAltExtAliasPrefix = QStringLiteral("SYSTEM_DEFINED_ALT_EXT_");

// One object that uses an extension.
struct DTMFIDMatch {
    QString Alias;
    QString DisplayName;
    QString Description;      // the kind of object and, for subscribers, which kind of ID
    qint16 ObjectTypeCode = 0;   // see DTMFIDObjectType
    QString ObjectID;
};

namespace DTMFIDObjectType {
constexpr qint16 Other = 0;   // an owner of another kind: its entry stays empty
constexpr qint16 Subscriber = 9;
constexpr qint16 PublicDistributionList = 18;
constexpr qint16 CallHandler = 29;
constexpr qint16 NameLookupHandler = 32;
constexpr qint16 InterviewHandler = 35;
constexpr qint16 Location = 38;
}

// Gives each alternate extension of the object whose Alias is null, in the order the database
// returns them, the alias "SYSTEM_DEFINED_ALT_EXT_" + 1, 2, ... and DtmfAccessIDType 1, logging
// "    Converting unordered alternate extension to - <alias>= <extension>" for each. Numbering
// starts at 1 on every call and does not look at the aliases the object already has.
// A row that cannot be written gets an "(error)" line under its "Converting" line, keeps its
// null Alias and still uses up its number; the other rows go on. Returns the number of rows
// actually changed. A failure of the log itself is thrown.
qint16 ConvertOldAltExtsToOrderedAltExts(Session& session, RunLog& log, const QString& strObjectID);

// Every object that uses `strDTMFID` as a primary or alternate extension: first the
// subscribers (SubscriberType not 0 or 6) of the local server or, when the session has a
// dialing domain name, of every server of that dialing domain; then every owner of another
// kind. The number of matches is the list's size; a conflict when it is above 0. Descriptions
// of subscribers are in the session's current language. An error is shown through `messages`
// and the search goes on.
QList<DTMFIDMatch> findAllDTMFIDMatchesInTAble(Session& session, const QString& strDTMFID,
                                               const MessageSink& messages = {});
