// The update's rules (the check's reply grammar, download percentages), the safe unpacking
// of packages over a program folder, and the updater program run as a real process.
#include "update/DownIdHttp.h"
#include "update/GetUpInfo.h"
#include "update/SafeUnzip.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

namespace {

struct ZipEntry
{
    QString name;
    QByteArray content;
    enum Kind { File, Dir, Link } kind = File;
};

// Writes a zip with exactly these entries (names kept as given, "../" included).
bool writeZip(const QString &path, const QList<ZipEntry> &entries)
{
    archive *zip = archive_write_new();
    archive_write_set_format_zip(zip);
    if (archive_write_open_filename(zip, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        return false;
    for (const ZipEntry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.name.toUtf8().constData());
        if (e.kind == ZipEntry::Dir) {
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
        } else if (e.kind == ZipEntry::Link) {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_set_symlink(entry, e.content.constData());
        } else {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0755);
            archive_entry_set_size(entry, e.content.size());
        }
        archive_write_header(zip, entry);
        if (e.kind == ZipEntry::File)
            archive_write_data(zip, e.content.constData(), size_t(e.content.size()));
        archive_entry_free(entry);
    }
    archive_write_close(zip);
    archive_write_free(zip);
    return true;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Everything in the folder, relative, sorted: shows leftovers of staging or backups.
QStringList listing(const QString &folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

// A program folder with a copy of the built updater and a stand-in client: a script that
// writes its own version into "started-by.txt" when it runs.
struct ProgramFolder
{
    QTemporaryDir dir;
    // A name of its own: a client of an earlier case may linger as a zombie for a moment.
    const QString client = QStringLiteral("client-%1-%2").arg(QCoreApplication::applicationPid()).arg(++instances);
    static inline int instances = 0;

    QString path(const QString &name) const { return dir.filePath(name); }
    static QByteArray clientScript(const QByteArray &version)
    {
        return "#!/bin/sh\necho " + version + " > started-by.txt\n";
    }

    bool prepare() const
    {
        writeFile(path(client), clientScript("old"));
        QFile::setPermissions(path(client), QFile::permissions(path(client)) | QFile::ExeOwner);
        writeFile(path("uplog.txt"), client.toUtf8() + "\r\n");
        return QFile::copy(QStringLiteral(TALVEK_BIN_DIR "/update.exe"), path("update.exe"));
    }

    // Runs the updater as the client would leave it: no arguments, from the program folder.
    int runUpdater() const
    {
        QProcess updater;
        updater.setWorkingDirectory(dir.path());
        updater.start(path("update.exe"), {});
        if (!updater.waitForFinished(40000))
            return -1;
        return updater.exitStatus() == QProcess::NormalExit ? updater.exitCode() : -1;
    }

    QByteArray log() const { return readFile(path("updater.log")); }
};

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void replyGrammar_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QString>("downUrl");
        QTest::addColumn<QString>("upUrl");

        QTest::newRow("package only") << "http://h/new.zip`" << true << "http://h/new.zip" << "";
        QTest::newRow("both") << "http://h/new.zip`http://h/up.zip" << true << "http://h/new.zip"
                              << "http://h/up.zip";
        QTest::newRow("space instead of backquote") << "http://h/new.zip http://h/up.zip" << true
                                                    << "http://h/new.zip" << "http://h/up.zip";
        QTest::newRow("line breaks around fields") << "\r\n http://h/new.zip `\r\nhttp://h/up.zip\r\n"
                                                   << true << "http://h/new.zip" << "http://h/up.zip";
        QTest::newRow("https package") << "https://h/new.zip`" << true << "https://h/new.zip" << "";
        QTest::newRow("address only in field 2") << "none`http://h/up.zip" << true << "" << "http://h/up.zip";
        QTest::newRow("scheme in upper case is no address") << "HTTP://h/new.zip`x" << true << "" << "";
        QTest::newRow("quoted field keeps backquote") << "\"http://h/a`b.zip\"`" << true << "http://h/a`b.zip" << "";
        QTest::newRow("third field ignored") << "http://h/a`http://h/b`http://h/c" << true << "http://h/a"
                                             << "http://h/b";
        QTest::newRow("single address") << "http://h/new.zip" << false << "" << "";
        QTest::newRow("blank") << " \t\r\n" << false << "" << "";
        QTest::newRow("empty") << "" << false << "" << "";
    }

    void replyGrammar()
    {
        QFETCH(QString, reply);
        QFETCH(bool, message);
        const auto info = TGetUpInfo::FromReply(reply);
        QCOMPARE(info.has_value(), message);
        if (info) {
            QTEST(info->DownUrl, "downUrl");
            QTEST(info->UpUrl, "upUrl");
        }
    }

    void progressPercent_data()
    {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("percent"); // -1: none

        QTest::newRow("quarter") << qint64(50000) << qint64(200000) << 25;
        QTest::newRow("one of three") << qint64(1) << qint64(3) << 33;
        QTest::newRow("two of three") << qint64(2) << qint64(3) << 67;
        QTest::newRow("half down to even") << qint64(1) << qint64(8) << 12;
        QTest::newRow("half up to even") << qint64(3) << qint64(8) << 38;
        QTest::newRow("all") << qint64(8) << qint64(8) << 100;
        QTest::newRow("nothing yet") << qint64(0) << qint64(8) << 0;
        QTest::newRow("no size announced") << qint64(5000) << qint64(0) << -1;
    }

    void progressPercent()
    {
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(int, percent);
        QCOMPARE(TDownIdHttp::Percent(done, total).value_or(-1), percent);
    }

    void downloadAddress_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("http") << "http://h/a.zip" << true;
        QTest::newRow("https") << "https://h/a.zip" << true;
        QTest::newRow("upper case") << "HTTP://h/a.zip" << true;
        QTest::newRow("ftp") << "ftp://h/a.zip" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("empty") << "" << false;
    }

