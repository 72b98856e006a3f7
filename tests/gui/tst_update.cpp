// The self-update inside the client against the simulator: the check's request, the package
// and updater downloads, the failure path and the hand-over to the updater.
#include "SimServer.h"
#include "TestPlatform.h"
#include "common/Ansi.h"
#include "update/GetUpInfo.h"
#include "update/UpdateHandler.h"
#include "update/UpdateHost.h"
#include "update/frmupwin.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QString ExeName = QStringLiteral("客户端.exe");
const QString Failure = QStringLiteral("发现新版本，自动升级失败！请前往官网下载最新版本");

// Stands in for the main window: receives the update's messages and records what it is asked.
class HostWindow : public QWidget, public TUpdateHost
{
public:
    HostWindow() : handler(this, *this) {}

    void HideTrayIcon() override { trayHidden = true; }
    void QuitApplication() override { quitAsked = true; }

    TUpdateHandler handler;
    bool trayHidden = false;
    bool quitAsked = false;

protected:
    bool event(QEvent *event) override { return handler.HandleEvent(event) || QWidget::event(event); }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int countOf(const std::vector<std::string> &log, const std::string &target)
{
    return int(std::count(log.begin(), log.end(), target));
}

} // namespace

class TestUpdateFlow : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimServer> sim;
    std::unique_ptr<TestPlatform> platform;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<HostWindow> host;

    QString programFile(const QString &name) const { return folder->filePath(name); }
    QString base() const { return QString::fromStdString(sim->baseUrl()); }

    void startCheck() { host->handler.StartCheck(base(), QStringLiteral("1.12"), QStringLiteral("0")); }

    void verifyFailureShown()
    {
        QTRY_COMPARE_WITH_TIMEOUT(platform->messageBoxes.size(), 1, 10000);
        QCOMPARE(platform->messageBoxes[0].text, Failure);
        QCOMPARE(platform->messageBoxes[0].caption, QStringLiteral("提示"));
        QCOMPARE(platform->messageBoxes[0].kind, 1);
        QCOMPARE(platform->openedUrls, QStringList{base() + "vostrel.rar"});
        QVERIFY(host->handler.ProgressWindow());
        QVERIFY(!host->handler.ProgressWindow()->isVisible());
        QVERIFY(!host->handler.Updating());
        QVERIFY(!host->quitAsked);
        QVERIFY(platform->startedPrograms.isEmpty());
    }

