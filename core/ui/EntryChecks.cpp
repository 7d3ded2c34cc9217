#include "core/ui/EntryChecks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

// Swallows the next mouse press on a control of one window, then deletes itself: the press whose
// focus change a check has just refused reaches no control (a check box stays as it was).
class PressSwallower : public QObject {
public:
    explicit PressSwallower(QWidget* window) : QObject(window), m_window(window) { qApp->installEventFilter(this); }
    ~PressSwallower() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
        if (!press || !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != m_window)
            return false;
        deleteLater();
        qApp->removeEventFilter(this);
        return true;
    }

private:
    QWidget* m_window;
};

}  // namespace

void showTabsOf(QWidget* control)
{
    for (QWidget* page = control; page && !page->isWindow(); page = page->parentWidget()) {
        const QWidget* stack = page->parentWidget();
        auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs && tabs->indexOf(page) >= 0)
            tabs->setCurrentWidget(page);
    }
}

EntryChecks::EntryChecks(QWidget* form, MessageSink messages)
    : QObject(form), m_form(form), m_messages(std::move(messages))
{
}

void EntryChecks::checkOnLeave(QLineEdit* box, Check check, bool keepsFocus, Order order)
{
    m_leaveChecks.insert(box, LeaveCheck{std::move(check), keepsFocus, order});
    box->installEventFilter(this);
}

void EntryChecks::checkOnChange(QLineEdit* box, Check check, Order order)
{
    connect(box, &QLineEdit::textChanged, this, [this, box, check = std::move(check), order](const QString& text) {
        if (text.isEmpty())
            return;
        if (const QString message = check(text); !message.isEmpty())
            refuse(box, message, order);
    });
}

void EntryChecks::guardButton(QAbstractButton* button)
{
    button->installEventFilter(this);   // for its shortcut and mouse release
    // pressed() comes first on every way of clicking: the mouse, the keyboard and click().
    connect(button, &QAbstractButton::pressed, this, [this, button] {
        if (!leaveFocusedBox())
            cancelClick(button);
    });
}

void EntryChecks::cancelClick(QAbstractButton* button)
{
    endCancelledClick();
    // Not down, the button ignores the release of the mouse or key that pressed it.
    button->setDown(false);
    // click() goes on to emit clicked() at once: the button's signals are blocked until a group of
    // its own tells that the click is over, or the mouse is released, or the loop runs again.
    button->blockSignals(true);
    m_cancelledClick = button;
    if (!button->group()) {
        auto* group = new QButtonGroup(button);
        group->setExclusive(false);
        group->addButton(button);
        connect(group, &QButtonGroup::buttonClicked, this, &EntryChecks::endCancelledClick);
    }
    QTimer::singleShot(0, this, &EntryChecks::endCancelledClick);
}

void EntryChecks::endCancelledClick()
{
    if (!m_cancelledClick)
        return;
    m_cancelledClick->blockSignals(false);
    if (QButtonGroup* group = m_cancelledClick->group(); group && group->parent() == m_cancelledClick) {
        group->removeButton(m_cancelledClick);
        group->deleteLater();
    }
    m_cancelledClick = nullptr;
}

bool EntryChecks::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Shortcut)
        return !leaveFocusedBox();
    if (event->type() == QEvent::MouseButtonRelease && watched == m_cancelledClick)
        endCancelledClick();
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a menu taking the focus leaves it in the box, as far as the form knows.
        const auto found = m_leaveChecks.constFind(watched);
        if (found != m_leaveChecks.cend() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            auto* box = static_cast<QLineEdit*>(watched);
            if (!mayLeave(box, *found))
                keepFocusIn(box, reason);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool EntryChecks::leaveFocusedBox()
{
    QWidget* focused = m_form->focusWidget();
    const auto found = m_leaveChecks.constFind(focused);
    return found == m_leaveChecks.cend() || mayLeave(static_cast<QLineEdit*>(focused), *found);
}

bool EntryChecks::mayLeave(QLineEdit* box, const LeaveCheck& leave)
{
    if (box->text().isEmpty())
        return true;
    const QString message = leave.check(box->text());
    if (message.isEmpty())
        return true;
    refuse(box, message, leave.order);
    return !leave.keepsFocus;
}

void EntryChecks::refuse(QLineEdit* box, const QString& message, Order order)
{
    if (order == Order::EmptyFirst)
        box->setText(QString());
    tell(m_messages, message);
    if (order == Order::MessageFirst)
        box->setText(QString());
}

void EntryChecks::keepFocusIn(QLineEdit* box, Qt::FocusReason reason)
{
    // At once, so that the control the focus was going to never acts on it.
    box->setFocus(Qt::OtherFocusReason);
    if (reason == Qt::MouseFocusReason)
        new PressSwallower(m_form);   // the press that moved the focus comes next
    // A tab switch hides the box after it has lost the focus: its tab comes back once the switch is over.
    QTimer::singleShot(0, box, [box] {
        if (!box->isVisible()) {
            showTabsOf(box);
            box->setFocus(Qt::OtherFocusReason);
        }
    });
}
