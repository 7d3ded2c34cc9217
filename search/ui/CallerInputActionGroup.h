#pragma once
// One caller-input action group of an options page: what a key, the after-message action or an
// after-greeting action does. Both options pages repeat it. Index 0 to 11: the keys "0" to "9",
// "*", "#" (with the lock-key and "only if ignored" rows); 12 after a message; 13 to 18 after the
// greetings 0 to 5. The subscriber page adds the keys' number-to-dial rows and a group 19, its
// exit destination.
#include "core/ui/CompositeGroup.h"

class QButtonGroup;
class QGroupBox;

// What a page adds to the rows every group has.
struct CallerInputGroupOptions {
    bool numberToDial = true;   // a key's number-to-dial row (the subscriber page)
};

class CallerInputActionGroup : public CompositeGroup {
public:
    static constexpr int KeyGroups = 12;
    static constexpr int AfterMessage = 12;
    static constexpr int FirstAfterGreeting = 13;
    // The subscriber page's exit destination, its last group.
    static constexpr int ExitDestination = 19;
    static constexpr int GroupCount = 20;
    // The keys' number-to-dial labels are elements 6 + key and 18 + key of `Label34`.
    static constexpr int NumberToDialLabel = 6;
    static constexpr int BlankLeavesNumberLabel = 18;

    using Options = CallerInputGroupOptions;

    CallerInputActionGroup(int index, QWidget* parent, Options options = {});

    // Builds group `index` as the whole content of `frame`.
    static CallerInputActionGroup* placeIn(QGroupBox* frame, int index, Options options = {});
    // The group placed in the frame `frameName` below `root`; nullptr when there is none.
    static CallerInputActionGroup* inFrame(const QWidget* root, const QString& frameName);

    bool isKeyGroup() const { return index() < KeyGroups; }
    bool hasNumberToDial() const { return isKeyGroup() && m_options.numberToDial; }
    // The six option buttons, one exclusive choice; "<Don't Change>" is chosen at first.
    QButtonGroup* choices() const { return m_choices; }

protected:
    QList<Caption> captions() const override;

private:
    Options m_options;
    QButtonGroup* m_choices;
};
