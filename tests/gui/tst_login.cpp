// The login dialog and the account line against the simulator.
#include "ShellFixture.h"

#include "channel/UrlEncode.h"
#include "workspace/UpDown.h"
#include "workspace/framecode.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void loginAndAccount()
    {
        ShellFixture f;
        QVERIFY(f.started);
        auto main = f.start();
        Tfmlogin *login = main->LoginDialog();
        QVERIFY(login && login->isVisible());
        QVERIFY(!main->isVisible());
        QCOMPARE(login->windowTitle(), QStringLiteral("Talvek平台客户端 用户登录"));
        f.submit(*main, "demo", "demo123");
        QCOMPARE(login->btnlogin->text(), QStringLiteral("登录中..."));
        QVERIFY(!login->btnlogin->isEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(!main->StatusText().isEmpty(), 10000);
        QCOMPARE(main->StatusText(), QStringLiteral("demo 已登录  |  余额：100.00  |  最多可获取号码数：10"));
        QVERIFY(main->isVisible());
        QVERIFY(!main->LoginDialog());
        QVERIFY(!main->UserInfo().token.isEmpty());
        QCOMPARE(main->UserInfo().MaxMobNum, 10);
        QCOMPARE(f.requests("loginIn"), QStringList{"/http.aspx?action=loginIn&uid=demo&pwd=demo123"});
        QCOMPARE(f.requests("getUserInfos"),
                 QStringList{"/http.aspx?action=getUserInfos&uid=demo&token=" + main->UserInfo().token + "&"});
        // The account reply asks for the favourites while they are not loaded.
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("getfavpro").size(), 1, 10000);
        QVERIFY(f.messages().isEmpty());
    }

    void credentialsTravelIntact()
    {
        ShellFixture f;
        auto main = f.start();
        f.submit(*main, "a&b+c#d 项", "p=1%");
        QTRY_COMPARE_WITH_TIMEOUT(f.messages(), QStringList{"登录错误！"}, 10000);
        QCOMPARE(f.requests("loginIn"),
                 QStringList{"/http.aspx?action=loginIn&uid=a%26b%2Bc%23d%20%E9%A1%B9&pwd=p%3D1%25"});
        QCOMPARE(main->LoginDialog()->btnlogin->text(), QStringLiteral("马上登录"));
        QVERIFY(main->LoginDialog()->btnlogin->isEnabled());
    }

    void loginReplies_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("token");
        QTest::newRow("wrong password") << "login_error" << "登录错误！" << "";
        QTest::newRow("locked") << "account_is_locked" << "用户已被锁定！" << "";
        QTest::newRow("parameter") << "parameter_error" << "参数错误！" << "";
        QTest::newRow("empty") << "" << "登录失败！" << "";
        QTest::newRow("one item") << "OK" << "登录失败！" << "";
        QTest::newRow("error word with line break") << "login_error\r\n" << "登录失败！" << "";
        QTest::newRow("three items") << "OK|tok|more" << "" << "tok";
        QTest::newRow("blank separates") << "OK tok" << "" << "tok";
    }
    void loginReplies()
    {
        QFETCH(QString, reply);
        QFETCH(QString, message);
        QFETCH(QString, token);
        ShellFixture f;
        f.sim.setNextReplies("loginIn", {reply.toStdString()});
        f.sim.setNextReplies("getUserInfos", {"demo;0;1.5;3"});
        f.sim.setNextReplies("getfavpro", {"0"});
        auto main = f.start();
        f.submit(*main, "demo", "demo123");
        if (token.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(f.messages(), QStringList{message}, 10000);
            QCOMPARE(f.platform.messageBoxes.first().caption, QStringLiteral("提示"));
            QCOMPARE(f.platform.messageBoxes.first().kind, 1);
            QVERIFY(main->LoginDialog()->btnlogin->isEnabled());
            QCOMPARE(main->LoginDialog()->btnlogin->text(), QStringLiteral("马上登录"));
            QVERIFY(!main->isVisible());
            QVERIFY(main->UserInfo().token.isEmpty());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!main->StatusText().isEmpty(), 10000);
            QCOMPARE(main->UserInfo().token, token);
            QVERIFY(f.messages().isEmpty());
            QVERIFY(!main->LoginDialog());
        }
    }

    void emptyInput_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("pwd");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("no user") << "" << "x" << "用户名不能为空！" << "edtusers";
        QTest::newRow("no password") << "demo" << "" << "用户密码不能为空！" << "edtpwd";
        QTest::newRow("neither") << "" << "" << "用户名不能为空！" << "edtusers";
    }
    void emptyInput()
    {
        QFETCH(QString, user);
        QFETCH(QString, pwd);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        ShellFixture f;
        auto main = f.start();
        Tfmlogin *login = main->LoginDialog();
        login->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(login));
        login->btnlogin->setFocus();
        f.submit(*main, user, pwd);
        QCOMPARE(f.messages(), QStringList{message});
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        QVERIFY(login->btnlogin->isEnabled());
        QTest::qWait(200);
        QVERIFY(f.requests("loginIn").isEmpty());
    }

    void blankNameCountsAsFilled()
    {
        ShellFixture f;
        auto main = f.start();
        f.submit(*main, " ", " ");
        QTRY_COMPARE_WITH_TIMEOUT(f.messages(), QStringList{"登录错误！"}, 10000);
        QCOMPARE(f.requests("loginIn"), QStringList{"/http.aspx?action=loginIn&uid=%20&pwd=%20"});
    }

    void boxesCoupled()
    {
        ShellFixture f;
        auto main = f.start();
        Tfmlogin *login = main->LoginDialog();
        QTest::mouseClick(login->chkauto, Qt::LeftButton);
        QVERIFY(login->chkauto->isChecked());
        QVERIFY(login->chkpwd->isChecked());
        QTest::mouseClick(login->chkpwd, Qt::LeftButton);
        QVERIFY(!login->chkpwd->isChecked());
        QVERIFY(!login->chkauto->isChecked());
        QTest::mouseClick(login->chkpwd, Qt::LeftButton);
        QVERIFY(login->chkpwd->isChecked());
        QVERIFY(!login->chkauto->isChecked());
    }

    void layout()
    {
        ShellFixture f;
        auto main = f.start();
        Tfmlogin *login = main->LoginDialog();
        QCOMPARE(login->size(), QSize(382, 160));
        QCOMPARE(login->edtusers->geometry(), QRect(96, 14, 249, 28));
        QCOMPARE(login->edtpwd->geometry(), QRect(96, 54, 249, 28));
        QCOMPARE(login->btnlogin->geometry(), QRect(96, 117, 83, 30));
        QCOMPARE(login->btnreg->geometry(), QRect(262, 117, 83, 30));
        QCOMPARE(login->chkpwd->pos(), QPoint(96, 87));
        QCOMPARE(login->chkauto->pos(), QPoint(270, 87));
        QCOMPARE(login->edtpwd->echoMode(), QLineEdit::Password);
        login->edtpwd->setText(QStringLiteral("ab1"));
        QCOMPARE(login->edtpwd->displayText(), QStringLiteral("***"));
        // Centred on the screen, give or take the window frame's margins.
        const QPoint offCentre = login->geometry().center()
                                 - QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 8);
        QCOMPARE(login->edtusers->toolTip(), QStringLiteral("请输入用户名"));
        QCOMPARE(login->edtpwd->toolTip(), QStringLiteral("请输入用户密码"));
        const QList<QWidget *> order{login->edtusers, login->edtpwd, login->btnlogin, login->btnreg,
                                     login->chkpwd, login->chkauto};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QWidget *next = order.at(i)->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            QCOMPARE(next, order.at(i + 1));
        }
        QVERIFY(!login->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!login->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    }

    void register_()
    {
        ShellFixture f;
        auto main = f.start();
        QTest::mouseClick(main->LoginDialog()->btnreg, Qt::LeftButton);
        QCOMPARE(f.platform.openedUrls, QStringList{f.platform.baseUrl + "register.aspx"});
    }

    void rememberedAcrossRestart()
    {
        ShellFixture f;
        {
            auto main = f.start();
            Tfmlogin *login = main->LoginDialog();
            login->chkauto->setChecked(true);
            QVERIFY(f.login(*main));
        }
        QVERIFY(f.readConfig().contains("autologin=1"));
        QVERIFY(!f.readConfig().contains("demo123"));
        // The next start logs in by itself with the remembered password.
        auto main = f.start();
        QTRY_VERIFY_WITH_TIMEOUT(!main->StatusText().isEmpty(), 10000);
        QCOMPARE(f.requests("loginIn").size(), 2);
        QCOMPARE(f.requests("loginIn").last(), QStringLiteral("/http.aspx?action=loginIn&uid=demo&pwd=demo123"));
    }

    void forgottenPassword()
    {
        ShellFixture f;
        {
            auto main = f.start();
            main->LoginDialog()->chkpwd->setChecked(true);
            QVERIFY(f.login(*main));
        }
        QVERIFY(!f.readConfig().contains("pwd=\r\n"));
        {
            auto main = f.start();
            QCOMPARE(main->LoginDialog()->edtpwd->text(), QStringLiteral("demo123"));
            main->LoginDialog()->chkpwd->setChecked(false);
            QVERIFY(f.login(*main));
        }
        QVERIFY(f.readConfig().contains("\r\npwd=\r\n"));
        auto main = f.start();
        QCOMPARE(main->LoginDialog()->edtusers->text(), QStringLiteral("demo"));
        QCOMPARE(main->LoginDialog()->edtpwd->text(), QString());
        QVERIFY(!main->LoginDialog()->chkpwd->isChecked());
    }

    void autoLoginWithoutPassword()
    {
        ShellFixture f;
        f.writeConfig("[config]\r\nfirst=1\r\nuser=demo\r\nrepwd=0\r\nautologin=1\r\n");
        auto main = f.start();
        Tfmlogin *login = main->LoginDialog();
        QVERIFY(login->chkpwd->isChecked());
        QVERIFY(login->chkauto->isChecked());
        QCOMPARE(login->edtpwd->text(), QString());
        QCOMPARE(f.messages(), QStringList{"用户密码不能为空！"});
        QVERIFY(f.requests("loginIn").isEmpty());
    }

    void logoutAndBack()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("getfavpro").size(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        const QString status = main->StatusText();

        main->findChild<QAction *>("N17")->trigger();
        QVERIFY(!main->isVisible());
        QVERIFY(main->CloseAllowed());
        QVERIFY(!main->FavLoaded());
        QVERIFY(main->UserInfo().token.isEmpty());
        QCOMPARE(main->StatusText(), status);
        Tfmlogin *login = main->LoginDialog();
        QVERIFY(login && login->isVisible());
        QCOMPARE(login->edtusers->text(), QStringLiteral("demo"));

        f.submit(*main, "demo", "demo123");
        QTRY_VERIFY_WITH_TIMEOUT(main->isVisible(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("getfavpro").size(), 2, 10000);
        QCOMPARE(f.requests("loginIn").size(), 2);
    }

    void logoutWithAutoLogin()
    {
        ShellFixture f;
        auto main = f.start();
        main->LoginDialog()->chkauto->setChecked(true);
        QVERIFY(f.login(*main));
        main->findChild<QAction *>("N17")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(main->isVisible(), 10000);
        QCOMPARE(f.requests("loginIn").size(), 2);
    }

    void closingDialogWithoutSessionEnds()
    {
        ShellFixture f;
        auto main = f.start();
        QSignalSpy closed(main.get(), &Tfmymmain::Closed);
        main->LoginDialog()->close();
        QCOMPARE(closed.size(), 1);
        QVERIFY(!main->LoginDialog());
    }

    void closingDialogAfterLogoutEnds()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QSignalSpy closed(main.get(), &Tfmymmain::Closed);
        main->Logout();
        QCOMPARE(closed.size(), 0);
        main->LoginDialog()->close();
        QCOMPARE(closed.size(), 1);
    }

    void accountLine_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("maxMob");
        QTest::newRow("two decimals") << "x;5;12.5;25" << "demo 已登录  |  余额：12.50  |  最多可获取号码数：25" << 25;
        QTest::newRow("rounded") << "x;5;3.14159;3" << "demo 已登录  |  余额：3.14  |  最多可获取号码数：3" << 3;
        QTest::newRow("unreadable") << "x;y;abc;z;more" << "demo 已登录  |  余额：0.00  |  最多可获取号码数：0" << 0;
        QTest::newRow("blank separates") << "x 5 7 2" << "demo 已登录  |  余额：7.00  |  最多可获取号码数：2" << 2;
    }
    void accountLine()
    {
        QFETCH(QString, reply);
        QFETCH(QString, status);
        QFETCH(int, maxMob);
        ShellFixture f;
        f.sim.setNextReplies("getUserInfos", {reply.toStdString()});
        auto main = f.start();
        QVERIFY(f.login(*main));
        QCOMPARE(main->StatusText(), status);
        QCOMPARE(main->UserInfo().MaxMobNum, maxMob);
        // The count spinner offers at most ten.
        QCOMPARE(main->objfmcode->findChild<TUpDown *>("upnum")->Max(), qMin(maxMob, 10));
    }

    void badAccountReply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::newRow("three items") << "a;1;2";
        QTest::newRow("empty") << "";
    }
    void badAccountReply()
    {
        QFETCH(QString, reply);
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        const QString status = main->StatusText();
        f.sim.setNextReplies("getUserInfos", {reply.toStdString()});
        main->GetUserInfo();
        QTRY_COMPARE_WITH_TIMEOUT(f.messages(), QStringList{"获取用户信息发送了错误，请重新登录！"}, 10000);
        QCOMPARE(main->StatusText(), status);
        QVERIFY(main->isVisible());
        QVERIFY(!main->UserInfo().token.isEmpty());
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
