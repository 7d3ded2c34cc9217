// The alternate extensions (the Alt. Extensions tab): remove them all, then either clear or fill
// one of the nine numbered slots (servers from 4.0(3).120 on) or append one (older servers). A new
// alternate is derived by the tab's rules from the primary extension the subscriber came with.
#include "subscribers/changes/SubscriberChanges.h"
#include "subscribers/ExtensionRuleReader.h"

#include "core/AlternateExtensions.h"
#include "core/Recordset.h"
#include "core/Session.h"

#include <optional>

namespace {

constexpr int kDontChange = 20;   // "<Don't Change>"
constexpr int kMostAlternates = 9;

const QString kAlternatesQuery =
    QStringLiteral("SELECT * FROM vw_DTMFAccessID WHERE ParentObjectId=? AND IsPrimaryID='0'");
const QString kSlotQuery = QStringLiteral("SELECT * FROM DTMFAccessID WHERE ParentObjectID=? and Alias=?");

void removeAll(SubscriberEdit& edit, const QString& subscriberID)
{
    edit.writeLine(QStringLiteral("    Removing alternate extensions for this subscriber"));
    Recordset& alternates = edit.scratch(ScratchQuery::AccessIDs, kAlternatesQuery, {subscriberID});
    if (alternates.recordCount() <= 0) {
        edit.writeLine(QStringLiteral("        No alternate IDs found for this subscriber"));
        return;
    }
    alternates.moveFirst();
    while (!alternates.eof()) {
        edit.writeLine(QStringLiteral("        Removing ID=") + alternates.value(QStringLiteral("DTMFAccessID")).toString());
        alternates.deleteCurrent();   // the cursor is then on the next row
        edit.requestDirectoryWriteThrough();
    }
}

void clearSlot(SubscriberEdit& edit, const QString& subscriberID, const QString& alias)
{
    Recordset& slot = edit.scratch(ScratchQuery::AccessIDs, kSlotQuery, {subscriberID, alias});
    if (slot.recordCount() == 0) {
        edit.writeLine(QStringLiteral("    User elected to clear alternate extension with alias=") + alias
                       + QStringLiteral(".  There is no alternate extension in that position for this subscriber"));
    } else if (slot.recordCount() == 1) {
        edit.writeLine(QStringLiteral("    Deleting alternate extension=") + alias);
        slot.deleteCurrent();
        edit.requestDirectoryWriteThrough();
    } else {
        edit.writeLine(QStringLiteral("(error) More than one match found for alternate extension=") + alias
                       + QStringLiteral(".  Skipping delete request"));
    }
}

// The derived extension, or nothing when the rules give none or it is in use already.
std::optional<QString> derivedExtension(SubscriberEdit& edit)
{
    const ControlLookup control = [&edit](const char* name) -> const ControlState& { return edit.options.control(name); };
    if (!anyExtensionRuleChosen(kAlternateExtensionRules, control))
        return std::nullopt;
    edit.writeLine(QStringLiteral("    Adding alternate extension based on primary ID for this subscriber"));
    // Derived from the extension as loaded: a primary extension change of this run is not in the
    // directory list.
    const QString extension = readExtensionRules(kAlternateExtensionRules, control).applyTo(edit.currentExtension);
    if (extension.isEmpty()) {
        edit.writeLine(QStringLiteral("    Modification rules invalid for selected extension"));
        return std::nullopt;
    }
    const QList<DTMFIDMatch> matches = findAllDTMFIDMatchesInTAble(edit.session, extension, edit.log.messages());
    if (!matches.isEmpty()) {
        edit.writeLine(QStringLiteral("(warning) Alternate extension not added since it conflicts with another "
                                      "object.  ID would have been:")
                       + extension);
        edit.writeLine(QStringLiteral("    All objects found to be using that extension:"));
        for (const DTMFIDMatch& match : matches)
            edit.writeLine(QStringLiteral("        ") + match.Description + QStringLiteral(" with alias=") + match.Alias
                           + QStringLiteral(" display name=") + match.DisplayName);
        return std::nullopt;
    }
    edit.requestDirectoryWriteThrough();
    return extension;
}

// The chosen slot is filled, whatever it held: its row is rewritten whole.
void fillSlot(SubscriberEdit& edit, const QString& subscriberID, const QString& alias, const QString& extension)
{
    Recordset& slot = edit.scratch(ScratchQuery::AccessIDs, kSlotQuery, {subscriberID, alias});
    if (slot.recordCount() != 0) {
        edit.writeLine(QStringLiteral("    Editing existing alternate extension for subscriber.  Alias=") + alias
                       + QStringLiteral(" ext=") + extension);
    } else {
        edit.writeLine(QStringLiteral("    Adding new alternate extension for subscriber.  Alias=") + alias
                       + QStringLiteral(" ext=") + extension);
        slot.addNew();
    }
    slot.setValue(QStringLiteral("DTMFAccessID"), extension);
    slot.setValue(QStringLiteral("ParentObjectID"), subscriberID);
    slot.setValue(QStringLiteral("Alias"), alias);
    slot.setValue(QStringLiteral("DTMFAccessIDType"), QVariant::fromValue<qint16>(1));
    slot.setValue(QStringLiteral("IsPrimaryID"), QVariant::fromValue<qint16>(0));
    slot.setValue(QStringLiteral("ParentObjectIDType"), QVariant::fromValue<qint16>(1));
    slot.update();
}

void append(SubscriberEdit& edit, const QString& subscriberID, const QString& extension)
{
    Recordset& alternates = edit.scratch(ScratchQuery::AccessIDs, kAlternatesQuery, {subscriberID});
    if (alternates.recordCount() >= kMostAlternates) {
        edit.writeLine(QStringLiteral("(warning)  Cannot add any more alternate IDs for this subscriber, they already "
                                      "have 9.  Skipping action."));
        return;
    }
    alternates.addNew();
    alternates.setValue(QStringLiteral("DTMFAccessID"), extension);
    alternates.setValue(QStringLiteral("ParentObjectID"), subscriberID);
    alternates.setValue(QStringLiteral("IsPrimaryID"), QVariant::fromValue<qint16>(0));
    alternates.setValue(QStringLiteral("ParentObjectIDType"), QVariant::fromValue<qint16>(1));
    alternates.update();
    edit.writeLine(QStringLiteral("   New alternate extension added for user:") + extension);
}

void applyAlternateExtensions(SubscriberEdit& edit)
{
    const QString subscriberID = edit.subscriber().value(QStringLiteral("SubscriberObjectID")).toString();
    if (edit.options.control(QStringLiteral("chkSubscriberAlternateExtensionsRemoveAll")).checkState == CheckValue::Ticked)
        edit.step([&] { removeAll(edit, subscriberID); });

    if (!edit.session.isVersionAtLeast(4, 0, 3, 120)) {
        if (const std::optional<QString> extension = derivedExtension(edit))
            append(edit, subscriberID, *extension);
        return;
    }
    const QString slotText = edit.options.control(QStringLiteral("cmbSubscriberAlternateExtensionSlot")).text;
    if (edit.shows(slotText, kDontChange))
        return;
    edit.step([&] { ConvertOldAltExtsToOrderedAltExts(edit.session, edit.log, subscriberID); });
    const QString alias = OrderedAltExtAliasPrefix + slotText.right(1);
    if (edit.options.control(QStringLiteral("chkSubscriberAlternateExtensionRemoveSelected")).checkState
        == CheckValue::Ticked) {
        clearSlot(edit, subscriberID, alias);
        return;
    }
    if (const std::optional<QString> extension = derivedExtension(edit))
        fillSlot(edit, subscriberID, alias, *extension);
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr const ExtensionTabRules& kRules = kAlternateExtensionRules;
constexpr EngineControl kControls[] = {
    {kPage, "chkSubscriberAlternateExtensionsRemoveAll"},
    {kPage, "cmbSubscriberAlternateExtensionSlot"},
    {kPage, "chkSubscriberAlternateExtensionRemoveSelected"},
    {kPage, kRules[0].check}, {kPage, kRules[0].value}, {kPage, kRules[1].check}, {kPage, kRules[1].value},
    {kPage, kRules[2].check}, {kPage, kRules[2].value}, {kPage, kRules[3].check}, {kPage, kRules[3].value},
    {kPage, kRules[4].check}, {kPage, kRules[4].value}, {kPage, kRules[5].check}, {kPage, kRules[5].value},
    {kPage, kRules[6].check}, {kPage, kRules[6].value}, {kPage, kRules[7].check}, {kPage, kRules[7].value},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::alternateExtensions{"alternate extensions",
                                                                                applyAlternateExtensions, kControls};
