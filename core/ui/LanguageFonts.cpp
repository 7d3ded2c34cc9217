#include "core/ui/LanguageFonts.h"

#include "core/Languages.h"
#include "core/ui/FormRegistry.h"

#include <QFont>
#include <QWidget>

namespace {

struct LanguageFont {
    int charset;
    QString family;   // empty: the font of the form
};

LanguageFont languageFont(qint32 languageID)
{
    switch (languageID) {
    case 1042: return {129, QStringLiteral("\uAD74\uB9BC")};   // Korean
    case 1028: return {136, QStringLiteral("\u65B0\u7D30\u660E\u9AD4")};   // Chinese, traditional (Taiwan)
    case 1041: return {128, QStringLiteral("\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF")};   // Japanese
    case 2052: return {134, QStringLiteral("\u5B8B\u4F53")};   // Chinese, simplified
    default: return {1, QString()};   // every other language, Hong Kong and Singapore included
    }
}

} // namespace

void SetControlFontForLanguage(QWidget* control, qint32 lngLanguageID)
{
    const LanguageFont language = languageFont(lngLanguageID);
    control->setProperty(kCharsetProperty, language.charset);
    QFont font = control->font();
    if (language.family.isEmpty()) {
        // No family of its own: the control takes its parent's family again.
        font.setResolveMask(font.resolveMask() & ~(QFont::FamilyResolved | QFont::FamiliesResolved));
    } else {
        font.setFamily(language.family);
    }
    control->setFont(font);
}

void SetFormFontForLanguage(QWidget* form, qint32 lngLanguageID)
{
    for (QWidget* control : form->findChildren<QWidget*>())
        SetControlFontForLanguage(control, lngLanguageID);
}

void SetFormFontsOnLanguageChange(Languages& languages, const FormRegistry& forms)
{
    languages.setFormFontHook([&languages, &forms] {
        for (QWidget* form : forms.forms())
            SetFormFontForLanguage(form, languages.lngLanguageID);
    });
}