private slots:
    void init()
    {
        sim = std::make_unique<SimServer>();
        QVERIFY(sim->start());
        folder = std::make_unique<QTemporaryDir>();
        platform = std::make_unique<TestPlatform>();
        platform->executablePath = programFile(ExeName);
        platform->baseUrl = base();
        platform->processes = {{11, "/elsewhere/" + ExeName}, {12, "other.exe"}, {13, "客户端.EXE"},
                               {14, "客户端.exe.bak"}};
        host = std::make_unique<HostWindow>();
    }

    void cleanup()
    {
        host.reset();
        platform.reset();
        folder.reset();
        sim.reset();
    }

    void requestLine_data()
    {
        QTest::addColumn<bool>("withUpdater");
        QTest::addColumn<QString>("target");
        QTest::newRow("no update.exe") << false << "/client.aspx?v=1.12&t=0&u=";
        QTest::newRow("update.exe without version") << true << "/client.aspx?v=1.12&t=0&u=1.0.0.0";
    }

    void requestLine()
    {
        QFETCH(bool, withUpdater);
        QFETCH(QString, target);
        if (withUpdater) {
            QFile updater(programFile("update.exe"));
            QVERIFY(updater.open(QIODevice::WriteOnly));
            updater.write("#!/bin/sh\n");
        }
        startCheck();
        QTRY_VERIFY_WITH_TIMEOUT(!sim->requestLog().empty(), 5000);
        QCOMPARE(QString::fromStdString(sim->requestLog().front()), target);

        // The blank default answer starts nothing; the thread then sleeps for two minutes
        // and must still end at once when the window goes.
        QTest::qWait(200);
        QVERIFY(!host->handler.ProgressWindow());
        QElapsedTimer stopping;
        stopping.start();
        host.reset();
        QVERIFY2(stopping.elapsed() < 1500, qPrintable(QString::number(stopping.elapsed())));
        QCOMPARE(sim->requestLog().size(), size_t(1));
    }

    // The check waits for the window to handle its answer; a window that goes away meanwhile
    // must not leave the two waiting for each other.
    void windowGoesWhileCheckWaits()
    {
        sim->setReplyForever("/client.aspx", "http://127.0.0.1:1/update.zip`");
        startCheck();
        QElapsedTimer waited;
        waited.start();
        while (sim->requestLog().empty() && waited.elapsed() < 5000)
            QThread::msleep(10); // no events: the answer stays unhandled
        QVERIFY(!sim->requestLog().empty());
        QThread::msleep(200);

        QElapsedTimer stopping;
        stopping.start();
        host.reset();
        QVERIFY2(stopping.elapsed() < 1500, qPrintable(QString::number(stopping.elapsed())));
    }

    void packageOnlyHandsOver()
    {
        SimServer::UpdateOffer offer;
        offer.packageBytes = 204800;
        sim->offerUpdate(offer);
        startCheck();

        QTRY_VERIFY_WITH_TIMEOUT(host->quitAsked, 10000);
        Tfmupwin *window = host->handler.ProgressWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->pro1->value(), 100);

        // The package is kept exactly as downloaded, never unpacked.
        QCOMPARE(QFileInfo(programFile("update.zip")).size(), qint64(204800));
        QVERIFY(!QFile::exists(programFile("padding.bin")));
        QCOMPARE(readFile(programFile("uplog.txt")), ToAnsi(ExeName) + "\r\n");
        QCOMPARE(platform->startedPrograms, QStringList{programFile("update.exe")});
        QVERIFY(host->trayHidden);
        QCOMPARE(platform->terminatedPids, (QList<qint64>{11, 13}));
        QVERIFY(platform->messageBoxes.isEmpty());

        const auto log = sim->requestLog();
        QCOMPARE(countOf(log, "/download/update.zip"), 1);
        QCOMPARE(countOf(log, "/download/up.zip"), 0);
    }

    void updaterIsUnpackedThenHandsOver()
    {
        QFile old(programFile("update.exe"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old updater");
        old.close();

        SimServer::UpdateOffer offer;
        offer.withUpdater = true;
        offer.updaterFiles = {{"update.exe", "#!/bin/sh\necho new updater\n"},
                              {"tools/sub/helper.txt", "helper"}};
        sim->offerUpdate(offer);
        startCheck();

        QTRY_VERIFY_WITH_TIMEOUT(host->quitAsked, 10000);
        QCOMPARE(readFile(programFile("update.exe")), QByteArray("#!/bin/sh\necho new updater\n"));
        QVERIFY(QFileInfo(programFile("update.exe")).isExecutable());
        QCOMPARE(readFile(programFile("tools/sub/helper.txt")), QByteArray("helper"));
        QVERIFY(!QFile::exists(programFile("up.zip")));
        QVERIFY(QFile::exists(programFile("update.zip")));
        QCOMPARE(platform->startedPrograms, QStringList{programFile("update.exe")});

        const auto log = sim->requestLog();
        const auto package = std::find(log.begin(), log.end(), "/download/update.zip");
        const auto updater = std::find(log.begin(), log.end(), "/download/up.zip");
        QVERIFY(package < updater && updater != log.end());
    }

    void packageSizeThreshold_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("handsOver");
        QTest::newRow("one byte short") << 102399 << false;
        QTest::newRow("exactly the minimum") << 102400 << true;
    }

    void packageSizeThreshold()
    {
        QFETCH(int, bytes);
        QFETCH(bool, handsOver);
        SimServer::UpdateOffer offer;
        offer.packageBytes = size_t(bytes);
        sim->offerUpdate(offer);
        startCheck();

        if (handsOver) {
            QTRY_VERIFY_WITH_TIMEOUT(host->quitAsked, 10000);
            QVERIFY(platform->messageBoxes.isEmpty());
        } else {
            verifyFailureShown();
        }
        QCOMPARE(QFileInfo(programFile("update.zip")).size(), qint64(bytes));
    }

    // A package that never arrives ends the update with the failure message instead of
    // leaving the progress window, which cannot be closed, on the screen.
    void failedDownload_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("status");
        QTest::newRow("https to a server without TLS") << "https" << 0;
        QTest::newRow("not found") << "http" << 404;
        QTest::newRow("server error") << "http" << 500;
    }

    void failedDownload()
    {
        QFETCH(QString, scheme);
        QFETCH(int, status);
        SimServer::UpdateOffer offer;
        sim->offerUpdate(offer);
        if (status)
            sim->answerStatus("/download/update.zip", status);
        TGetUpInfo info;
        info.DownUrl = QString::fromStdString(sim->packageUrl()).replace("http:", scheme + ":");
        host->handler.UpInfo(&info);
        QVERIFY(host->handler.ProgressWindow()->isVisible());

        verifyFailureShown();
        QVERIFY(!QFile::exists(programFile("update.zip")));
    }

    void onlyOneUpdateAtATime()
    {
        SimServer::UpdateOffer offer;
        sim->offerUpdate(offer);
        sim->setDelay("/download/update.zip", 1000);
        TGetUpInfo info;
        info.DownUrl = QString::fromStdString(sim->packageUrl());
        host->handler.UpInfo(&info);
        Tfmupwin *first = host->handler.ProgressWindow();
        host->handler.UpInfo(&info);
        QCOMPARE(host->handler.ProgressWindow(), first);
        QCOMPARE(host->findChildren<Tfmupwin *>().size(), 1);

        QTRY_VERIFY_WITH_TIMEOUT(host->quitAsked, 10000);
        QCOMPARE(countOf(sim->requestLog(), "/download/update.zip"), 1);
    }

    // After a failure a later answer may try again, in a fresh progress window.
    void retryAfterFailure()
    {
        SimServer::UpdateOffer offer;
        offer.packageBytes = 2000;
        sim->offerUpdate(offer);
        TGetUpInfo info;
        info.DownUrl = QString::fromStdString(sim->packageUrl());
        host->handler.UpInfo(&info);
        verifyFailureShown();

        offer.packageBytes = 204800;
        sim->offerUpdate(offer);
        host->handler.UpInfo(&info);
        QVERIFY(host->handler.ProgressWindow()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(host->quitAsked, 10000);
        QCOMPARE(host->findChildren<Tfmupwin *>().size(), 1);
    }

    void answersThatStartNothing_data()
    {
        QTest::addColumn<QString>("downUrl");
        QTest::addColumn<QString>("upUrl");
        QTest::newRow("updater only") << "" << "http://127.0.0.1:1/up.zip";
        QTest::newRow("neither") << "" << "";
    }

    void answersThatStartNothing()
    {
        QFETCH(QString, downUrl);
        QFETCH(QString, upUrl);
        TGetUpInfo info{downUrl, upUrl};
        host->handler.UpInfo(&info);
        host->handler.UpInfo(nullptr);
        QVERIFY(!host->handler.ProgressWindow());
        QVERIFY(!host->handler.Updating());
    }

    void progressWindowCannotBeClosed()
    {
        Tfmupwin window(host.get());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("程序正在升级..."));
        QCOMPARE(window.Label1->text(), QStringLiteral("正在升级中，请稍后..."));
        QCOMPARE(window.size(), QSize(424, 83));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(window.pro1->maximum(), 100);
    }
};

QTEST_MAIN(TestUpdateFlow)
#include "tst_update.moc"
