// What both engines share to read their options page and to run a step: reads checked against
// the engine's own list and form, and which failure of a step ends the object.
#include "core/EngineOptions.h"
#include "core/EngineStep.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

TEST(EngineOptions, ReadsOnlyListedControlsOfItsOwnForms)
{
    const EngineControlList list("frmPage", {{"frmPage", "txtOne"}, {"frmPage", "txtArr", 2}, {"frmDlg", "chkA"}});
    OptionsSnapshot page("frmPage"), dialog("frmDlg");
    for (const char* name : {"txtOne", "txtArr_0", "cmdNext"})
        page.add(name, {});
    dialog.add("chkA", {});
    page.addDialog(dialog);
    const EngineOptions options(page, list);
    enum Outcome { Read, Unlisted, NotOnPage };
    const std::pair<std::function<void()>, Outcome> cases[] = {
        {[&] { options.control("txtOne"); }, Read}, {[&] { options.control("txtArr", 0); }, Read},
        {[&] { options.dialogControl("frmDlg", "chkA"); }, Read}, {[&] { options.control("txtArr", 1); }, NotOnPage},
        {[&] { options.control("txtArr", 2); }, Unlisted}, {[&] { options.control("cmdNext"); }, Unlisted},
        {[&] { options.control("chkA"); }, Unlisted},   // a dialog's control read as the page's
    };
    // Read twice: a control found once is found again, an unlisted one refused again.
    for (const int pass : {0, 1})
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "pass " << pass << ", case " << (&c - cases));
            const auto& [read, outcome] = c;
            if (outcome == Read)
                EXPECT_NO_THROW(read());
            else if (outcome == Unlisted)
                EXPECT_THROW(read(), std::logic_error);
            else
                EXPECT_THROW(read(), OptionsSnapshot::UnknownName);
        }
    EXPECT_EQ(list.names("frmPage"), QStringList({"txtOne", "txtArr_0", "txtArr_1"}));
    // A name as a table's text, as a literal and as a string built at run time: one control.
    const QString built = QString("txt") + "Arr";
    EXPECT_EQ(&options.control("txtArr", 0), &options.control(QStringLiteral("txtArr"), 0));
    EXPECT_EQ(&options.control("txtArr", 0), &options.control(built, 0));
    EXPECT_THROW(options.control(built, 2), std::logic_error);
}

TEST(EngineStep, OnlyADatabaseFailureEndsTheObject)
{
    const std::pair<std::function<void()>, std::optional<long>> cases[] = {   // the failure, reported or ends the object
        {[] { throw KestraneError(ErrorNumber::DatabaseError, "refused"); }, std::nullopt},
        {[] { throw KestraneError(ErrorNumber::RowChangedUnderneath, "changed"); }, std::nullopt},
        {[] { throw KestraneError(ErrorNumber::Overflow, "Overflow"); }, ErrorNumber::Overflow},
        {[] { throw OptionsSnapshot::UnknownName("txtNone"); }, ErrorNumber::ItemNotFound},
    };
    for (const auto& [fail, expected] : cases) {
        std::optional<long> reported;
        bool after = false;
        const auto step = [&] { runEngineStep([&] { fail(); after = true; }, [&](const KestraneError& e) { reported = e.number(); }); };
        if (expected)
            EXPECT_NO_THROW(step());
        else
            EXPECT_THROW(step(), KestraneError);
        EXPECT_EQ(reported, expected);
        EXPECT_FALSE(after);
    }
}

}  // namespace
