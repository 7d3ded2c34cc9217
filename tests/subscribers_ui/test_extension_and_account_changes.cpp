// The primary extension change and the account and password changes of the subscriber engine,
// run on the loaded options page over the first subscriber of a generated installation.
#include "core/AlternateExtensions.h"
#include "tests/support/QtPrinters.h"
#include "core/Database.h"
#include "core/Errors.h"
#include "core/Recordset.h"
#include "tests/subscribers_ui/EngineScenario.h"
#include "tests/support/Backends.h"
#include "velmo/ServerStandIns.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kFirstQuery = "SELECT SubscriberObjectID FROM Subscriber ORDER BY SubscriberObjectID LIMIT 1";
const QString kFirst = "(" + kFirstQuery + ")";   // the subscriber that run(1) changes
const QString kFirstHandler = "(SELECT CallHandlerObjectID FROM Subscriber WHERE SubscriberObjectID=" + kFirst + ")";
const QString kPrimaryRow = "FROM DTMFAccessID WHERE ParentObjectID=" + kFirst + " AND IsPrimaryID=1";
const QString kAlternateRule = "FROM ContactRule WHERE ParentObjectID=" + kFirstHandler + " AND Alias='Alternate'";
const QString kOldTime = "2001-02-03T04:05:06.000";

QString md5(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex().toUpper());
}

// A run whose first subscriber has the primary extension `extension` (no other object uses it
// or the numbers the rules below make of it), the transfer string `transfer`, an Alternate rule
// to "ALT", and account values that every change below alters.
struct Scenario {
    Scenario(const QString& extension, const QString& transfer, const velmo::InstallationOptions& options)
        : run(options)
    {
        run.sql("DELETE FROM DTMFAccessID WHERE DTMFAccessID IN ('" + extension
                + "', '6234', '91234', '12ab9') AND ParentObjectID <> " + kFirst);
        run.sql("UPDATE DTMFAccessID SET DTMFAccessID='" + extension + "' WHERE ParentObjectID=" + kFirst
                + " AND IsPrimaryID=1");
        run.sql("UPDATE Subscriber SET XFerString=" + (transfer.isEmpty() ? QString("NULL") : "'" + transfer + "'")
                + ", BillingID='777', PWLocked=1, PWTimeLockout='" + kOldTime + "', PWCantChange=2, PWMustChange=2,"
                + " PWDoesntExpire=2, PWDTMF='OLDHASH', PWTimeChanged='" + kOldTime
                + "' WHERE SubscriberObjectID=" + kFirst);
        run.sql("UPDATE ContactRule SET Extension='ALT' WHERE ParentObjectID=" + kFirstHandler
                + " AND Alias='Alternate'");
    }

    // What a check reads: "primary" and "alternate" the two extensions, "notified" the Notifier's
    // calls for the subscriber, "synced" its write-through requests, else a subscriber column.
    QString after(const QString& what)
    {
        const QString id = run.stored(kFirstQuery).toString();
        if (what == "notified") {
            QFile calls(velmo::notifierCallLogPath(run.installation.folder()));
            const QByteArray call = "RefreshSubscriber " + id.toUtf8();
            return QString::number(calls.open(QIODevice::ReadOnly) ? calls.readAll().count(call) : 0);
        }
        const QVariant value =
            what == "primary"     ? run.stored("SELECT DTMFAccessID " + kPrimaryRow + " ORDER BY rowid")
            : what == "alternate" ? run.stored("SELECT Extension " + kAlternateRule)
            : what == "synced"    ? run.stored("SELECT COUNT(*) FROM DirectorySyncRequest")
                                  : run.stored("SELECT " + what + " FROM Subscriber WHERE SubscriberObjectID=?", {id});
        return value.isNull() ? "<null>" : value.toString();
    }

    EngineScenario run;
};

const QString kMatches = "    Current extension matches transfer string - updating transfer string for subscriber to "
                         "match new extension";
