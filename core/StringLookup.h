#pragma once
// A resource-string look-up: the text of a string number in some language. Pages and engines
// are handed the session's (Languages::stringLookup) so that they follow the language switch.
#include <QString>

#include <functional>

using StringLookup = std::function<QString(int number)>;
