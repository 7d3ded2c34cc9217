#include "search/PickerQueries.h"

#include "core/Database.h"
#include "core/Installation.h"
#include "tests/support/TempInstallation.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

using By = PickerSearchBy;

const QString kCallHandlerBase =
    "SELECT Alias, TextName,DtmfAccessId, CallHandlerObjectId FROM vw_CallHandler WHERE (IsPrimary<>1)";
const QString kCallHandlerTail = "GROUP BY Alias, TextName, DtmfAccessId, CallHandlerObjectId ORDER BY Alias";
const QString kSubscriberSelect =
    "SELECT vw_Subscriber.Alias, vw_Subscriber.DisplayName,vw_CallHandler.DtmfAccessId, "
    "vw_Subscriber.FirstName,vw_Subscriber.LastName , vw_Subscriber.SubscriberObjectID "
    "FROM vw_CallHandler INNER JOIN vw_Subscriber ON "
    "vw_CallHandler.CallHandlerObjectId = vw_Subscriber.CallHandlerObjectId "
    "WHERE vw_Subscriber.SubscriberType IN ";
const QString kSubscriberTail =
    "GROUP BY vw_Subscriber.Alias, vw_Subscriber.DisplayName, vw_CallHandler.DtmfAccessId, "
    "vw_Subscriber.FirstName,vw_Subscriber.LastName , vw_Subscriber.SubscriberObjectId";
const QString kInterviewerBase =
    "SELECT Alias, TextName, DtmfAccessId, InterviewHandlerObjectId FROM vw_InterviewHandler";
const QString kDirectoryHandlerBase =
    "SELECT Alias, TextName,DtmfAccessId, NameLookupHandlerObjectId FROM vw_NameLookupHandler";
const QString kDirectoryHandlerTail =
    " GROUP BY Alias, TextName, DtmfAccessId, NameLookupHandlerObjectID ORDER BY Alias";
const QString kDistributionListBase =
    "SELECT Alias, DisplayName,DtmfAccessId, SystemDListObjectId FROM vw_DistributionList";

struct StatementCase {
    PickerKind kind;
    By searchBy;
    QString text;
    bool remote;
    QString expected;
};

void expectStatements(const std::vector<StatementCase>& cases)
{
    for (const StatementCase& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(pickerStatement(c.kind, c.searchBy, c.text, c.remote), c.expected);
    }
}

TEST(PickerStatements, NameAndExtensionSearchOfEveryPicker)
{
    expectStatements({
        {PickerKind::CallHandler, By::DisplayName, "Oper*", false,
         kCallHandlerBase + " AND (TextName LIKE 'Oper%') " + kCallHandlerTail},
        {PickerKind::CallHandler, By::Extension, "10*", false,
         kCallHandlerBase + " AND (DTMFAccessID LIKE '10%') " + kCallHandlerTail},
        {PickerKind::Subscriber, By::LastName, "Sm*", false,
         kSubscriberSelect + "(1,3)AND (vw_Subscriber.LastName LIKE 'Sm%') " + kSubscriberTail},
        {PickerKind::Subscriber, By::FirstName, "Ann", false,
         kSubscriberSelect + "(1,3)AND (vw_Subscriber.FirstName LIKE 'Ann') " + kSubscriberTail},
        {PickerKind::Subscriber, By::Alias, "jsm*", true,
         kSubscriberSelect + "(1,2,3,5,7,8,9)AND (vw_Subscriber.Alias LIKE 'jsm%') " + kSubscriberTail},
        {PickerKind::Subscriber, By::Extension, "10*", true,
         kSubscriberSelect + "(1,2,3,5,7,8,9)AND (vw_CallHandler.DTMFAccessID LIKE '10%') " + kSubscriberTail},
        {PickerKind::Interviewer, By::DisplayName, "Survey*", false,
         kInterviewerBase + " WHERE (TextName LIKE 'Survey%')  ORDER BY Alias"},
        {PickerKind::Interviewer, By::Extension, "20*", false,
         kInterviewerBase + " WHERE (DTMFAccessID LIKE '20%')  ORDER BY Alias"},
        {PickerKind::DirectoryHandler, By::DisplayName, "Alpha*", false,
         kDirectoryHandlerBase + " WHERE TextName LIKE 'Alpha%' " + kDirectoryHandlerTail},
        {PickerKind::DirectoryHandler, By::Extension, "30*", false,
         kDirectoryHandlerBase + " WHERE DTMFAccessID LIKE '30%' " + kDirectoryHandlerTail},
        {PickerKind::DistributionList, By::DisplayName, "All*", false,
         kDistributionListBase + " WHERE (DisplayName LIKE 'All%') "},
        {PickerKind::DistributionList, By::Extension, "40*", false,
         kDistributionListBase + " WHERE (DTMFAccessID LIKE '40%') "},
    });
}

