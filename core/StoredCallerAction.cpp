#include "core/StoredCallerAction.h"

#include "core/Recordset.h"
#include "core/RunLog.h"

void storeCallerAction(RunLog& log, Recordset& row, const CallerAction& action, const CallerActionColumns& columns,
                       ActionCodeForm form)
{
    row.setValue(QLatin1String(columns.action), QVariant::fromValue<qint16>(action.actionCode));
    row.setValue(QLatin1String(columns.conversation), action.conversationName);
    log.WriteLogLine(QLatin1String(columns.actionLine)
                     + (form == ActionCodeForm::Padded ? paddedNumber(action.actionCode) : QString::number(action.actionCode)));
    log.WriteLogLine(QLatin1String(columns.conversationLine) + action.conversationName);

    const bool toObject = action.actionCode == CallerActionCode::GoTo && !action.destinationObjectID.isEmpty();
    row.setValue(QLatin1String(columns.objectID), toObject ? QVariant(action.destinationObjectID) : QVariant());
    row.setValue(QLatin1String(columns.objectIDType),
                 QVariant::fromValue<qint16>(toObject ? action.destinationObjectIDType : 0));
    log.WriteLogLine(toObject ? QLatin1String(columns.objectIDLine) + action.destinationObjectID
                            : QString::fromLatin1(columns.objectIDClearedLine));
}
