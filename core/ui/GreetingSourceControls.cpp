#include "core/ui/GreetingSourceControls.h"

#include "core/ControlNames.h"
#include "core/ui/ControlValues.h"
#include "core/ui/FormBuilding.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int SourceRecording = 454;

template <typename Control> Control* element(QWidget& page, const char* arrayName, int index)
{
    return qobject_cast<Control*>(findControl(&page, elementName(QLatin1String(arrayName), index)));
}

}  // namespace

void UpdateGreetingSourceControls(QWidget& page, qint16 greeting)
{
    const bool recording =
        element<QComboBox>(page, "comGreetingSource", greeting)->currentData(ListRole::StringNumber).toInt() == SourceRecording;
    element<QPushButton>(page, "cmdGreetingsourceWAVSelect", greeting)->setEnabled(recording);
    auto* path = element<QLineEdit>(page, "txtGreetingSourcePath", greeting);
    path->clear();
    path->setVisible(recording);
}

void connectGreetingSourceControls(QWidget& page, qint16 greeting)
{
    auto* source = element<QComboBox>(page, "comGreetingSource", greeting);
    const auto update = [&page, greeting] { UpdateGreetingSourceControls(page, greeting); };
    onEveryChoice(source, &page, [update](int) { update(); });
    QObject::connect(source->view()->verticalScrollBar(), &QScrollBar::valueChanged, &page, update);
}
