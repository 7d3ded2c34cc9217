// The handler's contact rules, one tab of the options page per rule. Every rule found gets its
// heading line and is saved, and the Standard rule is enabled before its choices are applied.
#include "handlers/changes/TransferRules.h"

#include "core/ChoiceTables.h"
#include "core/Criterion.h"
#include "core/DisabledDate.h"
#include "core/Session.h"
#include "handlers/HandlerEngine.h"
#include "handlers/HandlerOptionNames.h"
#include "handlers/changes/TransferNumber.h"

using HandlerOptionNames::TransferRuleCount;

namespace {

constexpr const char* kPage = "frmSelectCallHandlerChanges";
constexpr int kStandard = 1;

constexpr EngineControl kControls[] = {
    {kPage, "cmbCallHandlerSwitchAssignment"},
    {kPage, "comVoiceTransferPrompt", TransferRuleCount},
    {kPage, "comTransferEnabled", TransferRuleCount},
    {kPage, "comTransferTo", TransferRuleCount},
    {kPage, "comTransferType", TransferRuleCount},
    {kPage, "txtTransferRingsToWait", TransferRuleCount},
    {kPage, "comTransferBusyAction", TransferRuleCount},
    {kPage, "comTransferAnnounce", TransferRuleCount},
    {kPage, "comTransferIntroduce", TransferRuleCount},
    {kPage, "comTransferConfirm", TransferRuleCount},
    {kPage, "comTransferAskCallersName", TransferRuleCount},
};

// By rule number, as HandlerOptionNames::kTransferRules.
constexpr const char* kHeadings[TransferRuleCount] = {
    "   Alternate Transfer Rule Edits:",        "   Standard Transfer Rule Edits:",
    "   Off Hours Transfer Rule Edits",         "   Follow-Me Here Transfer Rule Edits",
    "   Follow-Me Home Transfer Rule Edits",    "   Follow-Me Mobile Transfer Rule Edits",
};

constexpr ListChoice kTransferTypes[] = {
    {217, 0, "   Transfer type set to Release"},
    {258, 1, "   Transfer type set to Supervised"},
};
constexpr ListChoice kHoldingModes[] = {
    {46, 1, "   Holding mode set to Always Hold"},
    {192, 0, "   Holding mode set to No Holding"},
    {65, 2, "   Holding mode set to Ask Caller"},
};

struct CallerOption {
    const char* list;
    const char* column;
    const char* line;
};
constexpr CallerOption kCallerOptions[] = {
    {"comTransferAnnounce", "TransferAnnounce", "   Announce option set"},
    {"comTransferIntroduce", "TransferIntroduce", "   Introduce option set"},
    {"comTransferConfirm", "TransferConfirm", "   Confirm option set"},
    {"comTransferAskCallersName", "TransferScreening", "   Ask Caller Name Option set"},
};

// Applies the choices of rule `index` to the rule row `rule`, each change a step of its own, and
// saves the row.
class RuleEdit : public RuleRowEdit<HandlerEdit> {
public:
    RuleEdit(HandlerEdit& edit, Recordset& rule, int index) : RuleRowEdit(edit, rule, index) {}

    void apply()
    {
        if (m_index == kStandard)
            m_edit.step([&] { setColumn("TimeExpires", QVariant()); });
        m_edit.step([&] { switchAssignment(); });
        m_edit.step([&] { waitPrompt(); });
        qint16 enabled = 2;
        m_edit.step([&] { enabled = transferEnabled(); });
        m_edit.step([&] { HandlerChanges::applyTransferNumber(m_edit, m_rule, m_index, enabled); });
        m_edit.step([&] { fromList("comTransferType", kTransferTypes, "TransferType"); });
        m_edit.step([&] { ringsToWait(); });
        m_edit.step([&] { fromList("comTransferBusyAction", kHoldingModes, "TransferHoldingMode"); });
        for (const CallerOption& option : kCallerOptions)
            m_edit.step([&] { callerOption(option); });
        m_edit.step([&] { m_rule.update(); });
    }

private:
    // The same switch for every rule; its list's first item changes nothing.
    void switchAssignment()
    {
        const ControlState& list = m_edit.options.control(QStringLiteral("cmbCallHandlerSwitchAssignment"));
        if (list.currentIndex <= 0)
            return;
        const qint16 switchId = leadingWholeNumber<qint16>(list.current.data.toString());
        setColumn("SwitchID", switchId);
        m_edit.writeLine(QStringLiteral("   Switch assignment set to: ") + QString::number(switchId));
    }

    // The column takes the opposite of the choice: TRUE stores False.
    void waitPrompt()
    {
        const qint16 code = m_edit.triState(control("comVoiceTransferPrompt"));
        if (code != 0 && code != 1)
            return;
        setColumn("PlayTransferWaitPrompt", code == 0);
        m_edit.writeLine(QStringLiteral("       Play transfer wait prompt set to: ") + QString::number(code));
    }

    // The code chosen, which the transfer number also follows.
    qint16 transferEnabled()
    {
        const qint16 code = m_edit.triState(control("comTransferEnabled"));
        if (code != 0 && code != 1)
            return code;
        setColumn("TimeExpires", code == 1 ? QVariant() : QVariant(disabledDate()));
        setColumn("Action", QVariant::fromValue<qint16>(code));
        m_edit.writeLine(QStringLiteral("   Transfer rule enabled set to: ") + QString::number(code));
        return code;
    }

    // An empty, zero or negative number leaves the rings alone (the subscriber engine writes any).
    void ringsToWait()
    {
        const std::optional<qint32> rings = typedNumber<qint32>("txtTransferRingsToWait");
        if (!rings || *rings <= 0)
            return;
        setColumn("TransferRings", *rings);
        m_edit.writeLine(QStringLiteral("   Rings to wait set to ") + QString::number(*rings));
    }

    void callerOption(const CallerOption& option)
    {
        const qint16 code = m_edit.triState(control(option.list));
        if (code != 0 && code != 1)
            return;
        setColumn(option.column, QVariant::fromValue<qint16>(code));
        m_edit.writeLine(QLatin1String(option.line));
    }

};

}  // namespace

void HandlerChanges::applyTransferRules(HandlerEdit& edit)
{
    Recordset& rules = edit.reopen(edit.session.rsContactRules,
                                   QStringLiteral("SELECT * FROM vw_ContactRule where ParentObjectID=?"),
                                   {edit.handler().value(QStringLiteral("CallHandlerObjectID")).toString()});
    for (int index = 0; index <= edit.lastTransferRule; ++index) {
        rules.moveFirst();
        const bool found = rules.find(QStringLiteral("Alias=")
                                      + quoteLiteral(QLatin1String(HandlerOptionNames::kTransferRules[index].alias)));
        edit.writeLine(QLatin1String(kHeadings[index]));
        if (!found) {
            edit.writeLine(QStringLiteral("(error) could not find contact rule!  Skipping and moving on - this is a "
                                          "serious error and you should contact Norwick."));
            continue;
        }
        RuleEdit(edit, rules, index).apply();
    }
    rules.close();
}

std::span<const EngineControl> HandlerChanges::transferRuleControls()
{
    return kControls;
}
