#include "tests/support/widgets/SnapshotChoices.h"

#include "core/Languages.h"

#include <QFile>
#include <gtest/gtest.h>

void SnapshotChoices::choose(const QString& name, const QString& text)
{
    ControlState& list = control(name);
    list.text = text;
    list.currentIndex = -1;
    list.current = {text, {}, -1};
    for (int index = 0; index < list.items.size(); ++index)
        if (list.items[index].text == text) {
            list.currentIndex = index;
            list.current = list.items[index];
            return;
        }
}

void SnapshotChoices::chooseString(const QString& name, int number)
{
    choose(name, string(number));
}

void SnapshotChoices::chooseItem(const QString& name, const QString& text, const QVariant& data, int index)
{
    ControlState& list = control(name);
    const ListItem item{text, data, -1};
    while (list.items.size() <= index)
        list.items << ListItem{};
    list.items[index] = item;
    list.text = text;
    list.currentIndex = index;
    list.current = item;
}

void SnapshotChoices::tick(const QString& name, int checkState)
{
    control(name).checkState = checkState;
}

void SnapshotChoices::type(const QString& name, const QString& text)
{
    control(name).text = text;
}

void SnapshotChoices::pick(const QString& name, bool selected)
{
    control(name).selected = selected;
}

QString SnapshotChoices::string(int number) const
{
    return m_languages.mymyLoadString(number);
}

QStringList runLogLines(const QString& path, const QString& first)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    return lines.mid(qMax<qsizetype>(0, lines.indexOf(first)));
}
