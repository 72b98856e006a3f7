// The update's pure rules: the check's reply grammar, download percentages and the safe
// unpacking of packages over a program folder.
#include "update/DownIdHttp.h"
#include "update/GetUpInfo.h"
#include "update/SafeUnzip.h"

#include <QDir>
#include <QFile>
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
};

Q_DECLARE_METATYPE(ZipEntry)

QTEST_GUILESS_MAIN(TestUpdate)
#include "tst_update.moc"
