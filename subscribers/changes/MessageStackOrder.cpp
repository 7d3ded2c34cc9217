// The order in which the subscriber hears messages: whether the message type menu plays, each
// stack oldest or newest first and the seven message types of each in the order of the page's
// play-order lists, packed into the subscriber's StackOrder ("YN:F1234567:O:L1234567"); and,
// from 4.0(3).60, the order of deleted messages.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Errors.h"
#include "core/Recordset.h"
#include "core/Session.h"

namespace {

constexpr int kMessageTypes = 7;
constexpr int kOldestFirst = 0;   // the position of "Oldest first" in the three direction lists

bool oldestFirst(SubscriberEdit& edit, const char* list)
{
    return edit.options.control(list).currentIndex == kOldestFirst;
}

// The codes of a play-order list's entries, top to bottom.
QString playOrder(SubscriberEdit& edit, const char* list)
{
    const QList<ListItem>& entries = edit.options.control(list).items;
    // A shorter list would store an order the server cannot read.
    if (entries.size() < kMessageTypes)
        throw KestraneError(ErrorNumber::InvalidProcedureCall,
                            QLatin1String(list) + QStringLiteral(" holds fewer than seven message types"));
    QString codes;
    for (int entry = 0; entry < kMessageTypes; ++entry)
        codes += entries[entry].data.toString().trimmed();
    return codes;
}

QString stackOrder(SubscriberEdit& edit)
{
    const bool menu = edit.options.control(QStringLiteral("chkFlexStackMessageTypeMenu")).checkState == CheckValue::Ticked;
    return (menu ? QStringLiteral("YN:") : QStringLiteral("NN:"))
           + (oldestFirst(edit, "cmbFlexStackNewMessagesLIFOFIFO") ? u'F' : u'L')
           + playOrder(edit, "listFlexStackOrderNewMessages")
           + (oldestFirst(edit, "cmbFlexStackSavedMessagesLIFOFIFO") ? QStringLiteral(":O:F") : QStringLiteral(":O:L"))
           + playOrder(edit, "listFlexStackOrderOldMessages");
}

void applyMessageStackOrder(SubscriberEdit& edit)
{
    // A dimmed box asks for the change too: only a clear one leaves the order alone.
    if (edit.options.control(QStringLiteral("chkFlexStackMakeChange")).checkState == CheckValue::Clear)
        return;
    if (edit.session.isVersionAtLeast(4, 0, 3, 60))
        edit.step([&] {
            const bool fifo = oldestFirst(edit, "cmbFlexStackDeletedItemsLIFOFIFO");
            edit.subscriber().setValue(QStringLiteral("DeletedStackOrderType"), fifo);
            edit.writeLine(fifo ? QStringLiteral("    Deleted items stack set to FIFO (oldest first)")
                                : QStringLiteral("    Deleted items stack set to LIFO (newest first)"));
        });
    edit.step([&] {
        const QString order = stackOrder(edit);
        edit.subscriber().setValue(QStringLiteral("StackOrder"), order);
        edit.writeLine(QStringLiteral("    Stack order set to: ") + order);
    });
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "chkFlexStackMakeChange"},          {kPage, "chkFlexStackMessageTypeMenu"},
    {kPage, "cmbFlexStackNewMessagesLIFOFIFO"}, {kPage, "cmbFlexStackSavedMessagesLIFOFIFO"},
    {kPage, "cmbFlexStackDeletedItemsLIFOFIFO"}, {kPage, "listFlexStackOrderNewMessages"},
    {kPage, "listFlexStackOrderOldMessages"},
};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::messageStackOrder{"message stack order",
                                                                              applyMessageStackOrder, kControls};
