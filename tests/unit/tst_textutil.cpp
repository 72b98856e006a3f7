#include "common/TextUtil.h"

#include <QTest>

class TestTextUtil : public QObject
{
    Q_OBJECT
private slots:
    void splitList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QStringList>("items");

        QTest::newRow("empty") << "" << "|" << QStringList{};
        QTest::newRow("one") << "abc" << "|" << QStringList{"abc"};
        QTest::newRow("two") << "OK|tok" << "|" << QStringList{"OK", "tok"};
        QTest::newRow("blank splits") << "OK tok" << "|" << QStringList{"OK", "tok"};
        QTest::newRow("final delimiter") << "a|b|" << "|" << QStringList{"a", "b", ""};
        QTest::newRow("only delimiter") << "|" << "|" << QStringList{"", ""};
        QTest::newRow("empty middle") << "a||b" << "|" << QStringList{"a", "", "b"};
        QTest::newRow("leading blanks") << "  a ; b" << ";" << QStringList{"a", "b"};
        QTest::newRow("blank then delimiter") << "a |b" << "|" << QStringList{"a", "b"};
        QTest::newRow("quoted") << "\"a b\"|c" << "|" << QStringList{"a b", "c"};
        QTest::newRow("doubled quote") << "\"a\"\"b\"" << "|" << QStringList{"a\"b"};
        QTest::newRow("unclosed quote") << "\"a|b" << "|" << QStringList{"a|b"};
        QTest::newRow("stops at NUL") << QString::fromUtf16(u"a|b\0|c", 6) << "|" << QStringList{"a", "b"};
        QTest::newRow("trailing blanks") << "a|b  " << "|" << QStringList{"a", "b"};
    }
    void splitList()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(QStringList, items);
        QCOMPARE(SplitList(text, delimiter.at(0)), items);
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("crlf") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("mixed") << "a\rb\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("final break") << "a\r\n" << QStringList{"a"};
        QTest::newRow("empty line") << "a\n\nb" << QStringList{"a", "", "b"};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(SplitLines(text), lines);
    }

    void readNumbers()
    {
        QCOMPARE(ReadInt(u"42"), 42);
        QCOMPARE(ReadInt(u"-7"), -7);
        QCOMPARE(ReadInt(u"abc", -1), -1);
        QCOMPARE(ReadInt(u"", -1), -1);
        QCOMPARE(ReadInt(u"2147483648", -1), -1);
        QCOMPARE(ReadInt(u"-2147483648"), -2147483647 - 1);
        QCOMPARE(ReadInt(u" 1", -1), -1);
        QCOMPARE(ReadFloat(u"12.5"), 12.5);
        QCOMPARE(ReadFloat(u"12,5"), 0.0);
        QCOMPARE(ReadFloat(u"x"), 0.0);
        double parsed = 0;
        QVERIFY(!TryReadFloat(u"nan", parsed));
        QVERIFY(!TryReadFloat(u"-inf", parsed));
        QCOMPARE(RoundHalfEven(0.125, 2), 0.12);
        QCOMPARE(FormatFixed(3.0, 2), QStringLiteral("3.00"));
    }

    void proTypeText()
    {
        QCOMPARE(ProTypeText(u"0"), QStringLiteral("收短信"));
        QCOMPARE(ProTypeText(u"1"), QStringLiteral("发短信"));
        QCOMPARE(ProTypeText(u"2"), QStringLiteral("收发短信"));
        QCOMPARE(ProTypeText(u"9"), QStringLiteral("未知"));
    }
};

QTEST_GUILESS_MAIN(TestTextUtil)
#include "tst_textutil.moc"
