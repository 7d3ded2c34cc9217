// The move to another delivery location (the Delivery Location tab): the subscriber's
// LocationObjectID, and its RemoteAddress rebuilt on the new location's dial ID. AMIS, Bridge
// and VPIM addresses end in the subscriber's own extension; a trusted subscriber keeps the remote
// part of its old address.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Criterion.h"
#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"

namespace {

constexpr qint16 kTrusted = 9;
// The hidden list's entry beside "<Don't Change>" is a single blank; an object ID is longer.
constexpr int kShortestLocationID = 6;

// The address prefix of each kind of subscriber that has a remote address.
struct AddressKind {
    qint16 type;
    const char* prefix;
};
constexpr AddressKind kAddressKinds[] = {{5, "AMIS:"}, {7, "OMNI:"}, {8, "VPIM:"}, {kTrusted, "VOICE:"}};

// A trusted subscriber's address after the first "_" from its sixth character on; the whole
// address when there is none (a null address gives an empty part).
QString remotePart(const QString& address)
{
    const qsizetype underscore = address.indexOf(u'_', 5);
    return underscore < 0 ? address : address.mid(underscore + 1);
}

void updateRemoteAddress(SubscriberEdit& edit, const QString& locationDialID, const QString& extension)
{
    Recordset& subscriber = edit.subscriber();
    const qint16 type = qint16(subscriber.value(QStringLiteral("SubscriberType")).toInt());
    for (const AddressKind& kind : kAddressKinds) {
        if (kind.type != type)
            continue;
        const QString tail = type == kTrusted ? remotePart(subscriber.value(QStringLiteral("RemoteAddress")).toString())
                                              : SubscriberChanges::withoutOuterBlanks(extension);
        const QString address =
            QLatin1String(kind.prefix) + SubscriberChanges::withoutOuterBlanks(locationDialID) + u'_' + tail;
        subscriber.setValue(QStringLiteral("RemoteAddress"), address);
        edit.writeLine(QStringLiteral("    Updating subscriber remote address to: ") + address);
        return;
    }
    edit.writeLine(QStringLiteral("(error) invalid subscriber type encountered:") + paddedNumber(type));
}

void applyLocationMove(SubscriberEdit& edit)
{
    const int position = edit.options.control(QStringLiteral("cmbLocationNewLocation")).currentIndex;
    const QList<ListItem>& ids = edit.options.control(QStringLiteral("cmbLocationHiddenLocationObjectID")).items;
    const QString id = position >= 0 && position < ids.size() ? ids[position].text : QString();
    if (id.size() < kShortestLocationID)
        return;

    Recordset& locations = edit.session.rsLocations;
    locations.moveFirst();
    if (!locations.find(QStringLiteral("LocationObjectID=") + quoteLiteral(id))) {
        edit.writeLine(QStringLiteral("(error) could not find location object with ID=") + id);
        return;
    }
    edit.writeLine(QStringLiteral("    Changing the location assignment of the subscriber to location with alias=")
                   + locations.value(QStringLiteral("Alias")).toString());
    const QVariant locationDialID = locations.value(QStringLiteral("DTMFAccessID"));
    if (locationDialID.isNull()) {
        edit.writeLine(QStringLiteral("(error) new location object has NULL for it's DTMFAccessId which is invalid - "
                                      "skipping locaiton reassignment"));
        return;
    }
    const QVariant extension = edit.handler().value(QStringLiteral("DTMFAccessID"));
    if (extension.isNull()) {
        edit.writeLine(QStringLiteral(
            "(error) subscriber has a NULL DTMFaccessId which is invalid - skipping location reassignment"));
        return;
    }
    // The location moves even when the address cannot be rebuilt.
    edit.step([&] { updateRemoteAddress(edit, locationDialID.toString(), extension.toString()); });
    edit.subscriber().setValue(QStringLiteral("LocationObjectID"), id);
    edit.requestDirectoryWriteThrough();
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "cmbLocationNewLocation"},
    {kPage, "cmbLocationHiddenLocationObjectID"},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::locationMove{"location move", applyLocationMove, kControls};
