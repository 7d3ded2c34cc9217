#pragma once
// Entry checks of a form's text boxes, in place of the validation events Qt lacks.
//
// A leave check runs when the focus is about to leave its box: to another control, another tab or
// a guarded button. A change check runs after every change of its box's text (typing, pasting,
// code). A refused text shows its message and empties the box, in the order the box asks for; a
// leave check that keeps the focus then puts it back into the emptied box (showing its tab). An
// empty box is never checked, so the emptying's own change returns at once.
//
// A guarded button first runs the leave check of the box that holds the focus; when that keeps
// the focus, the press, click() or shortcut comes to nothing, whatever is connected to the
// button. The checks know nothing of the form's objects: each box brings its own check.
#include "core/Messages.h"

#include <QAbstractButton>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

// Makes each tab that holds `control` the current tab of its tab control.
void showTabsOf(QWidget* control);

class EntryChecks : public QObject {
public:
    // The message that refuses a text; the empty text accepts it.
    using Check = std::function<QString(const QString& text)>;
    enum class Order { MessageFirst, EmptyFirst };

    // The checks of `form`'s boxes (a child of the form); refusals are told through `messages`.
    EntryChecks(QWidget* form, MessageSink messages);

    void checkOnLeave(QLineEdit* box, Check check, bool keepsFocus, Order order);
    void checkOnChange(QLineEdit* box, Check check, Order order);
    void guardButton(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LeaveCheck {
        Check check;
        bool keepsFocus;
        Order order;
    };

    // Runs the leave check of the form's focused box; false when it keeps the focus.
    bool leaveFocusedBox();
    // Runs `box`'s leave check; false when it keeps the focus.
    bool mayLeave(QLineEdit* box, const LeaveCheck& leave);
    void refuse(QLineEdit* box, const QString& message, Order order);
    // Puts the focus back into `box` (showing its tab) and swallows the press that took it away.
    void keepFocusIn(QLineEdit* box, Qt::FocusReason reason);
    // Stops the click that has just pressed `button`, by whatever way it came.
    void cancelClick(QAbstractButton* button);
    void endCancelledClick();

    QWidget* m_form;
    MessageSink m_messages;
    QHash<const QObject*, LeaveCheck> m_leaveChecks;
    QPointer<QAbstractButton> m_cancelledClick;
};
