// The kit that pages of repeated groups are built with, and the snapshot that an options page
// hands its engine.
#include "core/ui/Captions.h"
#include "core/ui/CompositeGroup.h"
#include "core/ui/ControlValues.h"
#include "core/ui/FormStatements.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/TabFlags.h"
#include "core/ui/TriStateCombo.h"

#include "resources/EnglishStrings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Each string's number as its text, so that a caption shows where it came from.
QString numberText(int number)
{
    return QStringLiteral("#%1").arg(number);
}

// A caller-input-like group: an option button, a check box and a Find button of index i; only
// the groups of the keys (below 12) have a lock-key list.
class ActionGroup : public CompositeGroup {
public:
    ActionGroup(int index, QWidget* parent) : CompositeGroup(index, parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(element(new QRadioButton, "optAction"));
        layout->addWidget(element(new QCheckBox, "chkSkipGreeting"));
        layout->addWidget(element(new QPushButton, "cmdFind"));
        if (index < 12)
            layout->addWidget(element(new QComboBox, "cmbLockKey"));
    }

protected:
    QList<Caption> captions() const override { return {{"optAction", 20}, {"chkSkipGreeting", 114}, {"cmdFind", 138}}; }
};

// A form with a control of every kind, laid out the way the options pages are: controls on the
// pages of a tab control (one tab hidden, one that cannot be opened), repeated groups and a
// sub-dialog that is a form of its own.
struct TestForm {
    QWidget form;
    QTabWidget* tabs = nullptr;
    QDialog* dialog = nullptr;

    template <typename Control>
    Control* add(Control* control, const QString& name, QWidget* page)
    {
        control->setObjectName(name);
        page->layout()->addWidget(control);
        return control;
    }

    TestForm()
    {
        form.setObjectName("frmTest");
        auto* layout = new QVBoxLayout(&form);
        tabs = new QTabWidget;
        tabs->setObjectName("tabMain");
        layout->addWidget(tabs);
        QWidget* pages[3];
        for (QWidget*& page : pages) {
            page = new QWidget;
            new QVBoxLayout(page);
            tabs->addTab(page, QStringLiteral("tab"));
        }
        QWidget* first = pages[0];

        add(new QLineEdit("Alice"), "txtName", first);
        add(new QLineEdit("locked"), "txtLocked", first)->setEnabled(false);
        add(new QCheckBox("Ticked"), "chkTicked", first)->setChecked(true);
        add(new QCheckBox("Clear"), "chkClear", first);
        setCheckBoxValue(add(new QCheckBox("Dimmed"), "chkDimmed", first), CheckValue::Dimmed);
        for (int i = 0; i < 2; ++i)
            add(new QRadioButton(QStringLiteral("Option %1").arg(i)), elementName("optKind", i), first);
        form.findChild<QRadioButton*>("optKind_1")->setChecked(true);
        auto* triState = add(new QComboBox, "cmbTriState", first);
        FillTriStateCombo(triState, resources::englishString);
        triState->setCurrentIndex(2);
        auto* languages = add(new QComboBox, "cmbLanguage", first);
        languages->addItem("English", 1033);
        languages->addItem("Deutsch", 1031);
        languages->setCurrentIndex(1);
        add(new QComboBox, "cmbEmpty", first);
        auto* order = add(new QListWidget, "listOrder", first);
        for (const auto& [text, code] : {std::pair{"Urgent", 4}, {"Normal", 1}}) {
            auto* item = new QListWidgetItem(QString::fromLatin1(text), order);
            item->setData(ListRole::ItemData, code);
        }
        order->setCurrentRow(1);
        add(new QSpinBox, "upDownOrder", first)->setValue(7);
        auto* bar = add(new QScrollBar(Qt::Vertical), "scrPosition", first);
        bar->setRange(0, 100);
        bar->setValue(30);
        add(new QLabel("Heading"), "lblHeading", first);
        add(new QPlainTextEdit("line 1\nline 2"), "txtNotes", first);
        auto* hiddenFrame = add(new QGroupBox("Hidden frame"), "fraHidden", first);
        hiddenFrame->setLayout(new QVBoxLayout);
        add(new QLabel("inside"), "lblInHiddenFrame", hiddenFrame);
        hiddenFrame->hide();

        add(new QLineEdit("on the hidden tab"), "txtOnHiddenTab", pages[1]);
        add(new QLabel("hidden on a tab"), "lblHiddenOnTab", pages[1])->hide();
        add(new QCheckBox("on the closed tab"), "chkOnClosedTab", pages[2]);
        add(new QPushButton("disabled on a tab"), "cmdDisabledOnTab", pages[2])->setEnabled(false);
        for (int i = 11; i <= 12; ++i)
            pages[2]->layout()->addWidget(new ActionGroup(i, pages[2]));
        tabs->setTabText(1, "Hidden");
        tabs->setTabVisible(1, false);
        tabs->setTabEnabled(2, false);

        // The sub-dialog has a button of the same name as one of the form's.
        add(new QPushButton("Exit"), "cmdExit", first);
        dialog = new QDialog(&form);
        dialog->setObjectName("frmSubDialog");
        new QVBoxLayout(dialog);
        setCheckBoxValue(add(new QCheckBox("No change"), "chkNoChange", dialog), CheckValue::Dimmed);
        add(new QPushButton("Close"), "cmdExit", dialog)->setEnabled(false);
    }
};

