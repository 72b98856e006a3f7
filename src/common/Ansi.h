#pragma once

#include <QByteArray>
#include <QString>

// The "system's ANSI code page" is GBK everywhere: settings files written on Chinese Windows
// stay readable and the platform deciphers the web hand-off in GBK. Characters GBK cannot hold
// become "?".
QByteArray ToAnsi(QStringView text);
QString FromAnsi(QByteArrayView bytes);

// A body that names no charset: UTF-8 when it is valid UTF-8, else GBK.
QString DecodeUtf8OrAnsi(QByteArrayView bytes);
