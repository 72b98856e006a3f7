// The simulator's control surface, web site, update offer, store and executable.
#include "SimHttp.h"
#include "SimServer.h"

#include "common/Ansi.h"
#include "common/Des.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <set>
#include <thread>

#include <signal.h>

class TestSimControl : public QObject
{
    Q_OBJECT

private:
    SimServer server;
    std::string token;

    SimHttp::Reply command(const std::string &action, const std::string &params = "")
    {
        return SimHttp::get(server.port(), "/http.aspx?action=" + action + "&uid=demo&token=" + token + "&" + params);
    }

private slots:
    void initTestCase() { QVERIFY(server.start()); }

    void init()
    {
        server.resetToSeed();
        token = server.startSession("demo");
    }

    void nextRepliesThenThePlatform()
    {
        server.setNextReplies("getUserInfos", {"x;1", ""});
        QCOMPARE(command("getUserInfos").body, std::string("x;1"));
        QCOMPARE(command("getUserInfos").body, std::string());
        QCOMPARE(command("getUserInfos").body, std::string("demo;1280;100.00;10"));
    }

    void replyForeverUntilCleared()
    {
        server.setReplyForever("getinfo", "no_data");
        server.setNextReplies("getinfo", {"max_count_disable"});
        QCOMPARE(command("getinfo", "pid=1&lock=0&size=1&mobile=").body, std::string("max_count_disable"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(command("getinfo", "pid=1&lock=0&size=1&mobile=").body, std::string("no_data"));
        QVERIFY(server.heldNumbers("demo").empty()); // a scripted reply does not run the command
        server.clearReplies("getinfo");
        QVERIFY(command("getinfo", "pid=1&lock=0&size=1&mobile=").body.find('|') != std::string::npos);
    }

    void delayDropAndStatus()
    {
        server.setDelay("getUserInfos", 300);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(command("getUserInfos").body, std::string("demo;1280;100.00;10"));
        QVERIFY(clock.elapsed() >= 300);
        server.setDelay("getUserInfos", 0);

        server.dropConnection("getUserInfos");
        QVERIFY(!command("getUserInfos").ok);
        server.answerStatus("getUserInfos", 503, 2);
        QCOMPARE(command("getUserInfos").status, 503);
        QCOMPARE(command("getUserInfos").status, 503);
        QCOMPARE(command("getUserInfos").status, 200);
        QCOMPARE(server.requestLog().size(), size_t(5)); // dropped and refused requests are logged too
    }

    void webPathsCanBeFaulted()
    {
        server.answerStatus("/info/info.html", 500);
        QCOMPARE(SimHttp::get(server.port(), "/info/info.html").status, 500);
        QCOMPARE(SimHttp::get(server.port(), "/info/info.html").status, 200);
    }

    void encodings()
    {
        const std::string gbk = ToAnsi(QStringLiteral("message|余额不足，请先充值")).toStdString();
        server.setBalance("demo", 0);
        auto reply = command("getinfo", "pid=1&lock=0&size=1&mobile=");
        QCOMPARE(reply.contentType, std::string("text/plain; charset=utf-8"));
        server.setEncoding("getinfo", SimServer::Encoding::GbkWithCharset);
        reply = command("getinfo", "pid=1&lock=0&size=1&mobile=");
        QCOMPARE(reply.body, gbk);
        QCOMPARE(reply.contentType, std::string("text/plain; charset=gbk"));
        server.setEncoding("getinfo", SimServer::Encoding::GbkWithoutCharset);
        reply = command("getinfo", "pid=1&lock=0&size=1&mobile=");
        QCOMPARE(reply.body, gbk);
        QCOMPARE(reply.contentType, std::string("text/plain"));
    }

    void controlOverHttp()
    {
        const int port = server.port();
        QCOMPARE(SimHttp::get(port, "/sim/reply?action=getUserInfos&text=a%20b&count=2").status, 200);
        QCOMPARE(command("getUserInfos").body, std::string("a b"));
        QCOMPARE(command("getUserInfos").body, std::string("a b"));
        SimHttp::get(port, "/sim/reply?action=getfavlist&text=null&forever=1");
        QCOMPARE(command("getfavlist").body, std::string("null"));
        SimHttp::get(port, "/sim/reply/clear?action=getfavlist");
        QCOMPARE(command("getfavlist").body, std::string("OK|1,2,3,4,5,6,7,8,"));
        SimHttp::get(port, "/sim/status?action=getfavlist&code=404");
        QCOMPARE(command("getfavlist").status, 404);
        SimHttp::get(port, "/sim/drop?action=getfavlist");
        QVERIFY(!command("getfavlist").ok);
        SimHttp::get(port, "/sim/encoding?action=getfavlist&mode=gbk-nocharset");
        QCOMPARE(command("getfavlist").contentType, std::string("text/plain"));

        const auto account = SimHttp::get(port, "/sim/account?uid=demo&balance=1.5&limit=2&locked=1");
        QVERIFY2(account.body.find("\"balance\":\"1.50\",\"maxNumbers\":2,\"locked\":true") != std::string::npos,
                 account.body.c_str());
        QCOMPARE(command("getUserInfos").body, std::string("account_is_locked"));
        QCOMPARE(SimHttp::get(port, "/sim/account?uid=demo&limit=x").status, 400);
        QCOMPARE(SimHttp::get(port, "/sim/deliver?text=x").status, 400);
        QCOMPARE(SimHttp::get(port, "/sim/nothing").status, 404);

        QCOMPARE(SimHttp::get(port, "/sim/log").body.find("/sim/"), std::string::npos);
        QVERIFY(SimHttp::get(port, "/sim/log").body.find("/http.aspx?action=getfavlist&uid=demo") != std::string::npos);
        SimHttp::get(port, "/sim/log/clear");
        QCOMPARE(SimHttp::get(port, "/sim/log").body, std::string());

        SimHttp::get(port, "/sim/reset");
        QCOMPARE(server.account("demo").balanceCents, 10000);
        QCOMPARE(server.account("demo").token, std::string());
    }

    void heldNumbersOverHttp()
    {
        const std::string reply = command("getinfo", "pid=2&lock=0&size=2&mobile=").body;
        QStringList numbers = QString::fromStdString(reply).section('|', 0, 0).split(';');
        QStringList held = QString::fromStdString(SimHttp::get(server.port(), "/sim/held?uid=demo").body).split('\n', Qt::SkipEmptyParts);
        numbers.sort();
        held.sort();
        QCOMPARE(held, numbers);
    }

    void webPages_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("contains");
        QTest::newRow("information page") << "/info/info.html" << 200 << "平台公告";
        QTest::newRow("register") << "/register.aspx" << 200 << "用户注册";
        QTest::newRow("money") << "/User/money.aspx" << 200 << "在线充值";
        QTest::newRow("records") << "/User/record.aspx" << 200 << "资金记录";
        QTest::newRow("messages") << "/User/message.aspx" << 200 << "短信记录";
        QTest::newRow("account") << "/User/personal.aspx" << 200 << "帐号管理";
        QTest::newRow("add project") << "/User/Add_project.aspx" << 200 << "添加项目";
        QTest::newRow("help") << "/Col.aspx?cid=1" << 200 << "帮助文档";
        QTest::newRow("api") << "/list.aspx?cid=2" << 200 << "API接口";
        QTest::newRow("contact") << "/html.aspx?id=3" << 200 << "联系我们";
        QTest::newRow("recommended") << "/html.aspx?id=4" << 200 << "精品推荐";
        QTest::newRow("home") << "/" << 200 << "Talvek";
        QTest::newRow("package file") << "/vostrel.rar" << 200 << "Rar!";
        QTest::newRow("unknown") << "/nothing.aspx" << 404 << "404";
        QTest::newRow("package not offered") << "/download/update.zip" << 404 << "404";
    }
    void webPages()
    {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(QString, contains);
        const auto reply = SimHttp::get(server.port(), target.toStdString());
        QCOMPARE(reply.status, status);
        QVERIFY2(reply.text().contains(contains), reply.body.substr(0, 200).c_str());
    }

    void handOff_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("contains");
        QTest::newRow("money page") << "demo|demo123|/User/money.aspx" << 200 << "用户：demo</p>\n<p id=\"page\">页面：/User/money.aspx";
        QTest::newRow("wrong password") << "demo|x|/User/money.aspx" << 403 << "用户名或密码错误";
        QTest::newRow("empty password") << "demo||/User/money.aspx" << 403 << "用户名或密码错误";
        QTest::newRow("locked account") << "locked|locked123|/User/record.aspx" << 403 << "用户名或密码错误";
        QTest::newRow("two fields") << "demo|demo123" << 403 << "无效的登录链接";
        QTest::newRow("page in GBK") << "demo|demo123|/User/帮助.aspx" << 200 << "页面：/User/帮助.aspx";
        QTest::newRow("markup in the page") << "demo|demo123|/<b>" << 200 << "页面：/&lt;b&gt;";
    }
    void handOff()
    {
        QFETCH(QString, text);
        QFETCH(int, status);
        QFETCH(QString, contains);
        const QByteArray hex = DesEncryptHex(ToAnsi(text), "tv9pxe6j");
        const auto reply = SimHttp::get(server.port(), "/ref.aspx?q=" + hex.toStdString());
        QCOMPARE(reply.status, status);
        QVERIFY2(reply.text().contains(contains), reply.body.c_str());
    }