// What the snapshot must read of one control.
struct Expected {
    const char* name;
    ControlKind kind;
    const char* text;
    int checkState = CheckValue::Clear;
    bool selected = false;
    bool enabled = true;
    bool visible = true;
    int value = 0;
    int currentIndex = -1;
};

const Expected kFormControls[] = {
    {"txtName", ControlKind::LineEdit, "Alice"},
    {"txtLocked", ControlKind::LineEdit, "locked", 0, false, /*enabled*/ false},
    {"chkTicked", ControlKind::CheckBox, "Ticked", CheckValue::Ticked},
    {"chkClear", ControlKind::CheckBox, "Clear", CheckValue::Clear},
    {"chkDimmed", ControlKind::CheckBox, "Dimmed", CheckValue::Dimmed},
    {"optKind_0", ControlKind::OptionButton, "Option 0", 0, false},
    {"optKind_1", ControlKind::OptionButton, "Option 1", 0, true},
    {"cmbTriState", ControlKind::ComboBox, "FALSE", 0, false, true, true, 0, 2},
    {"cmbLanguage", ControlKind::ComboBox, "Deutsch", 0, false, true, true, 0, 1},
    {"cmbEmpty", ControlKind::ComboBox, "", 0, false, true, true, 0, -1},
    {"listOrder", ControlKind::ListBox, "Normal", 0, false, true, true, 0, 1},
    {"upDownOrder", ControlKind::UpDown, "7", 0, false, true, true, 7},
    {"scrPosition", ControlKind::ScrollBar, "", 0, false, true, true, 30},
    {"lblHeading", ControlKind::Label, "Heading"},
    {"txtNotes", ControlKind::TextBox, "line 1\nline 2"},
    {"fraHidden", ControlKind::Frame, "Hidden frame", 0, false, true, /*visible*/ false},
    {"lblInHiddenFrame", ControlKind::Label, "inside", 0, false, true, /*visible*/ false},
    {"tabMain", ControlKind::TabControl, "tab", 0, false, true, true, 0, 0},
    // Tab pages that are not shown, or cannot be opened, leave their controls as the page set them.
    {"txtOnHiddenTab", ControlKind::LineEdit, "on the hidden tab"},
    {"lblHiddenOnTab", ControlKind::Label, "hidden on a tab", 0, false, true, /*visible*/ false},
    {"chkOnClosedTab", ControlKind::CheckBox, "on the closed tab"},
    {"cmdDisabledOnTab", ControlKind::Button, "disabled on a tab", 0, false, /*enabled*/ false},
    {"cmdExit", ControlKind::Button, "Exit"},
};

void expectControl(const OptionsSnapshot& snapshot, const Expected& expected)
{
    SCOPED_TRACE(expected.name);
    const ControlState& state = snapshot.control(QLatin1String(expected.name));
    EXPECT_EQ(state.kind, expected.kind);
    EXPECT_EQ(state.text, QString::fromUtf8(expected.text));
    EXPECT_EQ(state.checkState, expected.checkState);
    EXPECT_EQ(state.selected, expected.selected);
    EXPECT_EQ(state.enabled, expected.enabled);
    EXPECT_EQ(state.visible, expected.visible);
    EXPECT_EQ(state.value, expected.value);
    EXPECT_EQ(state.currentIndex, expected.currentIndex);
}

// The page is read the same whether it was never shown, is shown, or was shown and hidden again
// (the engine takes the snapshot after the options page hid itself).
enum class FormShowing { Never, Shown, HiddenAgain };

class Snapshot : public ::testing::TestWithParam<FormShowing> {};

} // namespace

