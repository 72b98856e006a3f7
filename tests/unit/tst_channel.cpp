// The channel's URL encoding and the HTTP worker's transport rules, against a small local
// HTTP server that serves exactly the replies each case needs.
#include "channel/GetHttp.h"
#include "channel/UrlEncode.h"
#include "common/Ansi.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <QUrl>
#include <QUrlQuery>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <thread>

namespace {

// A small HTTP/1.0 server on loopback that answers /reply?status=..&type=..&body=..&size=..
// &sleep=.. as asked and records the raw request targets.
class ReplyServer
{
public:
    ReplyServer()
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(listener, reinterpret_cast<sockaddr *>(&addr), len);
        ::listen(listener, 16);
        ::getsockname(listener, reinterpret_cast<sockaddr *>(&addr), &len);
        port = ntohs(addr.sin_port);
        thread = std::thread([this] { Serve(); });
    }
    ~ReplyServer()
    {
        ::shutdown(listener, SHUT_RDWR);
        ::close(listener);
        thread.join();
        for (std::thread &t : handlers)
            t.join();
    }
    QString url(const QString &query) const
    {
        return QStringLiteral("http://127.0.0.1:%1/reply?%2").arg(port).arg(query);
    }
    QStringList received()
    {
        std::lock_guard lock(mutex);
        return targets;
    }

private:
    void Serve()
    {
        for (;;) {
            const int client = ::accept(listener, nullptr, nullptr);
            if (client < 0)
                return;
            handlers.emplace_back([this, client] { Answer(client); });
        }
    }

    void Answer(int client)
    {
        QByteArray request;
        char buffer[4096];
        while (!request.contains("\r\n\r\n")) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, n);
        }
        const QByteArray target = request.split(' ').value(1);
        {
            std::lock_guard lock(mutex);
            targets << QString::fromLatin1(target);
        }
        const QUrlQuery query(QUrl(QString::fromLatin1(target)).query(QUrl::FullyEncoded));
        auto value = [&query](const char *name) {
            return query.queryItemValue(QLatin1String(name), QUrl::FullyDecoded);
        };
        QByteArray body = query.hasQueryItem("body") ? value("body").toUtf8() : "OK";
        if (body == "gbk")
            body = ToAnsi(u"项目");
        if (query.hasQueryItem("size"))
            body = QByteArray(value("size").toInt(), 'x');
        if (query.hasQueryItem("sleep"))
            std::this_thread::sleep_for(std::chrono::milliseconds(value("sleep").toInt()));
        const QString status = query.hasQueryItem("status") ? value("status") : QStringLiteral("200");
        const QString type = query.hasQueryItem("type") ? value("type") : QStringLiteral("text/plain");
        const QByteArray reply = QStringLiteral("HTTP/1.0 %1 X\r\nContent-Type: %2\r\n"
                                                "Content-Length: %3\r\nConnection: close\r\n\r\n")
                                     .arg(status, type).arg(body.size()).toLatin1() + body;
        for (qsizetype sent = 0; sent < reply.size();) {
            const ssize_t n = ::send(client, reply.constData() + sent, size_t(reply.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += n;
        }
        ::close(client);
    }

    int listener = -1;
    int port = 0;
    std::thread thread;
    std::vector<std::thread> handlers;
    std::mutex mutex;
    QStringList targets;
};

struct Result
{
    bool done = false;
    QString sRtn;
    QString cmd;
};

// Runs one request and waits for its completion on this thread.
Result Fetch(const QString &url, qint32 isleep = 0)
{
    QObject context;
    Result result;
    auto *worker = new TGetHttp(QStringLiteral("cmd"), url, isleep);
    worker->Start(&context, [&result](TGetHttp *done) {
        result = {true, done->sRtn, done->APICMD};
    });
    if (!QTest::qWaitFor([&] { return result.done; }, 10000))
        return {};
    return result;
}

} // namespace

