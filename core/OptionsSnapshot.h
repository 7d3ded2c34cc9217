#pragma once
// What an options page hands its engine at Go: the state of every named control of the page and
// of its sub-dialogs, taken once by captureOptions (core/ui/OptionsCapture.h). The engine reads it
// by the names of the page's controls and never touches a widget, so it runs and is tested
// without a window.
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <stdexcept>
#include <vector>

enum class ControlKind {
    Label,
    LineEdit,
    TextBox,        // a box of several lines
    CheckBox,
    OptionButton,
    Button,
    ComboBox,
    ListBox,
    UpDown,
    ScrollBar,
    TabControl,
    Frame,
    Container,      // any other named widget (a tab page, a group's panel)
};

// The values of a check box as the pages and engines use them.
namespace CheckValue {
constexpr int Clear = 0;
constexpr int Ticked = 1;
constexpr int Dimmed = 2;
}

struct ListItem {
    QString text;
    QVariant data;          // the item data the page gave; invalid when it gave none
    int stringNumber = -1;  // the resource string of a fixed-text item, -1 for any other item

    bool operator==(const ListItem&) const = default;
};

struct TabState {
    QString caption;
    bool enabled = true;
    bool visible = true;
    // The tab's two flags (core/ui/TabFlags.h); it can be opened only while both are True.
    bool versionFlag = true;
    bool typeFlag = true;

    bool operator==(const TabState&) const = default;
};

struct ControlState {
    ControlKind kind = ControlKind::Container;
    QString text;             // caption or box text; of a list, the selected item's text
    int checkState = CheckValue::Clear;   // check boxes
    bool selected = false;    // option buttons
    // As the page set them, relative to the page: a control on a tab page that is not shown
    // (or on a tab that cannot be opened) keeps its own state; the tab's is under the tab control.
    bool enabled = true;
    bool visible = true;
    int value = 0;            // up-down controls and scroll bars
    int currentIndex = -1;    // lists and tab controls; -1 when nothing is selected
    ListItem current;         // lists: the selected item; empty when none is
    QList<ListItem> items;    // lists: every item, in list order
    QList<TabState> tabs;     // tab controls: every tab, in order
};

class OptionsSnapshot {
public:
    // Thrown on reading a control or sub-dialog that the snapshot does not hold.
    class UnknownName : public std::out_of_range {
    public:
        using std::out_of_range::out_of_range;
    };

    explicit OptionsSnapshot(QString formName = {}) : m_formName(std::move(formName)) {}

    const QString& formName() const { return m_formName; }

    // A second control of the same name is passed over: names are unique on a well-built page.
    void add(const QString& name, ControlState state);
    void addDialog(OptionsSnapshot dialog);

    const ControlState& control(const QString& name) const;
    // Element `index` of the control array `arrayName`.
    const ControlState& control(const QString& arrayName, int index) const;
    // The snapshot of a sub-dialog, by the dialog's form name.
    const OptionsSnapshot& dialog(const QString& formName) const;
    // The same, to change: a test makes its choices in a page's snapshot.
    ControlState& control(const QString& name);
    OptionsSnapshot& dialog(const QString& formName);

private:
    QString m_formName;
    QHash<QString, ControlState> m_controls;
    std::vector<OptionsSnapshot> m_dialogs;
};
