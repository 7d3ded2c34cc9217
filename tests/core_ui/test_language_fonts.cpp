#include "core/ui/LanguageFonts.h"

#include "core/Languages.h"
#include "core/ui/FormRegistry.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const QString kKorean = QStringLiteral("\uAD74\uB9BC");
const QString kTraditionalChinese = QStringLiteral("\u65B0\u7D30\u660E\u9AD4");
const QString kJapanese = QStringLiteral("\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
const QString kSimplifiedChinese = QStringLiteral("\u5B8B\u4F53");
const QString kFormFamily = QStringLiteral("Form Family");

// A form with nested controls: a label, a group box holding a button, a bold text box and a
// pop-up menu.
struct TestForm {
    TestForm()
    {
        QFont formFont = form->font();
        formFont.setFamily(kFormFamily);
        form->setFont(formFont);
        auto* layout = new QVBoxLayout(form.get());
        label = new QLabel(QStringLiteral("label"), form.get());
        group = new QGroupBox(QStringLiteral("group"), form.get());
        button = new QPushButton(QStringLiteral("button"), group);
        text = new QLineEdit(form.get());
        QFont bold = text->font();
        bold.setBold(true);
        text->setFont(bold);
        menu = new QMenu(form.get());
        menu->addAction(QStringLiteral("entry"));
        layout->addWidget(label);
        layout->addWidget(group);
        layout->addWidget(text);
    }

    QList<QWidget*> controls() const { return {label, group, button, text, menu}; }

    // The families the controls have before any language sets one: the form's, and the
    // application's for the pop-up menu, which as a window of its own does not inherit it.
    QStringList naturalFamilies() const
    {
        QStringList families;
        for (QWidget* control : controls())
            families.append(control->font().family());
        return families;
    }

    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    QLabel* label;
    QGroupBox* group;
    QPushButton* button;
    QLineEdit* text;
    QMenu* menu;
};

std::string str(const QString& text)
{
    return text.toStdString();
}

// Every control has the character set and the family (one for all, or one per control).
void expectControls(const TestForm& form, int charset, const QStringList& families, qint32 languageID)
{
    const QList<QWidget*> controls = form.controls();
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const char* kind = controls[i]->metaObject()->className();
        const QString& family = families.size() == 1 ? families[0] : families[i];
        EXPECT_EQ(controls[i]->property(kCharsetProperty).toInt(), charset) << languageID << " " << kind;
        EXPECT_EQ(str(controls[i]->font().family()), str(family)) << languageID << " " << kind;
    }
    EXPECT_TRUE(form.text->font().bold()) << languageID;   // only the family changes
}

TEST(LanguageFonts, EachAsianLanguageGetsItsCharacterSetAndFontOnEveryControl)
{
    const struct {
        qint32 languageID;
        int charset;
        QString family;
    } languages[] = {
        {1042, 129, kKorean}, {1028, 136, kTraditionalChinese}, {1041, 128, kJapanese}, {2052, 134, kSimplifiedChinese},
    };
    for (const auto& language : languages) {
        TestForm form;
        SetFormFontForLanguage(form.form.get(), language.languageID);
        expectControls(form, language.charset, {language.family}, language.languageID);
        // The form's own font is not touched.
        EXPECT_FALSE(form.form->property(kCharsetProperty).isValid());
        EXPECT_EQ(form.form->font().family(), kFormFamily);
    }
}

TEST(LanguageFonts, OtherLanguagesGiveCharacterSetOneAndTheNaturalFontBack)
{
    for (qint32 languageID : {1033, 1031, 3076, 4100, 33801}) {
        TestForm form;
        const QStringList natural = form.naturalFamilies();
        ASSERT_EQ(str(natural[0]), str(kFormFamily));
        SetFormFontForLanguage(form.form.get(), 1028);
        SetFormFontForLanguage(form.form.get(), languageID);
        expectControls(form, 1, natural, languageID);
    }
}

TEST(LanguageFonts, ControlsFollowTheFormAgainAfterALanguageWithoutAFont)
{
    TestForm form;
    SetFormFontForLanguage(form.form.get(), 1041);
    SetFormFontForLanguage(form.form.get(), 1031);

    QFont other = form.form->font();
    other.setFamily(QStringLiteral("Other Family"));
    form.form->setFont(other);
    EXPECT_EQ(str(form.label->font().family()), "Other Family");
    EXPECT_EQ(str(form.button->font().family()), "Other Family");
}

TEST(LanguageFonts, InitialisingLanguagesSetsTheFontsOfEveryLoadedForm)
{
    QTemporaryDir folder;
    Languages languages(folder.path(), QStringLiteral("kestrane"));
    FormRegistry forms;
    SetFormFontsOnLanguageChange(languages, forms);

    TestForm shown;
    TestForm hidden;
    const QStringList natural = shown.naturalFamilies();
    auto gone = std::make_unique<TestForm>();
    forms.add(shown.form.get(), {});
    forms.add(hidden.form.get(), {});
    forms.add(gone->form.get(), {});
    shown.form->show();
    gone.reset();   // a form closed before the switch is passed over

    languages.lngLanguageID = 1042;
    languages.InitalizeLanguages();
    expectControls(shown, 129, {kKorean}, 1042);
    expectControls(hidden, 129, {kKorean}, 1042);

    languages.lngLanguageID = 1031;
    languages.InitalizeLanguages();
    expectControls(shown, 1, natural, 1031);
    expectControls(hidden, 1, natural, 1031);
}

} // namespace