const QString kDiffers = "    Current extension does not match transfer string - leaving transfer string alone and "
                         "just changing the subscriber's extension";
const QString kNotified = "    MWI Extension being updated via Notifier interface";
const QString kInvalid = "    Modification rules invalid for selected extension";
const QString kConflict = "(warning) Extension not modified since it conflicts with another object.  ID would have been:";

// The first subscriber's lines of the two categories (and every error and warning), whatever
// the other categories write around them.
QStringList ownLines(const EngineScenario& run)
{
    static const QStringList starts{kMatches,         kDiffers,        kNotified,         kInvalid,
                                    "   Extension",   "All objects",   "   Billing ID",   "    Billing ID",
                                    "    Account set", "   User ",      "   Password",     "(warning)",
                                    "(error)"};
    QStringList own;
    for (const QString& line : run.changesOf(0)) {
        // The transfer rules come after these two categories and always write their lines.
        if (line.startsWith("    Updating transfer rule: ") || line.contains("contact rule found for this subscriber!"))
            break;
        if (std::any_of(starts.begin(), starts.end(), [&](const QString& start) { return line.startsWith(start); }))
            own << line;
    }
    return own;
}

using Pairs = QList<QPair<QString, QString>>;

struct Case {
    const char* what;
    QString extension;
    QString transfer;     // empty: none
    Pairs choices;        // check boxes get the value as their state, lists choose it, boxes take it
    QStringList lines;
    Pairs after;          // Scenario::after: a value, "<null>", or "<now>" (the time of the run)
    int build = 20;       // of server 4.0(4)
    QString damage{};     // SQL run on the installation before start-up
};

// A rule of the Extension tab by the names of its two controls (the value box's name given
// when it is not the check box's with "txt" for "chk").
Pairs rule(const QString& check, const QString& value, const QString& box = {}, const QString& state = "1")
{
    const QString name = "SubscriberExtension" + check;
    return {{"chk" + name, state}, {box.isEmpty() ? "txt" + name : "txtSubscriberExtension" + box, value}};
}
Pairs password(const QString& text)
{
    return {{"chkPasswordsChangePassword", "1"}, {"txtPasswordsNewPassword", text}};
}
Pairs billing(const QString& text)
{
    return {{"txtAccountBillingID", text}};
}

const Pairs kAdd5000 = rule("AddValue", "5000", "Add");
const Pairs kLeftmost6 = rule("StripAllButLeftMost", "6");   // 1234 stays 1234
const Pairs kRemove4 = rule("RemoveLeftMost", "4");          // nothing left of 1234
const QString kChanged = "   Extension changed to:";
const QString kListed = "All objects found to be using extension:";
const QString kSet = "   Password set to value specified";

