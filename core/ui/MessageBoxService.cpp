#include "core/ui/MessageBoxService.h"

#include <QApplication>

QMessageBox::StandardButton MessageBoxService::show(const QString& text, QMessageBox::StandardButtons buttons,
                                                    const QString& title, QMessageBox::Icon icon, QWidget* parent)
{
    const Request request{text, title.isEmpty() ? QApplication::applicationName() : title, buttons, icon};
    if (m_answerer)
        return m_answerer(request);
    QMessageBox box(icon, request.title, text, buttons, parent ? parent : QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageSink MessageBoxService::sink()
{
    return [this](const QString& text) { show(text); };
}
