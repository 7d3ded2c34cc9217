#include "subscribers/ui/options/OptionRows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>

namespace SubscriberOptions {

OptionRows::OptionRows(QWidget* container) : m_grid(new QGridLayout(container)) {}

OptionRows& OptionRows::row(std::initializer_list<QWidget*> controls)
{
    int column = 0;
    for (QWidget* control : controls) {
        if (control)
            m_grid->addWidget(control, m_row, column);
        ++column;
    }
    ++m_row;
    return *this;
}

OptionRows& OptionRows::lists(std::span<const LabelledList> rows)
{
    for (const LabelledList& entry : rows) {
        const QString laidOut = entry.laidOut ? QString::fromUtf8(entry.laidOut) : QString();
        row({label(entry.labelArray, entry.label, laidOut),
             entry.listIndex == NoIndex ? list(entry.list) : list(entry.list, entry.listIndex)});
    }
    return *this;
}

OptionRows& OptionRows::wide(QWidget* control)
{
    m_grid->addWidget(control, m_row++, 0, 1, -1);
    return *this;
}

void OptionRows::end()
{
    m_grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Expanding), m_row, m_grid->columnCount());
}

QLabel* label(const char* array, int index, const QString& laidOut)
{
    return namedElement(new QLabel(laidOut), array, index);
}

QLabel* note(const char* array, int index, const QString& laidOut)
{
    QLabel* text = label(array, index, laidOut);
    text->setWordWrap(true);
    return text;
}

QComboBox* list(const char* name)
{
    return named(new QComboBox, name);
}

QComboBox* list(const char* array, int index)
{
    return namedElement(new QComboBox, array, index);
}

static QLineEdit* limitedTo(QLineEdit* box, int maxLength)
{
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

QLineEdit* textBox(const char* name, int maxLength)
{
    return limitedTo(named(new QLineEdit, name), maxLength);
}

QLineEdit* textBox(const char* array, int index, int maxLength)
{
    return limitedTo(namedElement(new QLineEdit, array, index), maxLength);
}

QCheckBox* checkBox(const char* name, const QString& laidOut)
{
    return named(new QCheckBox(laidOut), name);
}

QPushButton* button(const char* name, const QString& laidOut)
{
    return named(new QPushButton(laidOut), name);
}

}  // namespace SubscriberOptions
