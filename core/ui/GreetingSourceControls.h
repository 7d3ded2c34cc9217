#pragma once
// A greeting's source list governs its file controls, the same on both options pages.
#include <QtGlobal>

class QWidget;

// Greeting `greeting`'s Browse button and path box as its source list now stands: enabled and
// shown for "Recording" only (known by its string number, in whatever language the list was
// filled), the path emptied either way.
void UpdateGreetingSourceControls(QWidget& page, qint16 greeting);

// Runs UpdateGreetingSourceControls on every event of greeting `greeting`'s source list: each
// choice (the item already chosen too, and one made by code) and each scroll of its drop-down.
void connectGreetingSourceControls(QWidget& page, qint16 greeting);