TEST(PickerStatements, StarRules)
{
    expectStatements({
        // A leading star drops the filter, whatever follows it.
        {PickerKind::CallHandler, By::DisplayName, "*Desk", false, kCallHandlerBase + kCallHandlerTail},
        {PickerKind::Subscriber, By::LastName, "*", false, kSubscriberSelect + "(1,3)" + kSubscriberTail},
        {PickerKind::Interviewer, By::Extension, "*1", false, kInterviewerBase + " ORDER BY Alias"},
        {PickerKind::DirectoryHandler, By::DisplayName, "**", false, kDirectoryHandlerBase + kDirectoryHandlerTail},
        {PickerKind::DistributionList, By::DisplayName, "*All", false, kDistributionListBase},
        // The star must come first as typed: a blank before it keeps the filter, and the
        // trimmed display name text is then a lone wildcard.
        {PickerKind::DistributionList, By::DisplayName, " *", false,
         kDistributionListBase + " WHERE (DisplayName LIKE '%') "},
        // Stars anywhere else become "%"; the database's own wildcards pass unchanged.
        {PickerKind::CallHandler, By::DisplayName, "Op*r*", false,
         kCallHandlerBase + " AND (TextName LIKE 'Op%r%') " + kCallHandlerTail},
        {PickerKind::DistributionList, By::Extension, "4_0%", false,
         kDistributionListBase + " WHERE (DTMFAccessID LIKE '4_0%') "},
        // An empty text filters on the empty pattern.
        {PickerKind::Interviewer, By::DisplayName, "", false,
         kInterviewerBase + " WHERE (TextName LIKE '')  ORDER BY Alias"},
    });
}

TEST(PickerStatements, BlanksRemovedOnlyAroundDisplayNamesOfTheFourHandlerAndListPickers)
{
    expectStatements({
        {PickerKind::CallHandler, By::DisplayName, "  Operator ", false,
         kCallHandlerBase + " AND (TextName LIKE 'Operator') " + kCallHandlerTail},
        {PickerKind::CallHandler, By::Extension, " 10 ", false,
         kCallHandlerBase + " AND (DTMFAccessID LIKE ' 10 ') " + kCallHandlerTail},
        {PickerKind::DirectoryHandler, By::DisplayName, " Alpha Directory ", false,
         kDirectoryHandlerBase + " WHERE TextName LIKE 'Alpha Directory' " + kDirectoryHandlerTail},
        {PickerKind::Interviewer, By::DisplayName, " Survey ", false,
         kInterviewerBase + " WHERE (TextName LIKE 'Survey')  ORDER BY Alias"},
        {PickerKind::DistributionList, By::Extension, " 40", false,
         kDistributionListBase + " WHERE (DTMFAccessID LIKE ' 40') "},
        {PickerKind::Subscriber, By::LastName, " Smith ", false,
         kSubscriberSelect + "(1,3)AND (vw_Subscriber.LastName LIKE ' Smith ') " + kSubscriberTail},
    });
}

TEST(PickerStatements, SubscriberTypeLists)
{
    EXPECT_EQ(subscriberTypeList(true), "(1,2,3,5,7,8,9)");
    EXPECT_EQ(subscriberTypeList(false), "(1,3)");
    EXPECT_EQ(pickerBaseStatement(PickerKind::Subscriber, false), kSubscriberSelect + "(1,3)");
    EXPECT_EQ(pickerBaseStatement(PickerKind::Subscriber, true), kSubscriberSelect + "(1,2,3,5,7,8,9)");
    // The other pickers have no type list.
    EXPECT_EQ(pickerBaseStatement(PickerKind::CallHandler, true), kCallHandlerBase);
}

TEST(PickerStatements, QuoteInSearchTextStaysInsideThePattern)
{
    expectStatements({
        {PickerKind::Subscriber, By::LastName, "O'Br*", false,
         kSubscriberSelect + "(1,3)AND (vw_Subscriber.LastName LIKE 'O''Br%') " + kSubscriberTail},
        {PickerKind::CallHandler, By::DisplayName, "x') OR (1=1", false,
         kCallHandlerBase + " AND (TextName LIKE 'x'') OR (1=1') " + kCallHandlerTail},
        {PickerKind::DirectoryHandler, By::Extension, "''", false,
         kDirectoryHandlerBase + " WHERE DTMFAccessID LIKE '''''' " + kDirectoryHandlerTail},
    });
}

// Every statement runs on the database of a generated installation, with the fields the grid
// expects; the call handler picker leaves out every primary handler.
TEST(PickerStatementsOnDatabase, EverySearchRunsAndCallHandlersLeaveOutPrimaryOnes)
{
    TempInstallation installation;
    ASSERT_TRUE(installation.ok()) << installation.error().toStdString();
    Database db;
    ASSERT_TRUE(db.open(resolveConnectionString("database=VelmoDb", installation.installation()))) << db.lastError().toStdString();

    for (PickerKind kind : {PickerKind::CallHandler, PickerKind::Subscriber, PickerKind::Interviewer,
                            PickerKind::DirectoryHandler, PickerKind::DistributionList}) {
        const PickerDefinition& definition = pickerDefinition(kind);
        for (const PickerFilter& filter : definition.filters) {
            for (const QString& text : {QString("*"), QString("a*"), QString("O'B*")}) {
                SCOPED_TRACE(std::string(definition.formName) + " " + filter.optionName + " " + text.toStdString());
                QueryResult result;
                ASSERT_NO_THROW(result = db.select(pickerStatement(kind, filter.searchBy, text, true)));
                EXPECT_EQ(result.fields.size(), qsizetype(definition.columns.size()));
            }
        }
    }

    const QueryResult handlers = db.select(pickerStatement(PickerKind::CallHandler, By::DisplayName, "*"));
    EXPECT_EQ(handlers.rows.size(), db.select("SELECT COUNT(*) FROM CallHandler WHERE IsPrimary = 0").rows[0][0].toInt());
    for (const auto& row : handlers.rows)
        EXPECT_EQ(db.select("SELECT IsPrimary FROM CallHandler WHERE CallHandlerObjectID = ?", {row[3]}).rows[0][0].toInt(), 0);
}

}  // namespace