    void updateOffer()
    {
        const std::string check = "/client.aspx?v=1.12&t=0&u=";
        QCOMPARE(SimHttp::get(server.port(), check).body, std::string());

        SimServer::UpdateOffer offer;
        offer.packageBytes = 102399;
        server.offerUpdate(offer);
        QCOMPARE(SimHttp::get(server.port(), check + "1.0.0.0").body, server.packageUrl() + "`");
        const auto package = SimHttp::get(server.port(), "/download/update.zip");
        QCOMPARE(package.body.size(), size_t(102399));
        QCOMPARE(package.body.substr(0, 4), std::string("PK\x03\x04", 4));

        offer.packageBytes = 102400;
        offer.packageFiles = {{"Talvek.bin", "new client"}};
        offer.withUpdater = true;
        offer.updaterFiles = {{"update.exe", "updater v2"}, {"lang/zh.txt", "中文"}};
        server.offerUpdate(offer);
        QCOMPARE(SimHttp::get(server.port(), check).body, server.packageUrl() + "`" + server.updaterUrl());
        QCOMPARE(SimHttp::get(server.port(), "/download/update.zip").body.size(), size_t(102400));
        const std::string updater = SimHttp::get(server.port(), "/download/up.zip").body;
        QVERIFY(updater.find("updater v2") != std::string::npos);
        QVERIFY(updater.find("lang/zh.txt") != std::string::npos);
        QCOMPARE(updater.substr(updater.size() - 22, 4), std::string("PK\x05\x06", 4));

        server.withdrawUpdate();
        QCOMPARE(SimHttp::get(server.port(), check).body, std::string());
        QCOMPARE(SimHttp::get(server.port(), "/download/up.zip").status, 404);
    }

