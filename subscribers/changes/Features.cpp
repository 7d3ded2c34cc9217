// The Features tab's first six lists: how messages are encrypted (from 5.0(0).10 a choice of
// three, before only whether private ones are) and five true/false options for broadcast
// messages and the message locator, all in the subscriber row.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"

namespace {

const QString kFeatures = QStringLiteral("cmbSubscriberFeatures");
constexpr int kEncryption = 0;
constexpr int kDontChange = 20;
// The encryption entries (resource string) and the value each stores in encryptmessages.
constexpr int kEncryptionChoices[][2] = {{544, 0}, {545, 1}, {546, 2}};

struct FeatureOption {
    int index;
    const char* column;
    const char* line;
};
// In the order they are applied.
constexpr FeatureOption kOptions[] = {
    {1, "SendBroadcastMsg", "   Subscriber send broadcast messages on this server set to:"},
    {4, "SendBroadcastMsgMultiSvr", "   Subscriber update broadcast messages on multiple servers set to:"},
    {2, "UpdateBroadcastMsg", "   Subscriber update broadcast messages set to:"},
    {3, "EnableMsgLocator", "   Subscriber Enable Message Locator set to:"},
    {5, "MsgLocatorReceipts", "   Subscriber Enable Message Locator Receipts set to:"},
};

void applyEncryptionChoice(SubscriberEdit& edit)
{
    const QString& choice = edit.options.control(kFeatures, kEncryption).text;
    if (edit.shows(choice, kDontChange))
        return;
    for (const auto& [string, value] : kEncryptionChoices)
        if (edit.shows(choice, string)) {
            edit.subscriber().setValue(QStringLiteral("encryptmessages"), QVariant::fromValue(qint16(value)));
            edit.writeLine(QStringLiteral("   Subscriber encrypt message set to:") + paddedNumber(value));
            edit.requestDirectoryWriteThrough();
            return;
        }
    edit.writeLine(QStringLiteral("(error) invalid drop down value for message encryption option - cmbSubscriberFeatures(0): ")
                   + choice);
}

void applyFeatures(SubscriberEdit& edit)
{
    edit.step([&] {
        if (edit.session.isVersionAtLeast(5, 0, 0, 10))
            applyEncryptionChoice(edit);
        else
            edit.applyTriState(edit.subscriber(), kFeatures, kEncryption, QStringLiteral("EncryptPrivateMessages"),
                               QStringLiteral("   Subscriber encrypt a private messages set to:"));
    });
    for (const FeatureOption& option : kOptions)
        edit.step([&] {
            edit.applyTriState(edit.subscriber(), kFeatures, option.index, QLatin1String(option.column),
                               QLatin1String(option.line));
        });
}

constexpr EngineControl kControls[] = {{"frmSelectSubscriberChanges", "cmbSubscriberFeatures", 7}};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::features{"features", applyFeatures, kControls};
