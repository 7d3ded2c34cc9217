#include "core/ui/MessageBoxService.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

// What the real message box looked like while it was shown.
struct ShownBox {
    bool seen = false;
    bool staysOnTop = false;
    QWidget* parent = nullptr;
    QString text;
};

// Shows a real box through the service and closes it as soon as it is the active modal window.
ShownBox showRealBox(MessageBoxService& messages, const QString& text, QWidget* parent)
{
    ShownBox shown;
    const QDeadlineTimer deadline(5000);
    std::function<void()> closeWhenShown = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = {true, box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), box->parentWidget(), box->text()};
            box->done(QMessageBox::Ok);
        } else if (!deadline.hasExpired()) {
            QTimer::singleShot(10, closeWhenShown);
        }
    };
    QTimer::singleShot(0, closeWhenShown);
    messages.show(text, QMessageBox::Ok, QString(), QMessageBox::NoIcon, parent);
    return shown;
}

}  // namespace

TEST(MessageBoxService, ABoxShowsAboveAWindowThatStaysOnTop)
{
    QWidget page;
    page.show();
    QWidget progress(&page, Qt::Tool | Qt::WindowStaysOnTopHint);
    MessageBoxService messages;

    struct Case {
        bool progressShown;
        QWidget* expectedOwner;
    };
    for (const Case& c : {Case{false, &page}, Case{true, &progress}, Case{false, &page}}) {
        SCOPED_TRACE(c.progressShown);
        progress.setVisible(c.progressShown);

        const ShownBox box = showRealBox(messages, "Invalid SQL query", &page);
        ASSERT_TRUE(box.seen);
        EXPECT_EQ(box.text, "Invalid SQL query");
        EXPECT_EQ(box.staysOnTop, c.progressShown);
        EXPECT_EQ(box.parent, c.expectedOwner);
    }
}