    void updateOfferOverHttp()
    {
        QCOMPARE(SimHttp::get(server.port(), "/sim/update?size=150000&updater=1").body,
                 server.packageUrl() + "`" + server.updaterUrl() + "\n");
        QCOMPARE(SimHttp::get(server.port(), "/download/update.zip").body.size(), size_t(150000));
        QVERIFY(SimHttp::get(server.port(), "/download/up.zip").body.find("update.exe") != std::string::npos);
        SimHttp::get(server.port(), "/sim/update/withdraw");
        QCOMPARE(SimHttp::get(server.port(), "/client.aspx?v=1.12&t=0&u=").body, std::string());
    }

    void malformedRequestsNeverHurt()
    {
        const char *targets[] = {"/http.aspx", "/http.aspx?", "/http.aspx?&&&", "/http.aspx?action", "/http.aspx?action=",
                                 "/http.aspx?action=getinfo&uid=demo&token=%", "/http.aspx?%00=%00&action=%FF%FE",
                                 "/http.aspx?action=getinfo&uid=demo&token=x&pid=1&pid=2", "/ref.aspx", "/ref.aspx?q=zz",
                                 "/ref.aspx?q=0123456789ABCDEF", "/sim/update?size=-5", "/sim/reply?action=x&text=y&count=-3"};
        for (const char *target : targets) {
            const auto reply = SimHttp::get(server.port(), target);
            QVERIFY2(reply.ok && reply.status < 500, target);
        }
        QCOMPARE(SimHttp::get(server.port(), "/http.aspx?action=&uid=demo&token=" + token).body, std::string("parameter_error"));
        QCOMPARE(command("getUserInfos").body, std::string("demo;1280;100.00;10"));
    }

