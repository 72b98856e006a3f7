#include "common/TextUtil.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool IsBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

} // namespace

QStringList SplitList(QStringView text, QChar delimiter)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text = text.left(nul);

    QStringList items;
    if (text.isEmpty())
        return items;

    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && IsBlank(text[i]))
        ++i;
    while (i < n) {
        QString item;
        if (text[i] == u'"') {
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != delimiter && text[i].unicode() > 32)
                ++i;
            item = text.mid(start, i - start).toString();
        }
        items.append(item);

        while (i < n && IsBlank(text[i]))
            ++i;
        if (i < n && text[i] == delimiter) {
            const bool last = (i == n - 1);
            ++i;
            if (last) {
                items.append(QString());
                break;
            }
            while (i < n && IsBlank(text[i]))
                ++i;
        }
    }
    return items;
}

QStringList SplitLines(QStringView text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start).toString());
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

int ReadInt(QStringView text, int fallback)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size())
        return fallback;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return fallback;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return fallback;
    return int(value);
}

bool TryReadFloat(QStringView text, double &value)
{
    // Locale-free: strtod in the "C" sense would follow the process locale, so parse with Qt's
    // C-locale conversion instead.
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c.unicode() > 127 || c.unicode() <= 32)
            return false;
    }
    bool ok = false;
    const double parsed = text.toDouble(&ok);
    // "nan" and "inf" parse, but no price or balance is one.
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

double ReadFloat(QStringView text)
{
    double value = 0;
    return TryReadFloat(text, value) ? value : 0;
}

double RoundHalfEven(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (std::fabs(scaled) >= 1e15)
        return value;
    return std::nearbyint(scaled) / scale; // default rounding mode: ties to even
}

QString FormatFixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QString ProTypeText(QStringView code)
{
    if (code == u"0")
        return QStringLiteral("收短信");
    if (code == u"1")
        return QStringLiteral("发短信");
    if (code == u"2")
        return QStringLiteral("收发短信");
    return QStringLiteral("未知");
}
