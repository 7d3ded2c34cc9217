#include "core/ui/frmAbout.h"

#include "core/Errors.h"
#include "core/ui/LanguageFonts.h"
#include "tests/support/widgets/PageHarness.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string str(const QString& text)
{
    return text.toStdString();
}

const QByteArray kGerman = "0=\\sBuild\n"
                           "89\tSprache \xC3\xA4ndern\n"
                           "191\tWeiter >>\n"
                           "234\tSprache ausw\xC3\xA4hlen\n"
                           "281\tVelmo Kestrane-Dienstprogramm\n";
const QByteArray kJapanese = "89\t\xE8\xA8\x80\xE8\xAA\x9E\xE3\x81\xAE\xE5\xA4\x89\xE6\x9B\xB4\n"   // 言語の変更
                             "191\t\xE6\xAC\xA1\xE3\x81\xB8 >>\n";                                  // 次へ >>

// A run with the About box: a session whose languages read a temporary program folder of the
// program "kestrane", the UI services, and stand-in pages registered as loaded forms.
class AboutBox : public ::testing::Test {
protected:
    AboutBox()
    {
        session.languages.setMessageSink(messages.sink());
        session.languages.lngLanguageID = LanguageID::EnglishUnitedStates;
    }

    void writeLibrary(const QString& code, const QByteArray& content)
    {
        QFile file(folder.filePath(QStringLiteral("kestrane_%1.lang").arg(code)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // A loaded page whose caption routine shows string 191 ("Next >>") in a label.
    QLabel* addPage(bool visible)
    {
        auto page = std::make_unique<QWidget>();
        auto* caption = new QLabel(page.get());
        new QVBoxLayout(page.get());
        page->layout()->addWidget(caption);
        QWidget* form = page.get();
        const auto autoInit = [this, form, caption] {
            SetFormFontForLanguage(form, session.languages.lngLanguageID);
            caption->setText(session.languages.mymyLoadString(191));
            if (const QCursor* cursor = QApplication::overrideCursor())
                cursorDuringCaptions = cursor->shape();
        };
        autoInit();
        forms.add(form, autoInit);
        page->setVisible(visible);
        pages.push_back(std::move(page));
        return caption;
    }

    // What start-up does before any page can show the About box.
    void startIn(qint32 languageID)
    {
        session.languages.lngLanguageID = languageID;
        session.languages.InitalizeLanguages();
    }

    frmAbout& openAbout(const ToolVersion& version = {4, 0, 117})
    {
        about = std::make_unique<frmAbout>(context, version);
        return *about;
    }

    QMenu* menu() const { return about->findChild<QMenu*>(QStringLiteral("mnuSelectLanguage")); }
    QLabel* aboutLabel(const char* name) const { return about->findChild<QLabel*>(QString::fromLatin1(name)); }

    // Shows the About box modally and clicks its OK as soon as it is the active modal window.
    void showModallyAndClickOK()
    {
        whileShown(*about, [this] { click(*about, QStringLiteral("cmdOK")); });
    }

    QTemporaryDir folder;
    Session session{Installation::at(folder.path()), folder.path(), QStringLiteral("kestrane")};
    MessageBoxService messages;
    FormRegistry forms;
    WizardContext context{.session = session, .messages = messages, .forms = forms};
    std::vector<std::unique_ptr<QWidget>> pages;
    std::unique_ptr<frmAbout> about;
    MessageRecorder recorder{messages};
    QStringList& shown = recorder.shown;
    std::optional<Qt::CursorShape> cursorDuringCaptions;
};

TEST_F(AboutBox, LoadShowsVersionAndCaptions)
{
    frmAbout& dialog = openAbout({4, 0, 117});

    EXPECT_EQ(str(aboutLabel("lblVersion")->text()), " 4.0 Build 117");
    EXPECT_EQ(str(aboutLabel("lblVersionTitle_1")->text()), "Version:");
    EXPECT_EQ(str(dialog.windowTitle()), "Velmo Kestrane Utility");
    EXPECT_EQ(str(aboutLabel("lblChangeLanguage")->text()), "Change Language");
    EXPECT_EQ(str(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text()), "OK");
    EXPECT_EQ(str(menu()->title()), "Select Language");
    for (const char* name : {"lblDravoAddress1", "lblDravoAddress2", "lblDravoAddress3", "lblTrademark",
                             "lblCopyright"})
        EXPECT_FALSE(aboutLabel(name)->text().isEmpty()) << name;
    for (const char* name : {"picVelmoLogo", "picDravoLogo"})
        EXPECT_FALSE(aboutLabel(name)->pixmap().isNull()) << name;
    EXPECT_TRUE(forms.forms().contains(&dialog));
    EXPECT_TRUE(shown.isEmpty()) << str(shown.join(u'|'));
}

TEST_F(AboutBox, VersionTextHasOneBlankBeforeAndAfterBuild)
{
    openAbout({4, 0, 1});   // the program's own version

    const QString version = aboutLabel("lblVersion")->text();
    EXPECT_EQ(str(version), " 4.0 Build 1");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ \\d+\\.\\d+ Build \\d+$")).match(version).hasMatch());
}

TEST_F(AboutBox, MenuListsEachLibraryByLanguageNameWithItsIdentifier)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    openAbout();

    const QList<QAction*> entries = menu()->actions();
    ASSERT_EQ(entries.size(), 2);   // no entry for the built-in English table
    EXPECT_EQ(str(entries[0]->objectName()), "mnuLanguageList_0");
    EXPECT_EQ(str(entries[0]->text()), "German (Germany)");
    EXPECT_EQ(str(entries[0]->data().toString()), " 1031");
    EXPECT_EQ(str(entries[1]->objectName()), "mnuLanguageList_1");
    EXPECT_EQ(str(entries[1]->text()), "Japanese (Japan)");
    EXPECT_EQ(str(entries[1]->data().toString()), " 1041");
}

TEST_F(AboutBox, ClickOnChangeLanguagePopsUpTheMenu)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    openAbout().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));

    QTest::mouseClick(aboutLabel("lblChangeLanguage"), Qt::LeftButton);
    EXPECT_TRUE(menu()->isVisible());
    menu()->hide();
    EXPECT_EQ(session.languages.lngLanguageID, LanguageID::EnglishUnitedStates);   // nothing chosen yet
}