    void concurrentClients()
    {
        server.setNumberLimit("demo", 6);
        server.setProjectDelivery(1, 0);
        std::atomic<int> unexpected{0};
        std::vector<std::thread> clients;
        for (int c = 0; c < 12; ++c) {
            clients.emplace_back([&, c] {
                for (int i = 0; i < 30; ++i) {
                    const std::string reply = command("getinfo", "pid=1&lock=1&size=2&mobile=").body;
                    if (reply != "max_count_disable" && reply.find('|') == std::string::npos)
                        ++unexpected;
                    const std::string mobile = reply.substr(0, std::min(reply.find('|'), reply.find(';')));
                    const std::string sms = command("getVcodeAndHoldMobilenum", "pid=1&mobile=" + mobile).body;
                    if (sms.empty())
                        ++unexpected;
                    if (command("ReleaseMobile", "mobile=" + (c % 4 == 0 ? std::string() : mobile)).body.empty())
                        ++unexpected;
                }
            });
        }
        for (auto &client : clients)
            client.join();
        QCOMPARE(unexpected.load(), 0);
        QVERIFY(server.heldNumbers("demo").size() <= 6);
        command("ReleaseMobile", "mobile=");
        QVERIFY(server.heldNumbers("demo").empty());
        QCOMPARE(server.requestLog().size(), size_t(12 * 30 * 3 + 1));
    }

    void fileStoreKeepsStateAcrossRestarts()
    {
        QTemporaryDir folder;
        SimServer::Options options;
        options.dbPath = folder.filePath("sim.db").toStdString();
        {
            SimServer first(options);
            QVERIFY(first.start());
            first.setBalance("demo", 1234);
            first.stop();
        }
        {
            SimServer second(options);
            QVERIFY(second.start());
            QCOMPARE(second.account("demo").balanceCents, 1234);
        }
        options.reset = true;
        SimServer third(options);
        QVERIFY(third.start());
        QCOMPARE(third.account("demo").balanceCents, 10000);

        SimServer::Options broken;
        broken.dbPath = folder.filePath("missing/folder/sim.db").toStdString();
        QVERIFY(!SimServer(broken).start());
        SimServer::Options taken;
        taken.port = third.port();
        QVERIFY(!SimServer(taken).start());
    }

    void startsAndStopsAgain()
    {
        SimServer other;
        QVERIFY(other.start());
        const int port = other.port();
        QVERIFY(port > 0);
        QCOMPARE(other.baseUrl(), "http://127.0.0.1:" + std::to_string(port) + "/");
        other.setDelay("getUserInfos", 60000);
        std::thread waiting([port] { SimHttp::get(port, "/http.aspx?action=getUserInfos"); });
        QTest::qWait(100);
        QElapsedTimer clock;
        clock.start();
        other.stop(); // a delayed request does not hold the stop
        waiting.join();
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(other.start());
        QVERIFY(SimHttp::get(other.port(), "/info/info.html").ok);
    }

    void executable()
    {
        QProcess sim;
        sim.start(TALVEK_BIN_DIR "/talvek-sim", {"--port", "0", "--db", ":memory:"});
        QVERIFY(sim.waitForStarted());
        QString banner;
        QTRY_VERIFY((banner += sim.readAllStandardOutput()).contains("demo / demo123"));
        const auto match = QRegularExpression("http://127\\.0\\.0\\.1:(\\d+)/").match(banner);
        QVERIFY(match.hasMatch());
        const int port = match.captured(1).toInt();
        QVERIFY(SimHttp::get(port, "/http.aspx?action=loginIn&uid=demo&pwd=demo123").body.rfind("OK|", 0) == 0);
        ::kill(static_cast<pid_t>(sim.processId()), SIGTERM);
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);

        QProcess bad;
        bad.start(TALVEK_BIN_DIR "/talvek-sim", {"--port", "x"});
        QVERIFY(bad.waitForFinished(5000));
        QCOMPARE(bad.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSimControl)
#include "tst_simcontrol.moc"
