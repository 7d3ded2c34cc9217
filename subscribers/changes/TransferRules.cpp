// The transfer (contact) rules of the subscriber's primary call handler, one tab of the options
// page per rule. The category always works: each rule found gets its heading line and is saved,
// and the Standard rule is enabled before its choices are applied.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/ChoiceTables.h"
#include "core/Criterion.h"
#include "core/RunLog.h"
#include "core/Session.h"

namespace {

constexpr const char* kPage = "frmSelectSubscriberChanges";
constexpr int kRuleCount = 6;
// Servers before 7.0(0).1 have no Follow-Me rules.
constexpr int kRulesBeforeFollowMe = 3;
constexpr int kOffHours = 1;
constexpr int kStandard = 2;

constexpr EngineControl kControls[] = {
    {kPage, "comTransferRuleEnabled", kRuleCount},
    {kPage, "comTransferEnabled", kRuleCount},
    {kPage, "comTransferType", kRuleCount},
    {kPage, "comTransferPlayPleaseWaitPrompt", kRuleCount},
    {kPage, "chkTransferForceToSubscribersExtension", kRuleCount},
    {kPage, "chkTransferAppendDigitsToLeft", kRuleCount},
    {kPage, "txtTransferAppendDigitsToLeft", kRuleCount},
    {kPage, "chkTransferAppendDigitsToRight", kRuleCount},
    {kPage, "txtTransferAppendDigitsToRight", kRuleCount},
    {kPage, "txtTransferRingsToWait", kRuleCount},
    {kPage, "comTransferBusyAction", kRuleCount},
    {kPage, "comTransferAnnounce", kRuleCount},
    {kPage, "comTransferIntroduce", kRuleCount},
    {kPage, "comTransferConfirm", kRuleCount},
    {kPage, "comTransferAskCallersName", kRuleCount},
    {kPage, "cmbSubscriberProfileSwitchAssignment"},
};

struct RuleNames {
    const char* alias;
    const char* missingLine;
};
constexpr RuleNames kRules[kRuleCount] = {
    {"Alternate", "(error) no Alternate contact rule found for this subscriber!  This is a serious error, you should contact Norwick."},
    {"Off Hours", "(error) no Off-Hours contact rule found for this subscriber!  This is a serious error, you should contact Norwick."},
    {"Standard", "(error) no standard contact rule found for this subscriber!  This is a serious error, you should contact Norwick."},
    {"Follow-Me Here", "(error) no Follow-Me Here contact rule found for this subscriber!  This is a serious error, you should contact Norwick."},
    {"Follow-Me Home", "(error) no Follow-Me Home contact rule found for this subscriber!  This is a serious error, you should contact Norwick."},
    {"Follow-Me Mobile", "(error) no Follow-Me Mobile contact rule found for this subscriber!  This is a serious error, you should contact Norwick."},
};

constexpr ListChoice kTransferTypes[] = {
    {217, 0, "       Transfer type set to Release"},
    {258, 1, "       Transfer type set to Supervised"},
};
constexpr ListChoice kBusyActions[] = {
    {46, 1, "       Busy action set to Always Hold"},
    {192, 0, "       Busy action set to No Holding"},
    {65, 2, "       Busy action set to Ask Caller"},
};

// Applies the choices of tab `index` to the rule row `rule`, each setting a step of its own,
// and saves the row.
class RuleEdit : public RuleRowEdit<SubscriberEdit> {
public:
    RuleEdit(SubscriberEdit& edit, Recordset& rule, int index) : RuleRowEdit(edit, rule, index) {}

    void apply()
    {
        if (m_index == kStandard)
            m_edit.step([&] { m_rule.setValue(QStringLiteral("TimeExpires"), QVariant()); });
        m_edit.step([&] { ruleEnabled(); });
        m_edit.step([&] { transferEnabled(); });
        m_edit.step([&] { fromList("comTransferType", kTransferTypes, "TransferType"); });
        m_edit.step([&] { waitPrompt(); });
        m_edit.step([&] { forceToExtension(); });
        m_edit.step([&] { appendToLeft(); });
        m_edit.step([&] { appendToRight(); });
        m_edit.step([&] { ringsToWait(); });
        m_edit.step([&] { fromList("comTransferBusyAction", kBusyActions, "TransferHoldingMode"); });
        m_edit.step([&] { triState("comTransferAnnounce", "TransferAnnounce", "       Announce set to:"); });
        m_edit.step([&] { triState("comTransferIntroduce", "TransferIntroduce", "       Introduce value set to:"); });
        m_edit.step([&] { triState("comTransferConfirm", "TransferConfirm", "       Confirm set to:"); });
        m_edit.step([&] { triState("comTransferAskCallersName", "TransferScreening", "       Ask callers name set to:"); });
        m_edit.step([&] { switchAssignment(); });
        m_edit.step([&] { m_rule.update(); });
    }

private:
    bool ticked(const char* name) const { return control(name).checkState == CheckValue::Ticked; }
    QString digits(const char* box) const { return control(box).text.trimmed(); }
    QString subscriberExtension() const
    {
        return m_edit.handler().value(QStringLiteral("DTMFAccessID")).toString();
    }
    QString transferString() const { return m_rule.value(QStringLiteral("Extension")).toString(); }

