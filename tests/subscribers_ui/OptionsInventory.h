#pragma once
// Checks a built tab of the subscriber options page against its inventory: every listed control
// exists under its name, is of its kind and sits in its container, and the tab holds no control
// the inventory does not list.
#include "core/OptionsSnapshot.h"
#include "core/ui/OptionsCapture.h"
#include "search/ui/CallerInputActionGroup.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

struct InventoryRow {
    QString name;          // "Name" or, for element i of an array, "Name_i"
    ControlKind kind;
    QString container;     // the nearest named frame or tab control ("tabGreetings:2" for tab 2);
                           // empty for a control on the tab itself
};

// The container of `control` below `root`, written as InventoryRow::container.
inline QString inventoryContainer(const QWidget* root, const QWidget* control)
{
    const QWidget* child = control;
    for (const QWidget* parent = control->parentWidget(); parent && parent != root; parent = parent->parentWidget()) {
        const auto* tabs = qobject_cast<const QTabWidget*>(parent->parentWidget());
        if (qobject_cast<const QStackedWidget*>(parent) && tabs)
            return tabs->objectName() + QLatin1Char(':') + QString::number(tabs->indexOf(const_cast<QWidget*>(child)));
        if (!parent->objectName().isEmpty() && !parent->objectName().startsWith(QLatin1String("qt_")))
            return parent->objectName();
        child = parent;
    }
    return {};
}

// The named controls of `root` (Qt's own parts excepted: "qt_..." and a tab bar's scroll buttons).
inline QStringList namedControls(const QWidget* root)
{
    QStringList names;
    for (const QWidget* widget : root->findChildren<QWidget*>())
        if (isNamedControl(widget))
            names << widget->objectName();
    return names;
}

inline void expectInventory(const QWidget* root, const std::vector<InventoryRow>& rows)
{
    const OptionsSnapshot snapshot = captureOptions(root);
    QStringList listed;
    for (const InventoryRow& row : rows) {
        listed << row.name;
        const auto* control = root->findChild<const QWidget*>(row.name);
        if (!control) {
            ADD_FAILURE() << "missing " << row.name.toStdString();
            continue;
        }
        EXPECT_EQ(snapshot.control(row.name).kind, row.kind) << row.name.toStdString();
        EXPECT_EQ(inventoryContainer(root, control), row.container) << row.name.toStdString();
    }
    QStringList unlisted = namedControls(root);
    for (const QString& name : listed)
        unlisted.removeOne(name);
    EXPECT_TRUE(unlisted.isEmpty()) << "not in the inventory: " << unlisted.join(", ").toStdString();
    EXPECT_EQ(namedControls(root).size(), qsizetype(rows.size())) << "a name is used twice";
}

// The inventory of caller-input action group i inside the frame `frame`, which stands in
// `frameContainer`.
inline std::vector<InventoryRow> actionGroupInventory(int i, const QString& frame, const QString& frameContainer = {})
{
    auto element = [i](const char* name, int offset = 0) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i + offset); };
    std::vector<InventoryRow> rows{{frame, ControlKind::Frame, frameContainer}};
    for (const char* name : {"optCallerInputDontChange", "optCallerInputTakeAction", "optCallerInputGoToCallHandler",
                             "optCallerInputGoToSubscriber", "optCallerInputgoToInterviewHandler",
                             "optCallerInputGoToDirectoryHandler"})
        rows.push_back({element(name), ControlKind::OptionButton, frame});
    for (const char* name : {"txtCallerInputGoToCallHandler", "txtCallerInputGoToCallHandlerObjectID",
                             "txtCallerInputGoToSubscriber", "txtCallerInputGoToSubscriberObjectID", "txtCallerInputGoToInterview",
                             "txtCallerInputGoToInterviewObjectID", "txtCallerInputGoToDirectoryHandler",
                             "txtCallerInputGoToDirectoryHandlerObjectID"})
        rows.push_back({element(name), ControlKind::LineEdit, frame});
    for (const char* name : {"cmdCallerInputFindCallHandler", "cmdCallerInputFindSubscriber", "cmdCallerInputFindInterviewer",
                             "cmdCallerInputFindDirectoryHandler"})
        rows.push_back({element(name), ControlKind::Button, frame});
    for (const char* name : {"chkCallerInputGoToCallHandlerSkipGreeting", "chkCallerInputGoToSubscriberSkipGreeting"})
        rows.push_back({element(name), ControlKind::CheckBox, frame});
    rows.push_back({element("cmbCallerInputTakeAction"), ControlKind::ComboBox, frame});
    if (i < CallerInputActionGroup::KeyGroups) {
        rows.push_back({element("cmbCallerInputLockKey"), ControlKind::ComboBox, frame});
        rows.push_back({element("chkCallerInputChangeOnlyIfSetToIgnore"), ControlKind::CheckBox, frame});
        rows.push_back({element("txtSubscriberCallerInputNumbertoDial"), ControlKind::LineEdit, frame});
        rows.push_back({element("Label34", 6), ControlKind::Label, frame});
        rows.push_back({element("Label34", 18), ControlKind::Label, frame});
        rows.push_back({element("Label24"), ControlKind::Label, frame});
    }
    return rows;
}

// A look-up that answers each string number with its number ("#20"): a caption routine run with
// it shows which string landed on which control.
inline QString numberText(int number)
{
    return QStringLiteral("#%1").arg(number);
}
