#pragma once

#include <QString>

// Drops blanks and control characters (codes up to 32) from both ends; unlike
// QString::trimmed it leaves Unicode spaces such as U+3000 alone.
QString TrimBlanks(QStringView text);
