// The primary extension change and the account and password changes of the subscriber engine,
// run on the loaded options page over the first subscriber of a generated installation.
#include "core/AlternateExtensions.h"
#include "core/Database.h"
#include "core/Errors.h"
#include "tests/subscribers_ui/EngineScenario.h"
#include "velmo/ServerStandIns.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>

// Failures show texts as texts.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// The subscriber that run(1) changes: the first of the directory list.
const QString kFirstQuery = "SELECT SubscriberObjectID FROM Subscriber ORDER BY SubscriberObjectID LIMIT 1";
const QString kFirst = "(" + kFirstQuery + ")";
const QString kFirstHandler = "(SELECT CallHandlerObjectID FROM Subscriber ORDER BY SubscriberObjectID LIMIT 1)";
const QString kPrimaryRow = "FROM DTMFAccessID WHERE ParentObjectID=" + kFirst + " AND IsPrimaryID=1";
const QString kAlternateRule = "FROM ContactRule WHERE ParentObjectID=" + kFirstHandler + " AND Alias='Alternate'";

const QString kOldHash = "OLDHASH";
const QString kOldTime = "2001-02-03T04:05:06.000";

QString md5(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex().toUpper());
}

// A scenario whose first subscriber has the primary extension `extension` (used by no other
// object, nor are the numbers the tests turn it into), the transfer string `transfer`, the
// Alternate rule transferring to "ALT", and account values that every change below alters.
struct Scenario {
    explicit Scenario(const QString& extension, const QString& transfer = {},
                      velmo::InstallationOptions options = TempInstallation::smallServer(4, 0, 4, 20))
        : run(options)
    {
        run.sql("DELETE FROM DTMFAccessID WHERE DTMFAccessID IN ('" + extension
                + "', '6234', '91234', '12ab9', '4321') AND ParentObjectID <> " + kFirst);
        run.sql("UPDATE DTMFAccessID SET DTMFAccessID='" + extension + "' WHERE ParentObjectID=" + kFirst
                + " AND IsPrimaryID=1");
        run.sql("UPDATE Subscriber SET XFerString=" + (transfer.isNull() ? QString("NULL") : "'" + transfer + "'")
                + ", BillingID='777', PWLocked=1, PWTimeLockout='" + kOldTime + "', PWCantChange=2, PWMustChange=2,"
                + " PWDoesntExpire=2, PWDTMF='" + kOldHash + "', PWTimeChanged='" + kOldTime
                + "' WHERE SubscriberObjectID=" + kFirst);
        run.sql("UPDATE ContactRule SET Extension='ALT' WHERE ParentObjectID=" + kFirstHandler + " AND Alias='Alternate'");
    }

    ::testing::AssertionResult open()
    {
        ::testing::AssertionResult opened = run.open();
        if (opened)
            id = run.stored(kFirstQuery).toString();
        return opened;
    }

    QVariant subscriberColumn(const QString& column) { return run.stored("SELECT " + column + " FROM Subscriber WHERE SubscriberObjectID=?", {id}); }
    QString primaryExtension() { return run.stored("SELECT DTMFAccessID " + kPrimaryRow).toString(); }
    QString alternateExtension() { return run.stored("SELECT Extension " + kAlternateRule).toString(); }
    int directorySyncRequests() { return run.stored("SELECT COUNT(*) FROM DirectorySyncRequest").toInt(); }
    QString notifierCalls()
    {
        QFile calls(velmo::notifierCallLogPath(run.installation.folder()));
        return calls.open(QIODevice::ReadOnly) ? QString::fromUtf8(calls.readAll()) : QString();
    }
    QString logText() const { return run.lines.join("\n"); }

    EngineScenario run;
    QString id;
};

const QString kMatches = "    Current extension matches transfer string - updating transfer string for subscriber to match new extension";
const QString kDiffers = "    Current extension does not match transfer string - leaving transfer string alone and just changing the subscriber's extension";
const QString kNotified = "    MWI Extension being updated via Notifier interface";