class TestChannel : public QObject
{
    Q_OBJECT
private slots:
    void encodeUrl_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("encoded");
        const QString base = QStringLiteral("http://h/http.aspx?");
        QTest::newRow("plain") << base + "action=a&uid=u" << base + "action=a&uid=u";
        QTest::newRow("chinese") << base + "key=项目" << base + "key=%E9%A1%B9%E7%9B%AE";
        QTest::newRow("separators pass") << base + "a=1&b=+/?=" << base + "a=1&b=+/?=";
        QTest::newRow("specials") << base + "a=*<>\"{}|\\^[]`" << base + "a=%2A%3C%3E%22%7B%7D%7C%5C%5E%5B%5D%60";
        QTest::newRow("blank and control") << base + "a=x y\tz" << base + "a=x%20y%09z";
        QTest::newRow("fragment dropped") << base + "a=1#frag&b=2" << base + "a=1";
        QTest::newRow("lone percent") << base + "a=50%" << base + "a=50%25";
        QTest::newRow("percent not an escape") << base + "a=%zz" << base + "a=%25zz";
        QTest::newRow("existing escape kept") << base + "a=%E9%a1" << base + "a=%E9%a1";
        QTest::newRow("outside BMP") << base + "a=😀" << base + "a=%F0%9F%98%80";
        QTest::newRow("no query") << QStringLiteral("http://h/项目") << QStringLiteral("http://h/项目");
        QTest::newRow("only first ? splits") << base + "a=?b c" << base + "a=?b%20c";
    }
    void encodeUrl()
    {
        QFETCH(QString, url);
        QFETCH(QString, encoded);
        QCOMPARE(EncodeUrl(url), encoded);
    }

    void encodeParam_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("unreserved") << "Az09-._~" << "Az09-._~";
        QTest::newRow("separators") << "a&b=c+d#e%f" << "a%26b%3Dc%2Bd%23e%25f";
        QTest::newRow("chinese") << "项目" << "%E9%A1%B9%E7%9B%AE";
        QTest::newRow("blank slash") << "a b/c" << "a%20b%2Fc";
        QTest::newRow("empty") << "" << "";
    }
    void encodeParam()
    {
        QFETCH(QString, value);
        QFETCH(QString, encoded);
        QCOMPARE(EncodeParam(value), encoded);
        // The channel's pass leaves an encoded value alone.
        QCOMPARE(EncodeUrl("http://h/?v=" + encoded), "http://h/?v=" + encoded);
    }

    void reply_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("sRtn");
        QTest::newRow("ok") << "body=OK%7Ctok" << "OK|tok";
        QTest::newRow("utf8 without charset") << "body=%E9%A1%B9" << "项";
        QTest::newRow("gbk without charset") << "body=gbk" << "项目";
        QTest::newRow("gbk named") << "body=gbk&type=text/plain;%20charset=GBK" << "项目";
        QTest::newRow("gb2312 named") << "body=gbk&type=text/plain;charset=gb2312" << "项目";
        QTest::newRow("utf8 named") << "body=%E9%A1%B9&type=text/plain;%20charset=%22utf-8%22" << "项";
        QTest::newRow("unknown charset") << "body=a&type=text/plain;charset=nonesuch" << "";
        QTest::newRow("not found") << "status=404&body=login_error" << "";
        QTest::newRow("server error") << "status=500&body=x" << "";
        QTest::newRow("no content") << "status=204" << "";
        QTest::newRow("redirect not followed") << "status=302&body=x" << "";
        QTest::newRow("exactly 1 MiB") << "size=1048576" << QString(1048576, u'x');
        QTest::newRow("over 1 MiB") << "size=1048577" << "";
        QTest::newRow("empty body") << "body=" << "";
    }
    void reply()
    {
        QFETCH(QString, query);
        QFETCH(QString, sRtn);
        ReplyServer server;
        const Result result = Fetch(server.url(query));
        QVERIFY(result.done);
        QCOMPARE(result.cmd, QStringLiteral("cmd"));
        QCOMPARE(result.sRtn.size(), sRtn.size());
        QCOMPARE(result.sRtn, sRtn);
    }

    void requestTargetUnchanged()
    {
        ReplyServer server;
        const QString query = QStringLiteral("body=a&k=%E9%A1%B9&p=a+b/c?d=%2B&e=%7C");
        QVERIFY(Fetch(server.url(query) + QStringLiteral("#dropped")).done);
        QCOMPARE(server.received(), QStringList{QStringLiteral("/reply?") + query});
    }

    void connectionRefused()
    {
        int port = 0;
        {
            ReplyServer gone;
            port = QUrl(gone.url({})).port();
        }
        const Result result = Fetch(QStringLiteral("http://127.0.0.1:%1/reply").arg(port));
        QVERIFY(result.done);
        QVERIFY(result.sRtn.isEmpty());
    }

    void sleepsBeforeRequest()
    {
        ReplyServer server;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(Fetch(server.url("body=x"), 300).sRtn, QStringLiteral("x"));
        QVERIFY(timer.elapsed() >= 300);
    }

    void severalAtOnce()
    {
        ReplyServer server;
        QObject context;
        QStringList replies;
        for (int i = 0; i < 8; ++i) {
            auto *worker = new TGetHttp(QString::number(i), server.url(QStringLiteral("body=%1&sleep=%2").arg(i).arg((8 - i) * 20)), 0);
            worker->Start(&context, [&replies](TGetHttp *done) {
                QCOMPARE(done->sRtn, done->APICMD);
                replies << done->sRtn;
            });
        }
        QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 8, 10000);
        // Handled as they finish: the slowest went out first.
        QCOMPARE(replies.first(), QStringLiteral("7"));
    }

    void destroyedContextHearsNothing()
    {
        ReplyServer server;
        bool called = false;
        {
            QObject context;
            auto *worker = new TGetHttp(QStringLiteral("cmd"), server.url("sleep=200"), 0);
            worker->Start(&context, [&called](TGetHttp *) { called = true; });
        }
        // A later request on the same thread finishes after the first one's reply was due.
        QCOMPARE(Fetch(server.url("sleep=400")).sRtn, QStringLiteral("OK"));
        QVERIFY(!called);
    }

    // Last: the shutdown flag stays set for the rest of the process.
    void shutdownAbortsTransfers()
    {
        ReplyServer server;
        QObject context;
        bool called = false;
        auto *worker = new TGetHttp(QStringLiteral("cmd"), server.url("size=100&sleep=3000"), 0);
        worker->Start(&context, [&called](TGetHttp *) { called = true; });
        auto *sleeper = new TGetHttp(QStringLiteral("cmd"), server.url("body=x"), 60000);
        sleeper->Start(&context, [&called](TGetHttp *) { called = true; });
        QTest::qWait(100);
        QElapsedTimer timer;
        timer.start();
        TGetHttp::ShutdownAll(5000);
        QVERIFY2(timer.elapsed() < 2500, "the sleeping worker must wake at once");
        QTest::qWait(50);
        QVERIFY(!called);
    }
};

QTEST_GUILESS_MAIN(TestChannel)
#include "tst_channel.moc"
