// The platform's commands as a client sees them, through real HTTP.
#include "SimHttp.h"
#include "SimServer.h"

#include <QRegularExpression>
#include <QTest>


class TestSimProtocol : public QObject
{
    Q_OBJECT

private:
    SimServer server;
    std::string token;

    QString command(const std::string &action, const std::string &params = "")
    {
        return SimHttp::get(server.port(), "/http.aspx?action=" + action + "&uid=demo&token=" + token + "&" + params).text();
    }
    QStringList takeNumbers(int pid, int size, int several = 0)
    {
        const QString reply = command("getinfo", "pid=" + std::to_string(pid) + "&lock=" + std::to_string(several)
                                                     + "&size=" + std::to_string(size) + "&mobile=");
        const QStringList parts = reply.split('|');
        return parts.size() == 2 ? parts[0].split(';') : QStringList();
    }
    QString poll(int pid, const QString &mobile)
    {
        return command("getVcodeAndHoldMobilenum", "pid=" + std::to_string(pid) + "&mobile=" + mobile.toStdString());
    }

private slots:
    void initTestCase() { QVERIFY(server.start()); }

    void init()
    {
        server.resetToSeed();
        token = server.startSession("demo");
        QVERIFY(!token.empty());
    }

    void login_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected"); // a pattern
        QTest::newRow("right password") << "uid=demo&pwd=demo123" << "^OK\\|[0-9a-f]{32}$";
        QTest::newRow("wrong password") << "uid=demo&pwd=demo124" << "^login_error$";
        QTest::newRow("empty password") << "uid=demo&pwd=" << "^login_error$";
        QTest::newRow("unknown user") << "uid=nobody&pwd=demo123" << "^login_error$";
        QTest::newRow("locked account") << "uid=locked&pwd=locked123" << "^account_is_locked$";
        QTest::newRow("locked, wrong password") << "uid=locked&pwd=x" << "^login_error$";
        QTest::newRow("no password") << "uid=demo" << "^parameter_error$";
        QTest::newRow("no user") << "pwd=demo123" << "^parameter_error$";
        QTest::newRow("empty user") << "uid=&pwd=demo123" << "^parameter_error$";
        QTest::newRow("question mark in a value") << "uid=demo&pwd=demo123?" << "^login_error$";
    }
    void login()
    {
        QFETCH(QString, query);
        QFETCH(QString, expected);
        const QString reply = SimHttp::get(server.port(), "/http.aspx?action=loginIn&" + query.toStdString()).text();
        QVERIFY2(QRegularExpression(expected).match(reply).hasMatch(), qPrintable(reply));
    }

    void loginIssuesTheSessionToken()
    {
        const QString reply = SimHttp::get(server.port(), "/http.aspx?action=loginIn&uid=demo&pwd=demo123").text();
        const std::string issued = reply.section('|', 1).toStdString();
        QCOMPARE(server.account("demo").token, issued);
        // The earlier token is over.
        QCOMPARE(command("getUserInfos"), QString("login_error"));
        token = issued;
        QCOMPARE(command("getUserInfos"), QString("demo;1280;100.00;10"));
    }

    void sessionIsChecked_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *action : {"getUserInfos", "getfavpro", "getinfo", "getVcodeAndHoldMobilenum", "ReleaseMobile",
                                   "addIgnoreList", "sendSms", "getSmsStatus", "getfavlist", "getprolist", "setfav"})
            QTest::newRow(action) << action;
    }
    void sessionIsChecked()
    {
        QFETCH(QString, action);
        const std::string base = "/http.aspx?action=" + action.toStdString();
        QCOMPARE(SimHttp::get(server.port(), base + "&uid=demo&token=").text(), QString("login_error"));
        QCOMPARE(SimHttp::get(server.port(), base + "&uid=demo").text(), QString("login_error"));
        QCOMPARE(SimHttp::get(server.port(), base + "&uid=demo&token=0123").text(), QString("login_error"));
        QCOMPARE(SimHttp::get(server.port(), base + "&uid=poor&token=" + token).text(), QString("login_error"));
        server.setLocked("demo", true);
        QCOMPARE(SimHttp::get(server.port(), base + "&uid=demo&token=" + token).text(), QString("account_is_locked"));
    }

    void parameterErrors_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("params");
        QTest::newRow("unknown command") << "getVcodeAndReleaseMobile" << "pid=1&mobile=1";
        QTest::newRow("getfavpro bad type") << "getfavpro" << "type=2&key=";
        QTest::newRow("getfavpro no key") << "getfavpro" << "type=0";
        QTest::newRow("getinfo bad pid") << "getinfo" << "pid=abc&lock=0&size=1&mobile=";
        QTest::newRow("getinfo pid with blank") << "getinfo" << "pid=1%20&lock=0&size=1&mobile=";
        QTest::newRow("getinfo size 0") << "getinfo" << "pid=1&lock=0&size=0&mobile=";
        QTest::newRow("getinfo huge size") << "getinfo" << "pid=1&lock=0&size=99999999999999&mobile=";
        QTest::newRow("getinfo lock 2") << "getinfo" << "pid=1&lock=2&size=1&mobile=";
        QTest::newRow("getinfo no mobile") << "getinfo" << "pid=1&lock=0&size=1";
        QTest::newRow("poll no mobile") << "getVcodeAndHoldMobilenum" << "pid=1&mobile=";
        QTest::newRow("poll bad pid") << "getVcodeAndHoldMobilenum" << "pid=%zz&mobile=13000000000";
        QTest::newRow("release no mobile") << "ReleaseMobile" << "";
        QTest::newRow("blacklist bad pid") << "addIgnoreList" << "pid=x&mobiles=13000000000";
        QTest::newRow("blacklist no numbers") << "addIgnoreList" << "pid=1&mobiles=";
        QTest::newRow("send no content") << "sendSms" << "pid=4&mobile=13000000000&recv=10690000888&content=";
        QTest::newRow("send no recv") << "sendSms" << "pid=4&mobile=13000000000&content=hi";
        QTest::newRow("status no pid") << "getSmsStatus" << "pid=&mobile=13000000000";
        QTest::newRow("list page size 0") << "getprolist" << "pagesize=0&ipageno=1&protype=0&keystr=&favtype=0";
        QTest::newRow("list page 0") << "getprolist" << "pagesize=15&ipageno=0&protype=0&keystr=&favtype=0";
        QTest::newRow("list type 4") << "getprolist" << "pagesize=15&ipageno=1&protype=4&keystr=&favtype=0";
        QTest::newRow("list no key") << "getprolist" << "pagesize=15&ipageno=1&protype=0&favtype=0";
        QTest::newRow("setfav bad operation") << "setfav" << "favtype=3&pid=1";
        QTest::newRow("setfav bad id") << "setfav" << "favtype=0&pid=1,x";
        QTest::newRow("setfav no id") << "setfav" << "favtype=0&pid=";
    }
    void parameterErrors()
    {
        QFETCH(QString, action);
        QFETCH(QString, params);
        QCOMPARE(command(action.toStdString(), params.toStdString()), QString("parameter_error"));
        QCOMPARE(server.favourites("demo").size(), size_t(8)); // nothing changed
        QVERIFY(server.heldNumbers("demo").empty());
    }

    void accountLine()
    {
        QCOMPARE(command("getUserInfos"), QString("demo;1280;100.00;10"));
        server.setBalance("demo", 5);
        server.setNumberLimit("demo", 25);
        QCOMPARE(command("getUserInfos"), QString("demo;1280;0.05;25"));
    }

    void favouriteProjects()
    {
        const QStringList lines = command("getfavpro", "type=0&key=").split("\r\n");
        QCOMPARE(lines.value(0), QString("8"));
        QCOMPARE(lines.size(), 9);
        for (const QString &line : lines.mid(1))
            QCOMPARE(line.split('`').size(), 9);
        // Receive-only: empty recipient list, still followed by a ninth field.
        const QStringList receiveOnly = lines[1].split('`');
        QCOMPARE(receiveOnly.mid(0, 6), QStringList({"1", "云购商城", "http://www.yungou-mall.cn/reg", "0.50", "0", "1"}));
        QCOMPARE(receiveOnly[7], QString());
        QVERIFY(!receiveOnly[8].isEmpty());
        QCOMPARE(lines[4].split('`')[7], QString("10690000888,10690000999"));

        const QStringList found = command("getfavpro", "type=1&key=%E9%82%AE%E7%AE%B1").split("\r\n"); // 邮箱
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0], QString("1"));
        QVERIFY(found[1].startsWith("6`邮箱验证`"));
        QCOMPARE(command("getfavpro", "type=1&key=nothing"), QString("0"));
    }

    void numbersAndSms()
    {
        const QStringList numbers = takeNumbers(1, 2);
        QCOMPARE(numbers.size(), 2);
        QCOMPARE(server.heldNumbers("demo").size(), size_t(2));
        QCOMPARE(poll(1, numbers[0]), QString("not_receive"));

        server.deliverSms(numbers[0].toStdString(), "【云购商城】您的验证码是123456，5分钟内有效。");
        QCOMPARE(poll(1, numbers[0]), numbers[0] + "|【云购商城】您的验证码是123456，5分钟内有效。");
        QCOMPARE(poll(1, numbers[0]), QString("not_receive"));
        QCOMPARE(server.account("demo").balanceCents, 10000 - 50); // charged when the code came

        QCOMPARE(poll(2, numbers[0]), QString("no_data")); // held for another project
        QCOMPARE(command("ReleaseMobile", "mobile=" + numbers[0].toStdString()), QString("OK"));
        QCOMPARE(command("ReleaseMobile", "mobile=" + numbers[0].toStdString()), QString("no_data"));
        QCOMPARE(poll(1, numbers[0]), QString("no_data"));
        QCOMPARE(server.heldNumbers("demo"), std::vector<std::string>{numbers[1].toStdString()});
        QCOMPARE(command("ReleaseMobile", "mobile="), QString("OK"));
        QVERIFY(server.heldNumbers("demo").empty());
        QCOMPARE(command("ReleaseMobile", "mobile="), QString("OK"));
    }

    void numberRefusals()
    {
        QCOMPARE(command("getinfo", "pid=8&lock=0&size=1&mobile="), QString("no_data"));   // ran dry
        QCOMPARE(command("getinfo", "pid=999&lock=0&size=1&mobile="), QString("message|项目不存在"));
        QCOMPARE(command("getinfo", "pid=16&lock=0&size=1&mobile="), QString("message|项目正在审核中，暂时不能获取号码"));
        server.setNumberLimit("demo", 3);
        QCOMPARE(takeNumbers(1, 10).size(), 3); // only as many as the limit leaves
        QCOMPARE(command("getinfo", "pid=1&lock=0&size=1&mobile="), QString("max_count_disable"));
        command("ReleaseMobile", "mobile=");
        server.setBalance("demo", 49);
        QCOMPARE(command("getinfo", "pid=1&lock=0&size=1&mobile="), QString("message|余额不足，请先充值"));
    }

    void automaticSms()
    {
        server.setProjectDelivery(1, 0);
        const QString single = takeNumbers(1, 1).value(0);
        const QString reply = poll(1, single);
        QVERIFY2(QRegularExpression("^" + single + "\\|[^|`\\r\\n]*\\d{4,6}").match(reply).hasMatch(), qPrintable(reply));
        QCOMPARE(poll(1, single), QString("not_receive")); // one SMS without lock=1

        const QString several = takeNumbers(1, 1, 1).value(0);
        QVERIFY(poll(1, several).startsWith(several + "|"));
        QVERIFY(poll(1, several).startsWith(several + "|"));
        QCOMPARE(server.account("demo").balanceCents, 10000 - 3 * 50);

        server.setSmsDelay(0);
        const QString never = takeNumbers(7, 1).value(0); // a project that never delivers
        QCOMPARE(poll(7, never), QString("not_receive"));
    }

    void blacklist()
    {
        const QString mobile = takeNumbers(1, 1).value(0);
        QCOMPARE(command("addIgnoreList", "pid=1&mobiles=" + mobile.toStdString()), QString("1"));
        QVERIFY(server.heldNumbers("demo").empty()); // blacklisting lets the number go
        QCOMPARE(command("addIgnoreList", "pid=1&mobiles=" + mobile.toStdString() + ",abc"), QString("0"));
        QCOMPARE(command("getinfo", "pid=1&lock=0&size=1&mobile=" + mobile.toStdString()), QString("no_data"));
        QCOMPARE(command("addIgnoreList", "pid=999&mobiles=13000000000"), QString("message|项目不存在"));
    }

    void sending_data()
    {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("recv");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("ends in succ") << 6 << "10690000888" << "succ";
        QTest::newRow("ends in fail") << 4 << "10690000999" << "fail";
    }
    void sending()
    {
        QFETCH(int, pid);
        QFETCH(QString, recv);
        QFETCH(QString, outcome);
        const std::string p = "pid=" + std::to_string(pid);
        const std::string mobile = takeNumbers(pid, 1).value(0).toStdString();
        QCOMPARE(command("getSmsStatus", p + "&mobile=" + mobile), QString("no_data"));
        QCOMPARE(command("sendSms", p + "&mobile=" + mobile + "&recv=1&content=x"), QString("message|接收号码不正确"));
        QCOMPARE(command("sendSms", p + "&mobile=" + mobile + "&recv=" + recv.toStdString() + "&content=%E5%BC%80%E9%80%9A"),
                 QString("OK"));
        QCOMPARE(command("getSmsStatus", p + "&mobile=" + mobile), QString("sending"));
        QCOMPARE(command("getSmsStatus", p + "&mobile=" + mobile), QString("sending"));
        QCOMPARE(command("getSmsStatus", p + "&mobile=" + mobile), outcome);
        QCOMPARE(command("getSmsStatus", p + "&mobile=" + mobile), outcome);
    }

    void sendingRefusals()
    {
        const std::string receiver = takeNumbers(1, 1).value(0).toStdString();
        QCOMPARE(command("sendSms", "pid=1&mobile=" + receiver + "&recv=&content=x"), QString("message|该项目不支持发送短信"));
        QCOMPARE(command("sendSms", "pid=5&mobile=13000000000&recv=1069012345&content=x"),
                 QString("message|号码不存在或已释放"));
    }

    void projectList_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("rows");
        QTest::newRow("first page") << "pagesize=15&ipageno=1&protype=0&keystr=&favtype=0" << "36" << 15;
        QTest::newRow("last page") << "pagesize=15&ipageno=3&protype=0&keystr=&favtype=0" << "36" << 6;
        QTest::newRow("beyond the end") << "pagesize=15&ipageno=9&protype=0&keystr=&favtype=0" << "36" << 0;
        QTest::newRow("receiving") << "pagesize=15&ipageno=1&protype=1&keystr=&favtype=0" << "30" << 15;
        QTest::newRow("sending") << "pagesize=15&ipageno=1&protype=2&keystr=&favtype=0" << "3" << 3;
        QTest::newRow("both") << "pagesize=15&ipageno=1&protype=3&keystr=&favtype=0" << "3" << 3;
        QTest::newRow("favourites") << "pagesize=15&ipageno=1&protype=0&keystr=&favtype=1" << "8" << 8;
        QTest::newRow("keyword") << "pagesize=15&ipageno=1&protype=0&keystr=%E6%B3%A8%E5%86%8C&favtype=0" << "1" << 1;
        QTest::newRow("id as keyword") << "pagesize=15&ipageno=1&protype=0&keystr=12&favtype=0" << "1" << 1;
        QTest::newRow("no match") << "pagesize=15&ipageno=1&protype=0&keystr=zzz&favtype=0" << "0" << 0;
    }
    void projectList()
    {
        QFETCH(QString, params);
        QFETCH(QString, total);
        QFETCH(int, rows);
        const QStringList lines = command("getprolist", params.toStdString()).split("\r\n");
        QCOMPARE(lines[0], total);
        QCOMPARE(lines.size() - 1, rows);
        for (const QString &line : lines.mid(1)) {
            const QStringList fields = line.split('`');
            QCOMPARE(fields.size(), 6);
            QVERIFY(QStringList({"0", "1", "2"}).contains(fields[4]));
            QVERIFY(QRegularExpression("^\\d+\\.\\d\\d$").match(fields[3]).hasMatch());
        }
    }

    void favouriteChanges()
    {
        QCOMPARE(command("getfavlist"), QString("OK|1,2,3,4,5,6,7,8,"));
        QCOMPARE(command("setfav", "favtype=0&pid=12,9,999"), QString("OK|1,2,3,4,5,6,7,8,9,12,"));
        QCOMPARE(command("setfav", "favtype=1&pid=1,2,3,4,5,6,7,8"), QString("OK|9,12,"));
        QCOMPARE(command("setfav", "favtype=1&pid=9,12"), QString("OK|,"));
        QCOMPARE(command("getfavlist"), QString("null"));
        QCOMPARE(command("getfavpro", "type=0&key="), QString("0"));
    }

    void valuesAreDecodedOnce()
    {
        const std::string mobile = takeNumbers(1, 1).value(0).toStdString();
        // Over the control surface, as a script would: "+" stays a plus, %25 becomes "%" once.
        const auto delivered = SimHttp::get(server.port(), "/sim/deliver?mobile=" + mobile + "&text=a+b%2526c%20d%E7%A0%81");
        QCOMPARE(delivered.status, 200);
        QCOMPARE(poll(1, QString::fromStdString(mobile)), QString::fromStdString(mobile) + "|a+b%26c d码");
    }

    void logKeepsTargetsAsReceived()
    {
        server.clearRequestLog();
        const std::string target = "/http.aspx?action=getfavpro&uid=demo&token=" + token + "&type=1&key=%e9%82%ae+x%2B";
        SimHttp::get(server.port(), target);
        SimHttp::get(server.port(), "/sim/log"); // control requests are not logged
        QCOMPARE(server.requestLog(), std::vector<std::string>{target});
    }
};

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_simprotocol.moc"
