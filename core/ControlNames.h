#pragma once
// How controls are named: element i of a control array Name(i) is the control "Name_i".
#include <QString>

inline QString elementName(const QString& arrayName, int index)
{
    return arrayName + u'_' + QString::number(index);
}
