#include "search/ui/CallerInputActionGroup.h"

#include "resources/EnglishStrings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CallerInputActionGroup::CallerInputActionGroup(int index, QWidget* parent, Options options)
    : CompositeGroup(index, parent), m_options(options), m_choices(new QButtonGroup(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;

    // The destination object IDs: hidden, only the Find buttons fill them.
    auto* objectIds = new QHBoxLayout;
    for (const char* name : {"txtCallerInputGoToDirectoryHandlerObjectID", "txtCallerInputGoToCallHandlerObjectID",
                             "txtCallerInputGoToSubscriberObjectID", "txtCallerInputGoToInterviewObjectID"}) {
        auto* box = element(new QLineEdit, name);
        box->hide();
        objectIds->addWidget(box);
    }
    if (isKeyGroup()) {
        grid->addLayout(objectIds, row++, 0, 1, 5);
        grid->addWidget(element(new QCheckBox, "chkCallerInputChangeOnlyIfSetToIgnore"), row++, 0, 1, 5);
        grid->addWidget(element(new QRadioButton, "optCallerInputDontChange"), row++, 0);
    } else {
        grid->addWidget(element(new QRadioButton, "optCallerInputDontChange"), row, 0);
        grid->addLayout(objectIds, row++, 1, 1, 4);
    }

    grid->addWidget(element(new QRadioButton, "optCallerInputTakeAction"), row, 0);
    grid->addWidget(element(new QComboBox, "cmbCallerInputTakeAction"), row, 1);
    if (hasNumberToDial()) {
        auto* dial = new QHBoxLayout;
        dial->addWidget(element(new QLabel, "Label34", NumberToDialLabel));
        dial->addWidget(element(new QLineEdit, "txtSubscriberCallerInputNumbertoDial"));
        dial->addWidget(element(new QLabel, "Label34", BlankLeavesNumberLabel));
        // Shown only while the action "Alternate Contact Number" is chosen.
        for (int item = 0; item < dial->count(); ++item)
            dial->itemAt(item)->widget()->hide();
        grid->addLayout(dial, row, 2, 1, 3);
    }
    ++row;

    // One row per destination kind: option button, read-only name box, Find, and for call
    // handlers and subscribers the "don't ring" box.
    struct Destination {
        const char* option;
        const char* name;
        const char* find;
        const char* skipGreeting;
    };
    const Destination destinations[] = {
        {"optCallerInputGoToDirectoryHandler", "txtCallerInputGoToDirectoryHandler", "cmdCallerInputFindDirectoryHandler", nullptr},
        {"optCallerInputGoToCallHandler", "txtCallerInputGoToCallHandler", "cmdCallerInputFindCallHandler",
         "chkCallerInputGoToCallHandlerSkipGreeting"},
        {"optCallerInputGoToSubscriber", "txtCallerInputGoToSubscriber", "cmdCallerInputFindSubscriber",
         "chkCallerInputGoToSubscriberSkipGreeting"},
        {"optCallerInputgoToInterviewHandler", "txtCallerInputGoToInterview", "cmdCallerInputFindInterviewer", nullptr},
    };
    for (const Destination& destination : destinations) {
        grid->addWidget(element(new QRadioButton, destination.option), row, 0);
        auto* name = element(new QLineEdit, destination.name);
        name->setReadOnly(true);
        grid->addWidget(name, row, 1);
        grid->addWidget(element(new QPushButton, destination.find), row, 2);
        if (destination.skipGreeting)
            grid->addWidget(element(new QCheckBox, destination.skipGreeting), row, 3);
        ++row;
    }

    if (isKeyGroup()) {
        grid->addWidget(element(new QLabel, "Label24"), row, 0);
        grid->addWidget(element(new QComboBox, "cmbCallerInputLockKey"), row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);

    for (QRadioButton* option : findChildren<QRadioButton*>())
        m_choices->addButton(option);
    findChild<QRadioButton*>(elementName(QStringLiteral("optCallerInputDontChange"), index))->setChecked(true);

    applyCaptions(resources::englishString);
}

CallerInputActionGroup* CallerInputActionGroup::placeIn(QGroupBox* frame, int index, Options options)
{
    auto* group = new CallerInputActionGroup(index, frame, options);
    (new QVBoxLayout(frame))->addWidget(group);
    return group;
}

CallerInputActionGroup* CallerInputActionGroup::inFrame(const QWidget* root, const QString& frameName)
{
    const auto* frame = root->findChild<const QGroupBox*>(frameName);
    if (!frame)
        return nullptr;
    for (QObject* child : frame->children())
        if (auto* group = dynamic_cast<CallerInputActionGroup*>(child))
            return group;
    return nullptr;
}

QList<CompositeGroup::Caption> CallerInputActionGroup::captions() const
{
    QList<Caption> rows{
        {"optCallerInputDontChange", 20},
        {"optCallerInputTakeAction", 259},
        {"optCallerInputGoToDirectoryHandler", 144},
        {"cmdCallerInputFindDirectoryHandler", 138},
        {"optCallerInputGoToCallHandler", 143},
        {"cmdCallerInputFindCallHandler", 138},
        {"chkCallerInputGoToCallHandlerSkipGreeting", 114},
        {"optCallerInputGoToSubscriber", 146},
        {"cmdCallerInputFindSubscriber", 138},
        {"chkCallerInputGoToSubscriberSkipGreeting", 114},
        {"optCallerInputgoToInterviewHandler", 145},
        {"cmdCallerInputFindInterviewer", 138},
    };
    if (isKeyGroup())
        rows += {{"chkCallerInputChangeOnlyIfSetToIgnore", 61}, {"Label24", 174}};
    if (hasNumberToDial())
        rows += {{"Label34", 505, NumberToDialLabel}, {"Label34", 506, BlankLeavesNumberLabel}};
    return rows;
}