const Case kCases[] = {
    // The primary extension change.
    {"transfer string follows", "1234", "1234", kAdd5000, {kMatches, kChanged + "6234", kNotified},
     {{"primary", "6234"}, {"XFerString", "6234"}, {"alternate", "6234"}, {"notified", "1"}, {"synced", "1"}}},
    {"older server", "1234", "1234", kAdd5000, {kMatches, kChanged + "6234"}, {{"primary", "6234"}, {"notified", "0"}}, 19},
    {"transfer string differs", "1234", "5555", rule("AppendToLeft", "9", {}, "2"), {kDiffers, kChanged + "91234", kNotified},
     {{"primary", "91234"}, {"XFerString", "5555"}, {"alternate", "ALT"}}},
    {"no transfer string", "1234", "", rule("AppendToLeft", "9"), {kDiffers, kChanged + "91234", kNotified},
     {{"primary", "91234"}, {"XFerString", "<null>"}}},
    {"transfer string ignoring case", "12ab", "12AB", rule("AppendToRight", "9"), {kMatches, kChanged + "12ab9", kNotified},
     {{"XFerString", "12ab9"}, {"alternate", "12ab9"}}},
    {"rules invalid", "1234", "1234", kRemove4, {kInvalid}, {{"primary", "1234"}, {"synced", "0"}, {"notified", "0"}}},
    {"subtracting too much", "1234", "1234", rule("SubtractValue", "1235", "Subtract"), {kInvalid}, {{"primary", "1234"}}},
    {"own extension conflicts", "1234", "1234", kLeftmost6, {kConflict + "1234", kListed},
     {{"primary", "1234"}, {"synced", "0"}, {"notified", "0"}}},
    {"doubled primary row", "1234", "1234", kAdd5000,
     {"(error) more than one primary extension record found for this subscriber in the DTMFAccessID table - skipping "
      "extension update."},
     {{"primary", "1234"}, {"XFerString", "1234"}}, 20,
     "INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID) SELECT '4321', "
     "ParentObjectID, ParentObjectIDType, 1 " + kPrimaryRow},
    {"no Alternate rule", "1234", "1234", kAdd5000,
     {kMatches,
      "(error) Alternate contact rule could not be feteched for extension/stransfer string update in "
      "MakeChangestoSubscriber routine.",
      kChanged + "6234", kNotified},
     {{"primary", "6234"}, {"XFerString", "6234"}}, 20, "DELETE " + kAlternateRule},
    // Account and password.
    {"billing ID", "1234", "", billing("0123"), {"   Billing ID set to: 123"}, {{"BillingID", "123"}}},
    {"billing ID half to even", "1234", "", billing("2.5"), {"   Billing ID set to: 2"}, {{"BillingID", "2"}}},
    {"negative billing ID", "1234", "", billing("-5"), {}, {{"BillingID", "777"}}},
    {"billing ID beyond 32 bits", "1234", "", billing("99999999999"),
     {"(error):6 (Overflow) in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges"}, {{"BillingID", "777"}}},
    {"billing ID then blank", "1234", "", billing("0") + Pairs{{"chkAccountForceBillingIDBlank", "1"}},
     {"   Billing ID set to: 0", "    Billing ID forced to be blank"}, {{"BillingID", "<null>"}}},
    {"dimmed boxes", "1234", "",
     {{"chkAccountForceBillingIDBlank", "2"}, {"chkAccountUnlock", "2"}, {"chkPasswordsChangePassword", "2"}}, {},
     {{"BillingID", "777"}, {"PWLocked", "1"}, {"PWTimeChanged", kOldTime}}},
    {"unlock and rules", "1234", "",
     {{"chkAccountUnlock", "1"}, {"comPasswordsCannotChange", "TRUE"}, {"comPasswordsMustChange", "FALSE"},
      {"comPasswordsNeverExpires", "true"}},
     {"    Account set to unlocked", "   User cannot change password value set to: 1",
      "   User must change password at next login value set to: 0", "   Password never expires value set to: 1"},
     {{"PWLocked", "0"}, {"PWTimeLockout", "<null>"}, {"PWCantChange", "1"}, {"PWMustChange", "0"}, {"PWDoesntExpire", "1"}}},
    {"password cleared", "1234", "", password(""), {"   Password deleted, set to blank"},
     {{"PWDTMF", "<null>"}, {"PWTimeChanged", "<now>"}}},
    {"extension in the password", "1234", "", password("12X"), {kSet}, {{"PWDTMF", md5("121234")}, {"PWTimeChanged", "<now>"}}},
    {"X and x replaced", "1234", "", password("7x8X"), {kSet}, {{"PWDTMF", md5("7123481234")}, {"PWTimeChanged", "<now>"}}},
    {"ten characters", "12345", "", password("XX"), {kSet}, {{"PWDTMF", md5("1234512345")}}},
    {"eleven characters", "12345", "", password("XX1"), {"(warning) Password NOT set because it exceeded 10 characters"},
     {{"PWDTMF", "OLDHASH"}, {"PWTimeChanged", "<now>"}}},
    {"password box alone", "1234", "", {{"txtPasswordsNewPassword", "55"}}, {},
     {{"PWDTMF", "OLDHASH"}, {"PWTimeChanged", kOldTime}}},
    // The password takes the extension as the primary extension change left it.
    {"new extension in the password", "1234", "", kAdd5000 + password("12X"), {kDiffers, kChanged + "6234", kNotified, kSet},
     {{"PWDTMF", md5("126234")}}},
    {"refused extension in the password", "1234", "", kLeftmost6 + password("12X"), {kConflict + "1234", kListed, kSet},
     {{"PWDTMF", md5("121234")}}},
    {"no extension in the password", "1234", "", kRemove4 + password("12X"), {kInvalid, kSet}, {{"PWDTMF", md5("12")}}},
};