TEST_F(AboutBox, ChoosingALanguageRecaptionsEveryLoadedFormAtOnce)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    QLabel* shownPage = addPage(true);
    QLabel* hiddenPage = addPage(false);
    openAbout();
    ASSERT_EQ(str(shownPage->text()), "Next >>");

    menu()->actions().at(0)->trigger();

    EXPECT_EQ(session.languages.lngLanguageID, 1031);
    EXPECT_TRUE(session.languages.hasLanguageLibrary());
    EXPECT_EQ(str(shownPage->text()), "Weiter >>");
    EXPECT_EQ(str(hiddenPage->text()), "Weiter >>");
    EXPECT_EQ(aboutLabel("lblChangeLanguage")->text(), QString::fromUtf8("Sprache ändern"));
    EXPECT_EQ(str(about->windowTitle()), "Velmo Kestrane-Dienstprogramm");
    EXPECT_EQ(menu()->title(), QString::fromUtf8("Sprache auswählen"));
    EXPECT_EQ(str(about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->text()), "OK");   // not in the library
    // Busy while the captions change, normal again afterwards.
    EXPECT_EQ(cursorDuringCaptions, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // And on to Japanese: captions and the language's font on every form.
    menu()->actions().at(1)->trigger();
    EXPECT_EQ(session.languages.lngLanguageID, 1041);
    EXPECT_EQ(hiddenPage->text(), QString::fromUtf8("次へ >>"));
    EXPECT_EQ(aboutLabel("lblChangeLanguage")->text(), QString::fromUtf8("言語の変更"));
    EXPECT_EQ(hiddenPage->property(kCharsetProperty).toInt(), 128);
    EXPECT_EQ(aboutLabel("lblCopyright")->property(kCharsetProperty).toInt(), 128);
    EXPECT_TRUE(shown.isEmpty()) << str(shown.join(u'|'));
}

