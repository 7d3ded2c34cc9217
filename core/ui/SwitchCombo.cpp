#include "core/ui/SwitchCombo.h"

#include <QComboBox>

void PopulateListControlWithSwitchInfo(QComboBox* combo, const SwitchInfo& switches)
{
    for (qint16 n = 1; n <= switches.iSwitchCount(); ++n) {
        QString name;
        qint16 id = 0;
        switches.GetSwitchInfoBySwitchCount(n, name, id);
        combo->addItem(name, int(id));
    }
}
