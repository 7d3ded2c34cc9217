// The kit that pages of repeated groups are built with.
#include "core/ui/Captions.h"
#include "core/ui/CompositeGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

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

} // namespace

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
