// The account and password changes: billing ID, unlocking, the three password rules and the
// phone password, hashed by the server's sp_MD5. No password, typed, prepared or hashed, ever
// reaches the run log.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Database.h"
#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/Session.h"

#include <QDateTime>

namespace {

constexpr char kPage[] = "frmSelectSubscriberChanges";

constexpr EngineControl kControls[] = {
    {kPage, "txtAccountBillingID"},        {kPage, "chkAccountForceBillingIDBlank"},
    {kPage, "chkAccountUnlock"},           {kPage, "comPasswordsCannotChange"},
    {kPage, "comPasswordsMustChange"},     {kPage, "comPasswordsNeverExpires"},
    {kPage, "chkPasswordsChangePassword"}, {kPage, "txtPasswordsNewPassword"},
};

// The longest phone password the server takes.
constexpr qsizetype kPasswordMaximumLength = 10;

bool ticked(const SubscriberEdit& edit, const char* checkBox)
{
    return edit.options.control(checkBox).checkState == CheckValue::Ticked;
}

void applyBillingID(SubscriberEdit& edit)
{
    const QString text = edit.options.control(QStringLiteral("txtAccountBillingID")).text;
    if (text.isEmpty())
        return;
    // A number beyond 32 bits fails here: the error line, nothing written.
    const qint32 billingID = leadingWholeNumber<qint32>(text);
    if (billingID < 0)
        return;
    edit.subscriber().setValue(QStringLiteral("BillingID"), QString::number(billingID));
    edit.writeLine(QStringLiteral("   Billing ID set to:") + paddedNumber(billingID));
}

// `text` with the password (and the text it was prepared from) masked: a server's error may
// quote the values it was given.
QString withoutPassword(QString text, const QString& prepared, const QString& typed)
{
    const QString mask = QStringLiteral("********");
    for (const QString& secret : prepared.size() >= typed.size() ? QStringList{prepared, typed} : QStringList{typed, prepared})
        if (!secret.isEmpty())
            text.replace(secret, mask);
    return text;
}

ProcedureParameter& parameterNamed(ProcedureParameters& parameters, const QString& name)
{
    for (ProcedureParameter& parameter : parameters)
        if (parameter.name.compare(name, Qt::CaseInsensitive) == 0)
            return parameter;
    throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("sp_MD5 has no parameter %1").arg(name));
}

// The hash of `prepared` as the server computes it. Any failure is a failure of the database,
// so that the subscriber is rolled back rather than left with a password that was not hashed.
QString hashedByServer(Database& database, const QString& prepared, const QString& typed)
{
    const QString procedure = QStringLiteral("sp_MD5");
    try {
        ProcedureParameters parameters = database.procedureParameters(procedure);
        parameterNamed(parameters, QStringLiteral("@RawText")).value = prepared;
        parameterNamed(parameters, QStringLiteral("@MD5Text")).value = QStringLiteral("");
        database.callProcedure(procedure, parameters);
        // Position 2 after the return value and @RawText: the output of @MD5Text.
        const QVariant hash = parameters.size() > 2 ? parameters[2].value : QVariant();
        if (hash.isNull() || hash.toString().isEmpty())
            throw KestraneError(ErrorNumber::DatabaseError, QStringLiteral("sp_MD5 returned no hash"));
        return hash.toString();
    } catch (const KestraneError& failure) {
        throw KestraneError(isDatabaseFailure(failure) ? failure.number() : ErrorNumber::DatabaseError,
                            withoutPassword(failure.description(), prepared, typed));
    }
}

// One of the three outcomes of a password change: cleared, refused for its length, or hashed.
void applyPhonePassword(SubscriberEdit& edit)
{
    Recordset& subscriber = edit.subscriber();
    const QString typed = edit.options.control(QStringLiteral("txtPasswordsNewPassword")).text;
    if (typed.isEmpty()) {
        subscriber.setValue(QStringLiteral("PWDTMF"), QVariant());
        edit.writeLine(QStringLiteral("   Password deleted, set to blank"));
        return;
    }
    QString prepared = typed;
    prepared.replace(QStringLiteral("X"), edit.workingExtension, Qt::CaseInsensitive);
    if (prepared.size() > kPasswordMaximumLength) {
        edit.writeLine(QStringLiteral("(warning) Password NOT set because it exceeded 10 characters"));
        return;
    }
    subscriber.setValue(QStringLiteral("PWDTMF"), hashedByServer(edit.session.database, prepared, typed));
    edit.writeLine(QStringLiteral("   Password set to value specified"));
}

void applyAccountAndPassword(SubscriberEdit& edit)
{
    edit.step([&] { applyBillingID(edit); });
    edit.step([&] {
        if (!ticked(edit, "chkAccountForceBillingIDBlank"))
            return;
        edit.subscriber().setValue(QStringLiteral("BillingID"), QVariant());
        edit.writeLine(QStringLiteral("    Billing ID forced to be blank"));
    });
    edit.step([&] {
        if (!ticked(edit, "chkAccountUnlock"))
            return;
        edit.subscriber().setValue(QStringLiteral("PWLocked"), QVariant::fromValue<qint16>(0));
        edit.subscriber().setValue(QStringLiteral("PWTimeLockout"), QVariant());
        edit.writeLine(QStringLiteral("    Account set to unlocked"));
    });

    struct PasswordRule {
        const char* combo;
        const char* column;
        const char* line;
    };
    static constexpr PasswordRule kPasswordRules[] = {
        {"comPasswordsCannotChange", "PWCantChange", "   User cannot change password value set to:"},
        {"comPasswordsMustChange", "PWMustChange", "   User must change password at next login value set to:"},
        {"comPasswordsNeverExpires", "PWDoesntExpire", "   Password never expires value set to:"},
    };
    for (const PasswordRule& rule : kPasswordRules)
        edit.step([&] {
            edit.applyTriState(edit.subscriber(), QString::fromLatin1(rule.combo), QString::fromLatin1(rule.column),
                               QString::fromLatin1(rule.line));
        });

    bool changePassword = false;
    edit.step([&] { changePassword = ticked(edit, "chkPasswordsChangePassword"); });
    if (!changePassword)
        return;
    edit.step([&] { applyPhonePassword(edit); });
    edit.step([&] { edit.subscriber().setValue(QStringLiteral("PWTimeChanged"), QDateTime::currentDateTime()); });
}

}  // namespace

namespace SubscriberChanges {

const SubscriberChangeCategory accountAndPassword{"account and password", applyAccountAndPassword, kControls};

}  // namespace SubscriberChanges
