#pragma once
// Logic code that must tell the user something (a message box in the UI) calls a MessageSink.
// The UI layer passes its message-box service; tests pass a recorder; batch code may pass none.
#include <QString>
#include <functional>

using MessageSink = std::function<void(const QString& text)>;

inline void tell(const MessageSink& sink, const QString& text)
{
    if (sink)
        sink(text);
}
