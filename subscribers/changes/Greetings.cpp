// The greetings of the subscriber's primary call handler, one tab of the options page each. The
// category always works: each rule found gets its heading line and is saved, whatever was chosen.
#include "subscribers/changes/MessagingRules.h"
#include "subscribers/changes/SubscriberChanges.h"

#include "core/ChoiceTables.h"
#include "core/GreetingSource.h"
#include "core/RunLog.h"
#include "core/Session.h"

namespace {

constexpr const char* kPage = "frmSelectSubscriberChanges";
using MessagingRules::Count;

constexpr EngineControl kControls[] = {
    {kPage, "comGreetingPlayPleaseRecord", Count},
    {kPage, "comGreetingSource", Count},
    {kPage, "txtGreetingSourcePath", Count},
    {kPage, "comGreetingEnabled", Count},
    {kPage, "comGreetingAllowInput", Count},
    {kPage, "txtGreetingReplayTimes", Count},
    {kPage, "txtGreetingSecondsBetweenReplays", Count},
};

// Applies the choices of tab `index` to the rule row `rule`, each setting a step of its own,
// and saves the row.
class GreetingEdit : public RuleRowEdit<SubscriberEdit> {
public:
    GreetingEdit(SubscriberEdit& edit, Recordset& rule, int index) : RuleRowEdit(edit, rule, index) {}

    void apply()
    {
        m_edit.step([&] { pleaseRecordPrompt(); });
        m_edit.step([&] { source(); });
        m_edit.step([&] {
            choose({"comGreetingEnabled", "TimeExpires", {QVariant(), "   Greeting enabled"},
                    {SubscriberChanges::disabledDate(), "   Greeting disabled"}});
        });
        m_edit.step([&] {
            choose({"comGreetingAllowInput", "IgnoreDigits", {QVariant::fromValue<qint16>(0), "   Ignore digits disabled"},
                    {QVariant::fromValue<qint16>(1), "   Ignore digits enabled"}});
        });
        m_edit.step([&] { number("txtGreetingReplayTimes", "Reprompts", "    Reprompt times set to: "); });
        m_edit.step([&] { number("txtGreetingSecondsBetweenReplays", "RepromptDelay", "    Reprompt delay interval set to: "); });
        m_edit.step([&] { m_rule.update(); });
    }

private:
    // The column says whether the prompt is skipped: it takes the opposite of the choice.
    void pleaseRecordPrompt()
    {
        const qint16 code = m_edit.triState(control("comGreetingPlayPleaseRecord"));
        if (code != 0 && code != 1)
            return;
        setColumn("PlayPleaseRecordPrompt", code == 0);
        m_edit.writeLine(QStringLiteral("    Play 'please record...' prompt set to:") + paddedNumber(code));
    }

    void source()
    {
        applyGreetingSource(m_rule, {control("comGreetingSource").text, control("txtGreetingSourcePath").text},
                            {m_edit.alias, m_edit.rootPath, m_edit.actions, m_edit.log,
                             [&log = m_edit.log](const KestraneError& failure) { log.WriteLogLine(subscriberEditErrorLine(failure)); }},
                            m_edit.session.languages.stringLookup());
    }

    // The handler engine's greetings log the number as it stands, this engine's padded.
    void number(const char* box, const char* column, const char* line)
    {
        if (const std::optional<qint16> value = typedNumber<qint16>(box)) {
            setColumn(column, QVariant::fromValue(*value));
            m_edit.writeLine(QLatin1String(line) + paddedNumber(*value));
        }
    }
};

void applyGreetings(SubscriberEdit& edit)
{
    Recordset& rules = MessagingRules::open(edit);
    if (rules.recordCount() == 0) {
        edit.writeLine(QStringLiteral(
            "(error) no messaging rules found for this subscriber!  This is a serious error, you should contact Norwick"));
        return;
    }
    for (int index = 0; index < Count; ++index) {
        edit.writeLine(QStringLiteral("   ") + QLatin1String(MessagingRules::kAliases[index]) + QStringLiteral(" Messaging Rule"));
        if (!MessagingRules::find(rules, index)) {
            edit.writeLine(QStringLiteral("(error) could not find messaging rule for subscriber using ")
                           + MessagingRules::criterion(index)
                           + QStringLiteral(".  This is a serious error, you should contact Norwick."));
            continue;
        }
        GreetingEdit(edit, rules, index).apply();
    }
}

}  // namespace

const SubscriberChangeCategory SubscriberChanges::greetings{"greetings", &applyGreetings, kControls};
