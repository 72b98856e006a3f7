// The whole update cycle with real processes: the built client, run from a temporary program
// folder, finds the update the simulator offers, downloads the package and the updater,
// hands over and ends itself; the updater replaces the folder's files and starts the new
// client.
//
// The shipped client reads no environment and talks to its compiled-in base URL, which a
// running demo may hold; the test runs the same program built with a base URL taken from
// TALVEK_TEST_BASE_URL (talvek-client-e2e), pointed at a simulator on a free port. It runs
// under a file name of its own, so ending "every instance of itself" ends only this test's
// processes.
#include "SimServer.h"
#include "common/Ansi.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool copyExecutable(const QString &from, const QString &to)
{
    return QFile::copy(from, to)
           && QFile::setPermissions(to, QFile::permissions(to) | QFile::ExeOwner | QFile::ExeUser);
}

bool logged(const std::vector<std::string> &log, const std::string &target)
{
    return std::find(log.begin(), log.end(), target) != log.end();
}

} // namespace

class TestUpdateEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void clientHandsOverAndUpdaterInstalls()
    {
        SimServer sim;
        QVERIFY(sim.start());

        QTemporaryDir folder;
        const QString clientName = QStringLiteral("Talvek平台客户端-e2e-%1").arg(QCoreApplication::applicationPid());
        const QString client = folder.filePath(clientName);
        QVERIFY(copyExecutable(QStringLiteral(TALVEK_BIN_DIR "/talvek-client-e2e"), client));
        QVERIFY(QDir().mkpath(folder.filePath("home")));

        const QByteArray newClient = "#!/bin/sh\necho restarted > restarted.txt\n";
        SimServer::UpdateOffer offer;
        offer.packageBytes = 204800;
        offer.packageFiles = {{clientName.toStdString(), newClient.toStdString()},
                              {"docs/readme.txt", "version 2"}};
        offer.withUpdater = true;
        offer.updaterFiles = {{"update.exe", readFile(QStringLiteral(TALVEK_BIN_DIR "/update.exe")).toStdString()}};
        sim.offerUpdate(offer);

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", folder.filePath("home")); // the first start puts a shortcut on the desktop
        env.insert("XDG_CONFIG_HOME", folder.filePath("home/.config"));
        env.insert("TALVEK_TEST_BASE_URL", QString::fromStdString(sim.baseUrl()));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.setProgram(client);
        process.start();
        QVERIFY(process.waitForStarted());

        // The client ends itself after the hand-over; the updater starts the new client.
        QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("restarted.txt")), 30000);

        QCOMPARE(readFile(folder.filePath("uplog.txt")), ToAnsi(clientName) + "\r\n");
        QCOMPARE(readFile(client), newClient);
        QCOMPARE(readFile(folder.filePath("docs/readme.txt")), QByteArray("version 2"));
        QVERIFY(!QFile::exists(folder.filePath("update.zip")));
        QVERIFY(!QFile::exists(folder.filePath("up.zip")));
        const QByteArray log = readFile(folder.filePath("updater.log"));
        QVERIFY2(log.contains("installed update.zip"), log.constData());

        const auto requests = sim.requestLog();
        QVERIFY(logged(requests, "/client.aspx?v=1.12&t=0&u="));
        QVERIFY(logged(requests, "/download/update.zip"));
        QVERIFY(logged(requests, "/download/up.zip"));
    }
};

QTEST_GUILESS_MAIN(TestUpdateEndToEnd)
#include "tst_update_e2e.moc"
