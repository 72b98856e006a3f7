#include "common/Ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ToAnsi(QStringView text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Default);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

QString FromAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Default);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QString DecodeUtf8OrAnsi(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? FromAnsi(bytes) : text;
}
