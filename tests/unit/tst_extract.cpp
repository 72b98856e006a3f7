#include "workspace/structutil.h"

#include <QTest>

namespace {

const QString kDefaultKeys = QStringLiteral("验证码,校检码,激活码");
const QString kSampleSms = QStringLiteral("【测试短信】336054（注册验证码），请在20分钟内\r\n"
                                          "完成注册。如非本人操作，请忽略。");

} // namespace

class TestExtract : public QObject
{
    Q_OBJECT
private slots:
    void getCodeBySms_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("codeType");
        QTest::addColumn<QString>("sms");
        QTest::addColumn<QString>("code");

        const QString d = kDefaultKeys;
        // The worked examples.
        QTest::newRow("sample: backward run, forward too short") << d << 0 << kSampleSms << "336054";
        QTest::newRow("sender prefix dropped") << d << 0 << "[发送号码10690001]您的验证码是1234，请勿泄露" << "1234";
        QTest::newRow("equal gaps: forward wins") << d << 0 << "1234验证码5678" << "5678";
        QTest::newRow("first keyword in list order decides") << d << 0 << "校检码为 1234 验证码12" << "1234";
        QTest::newRow("digits only: mixed run too short") << d << 0 << "激活码ab12cd" << "";
        QTest::newRow("letters: mixed run") << d << 1 << "激活码ab12cd" << "ab12cd";
        QTest::newRow("nine digits too long") << d << 0 << "验证码123456789" << "";

        // Bounds and gaps.
        QTest::newRow("four accepted") << d << 0 << "验证码:1234" << "1234";
        QTest::newRow("eight accepted") << d << 0 << "验证码:12345678" << "12345678";
        QTest::newRow("three rejected") << d << 0 << "验证码:123" << "";
        QTest::newRow("nine before rejected") << d << 0 << "123456789验证码" << "";
        QTest::newRow("backward nearer than forward") << d << 0 << "1234验证码：5678" << "1234";
        QTest::newRow("backward farther than forward") << d << 0 << "1234，验证码5678" << "5678";
        QTest::newRow("words are runs with letters") << d << 1 << "code验证码is 123456" << "code";
        QTest::newRow("no look past the nearest run") << d << 0 << "验证码12 345678" << "";
        QTest::newRow("code type -1 counts letters") << d << -1 << "验证码abcd" << "abcd";

        // Sender prefix.
        QTest::newRow("sender number never taken") << d << 0 << "[发送号码12345678]验证码：abc9876" << "9876";
        QTest::newRow("prefix without ] searched whole") << d << 0 << "验证码 1234[发送号码" << "1234";
        QTest::newRow("first ] from the start") << d << 0 << "验证码5678]...[发送号码" << "";

        // Keywords.
        QTest::newRow("only the first occurrence") << d << 0 << "验证码12，验证码3456" << "";
        QTest::newRow("next keyword after a miss") << d << 0 << "验证码12，激活码3456" << "3456";
        QTest::newRow("case-sensitive keyword") << "code" << 1 << "CODE abcd1234" << "";
        QTest::newRow("empty items skipped") << ",,验证码," << 0 << "验证码 8888" << "8888";
        QTest::newRow("no keywords") << "" << 0 << "验证码 8888" << "";

        // Texts that must never trip it up.
        QTest::newRow("empty text") << d << 0 << "" << "";
        QTest::newRow("only keywords") << d << 0 << "验证码校检码激活码" << "";
        QTest::newRow("keyword at start") << d << 0 << "验证码" << "";
        QTest::newRow("keyword at end") << d << 0 << "请查收 4567 验证码" << "4567";
        QTest::newRow("full-width digits are no code") << d << 0 << "验证码１２３４５" << "";
        QTest::newRow("surrogate pairs count as two") << d << 0 << "😀验证码😀1234😀" << "1234";
        QTest::newRow("lone surrogate") << d << 0 << QStringLiteral("验证码") + QChar(0xD800) + "7777" << "7777";
        QTest::newRow("line breaks kept") << d << 0 << "验证码\r\n2468" << "2468";
    }
    void getCodeBySms()
    {
        QFETCH(QString, keys);
        QFETCH(int, codeType);
        QFETCH(QString, sms);
        QFETCH(QString, code);
        TSysInfo sysinfo;
        sysinfo.SetGetKey(keys);
        sysinfo.CodeType = qint8(codeType);
        QCOMPARE(sysinfo.GetCodeBySms(sms), code);
    }

    void hugeText()
    {
        TSysInfo sysinfo;
        sysinfo.SetGetKey(kDefaultKeys);
        const QString filler(1 << 20, u'x');
        QCOMPARE(sysinfo.GetCodeBySms(filler + "验证码" + filler + "123456"), QStringLiteral("123456"));
        sysinfo.CodeType = 1;
        QCOMPARE(sysinfo.GetCodeBySms(filler + "验证码"), QString());
        QCOMPARE(sysinfo.GetCodeBySms(QString(1 << 20, u'9')), QString());
    }

    void keywordList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("default") << kDefaultKeys << QStringList{"验证码", "校检码", "激活码"};
        QTest::newRow("full-width commas") << "验证码，校检码，激活码" << QStringList{"验证码", "校检码", "激活码"};
        QTest::newRow("blank splits a keyword") << "验证 码" << QStringList{"验证", "码"};
        QTest::newRow("quotes keep blanks and commas") << "\"验证 码,x\",激活码" << QStringList{"验证 码,x", "激活码"};
        QTest::newRow("empty items kept") << "a,,b," << QStringList{"a", "", "b", ""};
        QTest::newRow("leading blanks skipped") << "  a ,  b" << QStringList{"a", "b"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void keywordList()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, keys);
        TSysInfo sysinfo;
        sysinfo.SetGetKey(QStringLiteral("old"));
        sysinfo.SetGetKey(text);
        QCOMPARE(sysinfo.SLKey, keys);
        QCOMPARE(sysinfo.GetKey(), text); // stored as typed
    }

    void startsEmpty()
    {
        const TSysInfo sysinfo;
        QVERIFY(sysinfo.SLKey.isEmpty());
        QVERIFY(sysinfo.GetKey().isEmpty());
        QCOMPARE(sysinfo.GetCodeTime(), 0);
        QCOMPARE(sysinfo.AutoGetCode, false);
        QCOMPARE(sysinfo.CodeType, qint8(0));
        QCOMPARE(sysinfo.WinTop, false);
    }

    void codeTimeClamp_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("zero") << 0 << 1;
        QTest::newRow("negative") << -5 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("no upper clamp") << 1000 << 1000;
    }
    void codeTimeClamp()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        TSysInfo sysinfo;
        sysinfo.SetGetCodeTime(value);
        QCOMPARE(sysinfo.GetCodeTime(), stored);
    }
};

QTEST_GUILESS_MAIN(TestExtract)
#include "tst_extract.moc"
