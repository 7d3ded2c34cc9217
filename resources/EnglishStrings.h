#pragma once

#include <QString>

// The program's own English string table. Every caption, list item and most messages are looked
// up here by number when the current language has no library, or the library lacks the number.
namespace resources {

constexpr int kFirstStringNumber = 0;
constexpr int kLastStringNumber = 565;

// The English text of a string number, or an empty text for a number outside the table.
QString englishString(int number);

// True for every number from kFirstStringNumber to kLastStringNumber.
bool hasEnglishString(int number);

} // namespace resources
