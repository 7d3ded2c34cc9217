// The caller input tab's digits: how long the subscriber's handler waits for a second digit
// after a one-key entry, and the digits put in front of and behind what a caller dials. Columns
// of the handler row, which the frame saves at its end. The clear boxes run after both texts, so
// a text and its clear box together leave the column empty (both lines logged, set first).
#include "subscribers/changes/SubscriberChanges.h"

#include "core/ExtensionRules.h"
#include "core/Recordset.h"
#include "core/RunLog.h"

namespace {

struct DialedDigits {
    const char* box;
    const char* clearBox;
    const char* column;
    const char* setLine;
    const char* clearedLine;
};
constexpr DialedDigits kDialedDigits[] = {
    {"txtCallerInputPrependDigits", "chkCallerInputPrependDigitsClear", "PrePendDigits", "    Prepend Digits set to: ",
     "    Prepend Digits cleared"},
    {"txtCallerInputPostPendDigits", "chkCallerInputPostPendDigitsClear", "PostPendDigits",
     "    Postpend Digits set to: ", "    Postpend Digits cleared."},
};

void applyCallerInputDigits(SubscriberEdit& edit)
{
    edit.step([&] {
        SubscriberChanges::applyWholeNumber(edit, "txtCallerInputMilisecondsToWait", "OneKeyDelay",
                                            "   One key digit delay set to:", 0);
    });
    for (const DialedDigits& digits : kDialedDigits)
        edit.step([&] {
            const QString text = edit.options.control(QLatin1String(digits.box)).text;
            if (text.isEmpty())
                return;
            edit.handler().setValue(QLatin1String(digits.column), text);
            edit.writeLine(QLatin1String(digits.setLine) + text);
        });
    for (const DialedDigits& digits : kDialedDigits)
        edit.step([&] {
            if (edit.options.control(QLatin1String(digits.clearBox)).checkState != CheckValue::Ticked)
                return;
            edit.handler().setValue(QLatin1String(digits.column), QVariant());
            edit.writeLine(QLatin1String(digits.clearedLine));
        });
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
    const QString text = edit.options.control(QLatin1String(box)).text;
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