void make(EngineScenario& run, const Pairs& choices)
{
    for (const auto& [name, value] : choices) {
        if (name.startsWith("chk"))
            run.tick(name, value.toInt());
        else if (name.startsWith("com"))
            run.choose(name, value);
        else
            run.type(name, value);
    }
}

class ExtensionAndAccountChanges : public ::testing::TestWithParam<Case> {};

TEST_P(ExtensionAndAccountChanges, EachChoiceWritesItsLinesAndColumns)
{
    const Case& c = GetParam();
    Scenario s(c.extension, c.transfer, TempInstallation::smallServer(4, 0, 4, c.build));
    if (!c.damage.isEmpty())
        s.run.sql(c.damage);
    ASSERT_TRUE(s.run.open());
    make(s.run, c.choices);
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    s.run.run(1);

    EXPECT_EQ(ownLines(s.run), c.lines);
    for (const auto& [what, expected] : c.after) {
        if (expected == "<now>") {
            const QDateTime stamp = QDateTime::fromString(s.after(what), Qt::ISODateWithMs);
            EXPECT_TRUE(stamp >= started && stamp <= QDateTime::currentDateTime()) << what.toStdString();
        } else {
            EXPECT_EQ(s.after(what), expected) << what.toStdString();
        }
    }
    // No phone password, prepared or hashed, in the log.
    const QString log = s.run.lines.join('\n');
    for (const char* prepared : {"7123481234", "1234512345", "126234", "121234"})
        EXPECT_FALSE(log.contains(prepared)) << prepared;
    if (const QString hash = s.after("PWDTMF"); hash.size() == 32) {
        EXPECT_FALSE(log.contains(hash, Qt::CaseInsensitive));
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, ExtensionAndAccountChanges, ::testing::ValuesIn(kCases), [](const auto& info) {
    return QString(info.param.what).replace(' ', '_').toStdString();
});

// A refused number lists every object that uses it, in the order of the match list: the
// subscriber itself by the server it is on (within a dialing domain, its home server), then a
// call handler given the same number.
TEST(PrimaryExtensionConflict, ListsEveryObjectUsingTheNumber)
{
    const QString local = "Subscribers primary Id on the local Velmo server";
    const QString inDomain = "Subscribers primary ID in the dialing domain on Velmo server=";
    const QString handlerRow = "(SELECT rowid FROM DTMFAccessID WHERE ParentObjectIDType=3 AND IsPrimaryID=1 LIMIT 1)";
    for (const bool dialingDomain : {false, true})
        for (const bool handlerToo : {false, true}) {
            SCOPED_TRACE(testing::Message() << "dialing domain " << dialingDomain << ", handler " << handlerToo);
            Scenario s("1234", "1234", TempInstallation::smallServer(4, 0, 4, 20));
            if (!dialingDomain)
                s.run.sql("UPDATE Location SET DialingDomainName=NULL WHERE Alias='default'");
            if (handlerToo)
                s.run.sql("UPDATE DTMFAccessID SET DTMFAccessID='1234' WHERE rowid=" + handlerRow);
            ASSERT_TRUE(s.run.open());
            s.run.tick("chkSubscriberExtensionStripAllButLeftMost");
            s.run.type("txtSubscriberExtensionStripAllButLeftMost", "6");
            s.run.run(1);

            const QVariantList id{s.run.stored(kFirstQuery)};
            const QString where = dialingDomain
                ? "GlobalSubscriber s JOIN GlobalLocation l ON l.LocationObjectID=s.LocationObjectID WHERE s.SubscriberObjectID=?"
                : "Subscriber s WHERE s.SubscriberObjectID=?";
            const QString homeServer = dialingDomain ? s.run.stored("SELECT l.HomeServer FROM " + where, id).toString() : "";
            EXPECT_EQ(homeServer.isEmpty(), !dialingDomain);
            QStringList expected{kConflict + "1234", "All objects found to be using extension:",
                                 "    " + (dialingDomain ? inDomain + homeServer : local)
                                     + " with alias=" + s.run.stored("SELECT s.Alias FROM " + where, id).toString()
                                     + " display name=" + s.run.stored("SELECT s.DisplayName FROM " + where, id).toString()};
            if (handlerToo)
                expected << "    Call Handler with alias="
                                + s.run.stored("SELECT h.Alias FROM CallHandler h JOIN DTMFAccessID d ON d.ParentObjectID="
                                               "h.CallHandlerObjectID WHERE d.rowid=" + handlerRow).toString()
                                + " display name="
                                + s.run.stored("SELECT h.TextName FROM CallHandler h JOIN DTMFAccessID d ON "
                                               "d.ParentObjectID=h.CallHandlerObjectID WHERE d.rowid=" + handlerRow).toString();
            // Nothing else is listed: the next category follows.
            expected << "    Updating transfer rule: Alternate";
            EXPECT_EQ(s.run.changesOf(0).mid(0, expected.size()), expected);
            EXPECT_EQ(s.run.log->LogWarningCount(), 1);
            EXPECT_EQ(s.run.log->LogErrorCount(), 0);
            for (const auto& [what, value] : {std::pair{"primary", "1234"}, {"XFerString", "1234"}, {"alternate", "ALT"},
                                              {"synced", "0"}, {"notified", "0"}})
                EXPECT_EQ(s.after(what), value) << what;
        }
}

// A failed hash ends the subscriber: nothing of it is kept, not even its new extension, the
// Notifier is not asked, and the error line does not quote the password the server echoed.
TEST(PasswordHashFailure, RollsTheSubscriberBackWithoutThePasswordInTheLog)
{
    const std::pair<ProcedureStandIn, QString> failures[] = {
        {[](Database&, ProcedureParameters& parameters) {
             throw KestraneError(ErrorNumber::DatabaseError, "Cannot convert '" + parameters[1].value.toString() + "'");
         },
         "Cannot convert '********'"},
        {[](Database&, ProcedureParameters& parameters) { parameters[2].value = QVariant(); }, "sp_MD5 returned no hash"},
    };
    for (const auto& [standIn, description] : failures) {
        Scenario s("1234", "1234", TempInstallation::smallServer(4, 0, 4, 20));
        ASSERT_TRUE(s.run.open());
        s.run.session.database.registerProcedure("sp_MD5", standIn, {{"@RawText", {}}, {"@MD5Text", {}, true}});
        make(s.run, kAdd5000 + billing("55") + password("98X"));
        s.run.run(1);

        EXPECT_EQ(s.run.lines.filter("(error)"),
                  QStringList{"(error):-2147467259 (" + description + ") in procedure MakeChangesToSubscriber of Form "
                              "frmMakeSubscriberChanges.  None of this subscriber's changes were kept."});
        EXPECT_FALSE(s.run.lines.join('\n').contains("986234"));
        for (const auto& [what, expected] : {std::pair{"primary", "1234"}, {"BillingID", "777"}, {"PWDTMF", "OLDHASH"},
                                             {"PWTimeChanged", "2001-02-03T04:05:06.000"}, {"notified", "0"}, {"synced", "0"}})
            EXPECT_EQ(s.after(what), expected) << what;
    }
}

}  // namespace

