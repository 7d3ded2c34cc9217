#pragma once
// One caller-input action group of the options page: what a key, the after-message action, an
// after-greeting action or the exit destination does. Index 0 to 11: the keys "0" to "9", "*",
// "#" (with the lock-key, "only if ignored" and number-to-dial rows); 12 after a message; 13 to 18
// after the greetings 0 to 5; 19 the subscriber exit destination.
#include "core/ui/CompositeGroup.h"

class QButtonGroup;
class QGroupBox;

class CallerInputActionGroup : public CompositeGroup {
public:
    static constexpr int KeyGroups = 12;
    static constexpr int GroupCount = 20;
    static constexpr int AfterMessage = 12;
    static constexpr int FirstAfterGreeting = 13;
    static constexpr int ExitDestination = 19;
    // The keys' number-to-dial labels are elements 6 + key and 18 + key of `Label34`.
    static constexpr int NumberToDialLabel = 6;
    static constexpr int BlankLeavesNumberLabel = 18;

    CallerInputActionGroup(int index, QWidget* parent);

    // Builds group `index` as the whole content of `frame`.
    static CallerInputActionGroup* placeIn(QGroupBox* frame, int index);
    // The group placed in the frame `frameName` below `root`; nullptr when there is none.
    static CallerInputActionGroup* inFrame(const QWidget* root, const QString& frameName);

    bool isKeyGroup() const { return index() < KeyGroups; }
    // The six option buttons, one exclusive choice; "<Don't Change>" is chosen at first.
    QButtonGroup* choices() const { return m_choices; }

protected:
    QList<Caption> captions() const override;

private:
    QButtonGroup* m_choices;
};
