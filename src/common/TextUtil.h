#pragma once

#include <QString>
#include <QStringList>

// Splits a reply at a one-character delimiter. Blanks (codes 1 to 32) separate items as the
// delimiter does; an item in double quotes keeps its blanks and "" stands for one quote; a
// delimiter at the very end adds a final empty item; the empty text gives no item. The text
// ends at its first NUL.
QStringList SplitList(QStringView text, QChar delimiter);

// Lines of a multi-line reply: a line ends at CR LF, CR or LF; a break at the very end starts
// no further line.
QStringList SplitLines(QStringView text);

// A whole number: optional sign and ASCII digits within 32 bits; anything else gives fallback.
int ReadInt(QStringView text, int fallback = 0);

// A decimal number with "." as separator, whatever the locale; 0 when unreadable.
double ReadFloat(QStringView text);

// The same as ReadFloat, telling whether the text was a number at all.
bool TryReadFloat(QStringView text, double &value);

// "%.2f"-style text of a value with "." as separator, whatever the locale.
QString FormatFixed(double value, int decimals);

// Rounds to the given decimals, halves to even (as the platform's amounts are shown).
double RoundHalfEven(double value, int decimals);

// The value of one hexadecimal digit (either case), -1 for any other character.
int HexDigitValue(char c);

// The text of a project type code: "0", "1", "2"; "未知" for anything else.
QString ProTypeText(QStringView code);