namespace {

// A grid that names one subscriber three times (a CSV file naming it by alias and again by
// extension): its extension gets one 9, each repeated row a counted warning.
TEST(RepeatedGridRows, ChangeTheSubscriberOnce)
{
    Scenario s("1234", "1234", TempInstallation::smallServer(4, 0, 4, 20));
    ASSERT_TRUE(s.run.open());
    make(s.run, rule("AppendToLeft", "9"));
    Recordset& subscribers = s.run.session.rsSubscribers;
    subscribers.moveFirst();
    const SelectionGridRow first{true, subscribers.value("Alias").toString(), subscribers.value("SubscriberObjectID").toString()};
    subscribers.moveNext();
    const SelectionGridRow second{true, subscribers.value("Alias").toString(), subscribers.value("SubscriberObjectID").toString()};
    const SelectionGridRow byLowerCaseID{true, first.alias, first.objectID.toLower()};
    s.run.run({first, second, byLowerCaseID, first});

    EXPECT_EQ(s.after("primary"), "91234");
    const QString repeated = "(warning) This object was already processed in this run.  Skipping it.";
    EXPECT_EQ(s.run.lines.filter(repeated).size(), 2);
    EXPECT_EQ(s.run.log->LogWarningCount(), s.run.lines.filter("(warning)").size());
    const qsizetype warning = s.run.lines.indexOf(repeated);
    EXPECT_EQ(s.run.lines.mid(warning - 3, 3),
              (QStringList{"** Updating subscriber **", "    Alias=" + first.alias, "    ObjectID=" + byLowerCaseID.objectID}));
    EXPECT_EQ(s.run.lines.filter("    Extension=").size(), 2);
}

// Over the SQLite ODBC driver, date-time columns read through the driver are written back: a
// password change and a listing change commit on a subscriber whose password date and Standard
// rule expiry hold dates, and a later run with nothing chosen commits every subscriber.
TEST(OdbcRun, CommitsOverDateTimeColumns)
{
    if (!backendAvailable(Backend::Odbc))
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    Scenario s("1234", "1234", TempInstallation::smallServer(4, 0, 4, 20));
    const QString standardRules = "UPDATE ContactRule SET TimeExpires='" + kOldTime + "' WHERE Alias='Standard'";
    s.run.sql(standardRules);
    qputenv("KESTRANE_ODBC",
            databaseTarget(Backend::Odbc, s.run.installation.installation().databaseFile()).odbcConnectionString.toUtf8());
    const bool opened = s.run.open();
    qunsetenv("KESTRANE_ODBC");
    ASSERT_TRUE(opened);
    ASSERT_FALSE(s.run.session.database.isEmbedded());
    const OptionsSnapshot nothingChosen = s.run.options;
    make(s.run, password("12X"));
    s.run.chooseString("comProfileDirList", 279);
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    s.run.run(1);

    EXPECT_TRUE(s.run.lines.filter("(error)").isEmpty()) << s.run.lines.filter("(error)").join('\n').toStdString();
    EXPECT_EQ(s.after("PWDTMF"), md5("121234"));
    EXPECT_GE(s.run.stored("SELECT PWTimeChanged FROM Subscriber WHERE SubscriberObjectID=" + kFirst).toDateTime(), started);
    EXPECT_EQ(s.after("ListInDirectory"), "1");
    EXPECT_EQ(s.run.stored("SELECT COUNT(*) FROM ContactRule WHERE Alias='Standard' AND TimeExpires IS NOT NULL "
                           "AND ParentObjectID=" + kFirstHandler).toInt(), 0);

    s.run.sql(standardRules);
    s.run.options = nothingChosen;
    s.run.run(6);
    EXPECT_TRUE(s.run.lines.filter("(error)").isEmpty()) << s.run.lines.filter("(error)").join('\n').toStdString();
    EXPECT_EQ(s.run.stored("SELECT COUNT(*) FROM ContactRule r JOIN Subscriber s ON s.CallHandlerObjectID = r.ParentObjectID "
                           "WHERE r.Alias='Standard' AND r.TimeExpires IS NULL").toInt(), 6);
}

}  // namespace
