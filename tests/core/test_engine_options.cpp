// What both engines share to read their options page and to run a step: reads checked against
// the engine's own list and form, and which failure of a step ends the object.
#include "core/EngineOptions.h"
#include "core/EngineStep.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const EngineControlList& testList()
{
    static const EngineControlList list("frmPage", {{"frmPage", "txtOne"}, {"frmPage", "txtArr", 2}, {"frmDlg", "chkA"}});
    return list;
}

TEST(EngineOptions, ReadsOnlyListedControlsOfItsOwnForms)
{
    OptionsSnapshot page("frmPage");
    page.add("txtOne", {});
    page.add("txtArr_0", {});
    page.add("cmdNext", {});
    OptionsSnapshot dialog("frmDlg");
    dialog.add("chkA", {});
    page.addDialog(dialog);
    const EngineOptions options(page, testList());

    enum Outcome { Read, Unlisted, NotOnPage };
    const struct {
        const char* what;
        std::function<void()> read;
        Outcome outcome;
    } cases[] = {
        {"control", [&] { options.control("txtOne"); }, Read},
        {"element", [&] { options.control("txtArr", 0); }, Read},
        {"dialog control", [&] { options.dialogControl("frmDlg", "chkA"); }, Read},
        {"element the page lacks", [&] { options.control("txtArr", 1); }, NotOnPage},
        {"element beyond the list", [&] { options.control("txtArr", 2); }, Unlisted},
        {"unlisted control", [&] { options.control("cmdNext"); }, Unlisted},
        {"dialog control read as the page's", [&] { options.control("chkA"); }, Unlisted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.outcome == Read)
            EXPECT_NO_THROW(c.read());
        else if (c.outcome == Unlisted)
            EXPECT_THROW(c.read(), std::logic_error);
        else
            EXPECT_THROW(c.read(), OptionsSnapshot::UnknownName);
    }
    EXPECT_EQ(testList().names("frmPage"), QStringList({"txtOne", "txtArr_0", "txtArr_1"}));
}

TEST(EngineStep, OnlyADatabaseFailureEndsTheObject)
{
    const struct {
        std::function<void()> fail;
        bool endsObject;
        long reported;
    } cases[] = {
        {[] { throw KestraneError(ErrorNumber::DatabaseError, "refused"); }, true, 0},
        {[] { throw KestraneError(ErrorNumber::RowChangedUnderneath, "changed"); }, true, 0},
        {[] { throw KestraneError(ErrorNumber::Overflow, "Overflow"); }, false, ErrorNumber::Overflow},
        {[] { throw OptionsSnapshot::UnknownName("txtNone"); }, false, ErrorNumber::ItemNotFound},
    };
    for (const auto& c : cases) {
        std::optional<long> reported;
        bool after = false;
        const auto step = [&] {
            runEngineStep([&] { c.fail(); after = true; },
                          [&](const KestraneError& failure) { reported = failure.number(); });
        };
        if (c.endsObject) {
            EXPECT_THROW(step(), KestraneError);
            EXPECT_FALSE(reported);
        } else {
            EXPECT_NO_THROW(step());
            EXPECT_EQ(reported, c.reported);
        }
        EXPECT_FALSE(after);
    }
}

}  // namespace