TEST_F(AboutBox, LanguageWhoseLibraryIsGoneStaysEnglishInItsFonts)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    QLabel* page = addPage(false);
    openAbout();
    ASSERT_TRUE(QFile::remove(folder.filePath(QStringLiteral("kestrane_JPN.lang"))));

    about->mnuLanguageList_Click(1);

    EXPECT_EQ(session.languages.lngLanguageID, 1041);
    EXPECT_FALSE(session.languages.hasLanguageLibrary());
    EXPECT_EQ(str(page->text()), "Next >>");
    EXPECT_EQ(str(aboutLabel("lblChangeLanguage")->text()), "Change Language");
    EXPECT_EQ(page->property(kCharsetProperty).toInt(), 128);
    EXPECT_EQ(menu()->actions().size(), 2);   // built once; the folder is not read for the menu again
}

// With one library or none there is nothing to choose between: the single entry leads back to
// English.
class AboutBoxWithoutChoice : public AboutBox, public ::testing::WithParamInterface<bool> {};

TEST_P(AboutBoxWithoutChoice, MenuOffersOnlyNoLanguagesLoaded)
{
    if (GetParam())
        writeLibrary("DEU", kGerman);
    startIn(1031);
    QLabel* page = addPage(false);
    openAbout();
    ASSERT_EQ(str(page->text()), GetParam() ? "Weiter >>" : "Next >>");

    const QList<QAction*> entries = menu()->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(str(entries[0]->objectName()), "mnuLanguageList_0");
    EXPECT_EQ(str(entries[0]->text()), "no languages loaded");
    EXPECT_EQ(str(entries[0]->data().toString()), "1033");

    entries[0]->trigger();
    EXPECT_EQ(session.languages.lngLanguageID, LanguageID::EnglishUnitedStates);
    EXPECT_FALSE(session.languages.hasLanguageLibrary());
    EXPECT_EQ(str(page->text()), "Next >>");
}

INSTANTIATE_TEST_SUITE_P(NoLibraryOrOne, AboutBoxWithoutChoice, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "OneLibrary" : "NoLibrary";
                         });

TEST_F(AboutBox, OkHidesAndASecondShowingKeepsTheMenu)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    openAbout();
    const QList<QAction*> entries = menu()->actions();

    showModallyAndClickOK();
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(forms.forms().contains(about.get()));   // still loaded

    writeLibrary("FRA", "191\tSuivant >>\n");   // appears only in a later run
    showModallyAndClickOK();
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(menu()->actions(), entries);
}

// The form-font hook runs inside InitalizeLanguages; a failing one stands for any run-time error.
TEST_F(AboutBox, ErrorWhileLoadingIsShownAndLoadingGoesOn)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    session.languages.setFormFontHook([] { throw KestraneError(5, QStringLiteral("Invalid procedure call")); });
    openAbout();

    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(str(shown[0]), "Error in FormLoad routine:Invalid procedure call");
    EXPECT_EQ(menu()->actions().size(), 2);
}

TEST_F(AboutBox, ErrorDuringTheSwitchIsPassedOverSilently)
{
    writeLibrary("DEU", kGerman);
    writeLibrary("JPN", kJapanese);
    QLabel* page = addPage(false);
    openAbout();
    session.languages.setFormFontHook([] { throw KestraneError(5, QStringLiteral("Invalid procedure call")); });

    about->mnuLanguageList_Click(0);

    EXPECT_TRUE(shown.isEmpty()) << str(shown.join(u'|'));
    EXPECT_EQ(str(page->text()), "Weiter >>");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