TEST_P(Snapshot, ReadsEveryControlAsThePageSetIt)
{
    TestForm test;
    if (GetParam() != FormShowing::Never)
        test.form.show();
    if (GetParam() == FormShowing::HiddenAgain)
        test.form.hide();
    // A sub-dialog not created yet is left out.
    const OptionsSnapshot snapshot = captureOptions(&test.form, {test.dialog, nullptr});

    EXPECT_EQ(snapshot.formName(), "frmTest");
    for (const Expected& expected : kFormControls)
        expectControl(snapshot, expected);

    const ControlState& triState = snapshot.control("cmbTriState");
    const QList<ListItem> triStateItems{{"<Don't Change>", {}, 20}, {"TRUE", {}, 279}, {"FALSE", {}, 137}};
    EXPECT_EQ(triState.items, triStateItems);
    EXPECT_EQ(triState.current, triStateItems[2]);
    const QList<ListItem> languageItems{{"English", 1033, -1}, {"Deutsch", 1031, -1}};
    EXPECT_EQ(snapshot.control("cmbLanguage").items, languageItems);
    EXPECT_EQ(snapshot.control("cmbLanguage").current, languageItems[1]);
    EXPECT_EQ(snapshot.control("cmbEmpty").current, ListItem{});
    const QList<ListItem> orderItems{{"Urgent", 4, -1}, {"Normal", 1, -1}};
    EXPECT_EQ(snapshot.control("listOrder").items, orderItems);
    EXPECT_EQ(snapshot.control("listOrder").current, orderItems[1]);
    const QList<TabState> tabs{{"tab", true, true}, {"Hidden", true, false}, {"tab", false, true}};
    EXPECT_EQ(snapshot.control("tabMain").tabs, tabs);

    // Elements of control arrays, by name and index; the groups' controls are on the closed tab.
    EXPECT_TRUE(snapshot.control("optKind", 1).selected);
    EXPECT_EQ(snapshot.control("cmbLockKey", 11).kind, ControlKind::ComboBox);
    EXPECT_TRUE(snapshot.control("chkSkipGreeting", 12).enabled);
    EXPECT_THROW(snapshot.control("cmbLockKey", 12), OptionsSnapshot::UnknownName);

    // The sub-dialog is read under its own name; its controls are not the page's.
    const OptionsSnapshot& dialog = snapshot.dialog("frmSubDialog");
    EXPECT_EQ(dialog.control("chkNoChange").checkState, CheckValue::Dimmed);
    EXPECT_EQ(dialog.control("cmdExit").text, "Close");
    EXPECT_FALSE(dialog.control("cmdExit").enabled);
    EXPECT_THROW(snapshot.control("chkNoChange"), OptionsSnapshot::UnknownName);
    EXPECT_THROW(dialog.control("txtName"), OptionsSnapshot::UnknownName);

    // Unknown names, names in another case, Qt's own parts of its composite widgets.
    for (const char* unknown : {"txtNoSuchBox", "txtname", "qt_tabwidget_stackedwidget", "ScrollLeftButton"})
        EXPECT_THROW(snapshot.control(unknown), OptionsSnapshot::UnknownName) << unknown;
    EXPECT_THROW(snapshot.dialog("frmNoSuchDialog"), OptionsSnapshot::UnknownName);
    try {
        snapshot.control("txtNoSuchBox");
    } catch (const OptionsSnapshot::UnknownName& error) {
        EXPECT_STREQ(error.what(), "frmTest holds no control named txtNoSuchBox");
    }
}

INSTANTIATE_TEST_SUITE_P(PageShowing, Snapshot,
                         ::testing::Values(FormShowing::Never, FormShowing::Shown, FormShowing::HiddenAgain));

