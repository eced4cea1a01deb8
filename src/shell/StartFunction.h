#pragma once

#include <QString>

namespace tg {

// A text as a whole number in decimal with an optional sign and surrounding
// blanks that fits an int. The number's own reading would stop at a zero
// character and take "7<NUL>03" for 7: such a text is refused.
bool wholeNumber(const QString &text, int &number);

// The start function of the parameter "AperturaForm": a program number and a
// menu number separated by a comma ("12,3"). The value is split at commas;
// the first item, without surrounding blanks, is the program and the second
// the menu, each a whole number in decimal with an optional sign that fits an
// int; items after the second are not read. False (program and menu left
// unchanged) when either of the two is missing or not such a number.
bool parseStartFunction(const QString &value, int &program, int &menu);

} // namespace tg
