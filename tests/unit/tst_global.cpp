#include "common/Global.h"

#include "TestPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Paths in the tests are written with "\" and turned into the native form.
QString Native(const char *path)
{
    return QString(QLatin1String(path)).replace(QLatin1Char('\\'), QDir::separator());
}

} // namespace

class TestGlobal : public QObject
{
    Q_OBJECT
private slots:
    void addBackslash_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blanks") << "   " << "   ";
        QTest::newRow("blanks and controls") << " \t\r\n" << " \t\r\n";
        QTest::newRow("already ends in it") << Native("C:\\x\\") << Native("C:\\x\\");
        QTest::newRow("appended") << Native("C:\\x") << Native("C:\\x\\");
        QTest::newRow("after trailing blanks") << Native("C:\\x  ") << Native("C:\\x  \\");
        QTest::newRow("separator only") << Native("\\") << Native("\\");
    }
    void addBackslash()
    {
        QFETCH(QString, path);
        QFETCH(QString, result);
        QCOMPARE(AddBackslash(path), result);
    }

    void addToList()
    {
        QString list;
        QCOMPARE(AddToList(list, "a", ","), QString("a"));
        QCOMPARE(AddToList(list, "b", ","), QString("a,b"));
        QCOMPARE(list, QString("a,b"));
        QCOMPARE(AddToList(list, "", ","), QString("a,b,"));
    }

    void strAfterLast_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("c");
        QTest::addColumn<QString>("fallback");
        QTest::addColumn<QString>("result");
        QTest::newRow("file name") << "C:\\a\\b.zip" << "\\" << "" << "b.zip";
        QTest::newRow("extension") << "b.zip" << "." << "" << "zip";
        QTest::newRow("last of several") << "a.tar.gz" << "." << "" << "gz";
        QTest::newRow("missing gives default") << "abc" << "." << "dflt" << "dflt";
        QTest::newRow("empty gives default") << "" << "." << "dflt" << "dflt";
        QTest::newRow("ends with it") << "abc." << "." << "dflt" << "";
    }
    void strAfterLast()
    {
        QFETCH(QString, text);
        QFETCH(QString, c);
        QFETCH(QString, fallback);
        QFETCH(QString, result);
        QCOMPARE(StrAfterLast(text, c.at(0), fallback), result);
    }

    void strBeforeLast_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("last dot") << "name.old.exe" << "name.old";
        QTest::newRow("missing gives text") << "name" << "name";
        QTest::newRow("only at start") << ".hidden" << "";
        QTest::newRow("empty") << "" << "";
    }
    void strBeforeLast()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(StrBeforeLast(text, '.'), result);
    }

    void appPathAndName()
    {
        TestPlatform platform;
        platform.executablePath = QDir::fromNativeSeparators(Native("\\opt\\talvek\\client.bin"));
        QCOMPARE(GetAppPath(), Native("\\opt\\talvek\\"));
        QCOMPARE(GetAppName(), QString("client.bin"));
        platform.executablePath.clear();
        const QFileInfo real(QCoreApplication::applicationFilePath());
        QCOMPARE(GetAppName(), real.fileName());
        QCOMPARE(GetAppPath(), QDir::toNativeSeparators(real.absolutePath()) + QDir::separator());
    }

    void fileLength()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = dir.filePath("data.bin");
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1234, 'x'));
        file.close();
        QCOMPARE(GetFileLen(name), 1234);
        QCOMPARE(GetFileLen(dir.filePath("missing.bin")), 0);
        QCOMPARE(GetFileLen(dir.path()), 0);
    }

    void showMsgBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("shown");
        QTest::newRow("information") << 1 << QList<int>{} << 0 << true;
        QTest::newRow("warning") << 2 << QList<int>{} << 0 << true;
        QTest::newRow("error") << 3 << QList<int>{} << 0 << true;
        QTest::newRow("question, OK") << 4 << QList<int>{1} << 1 << true;
        QTest::newRow("question, Cancel") << 4 << QList<int>{2} << 2 << true;
        QTest::newRow("question, no answer queued") << 4 << QList<int>{} << 1 << true;
        QTest::newRow("kind 0") << 0 << QList<int>{} << 0 << false;
        QTest::newRow("kind 5") << 5 << QList<int>{} << 0 << false;
        QTest::newRow("negative kind") << -1 << QList<int>{} << 0 << false;
    }
    void showMsgBox()
    {
        QFETCH(int, kind);
        QFETCH(QList<int>, answers);
        QFETCH(int, result);
        QFETCH(bool, shown);
        TestPlatform platform;
        for (int answer : answers)
            platform.messageBoxAnswers.enqueue(answer);
        QCOMPARE(ShowMsgBox("text", "提示", qint8(kind)), result);
        QCOMPARE(platform.messageBoxes.size(), shown ? 1 : 0);
        if (shown) {
            QCOMPARE(platform.messageBoxes[0].text, QString("text"));
            QCOMPARE(platform.messageBoxes[0].caption, QString("提示"));
            QCOMPARE(platform.messageBoxes[0].kind, kind);
        }
    }

    void killProcessByNameMatching_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<qint64>>("terminated");
        QTest::addColumn<int>("result");
        QTest::newRow("case-insensitive ASCII") << "CLIENT.EXE" << QList<qint64>{1, 2, 4} << 1;
        QTest::newRow("lower-case name") << "client.exe" << QList<qint64>{1, 2, 4} << 1;
        QTest::newRow("only ASCII letters fold") << "ÄPP.EXE" << QList<qint64>{6} << 1;
        QTest::newRow("whole listed name") << "/opt/app/Client.EXE" << QList<qint64>{1} << 1;
        QTest::newRow("no match") << "client" << QList<qint64>{} << 0;
        QTest::newRow("empty name") << "" << QList<qint64>{} << 0;
    }
    void killProcessByNameMatching()
    {
        QFETCH(QString, name);
        QFETCH(QList<qint64>, terminated);
        QFETCH(int, result);
        TestPlatform platform;
        platform.processes = {{1, "/opt/app/Client.EXE"}, {2, "client.exe"}, {3, "client.exe2"},
                              {4, "CLIENT.EXE"},         {5, "äpp.exe"},    {6, "ÄPP.exe"}};
        QCOMPARE(KillProcessByName(name), result);
        QCOMPARE(platform.terminatedPids, terminated);
    }

    // Real processes under two names that differ by one character at the end.
    void killProcessByNameEndsRealProcesses()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = QStringLiteral("talvektest%1").arg(QCoreApplication::applicationPid());
        const QString target = dir.filePath(name);
        const QString nearMiss = dir.filePath(name + "x");
        QVERIFY(QFile::copy("/bin/sleep", target));
        QVERIFY(QFile::copy("/bin/sleep", nearMiss));
        QProcess victim;
        QProcess survivor;
        victim.start(target, {"30"});
        survivor.start(nearMiss, {"30"});
        QVERIFY(victim.waitForStarted());
        QVERIFY(survivor.waitForStarted());

        TestPlatform platform;
        platform.useRealProcesses = true;
        QCOMPARE(KillProcessByName(name.toUpper()), 1);
        QCOMPARE(platform.terminatedPids, QList<qint64>{victim.processId()});
        QVERIFY(victim.waitForFinished(5000));
        QCOMPARE(survivor.state(), QProcess::Running);
        QCOMPARE(KillProcessByName(name.toUpper()), 0);

        survivor.kill();
        QVERIFY(survivor.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TestGlobal)
#include "tst_global.moc"
