#pragma once

#include <QByteArray>
#include <QByteArrayView>

// DES in ECB mode over byte strings, zero-padded, with an upper-case hex form. The key is
// padded with zero bytes to 8 and cut at 8. Subkeys are computed per call, so every function
// may run on any thread.
// Failures throw TAppError with "Error: the last char is NULL char." (encipher) or
// "Error: not a Hex String" (hex reading).
QByteArray DesEncryptText(QByteArrayView text, QByteArrayView key);
QByteArray DesDecryptText(QByteArrayView cipher, QByteArrayView key);
QByteArray DesEncryptHex(QByteArrayView text, QByteArrayView key);
QByteArray DesDecryptHex(QByteArrayView hex, QByteArrayView key);
qint32 HexValue(QByteArrayView digits);
