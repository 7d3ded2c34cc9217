#pragma once
// The digits a handler puts in front of and behind what a caller dials (columns PrePendDigits and
// PostPendDigits of the handler row), as both engines set them from their options page: a text
// sets a column, its clear box empties it. Both texts run first, then both clear boxes, so a
// clear box wins over a text typed with it (both lines logged, set first).
//
// `Edit` is an engine's per-object edit: step(work), options.control(name), handler(), writeLine.
#include "core/OptionsSnapshot.h"
#include "core/Recordset.h"

#include <QLatin1String>
#include <QVariant>

struct DialedDigits {
    const char* box;
    const char* clearBox;
    const char* column;
    const char* setLine;
    const char* clearedLine;
};
inline constexpr DialedDigits kDialedDigits[] = {
    {"txtCallerInputPrependDigits", "chkCallerInputPrependDigitsClear", "PrePendDigits", "    Prepend Digits set to: ",
     "    Prepend Digits cleared"},
    {"txtCallerInputPostPendDigits", "chkCallerInputPostPendDigitsClear", "PostPendDigits",
     "    Postpend Digits set to: ", "    Postpend Digits cleared."},
};

template <typename Edit>
void applyDialedDigits(Edit& edit)
{
    for (const DialedDigits& digits : kDialedDigits)
        edit.step([&] {
            const QString text = edit.options.control(digits.box).text;
            if (text.isEmpty())
                return;
            edit.handler().setValue(QLatin1String(digits.column), text);
            edit.writeLine(QLatin1String(digits.setLine) + text);
        });
    for (const DialedDigits& digits : kDialedDigits)
        edit.step([&] {
            if (edit.options.control(digits.clearBox).checkState != CheckValue::Ticked)
                return;
            edit.handler().setValue(QLatin1String(digits.column), QVariant());
            edit.writeLine(QLatin1String(digits.clearedLine));
        });
}
