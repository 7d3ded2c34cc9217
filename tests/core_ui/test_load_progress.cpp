#include "core/ui/frmSubscriberLoadProgress.h"

#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

TEST(SubscriberLoadProgress, QueryAndCsvLabels)
{
    frmSubscriberLoadProgress window;
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    auto* lblCount = window.findChild<QLabel*>("lblCount");
    auto* labelOf = window.findChild<QLabel*>("labelOf");
    auto* labelTotal = window.findChild<QLabel*>("labelTotal");
    ASSERT_TRUE(lblCount && labelOf && labelTotal && window.findChild<QGroupBox*>("frameMainTitle"));

    // 3000 twips below the page's top, centred across the page.
    QWidget page;
    page.setGeometry(100, 100, 800, 600);
    window.showOver(&page);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(100 + 400 - window.width() / 2, 100 + 200));
    page.setGeometry(30, 60, 1200, 900);
    window.showOver(&page);
    EXPECT_EQ(window.pos(), QPoint(30 + 600 - window.width() / 2, 60 + 200));

    const SelectionProgress rows = window.rowProgress();
    rows.begin(2500);
    EXPECT_EQ(labelOf->text(), "of ");
    EXPECT_EQ(labelTotal->text(), "2500");
    for (int done = 1; done <= 2500; ++done)
        rows.step(done);
    rows.end();
    EXPECT_EQ(lblCount->text(), "2500");

    const SelectionProgress lines = window.lineProgress();
    lines.begin(0);
    EXPECT_EQ(labelOf->text(), "");
    lines.step(7);
    window.showUsersAdded(3);
    lines.end();
    EXPECT_EQ(lblCount->text(), "Lines=7");
    EXPECT_EQ(labelTotal->text(), "Users added=3");

    // Each showing starts from empty counts.
    window.showOver(&page);
    EXPECT_EQ(lblCount->text() + "|" + labelOf->text() + "|" + labelTotal->text(), "|of |");
}

TEST(SubscriberLoadProgress, CountAloneHidesTheOtherLabelsUntilTheNextShowing)
{
    frmSubscriberLoadProgress window;
    QWidget page;
    page.setGeometry(100, 100, 800, 600);
    window.showOver(&page);
    const SelectionProgress count = window.countProgress();
    EXPECT_TRUE(window.labelOf()->isHidden());
    EXPECT_TRUE(window.labelTotal()->isHidden());
    EXPECT_FALSE(count.begin);
    for (int done = 1; done <= 6; ++done)
        count.step(done);
    count.end();   // steps in quick succession are not all shown: the last one is
    EXPECT_EQ(window.lblCount()->text(), "6");
    window.showOver(&page);
    EXPECT_FALSE(window.labelOf()->isHidden() || window.labelTotal()->isHidden());
}
