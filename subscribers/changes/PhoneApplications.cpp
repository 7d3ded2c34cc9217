// The Features tab's last list: whether the subscriber may use phone applications. From
// 5.0(0).179 the server keeps it in the subscriber's one row of SubscriberEx, read with a
// recordset of its own; before, in the subscriber row.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Recordset.h"
#include "core/RunLog.h"
#include "core/Session.h"

namespace {

constexpr int kPhoneApplications = 6;
const QString kColumn = QStringLiteral("PhoneAppsEnabled");

// False, with its error line, when the subscriber has no row or more than one.
bool storeInSubscriberEx(SubscriberEdit& edit, const QVariant& value)
{
    const QString id = edit.subscriber().value(QStringLiteral("SubscriberObjectID")).toString();
    Recordset extra;
    extra.open(QStringLiteral("SELECT * FROM SubscriberEx WHERE SubscriberObjectID = ?"), edit.session.database,
               LockType::Optimistic, {id});
    if (extra.recordCount() == 0) {
        edit.writeLine(QStringLiteral("(error) no entry found in SubscriberEx table for SubscriberObjectID=") + id);
        return false;
    }
    if (extra.recordCount() > 1) {
        edit.writeLine(QStringLiteral("(error) more than one entry found in SubscriberEx table for SubscriberObjectID=") + id);
        return false;
    }
    extra.setValue(kColumn, value);
    extra.update();
    return true;
}

void applyPhoneApplications(SubscriberEdit& edit)
{
    const qint16 code = edit.triState(edit.options.control(QStringLiteral("cmbSubscriberFeatures"), kPhoneApplications));
    if (code != 0 && code != 1)
        return;
    const QVariant value = QVariant::fromValue(code);
    if (!edit.session.isVersionAtLeast(5, 0, 0, 179))
        edit.subscriber().setValue(kColumn, value);
    else if (!storeInSubscriberEx(edit, value))
        return;   // nothing was set, so no change line
    edit.writeLine(QStringLiteral("   PhoneAppsEnabled set to:") + paddedNumber(code));
}

constexpr EngineControl kControls[] = {{"frmSelectSubscriberChanges", "cmbSubscriberFeatures", 7}};

}  // namespace

constinit const SubscriberChangeCategory SubscriberChanges::phoneApplications{"phone applications",
                                                                              applyPhoneApplications, kControls};
