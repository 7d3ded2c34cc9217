#pragma once
// The eight extension operations of an options tab as strManipulateExtension takes them, read
// from the tab's check boxes and value boxes. The change engine and the page's Test buttons read
// them here alike, so a test shows the extension the run will compute.
#include "core/OptionsSnapshot.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

class KestraneError;

// One operation's check box and value box.
struct ExtensionRuleControls {
    const char* check;
    const char* value;
};
// A tab's operations in the order they are applied: four digit counts, two digit texts, a value
// to add and one to subtract.
using ExtensionTabRules = std::array<ExtensionRuleControls, 8>;

inline constexpr ExtensionTabRules kPrimaryExtensionRules{{
    {"chkSubscriberExtensionStripAllButRightMost", "txtSubscriberExtensionStripAllButrightMost"},
    {"chkSubscriberExtensionStripAllButLeftMost", "txtSubscriberExtensionStripAllButLeftMost"},
    {"chkSubscriberExtensionRemoveLeftMost", "txtSubscriberExtensionRemoveLeftMost"},
    {"chkSubscriberExtensionRemoveRightMost", "txtSubscriberExtensionRemoveRightMost"},
    {"chkSubscriberExtensionAppendToLeft", "txtSubscriberExtensionAppendToLeft"},
    {"chkSubscriberExtensionAppendToRight", "txtSubscriberExtensionAppendToRight"},
    {"chkSubscriberExtensionAddValue", "txtSubscriberExtensionAdd"},
    {"chkSubscriberExtensionSubtractValue", "txtSubscriberExtensionSubtract"},
}};

inline constexpr ExtensionTabRules kAlternateExtensionRules{{
    {"chkAltExtStripAllButRightMost", "txtAltExtStripAllButRightMost"},
    {"chkAltExtStripAllButLeftMost", "txtAltExtStripAllButLeftMost"},
    {"chkAltExtRemoveLeftMost", "txtAltExtRemoveLeftMost"},
    {"chkAltExtRemoveRightMost", "txtAltExtRemoveRightMost"},
    {"chkAltExtAppendToLeft", "txtAltExtAppendToLeft"},
    {"chkAltExtAppendToRight", "txtAltExtAppendToRight"},
    {"chkAltExtAddValue", "txtAltExtAddValue"},
    {"chkAltExtSubtractValue", "txtAltExtSubtractValue"},
}};

// The operations' values; an operation not chosen keeps 0 or the empty text, which
// strManipulateExtension leaves out.
struct ExtensionRuleValues {
    qint16 keepRightMost = 0;
    qint16 keepLeftMost = 0;
    qint16 removeLeftMost = 0;
    qint16 removeRightMost = 0;
    QString leftDigits;
    QString rightDigits;
    qint32 addValue = 0;
    qint32 subtractValue = 0;

    // strManipulateExtension with these values: empty when they cannot be applied to `extension`.
    QString applyTo(const QString& extension) const;
};

// A control by its name (one of the tables above): of a page's snapshot, or of what an engine
// reads, which finds a table's name by where its text is.
using ControlLookup = std::function<const ControlState&(const char* name)>;

// True when any of the tab's check boxes is not clear.
bool anyExtensionRuleChosen(const ExtensionTabRules& rules, const ControlLookup& control);

// The values of the tab's ticked operations (any state but clear): counts and numbers by the
// leading number of their box rounded to a whole number, digit texts as they stand. A value that
// does not fit its type throws KestraneError (Overflow); given `unreadable`, it goes there
// instead and the operation is left out.
ExtensionRuleValues readExtensionRules(const ExtensionTabRules& rules, const ControlLookup& control,
                                       const std::function<void(const KestraneError&)>& unreadable = {});
