#include "core/ui/FormStatements.h"

#include "core/ui/Captions.h"
#include "core/ui/ControlValues.h"
#include "core/ui/TabFlags.h"
#include "core/ui/TriStateCombo.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QWidget>

FormStatements::FormStatements(QWidget* form, StringLookup text, FailureHandler onFailure)
    : m_form(form), m_text(std::move(text)), m_onFailure(std::move(onFailure))
{
}

void FormStatements::run(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const KestraneError& error) {
        if (m_onFailure)
            m_onFailure(error);
    }
}

KestraneError FormStatements::missingControl(const QString& name)
{
    return KestraneError(ErrorNumber::ObjectRequired, QStringLiteral("Object required (%1)").arg(name));
}

void FormStatements::setCaption(const QString& name, int string)
{
    run([&] {
        const QByteArray latin = name.toLatin1();
        const CaptionRow row{latin.constData(), NoIndex, string};
        if (!applyCaptions(m_form, {&row, 1}, m_text).isEmpty())
            throw missingControl(name);
    });
}

void FormStatements::setShown(const QString& name, bool shown)
{
    run([&] { control<QWidget>(name)->setVisible(shown); });
}

void FormStatements::setShown(std::initializer_list<QString> names, bool shown)
{
    for (const QString& name : names)
        setShown(name, shown);
}

void FormStatements::setEnabled(const QString& name, bool enabled)
{
    run([&] { control<QWidget>(name)->setEnabled(enabled); });
}

void FormStatements::setEnabled(std::initializer_list<QString> names, bool enabled)
{
    for (const QString& name : names)
        setEnabled(name, enabled);
}

void FormStatements::fillFixedTexts(const QString& list, const QList<int>& strings, int selected)
{
    run([&] {
        auto* combo = control<QComboBox>(list);
        const QSignalBlocker quiet(combo);
        combo->clear();
        for (int string : strings)
            addFixedTextItem(combo, string, m_text);
        combo->setCurrentIndex(selected);
    });
}

void FormStatements::fillTriState(const QString& list)
{
    run([&] {
        auto* combo = control<QComboBox>(list);
        const QSignalBlocker quiet(combo);
        FillTriStateCombo(combo, m_text);
    });
}

void FormStatements::setTabVersionFlag(const QString& tabControl, int tab, bool flag)
{
    run([&] { TabFlags::setVersionFlag(control<QTabWidget>(tabControl), tab, flag); });
}
