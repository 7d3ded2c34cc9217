// The language libraries shipped in resources/lang against the start page, the About box and the
// subscriber selection page: which string numbers those forms show, and what the About box's
// language switch makes of them.
#include "core/ui/WizardContext.h"
#include "core/ui/frmAbout.h"
#include "core/ui/frmMain.h"
#include "resources/EnglishStrings.h"
#include "subscribers/ui/frmChooseSubscribers.h"
#include "tests/support/TempInstallation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace {

const QString kShippedFolder = QStringLiteral(KESTRANE_SOURCE_DIR "/resources/lang");

QHash<int, QString> shippedLibrary(const QString& code)
{
    QFile file(kShippedFolder + "/kestrane_" + code + ".lang");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << code.toStdString();
    return parseLanguageLibrary(QString::fromUtf8(file.readAll()));
}

// Every text the forms show, keyed by control name and place ("cmdNext", "myGrid header 2",
// "cmbSubscriberSelectType item 0").
std::map<QString, QString> shownTexts(const QList<QWidget*>& forms)
{
    std::map<QString, QString> texts;
    const auto add = [&](const QString& key, const QString& text) {
        if (!text.isEmpty())
            texts[key] = text;
    };
    for (QWidget* form : forms) {
        add(form->objectName() + " title", form->windowTitle());
        QList<QWidget*> controls = form->findChildren<QWidget*>();
        for (QWidget* control : controls) {
            const QString name = control->objectName();
            if (name.isEmpty() || name.startsWith("qt_"))
                continue;
            if (auto* label = qobject_cast<QLabel*>(control))
                add(name, label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(control))
                add(name, button->text());
            else if (auto* group = qobject_cast<QGroupBox*>(control))
                add(name, group->title());
            else if (auto* box = qobject_cast<QLineEdit*>(control))
                add(name, box->text());
            else if (auto* menu = qobject_cast<QMenu*>(control))
                add(name, menu->title());
            else if (auto* list = qobject_cast<QComboBox*>(control))
                for (int i = 0; i < list->count(); ++i)
                    add(name + " item " + QString::number(i), list->itemText(i));
            else if (auto* table = qobject_cast<QTableView*>(control))
                for (int i = 0; i < table->model()->columnCount(); ++i)
                    add(name + " header " + QString::number(i), table->model()->headerData(i, Qt::Horizontal).toString());
        }
        for (QAction* action : form->findChildren<QAction*>())
            if (!action->objectName().isEmpty())
                add(action->objectName(), action->text());
    }
    return texts;
}

// The three forms on a started session whose program folder holds the given libraries.
class Wizard {
public:
    Wizard(const std::map<QString, QByteArray>& libraries, qint32 languageID)
        : session(installation.installation(), programFolder.path(), "kestrane")
    {
        for (const auto& [code, content] : libraries) {
            QFile file(programFolder.filePath("kestrane_" + code + ".lang"));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        messages.setAnswerer([](const MessageBoxService::Request&) { return QMessageBox::Ok; });
        EXPECT_TRUE(installation.ok()) << installation.error().toStdString();
        EXPECT_TRUE(startSession(session));
        session.languages.lngLanguageID = languageID;
        session.languages.InitalizeLanguages();
        start = std::make_unique<frmMain>(context);
        start->frmMain_Auto_Init();
        context.state.iSelectedSubscriberType = 1;
        about = std::make_unique<frmAbout>(context, ToolVersion{4, 0, 117});
        selection = std::make_unique<frmChooseSubscribers>(context);
    }

    std::map<QString, QString> texts() const { return shownTexts({start.get(), about.get(), selection.get()}); }
    QList<QAction*> languageMenu() const { return about->findChild<QMenu*>("mnuSelectLanguage")->actions(); }

    QTemporaryDir programFolder;
    TempInstallation installation;
    Session session;
    MessageBoxService messages;
    FormRegistry forms;
    WizardContext context{session, messages, forms, {}};
    std::unique_ptr<frmMain> start;
    std::unique_ptr<frmAbout> about;
    std::unique_ptr<frmChooseSubscribers> selection;
};

// Where the forms show a resource string: a library whose every text is "[[number]]".
std::map<QString, QString> probedTexts()
{
    QByteArray probe;
    for (int number = resources::kFirstStringNumber; number <= resources::kLastStringNumber; ++number)
        probe += QByteArray::number(number) + "\t[[" + QByteArray::number(number) + "]]\n";
    return Wizard({{"FRA", probe}}, 1036).texts();
}

const QRegularExpression kProbeMark(R"(\[\[(\d+)\]\])");

// A probed text with each mark replaced by the text of its number.
QString filledIn(QString probed, const std::function<QString(int)>& text)
{
    QRegularExpressionMatch mark;
    while ((mark = kProbeMark.match(probed)).hasMatch())
        probed.replace(mark.capturedStart(), mark.capturedLength(), text(mark.captured(1).toInt()));
    return probed;
}

}  // namespace

