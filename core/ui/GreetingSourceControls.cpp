#include "core/ui/GreetingSourceControls.h"

#include "core/ControlNames.h"
#include "core/Languages.h"
#include "core/ui/ControlValues.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/OpenFileDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int SourceRecording = 454;
constexpr int SelectWavTitle = 458;

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

QPushButton* addGreetingSourceRow(QGridLayout& rows, int line, qint16 greeting, QWidget* label)
{
    rows.addWidget(label, line, 0);
    rows.addWidget(namedElement(new QComboBox, "comGreetingSource", greeting), line, 1);
    auto* browse = namedElement(new QPushButton, "cmdGreetingsourceWAVSelect", greeting);
    browse->setEnabled(false);
    rows.addWidget(browse, line, 2);
    auto* path = namedElement(new QLineEdit, "txtGreetingSourcePath", greeting);
    path->setReadOnly(true);
    path->hide();
    rows.addWidget(path, line, 3);
    return browse;
}

void connectGreetingFileControls(QWidget& page, OpenFileDialog& dialog, const Languages& languages, qint16 greeting)
{
    auto* source = element<QComboBox>(page, "comGreetingSource", greeting);
    const auto update = [&page, greeting] { UpdateGreetingSourceControls(page, greeting); };
    onEveryChoice(source, &page, [update](int) { update(); });
    QObject::connect(source->view()->verticalScrollBar(), &QScrollBar::valueChanged, &page, update);

    auto* path = element<QLineEdit>(page, "txtGreetingSourcePath", greeting);
    QObject::connect(element<QPushButton>(page, "cmdGreetingsourceWAVSelect", greeting), &QPushButton::clicked, &page,
                     [&page, &dialog, &languages, path] {
                         if (const auto chosen = dialog.chooseWavFile(&page, languages.mymyLoadString(SelectWavTitle)))
                             path->setText(*chosen);
                     });
}

bool greetingLacksFile(const QWidget& page, qint16 greeting)
{
    // Looking a control up only builds the page's index of names.
    QWidget& controls = const_cast<QWidget&>(page);
    return !element<QPushButton>(controls, "cmdGreetingsourceWAVSelect", greeting)->testAttribute(Qt::WA_ForceDisabled)
           && element<QLineEdit>(controls, "txtGreetingSourcePath", greeting)->text().isEmpty();
}
