// The main window: layout, states, menus, tabs and the command channel against the simulator.
#include "ShellFixture.h"

#include "app/frmwait.h"
#include "catalogue/frmprolist.h"
#include "channel/GetHttp.h"
#include "channel/UrlEncode.h"
#include "common/Ansi.h"
#include "common/Des.h"
#include "common/MsgDlg.h"
#include "workspace/framecode.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>

namespace {

QStringList ActionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QStringList NoticeTexts()
{
    QStringList texts;
    for (const TNoticeRecord &notice : ShownNotices())
        texts << notice.text;
    return texts;
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init() { ClearShownNotices(); }

    void startUpAndLayout()
    {
        ShellFixture f;
        auto main = f.start();
        QCOMPARE(main->windowTitle(), QStringLiteral("Talvek平台客户端 V1.12"));
        QCOMPARE(main->TrayIcon()->toolTip(), main->windowTitle());
        QVERIFY(!main->isVisible());
        QVERIFY(!main->TrayIcon()->isVisible());
        QVERIFY(main->CloseAllowed());
        QVERIFY(!main->FavLoaded());

        QTabWidget *pages = main->PageControl();
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral("获取验证码"));
        QCOMPARE(pages->tabText(1), QStringLiteral("项目管理"));
        QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("tabcode"));
        QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("tabpro"));
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(main->objfmcode->parentWidget(), pages->widget(0));
        QCOMPARE(main->objfmpro->parentWidget(), pages->widget(1));
        QCOMPARE(main->TopCheck()->size(), QSize(72, 17));
        QCOMPARE(main->TopCheck()->y(), 2);
        QVERIFY(main->TopCheck()->x() >= 145);
        QVERIFY(main->TopCheck()->x() > pages->tabBar()->sizeHint().width());
        QCOMPARE(main->TopCheck()->text(), QStringLiteral("窗口置顶"));
        QCOMPARE(main->findChild<QLabel *>("StatusBar1Panel0")->width(), 500);
        QCOMPARE(main->findChild<QLabel *>("StatusBar1Panel1")->width(), 50);
        QCOMPARE(main->font().family(), QStringLiteral("Tahoma"));

        const QList<QAction *> top = main->menuBar()->actions();
        QCOMPARE(ActionTexts(top), (QStringList{"用户(&U)", "参数设置", "在线充值", "帮助(&H)"}));
        QCOMPARE(ActionTexts(top.at(0)->menu()->actions()),
                 (QStringList{"资金记录", "短信记录", "帐号管理", "退出登录", "-", "关闭程序"}));
        QCOMPARE(ActionTexts(top.at(3)->menu()->actions()),
                 (QStringList{"官方网站", "帮助文档", "API接口", "联系我们", "精品推荐"}));
        QCOMPARE(ActionTexts(main->TrayMenu()->actions()), (QStringList{"显示主界面", "-", "退出"}));
        QCOMPARE(main->TrayIcon()->contextMenu(), main->TrayMenu());
    }

    void displayName_data()
    {
        QTest::addColumn<QString>("exe");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Talvek平台客户端" << "Talvek平台客户端";
        QTest::newRow("extension") << "client.exe" << "client";
        QTest::newRow("several dots") << "my.client.v2.exe" << "my.client.v2";
        QTest::newRow("only an extension") << ".exe" << "Talvek平台客户端";
    }
    void displayName()
    {
        QFETCH(QString, exe);
        QFETCH(QString, name);
        ShellFixture f;
        f.platform.executablePath = f.dir.filePath(exe);
        auto main = f.start();
        QCOMPARE(main->AppDisplayName(), name);
        QCOMPARE(main->windowTitle(), name + " V1.12");
        QCOMPARE(QApplication::applicationName(), name + " V1.12");
        QCOMPARE(main->TrayIcon()->toolTip(), name + " V1.12");
        QCOMPARE(main->LoginDialog()->windowTitle(), name + " 用户登录");
        QVERIFY(QFile::exists(f.platform.desktopFolder + "/" + name + ".desktop"));
        f.platform.messageBoxAnswers.enqueue(2);
        main->Quit();
        QCOMPARE(f.platform.messageBoxes.last().text, "确定要退出" + name + "吗？");
        QCOMPARE(f.platform.messageBoxes.last().caption, QStringLiteral("提示"));
        QCOMPARE(f.platform.messageBoxes.last().kind, 4);
    }

    // The offscreen platform has no tray: the close button minimises, and the window can still
    // be brought back and quit.
    void closeWithoutTray()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QSignalSpy closed(main.get(), &Tfmymmain::Closed);
        QVERIFY(!main->CloseAllowed());

        QVERIFY(!main->close());
        QVERIFY(main->isVisible());
        QVERIFY(main->isMinimized());
        QCOMPARE(closed.size(), 0);

        main->ShowMain();
        QVERIFY(!main->isMinimized());
        QVERIFY(main->isVisible());

        f.platform.messageBoxAnswers.enqueue(2);
        main->findChild<QAction *>("N19")->trigger();
        QCOMPARE(closed.size(), 0);
        QVERIFY(main->isVisible());
        f.platform.messageBoxAnswers.enqueue(1);
        main->findChild<QAction *>("N19")->trigger();
        QCOMPARE(closed.size(), 1);
        QCOMPARE(f.messages(), (QStringList{"确定要退出Talvek平台客户端吗？", "确定要退出Talvek平台客户端吗？"}));
    }

    void quitFromTrayWhileHidden()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        main->hide();
        QVERIFY(main->CloseAllowed());
        QSignalSpy closed(main.get(), &Tfmymmain::Closed);
        main->TrayMenu()->actions().last()->trigger();
        QCOMPARE(f.messages(), QStringList{"确定要退出Talvek平台客户端吗？"});
        QCOMPARE(closed.size(), 1);
    }

    void showMainFromTray()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        main->TopCheck()->click();
        QVERIFY(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        main->hide();
        main->TrayMenu()->actions().first()->trigger();
        QVERIFY(main->isVisible());
        QVERIFY(!main->CloseAllowed());
        // Brought to the front but not left top-most.
        QVERIFY(!main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(main->TopCheck()->isChecked());
    }

    void endOfSession()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QSignalSpy closed(main.get(), &Tfmymmain::Closed);
        main->WMQueryEndSession();
        QCOMPARE(closed.size(), 1);
        QVERIFY(f.messages().isEmpty());
    }

    void tabChanges()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        QTabWidget *pages = main->PageControl();

        pages->setCurrentIndex(1);
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("getfavlist").size(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(pages->isEnabled(), 10000);
        pages->setCurrentIndex(0);
        pages->setCurrentIndex(1);
        // Not after a logout either: once per run.
        main->Logout();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        pages->setCurrentIndex(0);
        pages->setCurrentIndex(1);
        QTest::qWait(300);
        QCOMPARE(f.requests("getfavlist").size(), 1);
        QCOMPARE(f.requests("getfavpro").size(), 2);

        // While the favourites are not loaded every switch to the code tab asks for them.
        main->SetFavLoaded(false);
        pages->setCurrentIndex(0);
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("getfavpro").size(), 3, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
    }

    void waitWindow()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(main->PageControl()->isEnabled(), 10000);
        Tfmwait *wait = main->WaitWindow();
        QCOMPARE(wait->size(), QSize(255, 73));
        QVERIFY(wait->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(wait->windowFlags().testFlag(Qt::FramelessWindowHint));

        f.sim.setDelay("getprolist", 400);
        f.sim.setDelay("getinfo", 1500);
        main->ExecCMD("getprolist", "page=1", 0);
        QVERIFY(wait->isVisible());
        QCOMPARE(wait->Caption(), QStringLiteral("正在获取项目列表，请稍后..."));
        QVERIFY(!main->PageControl()->isEnabled());
        QVERIFY(main->TopCheck()->isEnabled());
        const QRect outer = main->frameGeometry();
        QCOMPARE(wait->frameGeometry().topLeft(),
                 QPoint(outer.left() + (outer.width() - wait->frameGeometry().width()) / 2,
                        outer.top() + (outer.height() - wait->frameGeometry().height()) / 2));

        // A second command while it is up keeps the first text; the first reply hides it.
        main->ExecCMD("getinfo", "pid=1&num=1", 0);
        QCOMPARE(wait->Caption(), QStringLiteral("正在获取项目列表，请稍后..."));
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), 10000);
        QVERIFY(main->PageControl()->isEnabled());
        QCOMPARE(f.requests("getinfo").size(), 1);

        main->ExecCMD("getfavlist", QString(), 0);
        QCOMPARE(wait->Caption(), QStringLiteral("正在获取已收藏项目，请稍后..."));
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), 10000);
        QTest::qWait(1600);
        main->ExecCMD("setfav", "pid=1&fav=1", 0);
        QCOMPARE(wait->Caption(), QStringLiteral("正在处理，请稍后..."));
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), 10000);

        // The account request shows nothing, yet its reply hides the window.
        f.sim.setDelay("getinfo", 0);
        f.sim.setDelay("getUserInfos", 800);
        main->GetUserInfo();
        QVERIFY(!wait->isVisible());
        main->ExecCMD("getinfo", "pid=1&num=1", 0);
        main->ExecCMD("getinfo", "pid=1&num=1", 0);
        QTRY_VERIFY_WITH_TIMEOUT(!wait->isVisible(), 10000);
    }

    void requestLines()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        const QString session = "&uid=demo&token=" + main->UserInfo().token + "&";
        main->ExecCMD("getprolist", "key=" + EncodeParam("项目&x=1+2#3 %") + "&page=1", 0);
        main->ExecCMD("getfavlist", QString(), 0);
        main->FreeNum(QString());
        main->IgnoreMob("12", "138 0");
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("addIgnoreList").size(), 1, 10000);
        // The catalogue may page on its own after the favourites: the first one is ours.
        QTRY_VERIFY_WITH_TIMEOUT(!f.requests("getprolist").isEmpty(), 10000);
        QCOMPARE(f.requests("getprolist").first(),
                 "/http.aspx?action=getprolist" + session + "key=%E9%A1%B9%E7%9B%AE%26x%3D1%2B2%233%20%25&page=1");
        QCOMPARE(f.requests("getfavlist").first(), "/http.aspx?action=getfavlist" + session);
        QCOMPARE(f.requests("ReleaseMobile").first(), "/http.aspx?action=ReleaseMobile" + session + "mobile=");
        QCOMPARE(f.requests("addIgnoreList").first(),
                 "/http.aspx?action=addIgnoreList" + session + "pid=12&mobiles=138%200");
    }

    void commonErrors_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("message");
        QTest::newRow("locked") << "account_is_locked" << "用户已被锁定！";
        QTest::newRow("parameter") << "parameter_error" << "参数错误！";
        QTest::newRow("login") << "login_error" << "登录错误！";
    }
    void commonErrors()
    {
        QFETCH(QString, reply);
        QFETCH(QString, message);
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        main->SetFavLoaded(false);
        f.sim.setNextReplies("getfavpro", {reply.toStdString()});
        main->objfmcode->GetFavProlist(0, QString());
        QTRY_COMPARE_WITH_TIMEOUT(f.messages(), QStringList{message}, 10000);
        QCOMPARE(f.platform.messageBoxes.first().kind, 1);
        QCOMPARE(f.platform.messageBoxes.first().caption, QStringLiteral("提示"));
        // The reply went no further.
        QVERIFY(!main->FavLoaded());
        QVERIFY(main->PageControl()->isEnabled());
    }

    void emptyReplyIsRouted()
    {
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        main->SetFavLoaded(false);
        f.sim.setNextReplies("getfavpro", {""});
        main->objfmcode->GetFavProlist(0, QString());
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        QVERIFY(f.messages().isEmpty());
    }

    void numberReplies_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("refreshes");
        QTest::newRow("released") << "ReleaseMobile" << "OK" << "号码释放成功！" << true;
        QTest::newRow("release lower case") << "ReleaseMobile" << "ok" << "号码释放发生了错误！" << false;
        QTest::newRow("release empty") << "ReleaseMobile" << "" << "号码释放发生了错误！" << false;
        QTest::newRow("blacklisted") << "addIgnoreList" << "3" << "加黑3个号码成功" << true;
        QTest::newRow("blacklisted none") << "addIgnoreList" << "0" << "加黑0个号码成功" << true;
        QTest::newRow("blacklist failed") << "addIgnoreList" << "no" << "加黑号码失败" << false;
        QTest::newRow("blacklist negative") << "addIgnoreList" << "-2" << "加黑号码失败" << false;
    }
    void numberReplies()
    {
        QFETCH(QString, action);
        QFETCH(QString, reply);
        QFETCH(QString, notice);
        QFETCH(bool, refreshes);
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        QTRY_VERIFY_WITH_TIMEOUT(main->FavLoaded(), 10000);
        f.sim.setNextReplies(action.toStdString(), {reply.toStdString()});
        ClearShownNotices();
        if (action == "ReleaseMobile")
            main->FreeNum("13800000000");
        else
            main->IgnoreMob("1", "13800000000");
        QTRY_COMPARE_WITH_TIMEOUT(NoticeTexts(), QStringList{notice}, 10000);
        QCOMPARE(ShownNotices().first().value, 1000);
        QCOMPARE(ShownNotices().first().flag, 1);
        QCOMPARE(ShownNotices().first().owner, main.get());
        if (refreshes)
            QTRY_COMPARE_WITH_TIMEOUT(f.requests("getUserInfos").size(), 2, 10000);
        QTest::qWait(300);
        QCOMPARE(f.requests("getUserInfos").size(), refreshes ? 2 : 1);
    }

    void webPages_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("address");
        QTest::newRow("official site") << "N4" << "";
        QTest::newRow("help") << "N3" << "Col.aspx?cid=1";
        QTest::newRow("api") << "API1" << "list.aspx?cid=2";
        QTest::newRow("contact") << "N5" << "html.aspx?id=3";
        QTest::newRow("recommended") << "N6" << "html.aspx?id=4";
    }
    void webPages()
    {
        QFETCH(QString, item);
        QFETCH(QString, address);
        ShellFixture f;
        auto main = f.start();
        main->findChild<QAction *>(item)->trigger();
        QCOMPARE(f.platform.openedUrls, QStringList{f.platform.baseUrl + address});
    }

    void accountPages_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("page");
        QTest::newRow("recharge") << "N11" << "/User/money.aspx";
        QTest::newRow("funds") << "N14" << "/User/record.aspx";
        QTest::newRow("sms") << "N15" << "/User/message.aspx";
        QTest::newRow("account") << "N16" << "/User/personal.aspx";
    }
    void accountPages()
    {
        QFETCH(QString, item);
        QFETCH(QString, page);
        ShellFixture f;
        auto main = f.start();
        QVERIFY(f.login(*main));
        main->findChild<QAction *>(item)->trigger();
        QCOMPARE(f.platform.openedUrls.size(), 1);
        const QString url = f.platform.openedUrls.first();
        const QString prefix = f.platform.baseUrl + "ref.aspx?q=";
        QVERIFY(url.startsWith(prefix));
        QVERIFY(QRegularExpression("^[0-9A-F]+$").match(url.mid(prefix.size())).hasMatch());
        // The platform deciphers the hand-off and lets the user in.
        QString body;
        QVERIFY(f.fetch(url, &body));
        QVERIFY2(body.contains("用户：demo"), qPrintable(body));
        QVERIFY2(body.contains("页面：" + page), qPrintable(body));
    }

    void handOffText_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("pwd");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty password") << "u1" << "" << "u1||/User/money.aspx";
        QTest::newRow("bar kept") << "a|b" << "c|d" << "a|b|c|d|/User/money.aspx";
        QTest::newRow("outside GBK") << "u" << "p😀" << "u|p?|/User/money.aspx";
    }
    void handOffText()
    {
        QFETCH(QString, user);
        QFETCH(QString, pwd);
        QFETCH(QString, text);
        ShellFixture f;
        auto main = f.start();
        main->UserInfo().user = user;
        main->UserInfo().pwd = pwd;
        main->GoMainUrl("/User/money.aspx");
        const QString hex = f.platform.openedUrls.first().section("?q=", 1);
        QByteArray plain = DesDecryptHex(hex.toLatin1(), "tv9pxe6j");
        while (plain.endsWith('\0'))
            plain.chop(1);
        QCOMPARE(FromAnsi(plain), text);
    }

    // A reply due after its window is gone must not reach it.
    void windowGoneWhileWorkerOut()
    {
        ShellFixture f;
        {
            auto main = f.start();
            QVERIFY(f.login(*main));
            f.sim.setDelay("getUserInfos", 400);
            f.sim.setDelay("getinfo", 400);
            main->GetUserInfo();
            main->ExecCMD("getinfo", "pid=1&num=1", 0);
        }
        QTRY_COMPARE_WITH_TIMEOUT(f.requests("getinfo").size(), 1, 10000);
        // Past the delayed replies' arrival: nothing reached the destroyed window.
        QTest::qWait(900);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
