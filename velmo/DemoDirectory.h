#pragma once
// Fills a freshly created VelmoDb (velmo/Schema.h) with an invented but realistic directory.
// The same options give the same rows, value for value: every random choice comes from a small
// generator seeded with options.seed, and every date is derived from the seed.
//
// What one run makes (n = options.subscriberCount):
// - Subscribers of every kind the tool edits, n in all (SubscriberType: 1 ordinary, or 3 with
//   the Domino directory connector; 2 Internet, 5 AMIS, 7 Bridge, 8 VPIM, 9 trusted). From
//   n >= 6 on each remote kind has at least one subscriber (about 2.5 % of n each, Internet
//   about 4 %), the rest are ordinary; below 6 all are ordinary. Two system accounts come on
//   top: the messaging system (type 0) and the installer (type 6), without extensions.
// - Per subscriber: its primary call handler with 6 contact rules (Alternate, Standard,
//   Off Hours, Follow-Me Here, Follow-Me Home, Follow-Me Mobile), 6 messaging rules (Standard,
//   Off Hours, Busy, Alternate, Internal, Error) and 12 menu entries (keys 0-9, *, #); one
//   primary extension in DTMFAccessID (not for the system accounts); one SubscriberEx row on
//   servers from 5.0(0).179 on; its GlobalSubscriber row.
// - Per ordinary subscriber in addition: 0 to 3 alternate extensions (about a quarter have
//   1 to 3; from 4.0(3).120 on mostly in slots "SYSTEM_DEFINED_ALT_EXT_1" ..., while some
//   subscribers, and all on older servers, have unordered ones without an alias), 14
//   notification devices with 14 notification rules ("Home Phone" ...
//   "SMS", each rule named after its device + " Rule"), and 1 or 2 MWI devices ("MWI-1",
//   sometimes "MWI-2").
// - Call handlers that are nobody's primary: "Opening Greeting", "Operator", "Goodbye" and
//   max(5, n/20) more (or options.nonPrimaryCallHandlerCount in all, when set, at least the
//   three), each with the same 6 + 6 + 12 child rows and mostly an extension.
// - Interview handlers (max(2, n/200)), name lookup handlers ("Alpha Directory" + max(1, n/500)),
//   public distribution lists ("All Subscribers" with every ordinary subscriber, two system
//   lists and max(3, n/25) more with members), 5 classes of service, 4 schedules.
// - Locations: "default" (the local server, DestinationType 1, with a DialingDomainName) and
//   two delivery locations per remote kind (DestinationType = the kind); two other servers of
//   the dialing domain in GlobalLocation, with subscribers of their own in GlobalSubscriber
//   (max(2, min(400, n/10)) in all) whose extensions are in DTMFAccessID.
// - Home (mail) servers, remote node IDs with legacy mailboxes (some ordinary subscribers),
//   switch assignments over options.switchCount integrations, languages from options.languages.
// - Extensions are unique: local objects have as many digits as their number needs (at least
//   4, from 1 followed by zeros up; subscribers first), the other servers' subscribers start
//   with 9 and have as many digits, alternates are the primary extension behind a 6-digit
//   prefix, locations have 700 to 708. The installer (type 6) owns the system call handlers.
#include "core/Database.h"
#include "velmo/InstallationOptions.h"

#include <QMap>
#include <QString>

namespace velmo {

struct DemoDirectoryStats {
    QMap<int, int> subscribersByType;   // SubscriberType -> rows of Subscriber
    int subscribers = 0;                // every row of Subscriber, system accounts included
    int primaryCallHandlers = 0;
    int nonPrimaryCallHandlers = 0;
    int interviewHandlers = 0;
    int nameLookupHandlers = 0;
    int distributionLists = 0;
    int distributionListMembers = 0;
    int classesOfService = 0;
    int schedules = 0;
    int locations = 0;                  // rows of Location (this server)
    int globalLocations = 0;            // rows of GlobalLocation (the dialing domain)
    int globalSubscribers = 0;
    int dtmfAccessIds = 0;
    int alternateExtensions = 0;
    int contactRules = 0;
    int messagingRules = 0;
    int menuEntries = 0;
    int notificationDevices = 0;
    int notificationRules = 0;
    int notificationMwis = 0;
    int subscriberExRows = 0;

    QString serverName;                 // HomeServer of this server's locations
    QString dialingDomainName;
    QString defaultLocationObjectID;
};

// Fills an embedded database on which createSchema() was run for the version in `options`
// (columns and tables the schema lacks are left out). Sets WAL journaling and writes everything
// in one transaction. Throws KestraneError when a statement fails (nothing is committed).
DemoDirectoryStats fillDemoDirectory(Database& db, const InstallationOptions& options);

// The phone-system integrations of a demo installation are numbered 1 to
// demoIntegrationCount(options) (servers older than 4.2(0).27 know at most two), and
// integration n has the IntegrationID demoIntegrationId(n). The directory's SwitchID values
// use these, and so does the installation's registry.
int demoIntegrationCount(const InstallationOptions& options);
inline qint16 demoIntegrationId(int number) { return static_cast<qint16>(number); }

}  // namespace velmo