TEST(ShippedLanguageLibraries, GermanAndFrenchCarryEveryCaptionOfTheFirstPages)
{
    QSet<int> numbers;
    for (const auto& [place, text] : probedTexts())
        for (const QRegularExpressionMatch& mark : kProbeMark.globalMatch(text))
            numbers << mark.captured(1).toInt();
    // The probe reached the captions, the selection types and the grid headers.
    for (int number : {0, 89, 191, 281, 301, 421, 30})
        EXPECT_TRUE(numbers.contains(number)) << number;

    for (const QString code : {"DEU", "FRA"}) {
        const QHash<int, QString> library = shippedLibrary(code);
        for (int number : numbers)
            EXPECT_FALSE(library.value(number).isEmpty()) << code.toStdString() << " lacks " << number;
    }
    EXPECT_TRUE(shippedLibrary("ENU").isEmpty());   // English comes from the program's own table
}

TEST(ShippedLanguageLibraries, TheAboutBoxListsEnglishGermanAndFrenchAndSwitchesBetweenThem)
{
    std::map<QString, QByteArray> shipped;
    for (const QString code : {"DEU", "ENU", "FRA"}) {
        QFile file(kShippedFolder + "/kestrane_" + code + ".lang");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        shipped[code] = file.readAll();
    }
    Wizard wizard(shipped, LanguageID::EnglishUnitedStates);
    const QList<QAction*> menu = wizard.languageMenu();
    QStringList entries;
    for (const QAction* entry : menu)
        entries << entry->text() + "=" + entry->data().toString();
    ASSERT_EQ(entries, (QStringList{"German (Germany)= 1031", "English (United States)= 1033", "French (France)= 1036"}));

    const std::map<QString, QString> probed = probedTexts();
    const QHash<int, QString> german = shippedLibrary("DEU");
    const QHash<int, QString> french = shippedLibrary("FRA");
    const std::function<QString(int)> english = resources::englishString;
    const std::pair<int, std::function<QString(int)>> switches[] = {
        {2, [&](int n) { return french.value(n); }},
        {0, [&](int n) { return german.value(n); }},
        {1, english},
        {2, [&](int n) { return french.value(n); }},
    };
    for (const auto& [entry, text] : switches) {
        SCOPED_TRACE(entries[entry].toStdString());
        menu[entry]->trigger();
        const std::map<QString, QString> shown = wizard.texts();
        int compared = 0;
        for (const auto& [place, probedText] : probed) {
            if (!kProbeMark.match(probedText).hasMatch() || place.startsWith("mnuLanguageList"))
                continue;   // a fixed text, or the menu entries (language names here)
            // List items and the version text are filled by the load, in the language of then.
            const bool keptFromLoad = place.contains(" item ") || place == "lblVersion";
            const auto found = shown.find(place);
            ASSERT_NE(found, shown.end()) << place.toStdString();
            ++compared;
            EXPECT_EQ(found->second.toStdString(), filledIn(probedText, keptFromLoad ? english : text).toStdString())
                << place.toStdString();
        }
        EXPECT_GT(compared, 50);   // the three forms' captions, not a handful
    }
    EXPECT_EQ(wizard.session.languages.lngLanguageID, 1036);
}
