// findControl keeps answering as the form changes after its first look-up.
#include "core/ui/FormBuilding.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A form with a control on each of two pages and a sub-dialog; `change` alters it after the
// form's first look-up and returns the control that `name` is then expected to find within `root`.
struct Case {
    const char* name;
    bool onFirstPage;   // root: the first page, else the form
    std::function<QObject*(QWidget& form, QWidget& page, QLabel& label, QDialog& dialog)> change;
};

TEST(FindControl, FollowsControlsMadeNamedMovedAndDestroyedAfterTheFirstLookUp)
{
    const Case cases[] = {
        {"lblLate", false, [](QWidget&, QWidget& page, QLabel&, QDialog&) { return named(new QLabel(&page), "lblLate"); }},
        {"lblLate", false, [](QWidget&, QWidget& page, QLabel&, QDialog&) {
             auto* group = new QWidget;
             QLabel* late = named(new QLabel(group), "lblLate");
             page.layout()->addWidget(group);
             return late; }},
        {"lblRenamed", false, [](QWidget&, QWidget&, QLabel& label, QDialog&) { return named(&label, "lblRenamed"); }},
        {"lblFirst", false, [](QWidget&, QWidget&, QLabel& label, QDialog&) { label.setObjectName("lblRenamed"); return nullptr; }},
        {"lblFirst", false, [](QWidget&, QWidget&, QLabel& label, QDialog&) { delete &label; return nullptr; }},
        {"lblFirst", false, [](QWidget&, QWidget&, QLabel& label, QDialog& dialog) { label.setParent(&dialog); return nullptr; }},
        {"lblDialog", false, [](QWidget&, QWidget&, QLabel&, QDialog& dialog) { named(new QLabel(&dialog), "lblDialog"); return nullptr; }},
        {"lblSecond", true, [](QWidget&, QWidget&, QLabel&, QDialog&) { return nullptr; }},
        {"lblFirst", false, [](QWidget& form, QWidget&, QLabel&, QDialog&) {   // the second page comes first
             return named(form.findChild<QLabel*>("lblSecond"), "lblFirst"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget form;
        form.setObjectName("frmTest");
        auto* layout = new QVBoxLayout(&form);
        QWidget* first = named(new QWidget, "fraFirst");
        QWidget* second = named(new QWidget, "fraSecond");
        auto* label = named(new QLabel, "lblFirst");
        (new QVBoxLayout(first))->addWidget(label);
        (new QVBoxLayout(second))->addWidget(named(new QLabel, "lblSecond"));
        layout->addWidget(second);   // before the first page in tree order, after it on the form
        layout->insertWidget(0, first);
        auto* dialog = new QDialog(&form);
        ASSERT_EQ(findControl(&form, "lblFirst"), label);
        QObject* expected = c.change(form, *first, *label, *dialog);
        EXPECT_EQ(findControl(c.onFirstPage ? first : &form, c.name), expected);
    }
}

}  // namespace
