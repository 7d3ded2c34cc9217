#pragma once
// A greeting's source list governs its file controls, the same on both options pages.
#include <QtGlobal>

class QWidget;

// Greeting `greeting`'s Browse button and path box as its source list now stands: enabled and
// shown for "Recording" only (known by its string number, in whatever language the list was
// filled), the path emptied either way.
void UpdateGreetingSourceControls(QWidget& page, qint16 greeting);
