// What happens while the alternate greeting is on: the phone is not rung, no message is taken,
// the greeting cannot be skipped. The three columns of the subscriber row are written together,
// each true only for a ticked box (a dimmed one counts as clear).
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Recordset.h"

namespace {

const char* const kPage = "frmSelectSubscriberChanges";
const QString kApplyBox = QStringLiteral("chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings");

struct GreetingOption {
    const char* box;
    const char* column;
    const char* line;   // + "true" or "false"
};

constexpr GreetingOption kOptions[] = {
    {"chkGreetingAlternateDontRingPhone", "EnAltGreetDontRingPhone", "        'Dont Ring Phone' value set to "},
    {"chkGreetingAlternatePreventMessage", "EnAltGreetPreventMsg", "        'Prevent Message' value set to "},
    {"chkGreetingAlternatePreventSkip", "EnAltGreetPreventSkip", "        'Prevent Skip' value set to "},
};

void applyEnhancedAlternateGreeting(SubscriberEdit& edit)
{
    if (edit.options.control(kApplyBox).checkState != CheckValue::Ticked)
        return;
    edit.writeLine(QStringLiteral("    Applying enhanced alternate greeting settings"));
    for (const GreetingOption& option : kOptions)
        edit.step([&] {
            const bool on = edit.options.control(option.box).checkState == CheckValue::Ticked;
            edit.subscriber().setValue(QString::fromLatin1(option.column), on);
            edit.writeLine(QString::fromLatin1(option.line) + (on ? QStringLiteral("true") : QStringLiteral("false")));
        });
}

const EngineControl kControls[] = {
    {kPage, "chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings"},
    {kPage, "chkGreetingAlternateDontRingPhone"},
    {kPage, "chkGreetingAlternatePreventMessage"},
    {kPage, "chkGreetingAlternatePreventSkip"},
};

}  // namespace

const SubscriberChangeCategory SubscriberChanges::enhancedAlternateGreeting{
    "enhanced alternate greeting", applyEnhancedAlternateGreeting, kControls};
