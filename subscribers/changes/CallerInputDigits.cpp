// The caller input tab's digits: how long the subscriber's handler waits for a second digit
// after a one-key entry, and the digits put in front of and behind what a caller dials. Columns
// of the handler row, which the frame saves at its end.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/DialedDigits.h"
#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/RunLog.h"

namespace {

void applyCallerInputDigits(SubscriberEdit& edit)
{
    edit.step([&] {
        SubscriberChanges::applyWholeNumber(edit, "txtCallerInputMilisecondsToWait", "OneKeyDelay",
                                            "   One key digit delay set to:", 0);
    });
    applyDialedDigits(edit);
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "txtCallerInputMilisecondsToWait"},  {kPage, "txtCallerInputPrependDigits"},
    {kPage, "txtCallerInputPostPendDigits"},     {kPage, "chkCallerInputPrependDigitsClear"},
    {kPage, "chkCallerInputPostPendDigitsClear"},
};

}  // namespace

void SubscriberChanges::applyWholeNumber(SubscriberEdit& edit, const char* box, const char* column, const char* line,
                                         qint32 minimum)
{
    const QString text = edit.options.control(box).text;
    if (text.isEmpty())
        return;
    // A number beyond 32 bits fails here: the error line, nothing written.
    const qint32 value = leadingWholeNumber<qint32>(text);
    if (value < minimum)
        return;
    edit.handler().setValue(QLatin1String(column), QVariant::fromValue(value));
    edit.writeLine(QLatin1String(line) + paddedNumber(value));
}

constinit const SubscriberChangeCategory SubscriberChanges::callerInputDigits{
    "caller input digits", applyCallerInputDigits, kControls};
