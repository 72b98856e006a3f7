#include "common/AppError.h"
#include "common/Des.h"

#include <QTest>

namespace {

const QByteArray kKey = "kq7wmz3r";

QByteArray StripTrailingZeros(QByteArray bytes)
{
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return bytes;
}

// The message of the TAppError that call throws, or an empty text when it throws none.
template <typename Call>
QString ErrorOf(Call call)
{
    try {
        call();
    } catch (const TAppError &error) {
        return error.Message();
    }
    return {};
}

} // namespace

class TestDes : public QObject
{
    Q_OBJECT
private slots:
    // Published DES known-answer vectors (key, plain block, cipher block).
    void knownAnswers_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        auto row = [](const char *name, const char *key, const char *plain, const char *cipher) {
            QTest::newRow(name) << QByteArray::fromHex(key) << QByteArray::fromHex(plain)
                                << QByteArray::fromHex(cipher);
        };
        row("Now is t", "0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815");
        row("textbook", "133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405");
        row("zero cipher", "0E329232EA6D0D73", "8787878787878787", "0000000000000000");
        row("plain bit 1", "0101010101010101", "8000000000000000", "95F8A5E5DD31D900");
        row("plain bit 2", "0101010101010101", "4000000000000000", "DD7F121CA5015619");
        row("plain bit 64", "0101010101010101", "0000000000000001", "166B40B44ABA4BD6");
        row("key bit 1", "8001010101010101", "0000000000000000", "95A8D72813DAA94D");
        row("key bit 57", "0101010101010180", "0000000000000000", "9CC62DF43B6EED74");
        row("s-box 1", "7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B");
        row("s-box 2", "0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271");
    }
    void knownAnswers()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        // An all-zero plain block cannot be enciphered (trailing zero); check it deciphering.
        if (!plain.endsWith('\0'))
            QCOMPARE(DesEncryptText(plain, key), cipher);
        QCOMPARE(DesDecryptText(cipher, key), StripTrailingZeros(plain));
    }

    void blocksAreIndependent()
    {
        QCOMPARE(DesEncryptHex("Now is the time for all ", QByteArray::fromHex("0123456789ABCDEF")),
                 QByteArray("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53"));
    }

    void paddingAndRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("hexLength");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("1 byte") << QByteArray("a") << 16;
        QTest::newRow("7 bytes") << QByteArray("abcdefg") << 16;
        QTest::newRow("8 bytes, no extra block") << QByteArray("abcdefgh") << 16;
        QTest::newRow("9 bytes") << QByteArray("abcdefghi") << 32;
        QTest::newRow("16 bytes") << QByteArray("abcdefghijklmnop") << 32;
        QTest::newRow("17 bytes") << QByteArray("abcdefghijklmnopq") << 48;
        QTest::newRow("inner zero bytes") << QByteArray("a\0\0b", 4) << 16;
        QTest::newRow("zero in a full block") << QByteArray("abcdefg\0h", 9) << 32;
        QTest::newRow("high bytes") << QByteArray("\xC3\xDC\xC2\xEB\xFF") << 16;
    }
    void paddingAndRoundTrip()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, hexLength);
        const QByteArray hex = DesEncryptHex(text, kKey);
        QCOMPARE(hex.size(), hexLength);
        QCOMPARE(hex, hex.toUpper());
        QCOMPARE(QByteArray::fromHex(hex), DesEncryptText(text, kKey));
        QCOMPARE(DesDecryptHex(hex, kKey), text);
        QCOMPARE(DesDecryptHex(hex.toLower(), kKey), text);
    }

    void trailingZeroRefused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("only zero") << QByteArray(1, '\0');
        QTest::newRow("zero after text") << QByteArray("abc\0", 4);
        QTest::newRow("zero ends a block") << QByteArray("abcdefg\0", 8);
    }
    void trailingZeroRefused()
    {
        QFETCH(QByteArray, text);
        const QString expected = QStringLiteral("Error: the last char is NULL char.");
        QCOMPARE(ErrorOf([&] { DesEncryptText(text, kKey); }), expected);
        QCOMPARE(ErrorOf([&] { DesEncryptHex(text, kKey); }), expected);
    }

    void keyPreparation_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("sameAs");
        QTest::newRow("short key padded") << QByteArray("abc") << QByteArray("abc\0\0\0\0\0", 8);
        QTest::newRow("empty key") << QByteArray() << QByteArray(8, '\0');
        QTest::newRow("long key cut") << QByteArray("kq7wmz3rXY") << QByteArray("kq7wmz3r");
        QTest::newRow("parity bits ignored") << QByteArray("kq7wmz3r") << QByteArray("jp6vl{2s");
    }
    void keyPreparation()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, sameAs);
        const QByteArray text = "password 123";
        QCOMPARE(DesEncryptHex(text, key), DesEncryptHex(text, sameAs));
        QVERIFY(DesEncryptHex(text, key) != DesEncryptHex(text, "other"));
    }

    void hexReading_data()
    {
        const QByteArray hex = DesEncryptHex("secret", kKey);
        const QByteArray ones(8, '\1');
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << kKey << QByteArray() << QString();
        QTest::newRow("lower case") << hex.toLower() << kKey << QByteArray("secret") << QString();
        QTest::newRow("odd digit ignored") << hex + "7" << kKey << QByteArray("secret") << QString();
        QTest::newRow("odd non-digit ignored") << hex + "Z" << kKey << QByteArray("secret") << QString();
        QTest::newRow("partial block ignored")
            << hex + "ABCDEF" << kKey << QByteArray("secret") << QString();
        // 8CA64DE9C1B123A7 is the all-zero block under the key 01 01 ... 01.
        QTest::newRow("every trailing zero removed")
            << DesEncryptHex("abc", ones) + "8CA64DE9C1B123A7" << ones << QByteArray("abc")
            << QString();
        const QString notHex = QStringLiteral("Error: not a Hex String");
        QTest::newRow("bad digit") << "G" + hex.mid(1) << kKey << QByteArray() << notHex;
        QTest::newRow("blank") << hex.left(4) + " " + hex.mid(5) << kKey << QByteArray() << notHex;
        QTest::newRow("bad digit in partial block") << hex + "0x" << kKey << QByteArray() << notHex;
    }
    void hexReading()
    {
        QFETCH(QByteArray, hex);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QString, error);
        QByteArray result;
        QCOMPARE(ErrorOf([&] { result = DesDecryptHex(hex, key); }), error);
        QCOMPARE(result, plain);
    }

    void hexValue_data()
    {
        QTest::addColumn<QByteArray>("digits");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("upper") << QByteArray("AF") << 0xAF;
        QTest::newRow("lower") << QByteArray("af") << 0xAF;
        QTest::newRow("largest") << QByteArray("7FFFFFFF") << 0x7FFFFFFF;
        QTest::newRow("wraps to 32 bits") << QByteArray("FFFFFFFF") << -1;
    }
    void hexValue()
    {
        QFETCH(QByteArray, digits);
        QFETCH(int, value);
        QCOMPARE(HexValue(digits), value);
        QCOMPARE(ErrorOf([&] { HexValue(digits + "g"); }), QStringLiteral("Error: not a Hex String"));
    }
};

QTEST_APPLESS_MAIN(TestDes)
#include "tst_des.moc"
