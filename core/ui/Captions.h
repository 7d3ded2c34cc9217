#pragma once
// Captions from tables: a form's caption routine lists (control, index, string number) rows and
// hands them to applyCaptions, so a page of repeated groups needs no line per caption.
#include "core/StringLookup.h"

#include <QStringList>

#include <span>

class QWidget;

// The index of a row that names a single control rather than an element of a control array.
constexpr int NoIndex = -1;

struct CaptionRow {
    const char* control;   // a control's name, or the name of a control array
    int index;             // the element of the array; for a tab control, the tab; else NoIndex
    int string;            // the resource string number
};

// Sets the caption of each row's control to the row's string: the title of the form itself (the
// row naming it), of frames and menus; the text of labels, buttons, check boxes, option buttons
// and menu entries; the caption of tab `index` of a tab control. Controls are looked for within
// `root` and its form. Returns the names of the rows it found no captioned control for, so a
// test can check a page's table; the page itself passes over them.
QStringList applyCaptions(QWidget* root, std::span<const CaptionRow> rows, const StringLookup& text);
