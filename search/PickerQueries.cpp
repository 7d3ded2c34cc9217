#include "search/PickerQueries.h"

#include "core/Criterion.h"

namespace {

using By = PickerSearchBy;

// Filter pieces stop short of the pattern's quotes: quoteLiteral() adds them and escapes the text.
const PickerDefinition kCallHandler{
    PickerKind::CallHandler,
    "frmCallHandlerSearch",
    81,
    127,
    PickerErrorReport::SearchFunctionError,
    {{By::DisplayName, "optSearchByDisplayName", 110, " AND (TextName LIKE ", ") ", true},
     {By::Extension, "optSearchByExtension", 134, " AND (DTMFAccessID LIKE ", ") ", false}},
    By::DisplayName,
    {{"Alias", 30}, {kDisplayNameKey, 110}, {"Extension", 134}, {"CallHandlerObjectID", 0}},
    "GROUP BY Alias, TextName, DtmfAccessId, CallHandlerObjectId ORDER BY Alias",
};

const PickerDefinition kSubscriber{
    PickerKind::Subscriber,
    "frmSubscriberSearch",
    254,
    129,
    PickerErrorReport::Silent,
    {{By::FirstName, "optSearchByFirstName", 139, "AND (vw_Subscriber.FirstName LIKE ", ") ", false},
     {By::LastName, "optSearchByLastName", 170, "AND (vw_Subscriber.LastName LIKE ", ") ", false},
     {By::Alias, "optSearchByAlias", 30, "AND (vw_Subscriber.Alias LIKE ", ") ", false},
     {By::Extension, "optSearchByExtension", 134, "AND (vw_CallHandler.DTMFAccessID LIKE ", ") ", false}},
    By::LastName,
    {{"Alias", 30},
     {kDisplayNameKey, 110},
     {"Extension", 134},
     {"FirstName", 139},
     {"LastName", 170},
     {"SubscriberObjectID", 0}},
    "GROUP BY vw_Subscriber.Alias, vw_Subscriber.DisplayName, vw_CallHandler.DtmfAccessId, "
    "vw_Subscriber.FirstName,vw_Subscriber.LastName , vw_Subscriber.SubscriberObjectId",
};

const PickerDefinition kInterviewer{
    PickerKind::Interviewer,
    "frmInterviewerSearch",
    162,
    128,
    PickerErrorReport::SearchFunctionError,
    {{By::DisplayName, "optSearchByDisplayName", 110, " WHERE (TextName LIKE ", ") ", true},
     {By::Extension, "optSearchByExtension", 134, " WHERE (DTMFAccessID LIKE ", ") ", false}},
    By::DisplayName,
    {{"Alias", 30}, {kDisplayNameKey, 110}, {"Extension", 134}, {"InterviewHandlerObjectID", 0}},
    " ORDER BY Alias",
};

const PickerDefinition kDirectoryHandler{
    PickerKind::DirectoryHandler,
    "frmDirectoryHandlerSearch",
    107,
    313,
    PickerErrorReport::ProcedureError,
    {{By::DisplayName, "optSearchByDisplayName", 110, " WHERE TextName LIKE ", " ", true},
     {By::Extension, "optSearchByExtension", 134, " WHERE DTMFAccessID LIKE ", " ", false}},
    By::DisplayName,
    {{"Alias", 30}, {kDisplayNameKey, 110}, {"Extension", 134}, {"NameLookupHandlerObjectID", 0}},
    " GROUP BY Alias, TextName, DtmfAccessId, NameLookupHandlerObjectID ORDER BY Alias",
};

const PickerDefinition kDistributionList{
    PickerKind::DistributionList,
    "frmDistributionListSearch",
    111,
    314,
    PickerErrorReport::SearchFunctionError,
    {{By::DisplayName, "optSearchByDisplayName", 110, " WHERE (DisplayName LIKE ", ") ", true},
     {By::Extension, "optSearchByExtension", 134, " WHERE (DTMFAccessID LIKE ", ") ", false}},
    By::DisplayName,
    {{"Alias", 30}, {kDisplayNameKey, 110}, {"Extension", 134}, {"SystemDListObjectID", 0}},
    "",
};

}  // namespace

const PickerFilter& PickerDefinition::filterFor(PickerSearchBy searchBy) const
{
    for (const PickerFilter& filter : filters)
        if (filter.searchBy == searchBy)
            return filter;
    return filters.back();
}

const PickerDefinition& pickerDefinition(PickerKind kind)
{
    switch (kind) {
    case PickerKind::CallHandler:
        return kCallHandler;
    case PickerKind::Subscriber:
        return kSubscriber;
    case PickerKind::Interviewer:
        return kInterviewer;
    case PickerKind::DirectoryHandler:
        return kDirectoryHandler;
    case PickerKind::DistributionList:
        break;
    }
    return kDistributionList;
}

QString subscriberTypeList(bool bShowRemoteSubscribers)
{
    return bShowRemoteSubscribers ? QStringLiteral("(1,2,3,5,7,8,9)") : QStringLiteral("(1,3)");
}

QString pickerBaseStatement(PickerKind kind, bool bShowRemoteSubscribers)
{
    switch (kind) {
    case PickerKind::CallHandler:
        return QStringLiteral("SELECT Alias, TextName,DtmfAccessId, CallHandlerObjectId FROM vw_CallHandler "
                              "WHERE (IsPrimary<>1)");
    case PickerKind::Subscriber:
        return QStringLiteral("SELECT vw_Subscriber.Alias, vw_Subscriber.DisplayName,vw_CallHandler.DtmfAccessId, "
                              "vw_Subscriber.FirstName,vw_Subscriber.LastName , vw_Subscriber.SubscriberObjectID "
                              "FROM vw_CallHandler INNER JOIN vw_Subscriber ON "
                              "vw_CallHandler.CallHandlerObjectId = vw_Subscriber.CallHandlerObjectId "
                              "WHERE vw_Subscriber.SubscriberType IN ")
            + subscriberTypeList(bShowRemoteSubscribers);
    case PickerKind::Interviewer:
        return QStringLiteral("SELECT Alias, TextName, DtmfAccessId, InterviewHandlerObjectId FROM vw_InterviewHandler");
    case PickerKind::DirectoryHandler:
        return QStringLiteral("SELECT Alias, TextName,DtmfAccessId, NameLookupHandlerObjectId FROM vw_NameLookupHandler");
    case PickerKind::DistributionList:
        break;
    }
    return QStringLiteral("SELECT Alias, DisplayName,DtmfAccessId, SystemDListObjectId FROM vw_DistributionList");
}

QString pickerStatement(PickerKind kind, PickerSearchBy searchBy, const QString& searchText,
                        bool bShowRemoteSubscribers)
{
    const PickerDefinition& definition = pickerDefinition(kind);
    QString statement = pickerBaseStatement(kind, bShowRemoteSubscribers);
    // A leading "*" (as typed, before any trimming) lists every object of the kind.
    if (!searchText.startsWith(u'*')) {
        const PickerFilter& filter = definition.filterFor(searchBy);
        statement += QLatin1String(filter.before)
            + quoteLiteral(filter.trimmed ? searchText.trimmed() : searchText)
            + QLatin1String(filter.after);
    }
    statement += QLatin1String(definition.tail);
    statement.replace(u'*', u'%');
    return statement;
}
