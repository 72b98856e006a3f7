#include "common/Ansi.h"

#include <QTest>

class TestAnsi : public QObject
{
    Q_OBJECT
private slots:
    void gbk_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("back");
        QTest::newRow("ascii") << "user|pw" << QByteArray("user|pw") << "user|pw";
        QTest::newRow("chinese") << "密码abc" << QByteArray("\xC3\xDC\xC2\xEB" "abc") << "密码abc";
        QTest::newRow("euro sign") << "€" << QByteArray("\x80") << "€";
        QTest::newRow("not in GBK") << "aกb" << QByteArray("a?b") << "a?b";
        QTest::newRow("empty") << "" << QByteArray() << "";
    }
    void gbk()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, back);
        QCOMPARE(ToAnsi(text), bytes);
        QCOMPARE(FromAnsi(bytes), back);
    }
};

QTEST_APPLESS_MAIN(TestAnsi)
#include "tst_ansi.moc"
