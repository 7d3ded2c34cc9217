#pragma once
// A group of controls that a page repeats, one object per index (a caller-input action group, a
// notification device, a transfer rule, a greeting). The group builds its controls, names each
// one as element `index` of its control array ("Name_i"), and sets their captions from its
// caption rows, so the page's handlers and its engine find element i of every array by name.
#include "core/StringLookup.h"
#include "core/ui/FormBuilding.h"

#include <QList>
#include <QWidget>

class CompositeGroup : public QWidget {
public:
    int index() const { return m_index; }

    // Sets the captions of the group's controls in the look-up's language; the page's caption
    // routine calls it for each of its groups. Returns the controls it found no caption for.
    QStringList applyCaptions(const StringLookup& text);

protected:
    CompositeGroup(int index, QWidget* parent);

    // Names a control of the group: element index() + offset of the array `arrayName` (a few
    // arrays number a group's element apart from the group, as "Label34"(6 + key)).
    template <typename Control>
    Control* element(Control* control, const char* arrayName, int offset = 0) const
    {
        return namedElement(control, arrayName, m_index + offset);
    }

    struct Caption {
        const char* arrayName;
        int string;
        int offset = 0;   // as given to element()
    };
    // The group's captions, one per captioned array; a group may leave out controls that its
    // index does not have.
    virtual QList<Caption> captions() const = 0;

private:
    int m_index;
};
