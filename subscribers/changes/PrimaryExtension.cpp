// The primary extension change: a new extension computed from the current one by the rules of
// the Extension tab, refused when any object already uses it, otherwise written to the primary
// extension row (and to the transfer string and the Alternate rule when they followed the old
// extension).
#include "subscribers/changes/SubscriberChanges.h"
#include "subscribers/ExtensionRuleReader.h"

#include "core/AlternateExtensions.h"
#include "core/Recordset.h"
#include "core/Session.h"

namespace {

constexpr char kPage[] = "frmSelectSubscriberChanges";

constexpr const ExtensionTabRules& kRules = kPrimaryExtensionRules;
constexpr EngineControl kControls[] = {
    {kPage, kRules[0].check}, {kPage, kRules[0].value}, {kPage, kRules[1].check}, {kPage, kRules[1].value},
    {kPage, kRules[2].check}, {kPage, kRules[2].value}, {kPage, kRules[3].check}, {kPage, kRules[3].value},
    {kPage, kRules[4].check}, {kPage, kRules[4].value}, {kPage, kRules[5].check}, {kPage, kRules[5].value},
    {kPage, kRules[6].check}, {kPage, kRules[6].value}, {kPage, kRules[7].check}, {kPage, kRules[7].value},
};

void listConflicts(SubscriberEdit& edit, const QString& newExtension, const QList<DTMFIDMatch>& matches)
{
    edit.writeLine(QStringLiteral(
                       "(warning) Extension not modified since it conflicts with another object.  ID would have been:")
                   + newExtension);
    edit.writeLine(QStringLiteral("All objects found to be using extension:"));
    for (const DTMFIDMatch& match : matches)
        edit.writeLine(QStringLiteral("    ") + match.Description + QStringLiteral(" with alias=") + match.Alias
                       + QStringLiteral(" display name=") + match.DisplayName);
}

// The subscriber's transfer string, and the Alternate rule that transfers to it, follow the
// extension. The subscriber row is written with the subscriber's other changes at the end.
void moveTransferStringAlong(SubscriberEdit& edit, const QString& newExtension)
{
    edit.writeLine(QStringLiteral("    Current extension matches transfer string - updating transfer string for "
                                  "subscriber to match new extension"));
    edit.subscriber().setValue(QStringLiteral("XFerString"), newExtension);
    edit.step([&] {
        Recordset& rules = edit.contactRules();
        const FilterGuard allRules(rules);
        rules.setFilter(QStringLiteral("Alias='alternate'"));
        if (rules.recordCount() != 1) {
            edit.writeLine(QStringLiteral("(error) Alternate contact rule could not be feteched for extension/stransfer "
                                          "string update in MakeChangestoSubscriber routine."));
        } else {
            rules.setValue(QStringLiteral("Extension"), newExtension);
            rules.update();
        }
    });
}

// The server picks up the new message-waiting extension once the subscriber's changes are
// committed: asked earlier, it would read the old one; after a rollback there is nothing to pick up.
void refreshMessageWaitingExtension(SubscriberEdit& edit, const QString& subscriberID)
{
    std::shared_ptr<Notifier> notifier = edit.session.objNotifier;
    if (!notifier)
        throw KestraneError(ErrorNumber::ComponentUnavailable, QStringLiteral("The Notifier is not bound"));
    edit.writeLine(QStringLiteral("    MWI Extension being updated via Notifier interface"));
    edit.actions.onCommit([notifier, subscriberID, &log = edit.log] {
        try {
            notifier->RefreshSubscriber(subscriberID);
        } catch (const KestraneError& failure) {
            try {
                log.WriteLogLine(subscriberEditErrorLine(failure));
            } catch (const KestraneError&) {
                // The log itself failed: the subscriber's changes are kept all the same.
            }
        }
    });
}

void applyPrimaryExtension(SubscriberEdit& edit)
{
    const ControlLookup control = [&edit](const char* name) -> const ControlState& { return edit.options.control(name); };
    if (!anyExtensionRuleChosen(kRules, control))
        return;

    // A rule value that cannot be read ends the category here: an extension computed without
    // one of the chosen rules is not the one asked for.
    const QString newExtension = readExtensionRules(kRules, control).applyTo(edit.currentExtension);
    edit.workingExtension = newExtension;
    if (newExtension.isEmpty()) {
        edit.writeLine(QStringLiteral("    Modification rules invalid for selected extension"));
        return;
    }

    const QList<DTMFIDMatch> matches = findAllDTMFIDMatchesInTAble(edit.session, newExtension, edit.log.messages());
    if (!matches.isEmpty()) {
        listConflicts(edit, newExtension, matches);
        return;
    }

    const QString subscriberID = edit.subscriber().value(QStringLiteral("SubscriberObjectID")).toString();
    Recordset& primary = edit.scratch(ScratchQuery::AccessIDs,
                                      QStringLiteral("SELECT * from DTMFAccessID WHERE ParentObjectID=? AND IsPrimaryID='1'"),
                                      {subscriberID});
    if (primary.recordCount() == 0) {
        edit.writeLine(QStringLiteral("(error) could not find primary extension entry for this subscriber in the "
                                      "DTMFAccessID table.  Skipping extension update."));
        return;
    }
    if (primary.recordCount() > 1) {
        edit.writeLine(QStringLiteral("(error) more than one primary extension record found for this subscriber in the "
                                      "DTMFAccessID table - skipping extension update."));
        return;
    }

    const QVariant transferString = edit.subscriber().value(QStringLiteral("XFerString"));
    if (!transferString.isNull() && transferString.toString().compare(edit.currentExtension, Qt::CaseInsensitive) == 0)
        moveTransferStringAlong(edit, newExtension);
    else
        edit.writeLine(QStringLiteral("    Current extension does not match transfer string - leaving transfer string "
                                      "alone and just changing the subscriber's extension"));

    primary.setValue(QStringLiteral("DTMFAccessID"), newExtension);
    primary.update();
    edit.requestDirectoryWriteThrough();
    edit.writeLine(QStringLiteral("   Extension changed to:") + newExtension);
    if (edit.session.isVersionAtLeast(4, 0, 4, 20))
        edit.step([&] { refreshMessageWaitingExtension(edit, subscriberID); });
}

}  // namespace

namespace SubscriberChanges {

const SubscriberChangeCategory primaryExtension{"primary extension", applyPrimaryExtension, kControls};

}  // namespace SubscriberChanges
