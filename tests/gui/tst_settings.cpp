// client.cfg: what a start loads, what a login and the window writes, and a folder that
// cannot be written.
#include "ShellFixture.h"

#include "common/Ansi.h"
#include "common/Des.h"

#include <QSignalSpy>

namespace {

const QByteArray kFirst = "[config]\r\nfirst=1\r\n";

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<int>("codetime");
        QTest::addColumn<int>("codetype");
        QTest::addColumn<bool>("autogetcode");
        QTest::addColumn<QString>("getkey");
        QTest::addColumn<bool>("repwd");
        QTest::addColumn<bool>("autologin");
        const QString keys = QStringLiteral("验证码,校检码,激活码");
        QTest::newRow("defaults") << QByteArray() << 3 << 0 << true << keys << false << false;
        QTest::newRow("codetime zero") << QByteArray("codetime=0\r\n") << 1 << 0 << true << keys << false << false;
        QTest::newRow("codetime negative") << QByteArray("codetime=-4\r\n") << 1 << 0 << true << keys << false << false;
        QTest::newRow("codetime text") << QByteArray("codetime=abc\r\n") << 3 << 0 << true << keys << false << false;
        QTest::newRow("codetime hex") << QByteArray("codetime=0x10\r\n") << 16 << 0 << true << keys << false << false;
        QTest::newRow("codetype low byte") << QByteArray("codetype=257\r\n") << 3 << 1 << true << keys << false << false;
        QTest::newRow("codetype negative") << QByteArray("codetype=-1\r\n") << 3 << -1 << true << keys << false << false;
        QTest::newRow("autogetcode 2") << QByteArray("autogetcode=2\r\n") << 3 << 0 << true << keys << false << false;
        QTest::newRow("autogetcode 0") << QByteArray("autogetcode=0\r\n") << 3 << 0 << false << keys << false << false;
        QTest::newRow("autogetcode garbage") << QByteArray("autogetcode=yes\r\n") << 3 << 0 << true << keys << false << false;
        QTest::newRow("flags hex") << QByteArray("repwd=0x1\r\nautologin=0x0\r\n") << 3 << 0 << true << keys << true << false;
        QTest::newRow("full-width commas")
            << QByteArray("getkey=") + ToAnsi(u"验证码，激活码") + "\r\n" << 3 << 0 << true
            << QStringLiteral("验证码，激活码") << false << false;
        QTest::newRow("empty getkey") << QByteArray("getkey=\r\n") << 3 << 0 << true << QString() << false << false;
    }
    void load()
    {
        QFETCH(QByteArray, keys);
        QFETCH(int, codetime);
        QFETCH(int, codetype);
        QFETCH(bool, autogetcode);
        QFETCH(QString, getkey);
        QFETCH(bool, repwd);
        QFETCH(bool, autologin);
        ShellFixture f;
        f.writeConfig(kFirst + keys);
        auto main = f.start();
        QCOMPARE(main->SysInfo().GetCodeTime(), codetime);
        QCOMPARE(int(main->SysInfo().CodeType), codetype);
        QCOMPARE(main->SysInfo().AutoGetCode, autogetcode);
        QCOMPARE(main->SysInfo().GetKey(), getkey);
        QCOMPARE(main->UserInfo().repwd, repwd);
        QCOMPARE(main->UserInfo().autologin, autologin);
        QVERIFY(!main->SysInfo().WinTop);
        // Loading writes nothing but a missing "first".
        QCOMPARE(f.readConfig(), kFirst + keys);
    }

    void password_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("pwd");
        QTest::newRow("enciphered") << DesEncryptHex(ToAnsi(u"密码pw"), "kq7wmz3r") << "密码pw";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("not hex") << QByteArray("zz12") << "";
        QTest::newRow("odd length") << QByteArray("ABC") << "";
    }
    void password()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, pwd);
        ShellFixture f;
        f.writeConfig(kFirst + "user=demo\r\npwd=" + stored + "\r\nrepwd=1\r\ncodetime=7\r\n");
        auto main = f.start();
        QCOMPARE(main->UserInfo().pwd, pwd);
        // The keys after the password still load.
        QVERIFY(main->UserInfo().repwd);
        QCOMPARE(main->SysInfo().GetCodeTime(), 7);
        QCOMPARE(main->LoginDialog()->edtpwd->text(), pwd);
    }

    void firstStart()
    {
        ShellFixture f;
        {
            auto main = f.start();
            QVERIFY(!main->FirstTipShown());
        }
        QCOMPARE(f.readConfig(), kFirst);
        const QString link = f.platform.desktopFolder + "/Talvek平台客户端.desktop";
        QFile file(link);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(file.readAll());
        QVERIFY2(entry.contains("Exec=\"" + f.platform.executablePath + "\"\n"), qPrintable(entry));
        QVERIFY(entry.contains("Name=Talvek平台客户端\n"));
        QVERIFY(entry.contains("Path=" + f.dir.path() + "\n"));
        QVERIFY(file.permissions().testFlag(QFileDevice::ExeOwner));
        file.close();

        // Later starts make none, even when the user deleted it.
        QFile::remove(link);
        auto main = f.start();
        QVERIFY(!QFile::exists(link));
    }

    void fileWithoutFirst()
    {
        ShellFixture f;
        f.writeConfig("[config]\r\nuser=demo\r\nfirsttip=1\r\n");
        auto main = f.start();
        QVERIFY(main->FirstTipShown());
        QCOMPARE(f.readConfig(), QByteArray("[config]\r\nuser=demo\r\nfirsttip=1\r\nfirst=1\r\n"));
        QVERIFY(QFile::exists(f.platform.desktopFolder + "/Talvek平台客户端.desktop"));
    }

    void loginWritesEveryKey()
    {
        ShellFixture f;
        f.writeConfig(kFirst + "getkey=" + ToAnsi(u"验证码，激活码") + "\r\n");
        auto main = f.start();
        QVERIFY(f.login(*main));
        QCOMPARE(f.readConfig(), kFirst + "getkey=" + ToAnsi(u"验证码，激活码")
                                     + "\r\nuser=demo\r\nrepwd=0\r\npwd=\r\nautologin=0\r\nwintop=0\r\n"
                                       "autogetcode=1\r\ncodetime=3\r\ncodetype=0\r\n");
        QCOMPARE(QFile::permissions(f.configPath()) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void rememberedPasswordForm()
    {
        ShellFixture f;
        auto main = f.start();
        main->LoginDialog()->chkpwd->setChecked(true);
        QVERIFY(f.login(*main));
        QVERIFY(f.readConfig().contains("\r\npwd=" + DesEncryptHex(QByteArray("demo123"), "kq7wmz3r") + "\r\n"));
    }

    void refusedLoginStillSaves()
    {
        ShellFixture f;
        auto main = f.start();
        f.submit(*main, "someone", "wrong");
        QTRY_COMPARE_WITH_TIMEOUT(f.messages(), QStringList{"登录错误！"}, 10000);
        QVERIFY(f.readConfig().contains("\r\nuser=someone\r\n"));
    }

    void winTopAtStart()
    {
        ShellFixture f;
        f.writeConfig(kFirst + "wintop=1\r\n");
        auto main = f.start();
        QVERIFY(main->TopCheck()->isChecked());
        QVERIFY(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // Ticking the box at start saved every key once.
        QCOMPARE(f.readConfig(), kFirst + "wintop=1\r\nuser=\r\nrepwd=0\r\npwd=\r\nautologin=0\r\n"
                                          "autogetcode=1\r\ngetkey=" + ToAnsi(u"验证码,校检码,激活码")
                                     + "\r\ncodetime=3\r\ncodetype=0\r\n");
    }

    void topCheckSaves()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        main->TopCheck()->click();
        QVERIFY(main->SysInfo().WinTop);
        QVERIFY(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(main->isVisible());
        QVERIFY(f.readConfig().contains("\r\nwintop=1\r\n"));
        main->TopCheck()->click();
        QVERIFY(!main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(f.readConfig().contains("\r\nwintop=0\r\n"));
    }

    void firstTip()
    {
        ShellFixture f;
        auto main = f.start();
        main->SetFirstTip();
        QVERIFY(!main->FirstTipShown());
        QCOMPARE(f.readConfig(), kFirst + "firsttip=1\r\n");
        auto next = f.start();
        QVERIFY(next->FirstTipShown());
    }

    // A program folder that cannot be written: each failed write is reported, start-up still
    // comes up and the login still goes out.
    void unwritableFolder()
    {
        ShellFixture f;
        f.platform.executablePath = f.dir.filePath("gone/Talvek平台客户端");
        const QString config = f.dir.filePath("gone/client.cfg");
        auto main = f.start();
        QCOMPARE(f.messages(), QStringList{"Unable to write to " + config});
        QVERIFY(main->LoginDialog());
        QVERIFY(main->objfmcode && main->objfmpro);
        QVERIFY(f.login(*main));
        QCOMPARE(f.messages(), (QStringList{"Unable to write to " + config, "Unable to write to " + config}));
        QCOMPARE(f.requests("loginIn").size(), 1);
        main->TopCheck()->click();
        QCOMPARE(f.messages().size(), 3);
        QVERIFY(main->SysInfo().WinTop);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