// The first subscriber's lines of the two categories under test (and every error and warning),
// whatever the other categories write around them.
QStringList ownLines(const EngineScenario& run)
{
    static const QStringList starts{
        kMatches, kDiffers, kNotified, "   Extension changed to:", "    Modification rules invalid",
        "(warning) Extension not modified", "All objects found", "   Billing ID set to:", "    Billing ID forced",
        "    Account set to unlocked", "   User cannot", "   User must", "   Password never", "   Password deleted",
        "   Password set", "(warning)", "(error)"};
    QStringList own;
    for (const QString& line : run.changesOf(0))
        if (std::any_of(starts.begin(), starts.end(), [&](const QString& start) { return line.startsWith(start); }))
            own << line;
    return own;
}

// --- Primary extension change ------------------------------------------------------------------

struct ExtensionCase {
    const char* what;
    velmo::InstallationOptions server;
    QString extension;
    QString transfer;            // null: no transfer string
    const char* rule;            // check box of the Extension tab
    const char* ruleBox;
    QString ruleValue;
    QStringList lines;           // the category's lines, in order
    QString primary;             // DTMFAccessID of the primary row afterwards
    QString transferAfter;       // XFerString afterwards
    QString alternateAfter;      // Extension of the Alternate rule afterwards
    bool notified;
    int warnings;
};

std::vector<ExtensionCase> extensionCases()
{
    const auto v4420 = TempInstallation::smallServer(4, 0, 4, 20);
    const auto v4419 = TempInstallation::smallServer(4, 0, 4, 19);
    return {
        {"add a value, transfer string follows", v4420, "1234", "1234", "chkSubscriberExtensionAddValue",
         "txtSubscriberExtensionAdd", "5000", {kMatches, "   Extension changed to:6234", kNotified}, "6234", "6234", "6234",
         true, 0},
        {"older server: no notifier", v4419, "1234", "1234", "chkSubscriberExtensionAddValue", "txtSubscriberExtensionAdd",
         "5000", {kMatches, "   Extension changed to:6234"}, "6234", "6234", "6234", false, 0},
        {"transfer string differs", v4420, "1234", "5555", "chkSubscriberExtensionAppendToLeft",
         "txtSubscriberExtensionAppendToLeft", "9", {kDiffers, "   Extension changed to:91234", kNotified}, "91234", "5555",
         "ALT", true, 0},
        {"no transfer string", v4420, "1234", QString(), "chkSubscriberExtensionAppendToLeft",
         "txtSubscriberExtensionAppendToLeft", "9", {kDiffers, "   Extension changed to:91234", kNotified}, "91234", "",
         "ALT", true, 0},
        {"transfer string compared ignoring case", v4419, "12ab", "12AB", "chkSubscriberExtensionAppendToRight",
         "txtSubscriberExtensionAppendToRight", "9", {kMatches, "   Extension changed to:12ab9"}, "12ab9", "12ab9", "12ab9",
         false, 0},
        {"rules invalid", v4420, "1234", "1234", "chkSubscriberExtensionRemoveLeftMost",
         "txtSubscriberExtensionRemoveLeftMost", "4", {"    Modification rules invalid for selected extension"}, "1234",
         "1234", "ALT", false, 0},
        {"subtracting more than the value", v4420, "1234", "1234", "chkSubscriberExtensionSubtractValue",
         "txtSubscriberExtensionSubtract", "1235", {"    Modification rules invalid for selected extension"}, "1234",
         "1234", "ALT", false, 0},
    };
}

class PrimaryExtensionChange : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(PrimaryExtensionChange, WritesTheNewExtensionWhereTheOldOneWas)
{
    const ExtensionCase& c = GetParam();
    Scenario s(c.extension, c.transfer, c.server);
    ASSERT_TRUE(s.open());
    s.run.tick(c.rule);
    s.run.type(c.ruleBox, c.ruleValue);
    s.run.run(1);

