#pragma once
// Choices made in the snapshot of an options page by control name, as an engine's tests make
// them: a test so does not depend on how a list was filled, and every name an engine reads is
// one the real page has.
#include "core/OptionsSnapshot.h"

#include <QString>
#include <QStringList>
#include <QVariant>

class Languages;

class SnapshotChoices {
public:
    explicit SnapshotChoices(const Languages& languages) : m_languages(languages) {}

    // `name` is a control's name or "Array_i" (elementName). A list shows `text`; when one of its
    // items has that text, that item is selected (its position and item data), else the text
    // stands alone as typed into the box.
    void choose(const QString& name, const QString& text);
    // A list shows resource string `number` of the current language.
    void chooseString(const QString& name, int number);
    // A list's selected item is this one (a list filled from the database or the registry).
    void chooseItem(const QString& name, const QString& text, const QVariant& data, int index = 1);
    void tick(const QString& name, int checkState = CheckValue::Ticked);
    void type(const QString& name, const QString& text);
    void pick(const QString& name, bool selected = true);
    QString string(int number) const;

    OptionsSnapshot options;

protected:
    ControlState& control(const QString& name) { return options.control(name); }

private:
    const Languages& m_languages;
};

// The lines (CR LF split) of the log file at `path` from the line `first` on.
QStringList runLogLines(const QString& path, const QString& first);
