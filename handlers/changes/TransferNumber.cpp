// The transfer number of one contact rule. A recipient's extension is looked up in the directory
// lists loaded at start-up; the database is not asked again.
#include "handlers/changes/TransferNumber.h"

#include "core/Criterion.h"
#include "core/Recordset.h"
#include "core/Session.h"
#include "handlers/HandlerEngine.h"

#include <optional>

namespace {

// No number: null or the empty text.
bool isEmpty(const QVariant& value)
{
    return value.toString().isEmpty();
}

void transferTo(Recordset& rule, const QVariant& extension)
{
    rule.setValue(QStringLiteral("Extension"), extension.toString());
    rule.setValue(QStringLiteral("Action"), QVariant::fromValue<qint16>(1));
}

void turnOff(Recordset& rule)
{
    rule.setValue(QStringLiteral("Action"), QVariant::fromValue<qint16>(0));
}

// "<Don't Change>" on a rule switched on: a rule without a number gets the handler's extension.
void keepOrFill(HandlerEdit& edit, Recordset& rule)
{
    if (!isEmpty(rule.value(QStringLiteral("Extension"))))
        return;
    const QVariant extension = edit.handler().value(QStringLiteral("DTMFAccessID"));
    if (isEmpty(extension)) {
        turnOff(rule);
        edit.writeLine(QStringLiteral("   Turning transfer off because no transfer number could be found"));
        return;
    }
    transferTo(rule, extension);
    edit.writeLine(QStringLiteral("   Transfer extension set to: ") + extension.toString());
}

void handlersExtension(HandlerEdit& edit, Recordset& rule)
{
    const QVariant extension = edit.handler().value(QStringLiteral("DTMFAccessID"));
    if (!isEmpty(extension)) {
        transferTo(rule, extension);
        edit.writeLine(QStringLiteral("   Transfer extension set to:") + extension.toString());
    } else if (!isEmpty(rule.value(QStringLiteral("Extension")))) {
        edit.writeLine(QStringLiteral("    Transfer string for this rule left as is"));
    } else {
        turnOff(rule);
        edit.writeLine(QStringLiteral("   Transfer turned off since no transfer number found."));
    }
}

// The recipient found: its extension, or no transfer when it has none.
void recipientsExtension(HandlerEdit& edit, Recordset& rule, const QVariant& extension, const QString& noNumberLine)
{
    if (isEmpty(extension)) {
        rule.setValue(QStringLiteral("Extension"), QVariant());
        turnOff(rule);
        edit.writeLine(noNumberLine);
        return;
    }
    transferTo(rule, extension);
    edit.writeLine(QStringLiteral("    Transfer extension set to: ") + extension.toString());
}

// A subscriber's extension is its primary call handler's.
void subscribersExtension(HandlerEdit& edit, Recordset& rule, const QString& recipient, bool reportMissingHandler)
{
    Recordset& subscribers = edit.session.rsSubscribers;
    subscribers.moveFirst();
    if (!subscribers.find(QStringLiteral("SubscriberObjectID=") + quoteLiteral(recipient))) {
        edit.writeLine(QStringLiteral(
                           "(error) could not find the subscriber configured as the recipient for this handler.  Object ID=")
                       + recipient);
        edit.writeLine(QStringLiteral("    Transfer disabled since no transfer number found for recipient object."));
        turnOff(rule);
        return;
    }
    // Looked up without moving the list of primary handlers, whose position others rely on.
    const std::optional<QVariant> extension = edit.session.rsPrimaryCallHandlers.lookUp(
        QStringLiteral("CallHandlerObjectID=") + quoteLiteral(subscribers.value(QStringLiteral("CallHandlerObjectID")).toString()),
        QStringLiteral("DTMFAccessID"));
    if (!extension) {
        if (reportMissingHandler)
            edit.writeLine(QStringLiteral(
                "(error) could not find subscriber set as owner for this call handler - transfer string not set."));
        return;
    }
    recipientsExtension(edit, rule, *extension,
                        QStringLiteral("    Transfer disabled since no transfer number found for recipient object"));
}

void listsExtension(HandlerEdit& edit, Recordset& rule, const QString& recipient)
{
    Recordset& lists = edit.session.rsDistributionLists;
    lists.moveFirst();
    if (!lists.find(QStringLiteral("SystemDListObjectID=") + quoteLiteral(recipient)))
        return;
    recipientsExtension(edit, rule, lists.value(QStringLiteral("DTMFAccessID")),
                        QStringLiteral("    Transfer disabled since no tranfer number found for recipient object"));
}

}  // namespace

void HandlerChanges::applyTransferNumber(HandlerEdit& edit, Recordset& rule, int index, qint16 enabled)
{
    const QString choice = edit.options.control(QStringLiteral("comTransferTo"), index).text;
    if (edit.shows(choice, 20)) {
        if (enabled == 1)
            keepOrFill(edit, rule);
        return;
    }
    if (edit.shows(choice, 83)) {
        handlersExtension(edit, rule);
        return;
    }
    Recordset& handler = edit.handler();
    const QString recipient = handler.value(QStringLiteral("RecipientObjectID")).toString();
    // Any type but a subscriber's, none included, is a distribution list.
    const QVariant type = handler.value(QStringLiteral("RecipientObjectIDType"));
    if (!type.isNull() && type.toInt() == 1)
        subscribersExtension(edit, rule, recipient, enabled == 1);
    else
        listsExtension(edit, rule, recipient);
}
