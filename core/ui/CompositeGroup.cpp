#include "core/ui/CompositeGroup.h"

#include "core/ui/Captions.h"

#include <vector>

CompositeGroup::CompositeGroup(int index, QWidget* parent) : QWidget(parent), m_index(index) {}

QStringList CompositeGroup::applyCaptions(const StringLookup& text)
{
    std::vector<CaptionRow> rows;
    for (const Caption& caption : captions())
        rows.push_back({caption.arrayName, m_index + caption.offset, caption.string});
    return ::applyCaptions(this, rows, text);
}
