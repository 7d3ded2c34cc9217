#include "core/ui/MessageBoxService.h"

#include <QApplication>

namespace {

QWidget* shownTopMostWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return window;
    return nullptr;
}

}  // namespace

QMessageBox::StandardButton MessageBoxService::show(const QString& text, QMessageBox::StandardButtons buttons,
                                                    const QString& title, QMessageBox::Icon icon, QWidget* parent)
{
    QWidget* topMost = shownTopMostWindow();
    QWidget* owner = topMost ? topMost : parent ? parent : QApplication::activeWindow();
    const Request request{text, title.isEmpty() ? QApplication::applicationName() : title, buttons, icon, owner};
    if (m_answerer)
        return m_answerer(request);
    QMessageBox box(icon, request.title, text, buttons, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, topMost != nullptr);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageSink MessageBoxService::sink()
{
    return [this](const QString& text) { show(text); };
}
