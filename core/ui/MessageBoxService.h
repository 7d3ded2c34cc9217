#pragma once
// Every message box of the tool goes through this service, so that tests can answer and record
// them without a real dialog.
#include "core/Messages.h"

#include <QMessageBox>
#include <QString>
#include <functional>

class MessageBoxService {
public:
    struct Request {
        QString text;
        QString title;   // empty: the application's name
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        // The window the box is shown over (null: none). A window that stays on top, such as
        // the progress window of a fill, would cover any other: the box is then shown over it
        // and stays on top itself.
        QWidget* owner = nullptr;
    };
    // Answers a request instead of a dialog (tests).
    using Answerer = std::function<QMessageBox::StandardButton(const Request&)>;

    QMessageBox::StandardButton show(const QString& text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                     const QString& title = QString(),
                                     QMessageBox::Icon icon = QMessageBox::NoIcon,
                                     QWidget* parent = nullptr);
    void setAnswerer(Answerer answerer) { m_answerer = std::move(answerer); }

    // An OK-only message box for logic code.
    MessageSink sink();

private:
    Answerer m_answerer;
};
