#pragma once
// A greeting's source list governs its file controls, the same on both options pages.
#include <QtGlobal>

class Languages;
class OpenFileDialog;
class QGridLayout;
class QPushButton;
class QWidget;

// Greeting `greeting`'s source row, on line `line` of `rows`: `label`, the source list, then
// Browse (disabled) and the read-only path box (hidden), which serve the "Recording" source only
// (the source list shows and enables them). Returns Browse.
QPushButton* addGreetingSourceRow(QGridLayout& rows, int line, qint16 greeting, QWidget* label);

// Greeting `greeting`'s Browse button and path box as its source list now stands: enabled and
// shown for "Recording" only (known by its string number, in whatever language the list was
// filled), the path emptied either way.
void UpdateGreetingSourceControls(QWidget& page, qint16 greeting);

// Runs UpdateGreetingSourceControls on every event of greeting `greeting`'s source list: each
// choice (the item already chosen too, and one made by code) and each scroll of its drop-down;
// and connects its Browse: a WAV file chosen on the page's `dialog` goes into the path box, which
// keeps its text when the dialog is cancelled or the file does not exist.
void connectGreetingFileControls(QWidget& page, OpenFileDialog& dialog, const Languages& languages, qint16 greeting);

// Next's check: greeting `greeting` is to be recorded (its Browse enabled, by its own Enabled,
// whatever the tab it stands on) and has no file.
bool greetingLacksFile(const QWidget& page, qint16 greeting);
