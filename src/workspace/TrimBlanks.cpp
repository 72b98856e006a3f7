#include "workspace/TrimBlanks.h"

QString TrimBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= 32)
        ++start;
    while (end > start && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(start, end - start).toString();
}