TEST(Captions, TableRowsReachEveryKindOfCaptionedControl)
{
    QWidget form;
    form.setObjectName("frmCaptions");
    auto* layout = new QVBoxLayout(&form);
    const auto add = [&](QWidget* control, const char* name) {
        control->setObjectName(QLatin1String(name));
        layout->addWidget(control);
    };
    add(new QLabel, "lblTitle");
    add(namedElement(new QLabel, "label11", 44), "label11_44");
    add(new QPushButton, "cmdHelp");
    add(new QCheckBox, "chkOption");
    add(new QRadioButton, "optChoice");
    add(new QGroupBox, "Frame1");
    add(new QLineEdit("typed"), "txtBox");
    auto* tabs = new QTabWidget;
    tabs->addTab(new QWidget, "Profile");
    tabs->addTab(new QWidget, "Account");
    add(tabs, "tabMain");
    auto* menu = new QMenu(&form);
    menu->setObjectName("mnuHelpMenu");
    QAction* about = namedElement(menu->addAction(QString()), "mnuEntry", 0);
    // Another form's controls are not this form's, even when that form is a child of it.
    auto* other = new QDialog(&form);
    auto* otherButton = new QPushButton("other", other);
    otherButton->setObjectName("cmdOther");

    static constexpr CaptionRow kRows[] = {
        {"frmCaptions", NoIndex, 281}, {"lblTitle", NoIndex, 236},   {"label11", 44, 239},
        {"cmdHelp", NoIndex, 153},     {"chkOption", NoIndex, 114},  {"optChoice", NoIndex, 20},
        {"Frame1", NoIndex, 29},       {"tabMain", 1, 22},           {"mnuHelpMenu", NoIndex, 153},
        {"mnuEntry", 0, 21},           {"txtBox", NoIndex, 1},       {"tabMain", 2, 203},
        {"label11", 45, 2},            {"lblMissing", NoIndex, 3},   {"cmdOther", NoIndex, 4},
    };
    const QStringList missing = applyCaptions(&form, kRows, numberText);

    // A text box has no caption; neither has a tab that is not there, nor a control of another form.
    EXPECT_EQ(missing, QStringList({"txtBox", "tabMain_2", "label11_45", "lblMissing", "cmdOther"}));
    EXPECT_EQ(form.windowTitle(), "#281");
    EXPECT_EQ(form.findChild<QLabel*>("lblTitle")->text(), "#236");
    EXPECT_EQ(form.findChild<QLabel*>("label11_44")->text(), "#239");
    EXPECT_EQ(form.findChild<QPushButton*>("cmdHelp")->text(), "#153");
    EXPECT_EQ(form.findChild<QCheckBox*>("chkOption")->text(), "#114");
    EXPECT_EQ(form.findChild<QRadioButton*>("optChoice")->text(), "#20");
    EXPECT_EQ(form.findChild<QGroupBox*>("Frame1")->title(), "#29");
    EXPECT_EQ(form.findChild<QLineEdit*>("txtBox")->text(), "typed");
    EXPECT_EQ(tabs->tabText(0), "Profile");
    EXPECT_EQ(tabs->tabText(1), "#22");
    EXPECT_EQ(menu->title(), "#153");
    EXPECT_EQ(about->text(), "#21");
    EXPECT_EQ(otherButton->text(), "other");
}

TEST(CompositeGroups, NameTheirControlsWithTheirIndexAndCaptionThem)
{
    QWidget page;
    new QVBoxLayout(&page);
    std::vector<ActionGroup*> groups;
    for (int i = 0; i < 20; ++i)
        groups.push_back(new ActionGroup(i, &page));
    for (ActionGroup* group : groups)
        EXPECT_TRUE(group->applyCaptions(numberText).isEmpty()) << group->index();

    for (int i : {0, 11, 12, 19}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(groups[i]->index(), i);
        EXPECT_EQ(page.findChild<QRadioButton*>(elementName("optAction", i))->text(), "#20");
        EXPECT_EQ(page.findChild<QCheckBox*>(elementName("chkSkipGreeting", i))->text(), "#114");
        EXPECT_EQ(page.findChild<QPushButton*>(elementName("cmdFind", i))->text(), "#138");
        EXPECT_EQ(page.findChild<QComboBox*>(elementName("cmbLockKey", i)) != nullptr, i < 12);
    }
    EXPECT_EQ(page.findChildren<QRadioButton*>().size(), 20);
}

