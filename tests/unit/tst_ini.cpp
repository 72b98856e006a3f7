#include "app/IniFile.h"
#include "common/Ansi.h"
#include "common/AppError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString WriteFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("client.cfg"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestIni : public QObject
{
    Q_OBJECT
private slots:
    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("result");
        QTest::newRow("decimal") << QByteArray("42") << 42;
        QTest::newRow("negative") << QByteArray("-7") << -7;
        QTest::newRow("blanks trimmed") << QByteArray("  12  ") << 12;
        QTest::newRow("hex") << QByteArray("0x1F") << 31;
        QTest::newRow("hex upper prefix") << QByteArray("0Xff") << 255;
        QTest::newRow("hex wraps to 32 bits") << QByteArray("0xFFFFFFFF") << -1;
        QTest::newRow("hex too long") << QByteArray("0x100000000") << -99;
        QTest::newRow("hex without digits") << QByteArray("0x") << -99;
        QTest::newRow("garbage") << QByteArray("abc") << -99;
        QTest::newRow("trailing garbage") << QByteArray("12abc") << -99;
        QTest::newRow("decimal point") << QByteArray("1.5") << -99;
        QTest::newRow("empty") << QByteArray("") << -99;
        QTest::newRow("beyond 32 bits") << QByteArray("4294967296") << -99;
    }
    void readInteger()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, result);
        QTemporaryDir dir;
        TIniFile ini(WriteFile(dir, "[config]\r\nn=" + value + "\r\n"));
        QCOMPARE(ini.ReadInteger("config", "n", -99), result);
    }

    void readRules()
    {
        QTemporaryDir dir;
        const QByteArray gbk = ToAnsi(u"验证码，激活码");
        TIniFile ini(WriteFile(dir, "; comment\n[other]\nuser=no\n  [ CONFIG ]  \n  User  =  demo  \r\n"
                                    "getkey=" + gbk + "\rflag=2\nlong=" + QByteArray(3000, 'a') + "\n"));
        QCOMPARE(ini.ReadString("config", "user", "x"), QStringLiteral("demo"));
        QCOMPARE(ini.ReadString("Config", "GETKEY", "x"), QStringLiteral("验证码，激活码"));
        QCOMPARE(ini.ReadString("config", "missing", "dflt"), QStringLiteral("dflt"));
        QCOMPARE(ini.ReadString("config", "long", "").size(), 2047);
        QCOMPARE(ini.ReadBool("config", "flag", false), true);
        QCOMPARE(ini.ReadBool("config", "user", true), true);
        QCOMPARE(ini.ReadBool("config", "user", false), false);
        QCOMPARE(ini.ReadString("other", "user", ""), QStringLiteral("no"));
        QCOMPARE(TIniFile(dir.filePath("none.cfg")).ReadString("config", "user", "d"), QStringLiteral("d"));
    }

    void writeKeepsOtherLines()
    {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "; keep me\r\n[Config]\r\nUSER=old\r\n\r\n[other]\r\nx=1\r\n");
        TIniFile ini(path);
        ini.WriteString("config", "user", "新");
        ini.WriteString("config", "pwd", "");
        ini.WriteBool("config", "repwd", true);
        ini.WriteInteger("other", "y", -5);
        ini.WriteString("fresh", "k", "v");
        QCOMPARE(ReadFile(path), QByteArray("; keep me\r\n[Config]\r\nuser=") + ToAnsi(u"新")
                                     + "\r\npwd=\r\nrepwd=1\r\n\r\n[other]\r\nx=1\r\ny=-5\r\n[fresh]\r\nk=v\r\n");
        // A new object sees what the last one wrote.
        QCOMPARE(TIniFile(path).ReadString("config", "user", ""), QStringLiteral("新"));
    }

    void newFileIsOwnerOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("client.cfg");
        TIniFile(path).WriteBool("config", "first", true);
        QCOMPARE(ReadFile(path), QByteArray("[config]\r\nfirst=1\r\n"));
        QCOMPARE(QFile::permissions(path) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"client.cfg"});
    }

    void unwritable()
    {
        QTemporaryDir dir;
        // A file in a folder that does not exist cannot be written, whoever runs the test.
        const QString path = dir.filePath("gone/client.cfg");
        TIniFile ini(path);
        try {
            ini.WriteString("config", "user", "b");
            QFAIL("the write must fail");
        } catch (const TAppError &e) {
            QCOMPARE(e.Message(), QStringLiteral("Unable to write to ") + path);
        }
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