    EXPECT_EQ(ownLines(s.run), c.lines) << s.logText().toStdString();
    EXPECT_EQ(s.primaryExtension(), c.primary);
    EXPECT_EQ(s.subscriberColumn("XFerString").toString(), c.transferAfter);
    EXPECT_EQ(s.alternateExtension(), c.alternateAfter);
    const bool changed = c.primary != c.extension;
    EXPECT_EQ(s.directorySyncRequests(), changed ? 1 : 0);
    EXPECT_EQ(s.notifierCalls(), c.notified ? "RefreshSubscriber " + s.id + "\n" : QString());
    EXPECT_EQ(s.run.log->LogErrorCount(), 0);
    EXPECT_EQ(s.run.log->LogWarningCount(), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(Rules, PrimaryExtensionChange, ::testing::ValuesIn(extensionCases()),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.what);
                             name.replace(QRegularExpression("[^A-Za-z0-9]+"), "_");
                             return name.toStdString();
                         });

// The new number is in use: by the subscriber itself (rules that give its own extension back),
// and also by a call handler. Every object is listed, in the order of the match list.
TEST(PrimaryExtensionRefused, AConflictListsEveryObjectUsingTheNumberAndWritesNothing)
{
    for (const bool handlerToo : {false, true}) {
        SCOPED_TRACE(handlerToo ? "the subscriber and a call handler" : "the subscriber alone");
        Scenario s("1234", "1234");
        if (handlerToo)
            s.run.sql("UPDATE DTMFAccessID SET DTMFAccessID='1234' WHERE rowid=(SELECT rowid FROM DTMFAccessID "
                      "WHERE ParentObjectIDType=3 AND IsPrimaryID=1 LIMIT 1)");
        ASSERT_TRUE(s.open());
        s.run.tick("chkSubscriberExtensionStripAllButLeftMost");
        s.run.type("txtSubscriberExtensionStripAllButLeftMost", "6");
        s.run.run(1);

        const QList<DTMFIDMatch> matches = findAllDTMFIDMatchesInTAble(s.run.session, "1234");
        ASSERT_EQ(matches.size(), handlerToo ? 2 : 1);
        EXPECT_EQ(matches[0].Alias, s.subscriberColumn("Alias").toString());
        QStringList expected{"(warning) Extension not modified since it conflicts with another object.  ID would have been:1234",
                             "All objects found to be using extension:"};
        for (const DTMFIDMatch& match : matches)
            expected << "    " + match.Description + " with alias=" + match.Alias + " display name=" + match.DisplayName;
        EXPECT_EQ(s.run.changesOf(0).mid(0, expected.size()), expected);
        EXPECT_EQ(ownLines(s.run), expected.mid(0, 2));   // and no change line
        EXPECT_EQ(s.run.log->LogWarningCount(), 1);
        EXPECT_EQ(s.primaryExtension(), "1234");
        EXPECT_EQ(s.directorySyncRequests(), 0);
        EXPECT_EQ(s.notifierCalls(), QString());
    }
}