TEST(TabFlags, ATabOpensOnlyWhileBothFlagsAreTrueAndIsNeverCurrentWhenClosed)
{
    TestForm test;
    QTabWidget* tabs = test.tabs;
    test.form.show();
    tabs->setTabEnabled(2, true);
    tabs->setCurrentIndex(2);
    for (int tab = 0; tab < tabs->count(); ++tab) {
        EXPECT_TRUE(TabFlags::versionFlag(tabs, tab));
        EXPECT_TRUE(TabFlags::typeFlag(tabs, tab));
    }

    // Each flag is set apart from the other: the tab opens again only when both are True.
    struct Step {
        bool setVersion;   // else the type flag
        bool value;
        bool opens;
    };
    const Step steps[] = {{true, false, false}, {false, false, false}, {true, true, false}, {false, true, true},
                          {false, false, false}, {false, true, true}};
    for (const Step& step : steps) {
        (step.setVersion ? TabFlags::setVersionFlag : TabFlags::setTypeFlag)(tabs, 2, step.value);
        EXPECT_EQ(tabs->isTabEnabled(2), step.opens);
        if (!step.opens) {
            EXPECT_NE(tabs->currentIndex(), 2);
        }
    }
    EXPECT_TRUE(TabFlags::versionFlag(tabs, 2));
    EXPECT_TRUE(TabFlags::typeFlag(tabs, 2));

    // The snapshot keeps the flags apart from the tab's availability.
    TabFlags::setTypeFlag(tabs, 0, false);
    TabFlags::setVersionFlag(tabs, 2, false);
    TabFlags::setVersionFlag(tabs, 7, false);   // no such tab: nothing happens
    const QList<TabState> flags = captureOptions(&test.form).control("tabMain").tabs;
    ASSERT_EQ(flags.size(), 3);
    EXPECT_EQ(flags[0], (TabState{"tab", false, true, true, false}));
    EXPECT_EQ(flags[1], (TabState{"Hidden", true, false, true, true}));
    EXPECT_EQ(flags[2], (TabState{"tab", false, true, false, true}));
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST(FormStatements, AFailingStatementGoesToTheHandlerAndTheNextOneRuns)
{
    TestForm test;
    QList<KestraneError> failures;
    FormStatements run(&test.form, numberText, [&](const KestraneError& error) { failures << error; });

    run.setCaption("lblHeading", 236);
    run.setCaption("lblNoSuchLabel", 237);
    run.run([] { throw KestraneError(ErrorNumber::DatabaseError, "the query failed"); });
    run.setShown({"lblNoSuchLabel", "txtName", "fraHidden"}, false);
    run.setShown("fraHidden", true);
    run.setEnabled({"txtLocked", "cmbNoSuchList"}, true);
    run.fillFixedTexts("txtName", {20});   // not a list

    EXPECT_EQ(test.form.findChild<QLabel*>("lblHeading")->text(), "#236");
    EXPECT_TRUE(test.form.findChild<QLineEdit*>("txtName")->isHidden());
    EXPECT_FALSE(test.form.findChild<QGroupBox*>("fraHidden")->isHidden());
    EXPECT_TRUE(test.form.findChild<QLineEdit*>("txtLocked")->isEnabled());
    QStringList descriptions;
    for (const KestraneError& failure : failures) {
        descriptions << failure.description();
        if (failure.number() != ErrorNumber::DatabaseError) {
            EXPECT_EQ(failure.number(), ErrorNumber::ObjectRequired);
        }
    }
    EXPECT_EQ(descriptions, QStringList({"Object required (lblNoSuchLabel)", "the query failed",
                                         "Object required (lblNoSuchLabel)", "Object required (cmbNoSuchList)",
                                         "Object required (txtName)"}));

    // Without a handler, failures pass silently and the statements after them still run.
    FormStatements silent(&test.form, numberText);
    silent.setCaption("lblNoSuchLabel", 1);
    silent.setCaption("lblHeading", 2);
    EXPECT_EQ(test.form.findChild<QLabel*>("lblHeading")->text(), "#2");
}

TEST(FormStatements, ListsAreFilledAfreshWithTheirSignalsBlocked)
{
    TestForm test;
    FormStatements run(&test.form, numberText, [](const KestraneError& error) {
        ADD_FAILURE() << error.description().toStdString();
    });
    auto* list = test.form.findChild<QComboBox*>("cmbLanguage");
    auto* triState = test.form.findChild<QComboBox*>("cmbTriState");
    QSignalSpy changes(list, &QComboBox::currentIndexChanged);
    QSignalSpy triStateChanges(triState, &QComboBox::currentIndexChanged);

    for (int pass = 0; pass < 2; ++pass) {
        run.fillFixedTexts("cmbLanguage", {464, 20, 474}, 1);
        run.fillTriState("cmbTriState");
    }
    const ControlState filled = captureOptions(&test.form).control("cmbLanguage");
    EXPECT_EQ(filled.items, (QList<ListItem>{{"#464", {}, 464}, {"#20", {}, 20}, {"#474", {}, 474}}));
    EXPECT_EQ(filled.currentIndex, 1);
    EXPECT_EQ(triState->count(), 3);
    EXPECT_EQ(triState->currentIndex(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(triStateChanges.count(), 0);
}
