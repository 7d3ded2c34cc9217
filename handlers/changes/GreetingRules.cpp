// Each greeting found gets its heading line and is saved, whatever was chosen; each setting is
// a step of its own, so a failing one leaves the others of the greeting to run.
#include "handlers/changes/GreetingRules.h"

#include "core/ChoiceTables.h"
#include "core/Criterion.h"
#include "core/DisabledDate.h"
#include "core/GreetingSource.h"
#include "core/Session.h"
#include "handlers/HandlerEngine.h"
#include "handlers/HandlerOptionNames.h"

namespace {

using HandlerOptionNames::GreetingCount;
using HandlerOptionNames::kGreetings;

constexpr const char* kPage = "frmSelectCallHandlerChanges";

constexpr EngineControl kControls[] = {
    {kPage, "comGreetingEnabled", GreetingCount},
    {kPage, "comGreetingAllowInput", GreetingCount},
    {kPage, "txtGreetingReplayTimes", GreetingCount},
    {kPage, "txtGreetingSecondsBetweenReplays", GreetingCount},
    {kPage, "comGreetingSource", GreetingCount},
    {kPage, "txtGreetingSourcePath", GreetingCount},
    {kPage, "comGreetingPlayPleaseRecord", GreetingCount},
};

class GreetingRuleEdit : public RuleRowEdit<HandlerEdit> {
public:
    GreetingRuleEdit(HandlerEdit& edit, Recordset& rule, int index) : RuleRowEdit(edit, rule, index) {}

    void apply()
    {
        m_edit.step([&] {
            choose({"comGreetingEnabled", "TimeExpires", {QVariant(), "   Rule enabled"}, {disabledDate(), "   Rule disabled"}});
        });
        m_edit.step([&] {
            choose({"comGreetingAllowInput", "IgnoreDigits", {QVariant::fromValue<qint16>(0), "   Ignore digits set to Off"},
                    {QVariant::fromValue<qint16>(1), "   Ignore digits to to On"}});
        });
        m_edit.step([&] { number("txtGreetingReplayTimes", "Reprompts", "    Reprompt times set to: "); });
        m_edit.step([&] { number("txtGreetingSecondsBetweenReplays", "RepromptDelay", "    Reprompt delay interval set to: "); });
        m_edit.step([&] { source(); });
        m_edit.step([&] { pleaseRecordPrompt(); });
        m_edit.step([&] { m_rule.update(); });
    }

private:
    // The subscriber engine's greetings log the number padded, this engine's as it stands.
    void number(const char* box, const char* column, const char* line)
    {
        if (const std::optional<qint16> value = typedNumber<qint16>(box)) {
            setColumn(column, QVariant::fromValue(*value));
            m_edit.writeLine(QLatin1String(line) + QString::number(*value));
        }
    }

    void source()
    {
        HandlerEdit& edit = m_edit;
        applyGreetingSource(m_rule, {control("comGreetingSource").text, control("txtGreetingSourcePath").text},
                            {edit.handler().value(QStringLiteral("Alias")).toString(), edit.rootPath, edit.actions, edit.log,
                             // Runs after the commit, when this edit is gone: only the log and the strings are held.
                             [&log = edit.log, &languages = edit.session.languages](const KestraneError& failure) {
                                 log.writeErrorLine(handlerEditErrorLine(failure));
                                 tell(log.messages(), handlerEditErrorMessage(languages, failure));
                             }},
                            edit.session.languages.stringLookup());
    }

    // The column says whether the prompt is skipped: it takes the opposite of the choice, and
    // the line shows the choice.
    void pleaseRecordPrompt()
    {
        const qint16 code = m_edit.triState(control("comGreetingPlayPleaseRecord"));
        if (code != 0 && code != 1)
            return;
        setColumn("PlayPleaseRecordPrompt", code == 0);
        m_edit.writeLine(QStringLiteral("    Play the 'Record your message at the tone...' prompt set to:") + QString::number(code));
    }
};

}  // namespace

void HandlerChanges::applyGreetingRules(HandlerEdit& edit)
{
    Recordset& rules = edit.reopen(edit.session.rsMessagingRules, QStringLiteral("SELECT * FROM vw_MessagingRule WHERE ParentObjectID=?"),
                                   {edit.handler().value(QStringLiteral("CallHandlerObjectID"))});
    rules.setOptimize(QStringLiteral("Alias"));   // each greeting's rule by an index, not a scan
    for (int index = 0; index < GreetingCount; ++index) {
        const QString alias = QLatin1String(kGreetings[index].alias);
        edit.writeLine(QStringLiteral("    ") + alias + QStringLiteral(" Messaging Rule"));
        rules.moveFirst();
        if (!rules.find(QStringLiteral("Alias=") + quoteLiteral(alias))) {
            edit.writeLine(QStringLiteral(
                "(error) messaging rule not found for this call handler.  This is a serious error, you should contact Norwick"));
            continue;
        }
        GreetingRuleEdit(edit, rules, index).apply();
    }
    rules.close();
}

std::span<const EngineControl> HandlerChanges::greetingRuleControls()
{
    return kControls;
}