    // The rule's new transfer string; the subscriber's own copy follows it where `copied`.
    void setTransferString(const QString& transferTo, bool copied)
    {
        setColumn("Extension", transferTo);
        if (copied)
            m_edit.subscriber().setValue(QStringLiteral("XFerString"), transferTo);
        m_edit.requestDirectoryWriteThrough();
    }
    // The Off Hours rule's forced or appended string is not the subscriber's transfer string.
    bool copiedToSubscriber() const { return m_index != kOffHours; }

    void ruleEnabled()
    {
        const qint16 code = m_edit.triState(control("comTransferRuleEnabled"));
        if (code == 1) {
            setColumn("TimeExpires", QVariant());
            m_edit.writeLine(QStringLiteral("       Transfer rule enabled"));
        } else if (code == 0) {
            setColumn("TimeExpires", SubscriberChanges::disabledDate());
            m_edit.writeLine(QStringLiteral("       Transfer rule disabled"));
        }
    }

    void transferEnabled()
    {
        const qint16 code = m_edit.triState(control("comTransferEnabled"));
        if (code != 0 && code != 1)
            return;
        setColumn("Action", QVariant::fromValue<qint16>(code));
        m_edit.writeLine(QStringLiteral("       Enable transfer set to:") + paddedNumber(code));
        // A rule that transfers needs a number: the subscriber's extension when it has none.
        if (code != 1 || !transferString().isEmpty())
            return;
        const QString extension = subscriberExtension();
        setTransferString(extension, true);
        m_edit.writeLine(QStringLiteral("       Transfer extension set to:") + extension);
    }

    // The column says whether the prompt is skipped: it takes the opposite of the choice.
    void waitPrompt()
    {
        const qint16 code = m_edit.triState(control("comTransferPlayPleaseWaitPrompt"));
        if (code != 0 && code != 1)
            return;
        setColumn("PlayTransferWaitPrompt", code == 0);
        m_edit.writeLine(QStringLiteral("       Play 'please wait...' prompt set to:") + paddedNumber(code));
    }

    void forceToExtension()
    {
        if (!ticked("chkTransferForceToSubscribersExtension"))
            return;
        const QString extension = subscriberExtension();
        setTransferString(extension, copiedToSubscriber());
        setColumn("Rule", QVariant::fromValue<qint16>(0));
        m_edit.writeLine(QStringLiteral("        Transfer string forced to subscriber's extension:") + extension);
    }

    // Digits put in front: an "X" in the transfer string stands for the subscriber's extension.
    void appendToLeft()
    {
        if (!ticked("chkTransferAppendDigitsToLeft"))
            return;
        QString transferTo = transferString();
        if (transferTo.isEmpty())
            transferTo = subscriberExtension();
        else
            transferTo.replace(QStringLiteral("X"), subscriberExtension(), Qt::CaseInsensitive);
        transferTo.prepend(digits("txtTransferAppendDigitsToLeft"));
        appended(transferTo, "        Digits appended to to left of transfer string, new transfer string=");
    }

    // Digits put behind; the transfer string is taken as it stands.
    void appendToRight()
    {
        if (!ticked("chkTransferAppendDigitsToRight"))
            return;
        QString transferTo = transferString();
        if (transferTo.isEmpty())
            transferTo = subscriberExtension();
        transferTo.append(digits("txtTransferAppendDigitsToRight"));
        appended(transferTo, "        Digits appended to to right of transfer string, new transfer string=");
    }

    void appended(const QString& transferTo, const char* line)
    {
        setTransferString(transferTo, copiedToSubscriber());
        setColumn("Rule", QVariant::fromValue<qint16>(1));
        m_edit.writeLine(QLatin1String(line) + transferTo);
    }

    void ringsToWait()
    {
        if (const std::optional<qint32> rings = typedNumber<qint32>("txtTransferRingsToWait")) {
            setColumn("TransferRings", *rings);
            m_edit.writeLine(QStringLiteral("       Rings to wait set to:") + paddedNumber(*rings));
        }
    }

    void triState(const char* list, const char* column, const char* line)
    {
        m_edit.applyTriStateOf(control(list), m_rule, QLatin1String(column), QLatin1String(line));
    }

    // The switch chosen on the profile tab goes into every rule; no line of its own.
    void switchAssignment()
    {
        const ControlState& list = m_edit.options.control(QStringLiteral("cmbSubscriberProfileSwitchAssignment"));
        if (list.currentIndex > 0)
            setColumn("SwitchID", leadingWholeNumber<qint16>(list.current.data.toString()));
    }

};

void applyTransferRules(SubscriberEdit& edit)
{
    const int ruleCount = edit.session.isVersionAtLeast(7, 0, 0, 1) ? kRuleCount : kRulesBeforeFollowMe;
    Recordset& rules = edit.contactRules();
    for (int index = 0; index < ruleCount; ++index) {
        if (rules.recordCount() == 0) {
            edit.writeLine(QStringLiteral(
                "(error) no contact rules found for this subscriber!  This is a serious error, you should contact Norwick."));
            continue;
        }
        const QString alias = QLatin1String(kRules[index].alias);
        edit.writeLine(QStringLiteral("    Updating transfer rule: ") + alias);
        rules.moveFirst();
        if (!rules.find(QStringLiteral("Alias=") + quoteLiteral(alias))) {
            edit.writeLine(QLatin1String(kRules[index].missingLine));
            continue;
        }
        RuleEdit(edit, rules, index).apply();
    }
}

}  // namespace

const SubscriberChangeCategory SubscriberChanges::transferRules{"transfer rules", &applyTransferRules, kControls};