    void downloadAddress()
    {
        QFETCH(QString, url);
        QTEST(TDownIdHttp::IsDownloadAddress(url), "accepted");
    }

    void entryPaths_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("relative"); // empty: refused

        QTest::newRow("plain") << "a/b.txt" << "a/b.txt";
        QTest::newRow("backslashes") << "a\\b.txt" << "a/b.txt";
        QTest::newRow("dot parts") << "./a//b/./c" << "a/b/c";
        QTest::newRow("parent") << "../evil" << "";
        QTest::newRow("parent inside") << "a/../../evil" << "";
        QTest::newRow("parent with backslash") << "a\\..\\..\\evil" << "";
        QTest::newRow("absolute") << "/etc/evil" << "";
        QTest::newRow("drive") << "C:\\evil" << "";
        QTest::newRow("nothing") << "./" << "";
    }

    void entryPaths()
    {
        QFETCH(QString, entry);
        QTEST(TSafeUnzip::SafeRelativePath(entry), "relative");
    }

    void unpacksFoldersAndOverwrites()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("keep.txt"), "untouched");
        writeFile(dir.filePath("update.exe"), "old updater");
        const QString zip = dir.filePath("up.zip");
        QVERIFY(writeZip(zip, {{"update.exe", "new updater"},
                               {"lib/", {}, ZipEntry::Dir},
                               {"lib/deep/data.bin", QByteArray(70000, 'x')},
                               {"empty/", {}, ZipEntry::Dir},
                               {"lib/link", "deep/data.bin", ZipEntry::Link}}));
        QString error;
        QVERIFY2(TSafeUnzip::Extract(zip, dir.path(), &error), qPrintable(error));

        QCOMPARE(readFile(dir.filePath("update.exe")), QByteArray("new updater"));
        QCOMPARE(readFile(dir.filePath("lib/deep/data.bin")), QByteArray(70000, 'x'));
        QCOMPARE(readFile(dir.filePath("keep.txt")), QByteArray("untouched"));
        QCOMPARE(QFile::symLinkTarget(dir.filePath("lib/link")), dir.filePath("lib/deep/data.bin"));
        QVERIFY(QFileInfo(dir.filePath("update.exe")).isExecutable());
        QCOMPARE(listing(dir.path()), QStringList({"empty", "keep.txt", "lib", "lib/deep", "lib/deep/data.bin",
                                                   "lib/link", "up.zip", "update.exe"}));
    }

    void refusesEntriesOutsideTheFolder_data()
    {
        QTest::addColumn<QList<ZipEntry>>("entries");
        QTest::newRow("parent") << QList<ZipEntry>{{"good.txt", "new"}, {"../evil.txt", "x"}};
        QTest::newRow("nested parent") << QList<ZipEntry>{{"good.txt", "new"}, {"sub/../../evil.txt", "x"}};
        QTest::newRow("absolute") << QList<ZipEntry>{{"good.txt", "new"}, {"/tmp/evil.txt", "x"}};
        QTest::newRow("link out") << QList<ZipEntry>{{"good.txt", "new"}, {"evil", "../..", ZipEntry::Link}};
        QTest::newRow("absolute link") << QList<ZipEntry>{{"good.txt", "new"}, {"evil", "/etc", ZipEntry::Link}};
    }

    void refusesEntriesOutsideTheFolder()
    {
        QFETCH(QList<ZipEntry>, entries);
        QTemporaryDir outer;
        const QString folder = outer.filePath("program");
        writeFile(folder + "/good.txt", "old");
        const QString zip = outer.filePath("bad.zip");
        QVERIFY(writeZip(zip, entries));

        QString error;
        QVERIFY(!TSafeUnzip::Extract(zip, folder, &error));
        QVERIFY2(error.contains("outside"), qPrintable(error));
        QCOMPARE(readFile(folder + "/good.txt"), QByteArray("old"));
        QCOMPARE(listing(outer.path()), QStringList({"bad.zip", "program", "program/good.txt"}));
    }

    void failedReplaceRollsBack()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("a.txt"), "old a");
        writeFile(dir.filePath("sub/inner.txt"), "a folder where the package has a file");
        const QString zip = dir.filePath("update.zip");
        QVERIFY(writeZip(zip, {{"a.txt", "new a"}, {"b.txt", "new b"}, {"new/c.txt", "c"}, {"sub", "file"}}));

        QString error;
        QVERIFY(!TSafeUnzip::Extract(zip, dir.path(), &error));
        QVERIFY2(error.contains("sub"), qPrintable(error));
        QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("old a"));
        QCOMPARE(listing(dir.path()), QStringList({"a.txt", "sub", "sub/inner.txt", "update.zip"}));
    }

    void refusesCorruptArchive_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not a zip") << QByteArray("<html>error page</html>");
        QTest::newRow("empty file") << QByteArray();
    }

    void refusesCorruptArchive()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        writeFile(dir.filePath("update.zip"), content);
        QString error;
        QVERIFY(!TSafeUnzip::Extract(dir.filePath("update.zip"), dir.path(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(listing(dir.path()), QStringList({"update.zip"}));
    }

    void refusesTruncatedArchive()
    {
        QTemporaryDir dir;
        const QString zip = dir.filePath("update.zip");
        QVERIFY(writeZip(zip, {{"a.txt", QByteArray(200000, 'a')}, {"b.txt", QByteArray(200000, 'b')}}));
        QByteArray bytes = readFile(zip);
        bytes.truncate(bytes.size() / 2);
        writeFile(zip, bytes);
        QVERIFY(!TSafeUnzip::Extract(zip, dir.path()));
        QCOMPARE(listing(dir.path()), QStringList({"update.zip"}));
    }

    void updaterInstallsPackage()
    {
        ProgramFolder program;
        QVERIFY(program.prepare());
        writeFile(program.path("data/old.txt"), "kept");
        QVERIFY(writeZip(program.path("update.zip"), {{program.client, ProgramFolder::clientScript("new")},
                                                      {"data/", {}, ZipEntry::Dir},
                                                      {"data/new.txt", "added"}}));
        QCOMPARE(program.runUpdater(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(readFile(program.path("started-by.txt")), QByteArray("new\n"), 10000);
        QVERIFY(!QFile::exists(program.path("update.zip")));
        QCOMPARE(readFile(program.path("data/new.txt")), QByteArray("added"));
        QCOMPARE(readFile(program.path("data/old.txt")), QByteArray("kept"));
        QVERIFY2(program.log().contains("installed update.zip"), program.log().constData());
        QVERIFY2(program.log().contains("started " + program.path(program.client).toUtf8()), program.log().constData());
    }

    // A refused package leaves the folder as it was and the old client is started again.
    void updaterRefusesBadPackage_data()
    {
        QTest::addColumn<QList<ZipEntry>>("entries"); // empty: no package at all
        QTest::addColumn<QByteArray>("content");      // a package that is no zip
        QTest::addColumn<QByteArray>("reason");

        QTest::newRow("missing") << QList<ZipEntry>{} << QByteArray() << QByteArray("update.zip is missing");
        QTest::newRow("corrupt") << QList<ZipEntry>{} << QByteArray("<html>502</html>")
                                 << QByteArray("not a readable zip");
        QTest::newRow("entry outside") << QList<ZipEntry>{{"data.txt", "new"}, {"../escaped.txt", "x"}}
                                       << QByteArray() << QByteArray("outside the folder");
        QTest::newRow("file it cannot replace") << QList<ZipEntry>{{"data.txt", "new"}, {"locked", "file"}}
                                                << QByteArray() << QByteArray("cannot replace locked");
    }

    void updaterRefusesBadPackage()
    {
        QFETCH(QList<ZipEntry>, entries);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, reason);
        ProgramFolder program;
        QVERIFY(program.prepare());
        writeFile(program.path("data.txt"), "old");
        writeFile(program.path("locked/inside.txt"), "a folder where the package has a file");
        if (!entries.isEmpty())
            QVERIFY(writeZip(program.path("update.zip"), entries + QList<ZipEntry>{{program.client, "broken"}}));
        else if (!content.isEmpty())
            writeFile(program.path("update.zip"), content);
        const QStringList before = listing(program.dir.path());

        QCOMPARE(program.runUpdater(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(readFile(program.path("started-by.txt")), QByteArray("old\n"), 10000);
        QVERIFY2(program.log().contains(reason), program.log().constData());
        QCOMPARE(readFile(program.path("data.txt")), QByteArray("old"));
        QCOMPARE(readFile(program.path(program.client)), ProgramFolder::clientScript("old"));
        QStringList after = before + QStringList{"started-by.txt", "updater.log"};
        after.sort();
        QCOMPARE(listing(program.dir.path()), after);
        QVERIFY(!QFile::exists(program.dir.filePath("../escaped.txt")));
    }

    void updaterRefusesWithoutHandOver()
    {
        ProgramFolder program;
        QVERIFY(program.prepare());
        QFile::remove(program.path("uplog.txt"));
        QVERIFY(writeZip(program.path("update.zip"), {{program.client, ProgramFolder::clientScript("new")}}));
        QCOMPARE(program.runUpdater(), 1);
        QVERIFY(QFile::exists(program.path("update.zip")));
        QCOMPARE(readFile(program.path(program.client)), ProgramFolder::clientScript("old"));
        QVERIFY2(program.log().contains("uplog.txt is missing"), program.log().constData());
    }
};

Q_DECLARE_METATYPE(ZipEntry)

QTEST_GUILESS_MAIN(TestUpdate)
#include "tst_update.moc"
