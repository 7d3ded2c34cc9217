#pragma once
// Switch pickers: the installation's phone-system integrations in a combo box.
#include "core/SwitchInfo.h"

class QComboBox;

// Appends one item per integration, in their order: the display name as text and the
// integration ID (an int) as item data. The combo box is not emptied first, and nothing is
// appended when there is no integration; callers clear it or add "<Don't Change>" as needed.
void PopulateListControlWithSwitchInfo(QComboBox* combo, const SwitchInfo& switches);
