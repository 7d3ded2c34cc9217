#pragma once
// The font of the current language on the controls of a form. Korean, Japanese and the two
// Chinese scripts of Taiwan and of China get a font of their own and their character set; every
// other language gets character set 1 and no font name of its own, so the controls take their
// natural family again (the form's; the application's for pop-up menus).
#include <QtGlobal>

class FormRegistry;
class Languages;
class QWidget;

// The control property that holds the character set of its font (an int).
inline constexpr char kCharsetProperty[] = "charset";

// Sets the language's character set and font family on one control; the rest of its font (size,
// weight) stays.
void SetControlFontForLanguage(QWidget* control, qint32 lngLanguageID);
// SetControlFontForLanguage on every control of the form, in the form's order; the form's own
// font is not touched.
void SetFormFontForLanguage(QWidget* form, qint32 lngLanguageID);
// Lets every InitalizeLanguages of `languages` set the fonts of the forms loaded in `forms`, in
// the language then current. Both must live as long as `languages` is used.
void SetFormFontsOnLanguageChange(Languages& languages, const FormRegistry& forms);