// Rows the category cannot work on: its error line, and only what the Part still allows written.
TEST(PrimaryExtensionRefused, MissingOrDoubledRowsAreReported)
{
    struct Case {
        const char* what;
        QString damage;   // SQL run before start-up
        QStringList lines;
        QString primary;
        QString transferAfter;
    };
    const Case cases[] = {
        {"doubled primary row",
         "INSERT INTO DTMFAccessID (DTMFAccessID, ParentObjectID, ParentObjectIDType, IsPrimaryID, Alias, DtmfAccessIDType) "
         "SELECT '4321', ParentObjectID, ParentObjectIDType, IsPrimaryID, Alias, DtmfAccessIDType " + kPrimaryRow,
         {"(error) more than one primary extension record found for this subscriber in the DTMFAccessID table - skipping "
          "extension update."},
         "1234", "1234"},
        {"no Alternate rule", "DELETE " + kAlternateRule,
         {kMatches,
          "(error) Alternate contact rule could not be feteched for extension/stransfer string update in "
          "MakeChangestoSubscriber routine.",
          "   Extension changed to:6234"},
         "6234", "6234"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario s("1234", "1234", TempInstallation::smallServer(4, 0, 4, 19));
        s.run.sql(c.damage);
        ASSERT_TRUE(s.open());
        s.run.tick("chkSubscriberExtensionAddValue");
        s.run.type("txtSubscriberExtensionAdd", "5000");
        s.run.run(1);
        EXPECT_EQ(ownLines(s.run), c.lines);
        EXPECT_EQ(s.run.log->LogErrorCount(), 1);
        EXPECT_EQ(s.run.stored("SELECT DTMFAccessID " + kPrimaryRow + " ORDER BY rowid").toString(), c.primary);
        EXPECT_EQ(s.subscriberColumn("XFerString").toString(), c.transferAfter);
    }
}

TEST(PrimaryExtensionNotifier, AnUnboundNotifierIsAnErrorButTheExtensionIsKept)
{
    velmo::InstallationOptions options = TempInstallation::smallServer(4, 0, 4, 20);
    options.notifierPresent = false;
    Scenario s("1234", "1234", options);
    ASSERT_TRUE(s.open());
    s.run.tick("chkSubscriberExtensionAddValue");
    s.run.type("txtSubscriberExtensionAdd", "5000");
    s.run.run(1);

    const QStringList changes = ownLines(s.run);
    ASSERT_EQ(changes.size(), 3);
    EXPECT_EQ(changes[1], "   Extension changed to:6234");
    EXPECT_TRUE(changes[2].startsWith("(error):")) << changes[2].toStdString();
    EXPECT_TRUE(changes[2].endsWith(") in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges"));
    EXPECT_FALSE(s.logText().contains(kNotified));
    EXPECT_EQ(s.primaryExtension(), "6234");
}

// --- Account and password ----------------------------------------------------------------------

struct Choice {
    enum Kind { Type, Tick, Choose } kind;
    QString control;
    QString value;   // the text typed or chosen; for Tick the check value
};

// What a column holds afterwards: a value, null, the value it had, or the time of the run.
struct Column {
    enum Expect { Equals, Null, Kept, Stamped } expect;
    QString name;
    QString value;
};

struct AccountCase {
    const char* what;
    QString extension;
    QList<Choice> choices;
    QStringList lines;       // the category's lines, in order
    QList<Column> columns;
    int warnings = 0;
    QString secret;          // the prepared password: nowhere in the log
};

Column equals(const QString& name, const QString& value) { return {Column::Equals, name, value}; }
Column null(const QString& name) { return {Column::Null, name, {}}; }
Column kept(const QString& name) { return {Column::Kept, name, {}}; }
Column stamped() { return {Column::Stamped, "PWTimeChanged", {}}; }

Choice typed(const QString& control, const QString& text) { return {Choice::Type, control, text}; }
Choice ticked(const QString& control, int value = 1) { return {Choice::Tick, control, QString::number(value)}; }
Choice password(const QString& text) { return typed("txtPasswordsNewPassword", text); }
const Choice kChangePassword = ticked("chkPasswordsChangePassword");

std::vector<AccountCase> accountCases()
{
    const QString billing = "txtAccountBillingID";
    return {
        {"billing ID read from its leading digits", "1234", {typed(billing, "0123")}, {"   Billing ID set to: 123"},
         {equals("BillingID", "123")}},
        {"billing ID zero", "1234", {typed(billing, "0")}, {"   Billing ID set to: 0"}, {equals("BillingID", "0")}},
        {"billing ID with letters after it", "1234", {typed(billing, "12ab")}, {"   Billing ID set to: 12"},
         {equals("BillingID", "12")}},
        {"billing ID half rounds to even", "1234", {typed(billing, "2.5")}, {"   Billing ID set to: 2"},
         {equals("BillingID", "2")}},
        {"billing ID half rounds up to even", "1234", {typed(billing, "3.5")}, {"   Billing ID set to: 4"},
         {equals("BillingID", "4")}},
        {"negative billing ID", "1234", {typed(billing, "-5")}, {}, {kept("BillingID")}},
        {"billing ID beyond 32 bits", "1234", {typed(billing, "99999999999")},
         {"(error):6 (Overflow) in procedure MakeChangesToSubscriber of Form frmMakeSubscriberChanges"},
         {kept("BillingID")}},
        {"billing ID then forced blank", "1234", {typed(billing, "123"), ticked("chkAccountForceBillingIDBlank")},
         {"   Billing ID set to: 123", "    Billing ID forced to be blank"}, {null("BillingID")}},
        {"dimmed force-blank box", "1234", {ticked("chkAccountForceBillingIDBlank", 2)}, {}, {kept("BillingID")}},
        {"unlock", "1234", {ticked("chkAccountUnlock")}, {"    Account set to unlocked"},
         {equals("PWLocked", "0"), null("PWTimeLockout")}},
        {"password rules", "1234", {{Choice::Choose, "comPasswordsCannotChange", "TRUE"},
                                    {Choice::Choose, "comPasswordsMustChange", "FALSE"},
                                    {Choice::Choose, "comPasswordsNeverExpires", "true"}},
         {"   User cannot change password value set to: 1", "   User must change password at next login value set to: 0",
          "   Password never expires value set to: 1"},
         {equals("PWCantChange", "1"), equals("PWMustChange", "0"), equals("PWDoesntExpire", "1")}},
        {"password cleared", "1234", {kChangePassword, password("")}, {"   Password deleted, set to blank"},
         {null("PWDTMF"), stamped()}},
        {"X replaced by the extension", "1234", {kChangePassword, password("12X")}, {"   Password set to value specified"},
         {equals("PWDTMF", md5("121234")), stamped()}, 0, "121234"},
        {"lower-case x anywhere", "1234", {kChangePassword, password("7x8X")}, {"   Password set to value specified"},
         {equals("PWDTMF", md5("7123481234")), stamped()}, 0, "7123481234"},
        {"ten characters accepted", "12345", {kChangePassword, password("XX")}, {"   Password set to value specified"},
         {equals("PWDTMF", md5("1234512345")), stamped()}, 0, "1234512345"},
        {"eleven characters refused", "12345", {kChangePassword, password("XX1")},
         {"(warning) Password NOT set because it exceeded 10 characters"}, {kept("PWDTMF"), stamped()}, 1},
        {"password box without its check box", "1234", {password("55")}, {}, {kept("PWDTMF"), kept("PWTimeChanged")}},
        {"dimmed password check box", "1234", {ticked("chkPasswordsChangePassword", 2), password("55")}, {},
         {kept("PWDTMF"), kept("PWTimeChanged")}},
    };
}

class AccountAndPassword : public ::testing::TestWithParam<AccountCase> {};

TEST_P(AccountAndPassword, EachChoiceWritesItsColumnAndLine)
{
    const AccountCase& c = GetParam();
    Scenario s(c.extension);
    ASSERT_TRUE(s.open());
    QHash<QString, QVariant> before;
    for (const Column& column : c.columns)
        before[column.name] = s.subscriberColumn(column.name);
    for (const Choice& choice : c.choices) {
        if (choice.kind == Choice::Type)
            s.run.type(choice.control, choice.value);
        else if (choice.kind == Choice::Tick)
            s.run.tick(choice.control, choice.value.toInt());
        else
            s.run.choose(choice.control, choice.value);
    }
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    s.run.run(1);

    EXPECT_EQ(ownLines(s.run), c.lines) << s.logText().toStdString();
    for (const Column& column : c.columns) {
        SCOPED_TRACE(column.name.toStdString());
        const QVariant value = s.subscriberColumn(column.name);
        switch (column.expect) {
        case Column::Equals: EXPECT_EQ(value.toString(), column.value); break;
        case Column::Null: EXPECT_TRUE(value.isNull()) << value.toString().toStdString(); break;
        case Column::Kept: EXPECT_EQ(value, before[column.name]); break;
        case Column::Stamped: {
            const QDateTime stamp = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
            EXPECT_TRUE(stamp >= started && stamp <= QDateTime::currentDateTime()) << value.toString().toStdString();
            break;
        }
        }
    }
    // No password, prepared or hashed, in the log.
    if (!c.secret.isEmpty()) {
        EXPECT_FALSE(s.logText().contains(c.secret));
        EXPECT_FALSE(s.logText().contains(md5(c.secret), Qt::CaseInsensitive));
    }
    EXPECT_EQ(s.run.log->LogWarningCount(), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(Choices, AccountAndPassword, ::testing::ValuesIn(accountCases()), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.what);
    name.replace(QRegularExpression("[^A-Za-z0-9]+"), "_");
    return name.toStdString();
});

// The password goes with the extension the primary extension change left: the new one, the
// refused one, or none when the rules failed.
TEST(AccountAndPasswordWorkingExtension, ThePasswordUsesTheExtensionAsTheRulesLeftIt)
{
    struct Case {
        const char* what;
        const char* rule;
        const char* ruleBox;
        QString ruleValue;
        QString prepared;
    };
    const Case cases[] = {
        {"changed", "chkSubscriberExtensionAddValue", "txtSubscriberExtensionAdd", "5000", "126234"},
        {"refused as a conflict", "chkSubscriberExtensionStripAllButLeftMost", "txtSubscriberExtensionStripAllButLeftMost",
         "6", "121234"},
        {"rules invalid", "chkSubscriberExtensionRemoveLeftMost", "txtSubscriberExtensionRemoveLeftMost", "4", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario s("1234", "1234");
        ASSERT_TRUE(s.open());
        s.run.tick(c.rule);
        s.run.type(c.ruleBox, c.ruleValue);
        s.run.tick("chkPasswordsChangePassword");
        s.run.type("txtPasswordsNewPassword", "12X");
        s.run.run(1);
        EXPECT_EQ(s.subscriberColumn("PWDTMF").toString(), md5(c.prepared));
        EXPECT_FALSE(s.logText().contains(c.prepared == "12" ? "12X" : c.prepared));
    }
}

// A hash the server does not give ends the subscriber: none of its changes is kept, not even the
// extension, the notifier is not asked, and the error line does not quote the password.
TEST(AccountAndPasswordHashFailure, TheSubscriberIsRolledBackWithoutThePasswordInTheLog)
{
    struct Case {
        const char* what;
        ProcedureStandIn standIn;
    };
    const Case cases[] = {
        {"the server refuses",
         [](Database&, ProcedureParameters& parameters) {
             throw KestraneError(ErrorNumber::DatabaseError,
                                 "Error converting '" + parameters.value(1).value.toString() + "' to a hash");
         }},
        {"another failure",
         [](Database&, ProcedureParameters& parameters) {
             throw KestraneError(ErrorNumber::ItemNotFound, "No " + parameters.value(1).value.toString());
         }},
        {"no hash returned", [](Database&, ProcedureParameters& parameters) { parameters[2].value = QVariant(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario s("1234", "1234");
        ASSERT_TRUE(s.open());
        s.run.session.database.registerProcedure("sp_MD5", c.standIn, {{"@RawText", {}}, {"@MD5Text", {}, true}});
        s.run.tick("chkSubscriberExtensionAddValue");
        s.run.type("txtSubscriberExtensionAdd", "5000");
        s.run.type("txtAccountBillingID", "55");
        s.run.tick("chkPasswordsChangePassword");
        s.run.type("txtPasswordsNewPassword", "98X");
        s.run.run(1);

        const QStringList failures = s.run.lines.filter("(error):");
        ASSERT_EQ(failures.size(), 1) << s.logText().toStdString();
        EXPECT_TRUE(failures[0].endsWith(".  None of this subscriber's changes were kept.")) << failures[0].toStdString();
        EXPECT_FALSE(s.logText().contains("986234"));
        EXPECT_FALSE(s.logText().contains("   Password set to value specified"));
        EXPECT_EQ(s.subscriberColumn("PWDTMF").toString(), kOldHash);
        EXPECT_EQ(s.subscriberColumn("PWTimeChanged").toString(), kOldTime);
        EXPECT_EQ(s.subscriberColumn("BillingID").toString(), "777");
        EXPECT_EQ(s.primaryExtension(), "1234");
        EXPECT_EQ(s.notifierCalls(), QString());
        EXPECT_EQ(s.directorySyncRequests(), 0);
    }
}

}  // namespace
