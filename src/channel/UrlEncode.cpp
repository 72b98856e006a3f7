#include "channel/UrlEncode.h"

#include <QByteArray>

namespace {

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool NeedsEscape(char32_t c)
{
    static constexpr QStringView sSpecial = u"*<>%\"{}|\\^[]`";
    return c <= 32 || c >= 128 || sSpecial.contains(QChar(char16_t(c)));
}

void AppendEscaped(QString &out, char32_t c)
{
    const QByteArray bytes = QString::fromUcs4(&c, 1).toUtf8();
    for (const char b : bytes)
        out += QStringLiteral("%%1").arg(quint8(b), 2, 16, QChar(u'0')).toUpper();
}

} // namespace

QString EncodeUrl(const QString &url)
{
    const qsizetype iQuery = url.indexOf(u'?');
    if (iQuery < 0)
        return url;
    QString sQuery = url.mid(iQuery + 1);
    const qsizetype iFragment = sQuery.indexOf(u'#');
    if (iFragment >= 0)
        sQuery.truncate(iFragment);

    QString sResult = url.left(iQuery + 1);
    for (qsizetype i = 0; i < sQuery.size(); ++i) {
        const QChar c = sQuery.at(i);
        // A "%" that already starts an escape belongs to an encoded parameter value.
        if (c == u'%' && i + 2 < sQuery.size() && IsHexDigit(sQuery.at(i + 1))
            && IsHexDigit(sQuery.at(i + 2))) {
            sResult += c;
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < sQuery.size() && sQuery.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, sQuery.at(i + 1));
            ++i;
        }
        if (NeedsEscape(code))
            AppendEscaped(sResult, code);
        else
            sResult += c;
    }
    return sResult;
}

QString EncodeParam(const QString &value)
{
    return QString::fromLatin1(value.toUtf8().toPercentEncoding());
}
