#include "update/SafeUnzip.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <filesystem>
#include <memory>
#include <set>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path Native(const QString &path)
{
    return fs::path(path.toStdU16String());
}

struct TStaged
{
    QString rel;
    bool bdir = false;
};

// One file of the folder put in place; backup holds the file it replaced.
struct TReplaced
{
    fs::path target;
    fs::path backup;
    bool bplaced = false;
};

using TArchive = std::unique_ptr<archive, decltype(&archive_read_free)>;

QString EntryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

// A link's target, taken relative to the link's own folder, must stay inside.
bool LinkStaysInside(const QString &rel, const QString &target)
{
    if (target.isEmpty())
        return false;
    const QString folder = rel.contains(QLatin1Char('/')) ? rel.section(QLatin1Char('/'), 0, -2) : QString();
    return !TSafeUnzip::SafeRelativePath(folder.isEmpty() ? target : folder + QLatin1Char('/') + target).isEmpty()
           && !target.startsWith(QLatin1Char('/')) && !target.startsWith(QLatin1Char('\\'));
}

void ApplyAttributes(const fs::path &path, archive_entry *entry)
{
    std::error_code ec;
    if (const mode_t perm = archive_entry_perm(entry) & 0777)
        fs::permissions(path, fs::perms(perm), ec);
}

bool WriteFile(archive *a, archive_entry *entry, const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    char buffer[64 * 1024];
    la_ssize_t n;
    while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0) {
        if (file.write(buffer, n) != n) {
            error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    if (n < 0) {
        error = QStringLiteral("corrupt archive: %1").arg(QString::fromLocal8Bit(archive_error_string(a)));
        return false;
    }
    if (archive_entry_mtime_is_set(entry))
        file.setFileTime(QDateTime::fromSecsSinceEpoch(archive_entry_mtime(entry)),
                         QFileDevice::FileModificationTime);
    file.close();
    ApplyAttributes(Native(path), entry);
    return true;
}

// Unpacks every entry below staging, refusing the archive at the first unsafe one.
bool Stage(const QString &archivePath, const QString &staging, std::vector<TStaged> &staged, QString &error)
{
    TArchive a(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(archivePath).constData(), 64 * 1024) != ARCHIVE_OK) {
        error = QStringLiteral("not a readable zip archive: %1").arg(archivePath);
        return false;
    }
    std::set<QString> seen;
    archive_entry *entry = nullptr;
    int r;
    while ((r = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK) {
        const QString name = EntryName(entry);
        const QString rel = TSafeUnzip::SafeRelativePath(name);
        const auto type = archive_entry_filetype(entry);
        if (rel.isEmpty() || archive_entry_hardlink(entry)
            || (type == AE_IFLNK && !LinkStaysInside(rel, QString::fromUtf8(archive_entry_symlink(entry))))) {
            error = QStringLiteral("refused entry outside the folder: %1").arg(name);
            return false;
        }
        const QString path = staging + QLatin1Char('/') + rel;
        bool ok = QDir().mkpath(type == AE_IFDIR ? path : QFileInfo(path).absolutePath());
        if (ok && type == AE_IFREG) {
            ok = WriteFile(a.get(), entry, path, error);
        } else if (ok && type == AE_IFLNK) {
            std::error_code ec;
            fs::create_symlink(Native(QString::fromUtf8(archive_entry_symlink(entry))), Native(path), ec);
            ok = !ec;
        } else if (type != AE_IFDIR) {
            error = QStringLiteral("refused entry of unsupported kind: %1").arg(name);
            return false;
        }
        if (!ok) {
            if (error.isEmpty())
                error = QStringLiteral("cannot unpack %1").arg(name);
            return false;
        }
        if (seen.insert(rel).second)
            staged.push_back({rel, type == AE_IFDIR});
    }
    if (r != ARCHIVE_EOF) {
        error = QStringLiteral("corrupt archive: %1").arg(QString::fromLocal8Bit(archive_error_string(a.get())));
        return false;
    }
    return true;
}

// Moves staged entries into the folder; remembers what it did so it can be undone.
class TCommit
{
public:
    bool MakeDirs(const fs::path &dir)
    {
        std::error_code ec;
        if (fs::is_directory(dir, ec))
            return true;
        if (fs::exists(fs::symlink_status(dir, ec)) || !MakeDirs(dir.parent_path()))
            return false;
        if (!fs::create_directory(dir, ec) && !fs::is_directory(dir, ec))
            return false;
        created.push_back(dir);
        return true;
    }

    bool Place(const fs::path &from, const fs::path &target)
    {
        std::error_code ec;
        if (!MakeDirs(target.parent_path()) || fs::is_directory(fs::symlink_status(target, ec)))
            return false;
        TReplaced &done = replaced.emplace_back();
        done.target = target;
        if (fs::exists(fs::symlink_status(target, ec))) {
            done.backup = FreeBackupName(target);
            fs::rename(target, done.backup, ec);
            if (ec) {
                done.backup.clear();
                return false;
            }
        }
        fs::rename(from, target, ec);
        done.bplaced = !ec;
        return done.bplaced;
    }

    void RollBack()
    {
        std::error_code ec;
        for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
            if (it->bplaced)
                fs::remove(it->target, ec);
            if (!it->backup.empty())
                fs::rename(it->backup, it->target, ec);
        }
        for (auto it = created.rbegin(); it != created.rend(); ++it)
            fs::remove(*it, ec); // only removes folders left empty
    }

    void DropBackups()
    {
        std::error_code ec;
        for (const TReplaced &done : replaced) {
            if (!done.backup.empty())
                fs::remove(done.backup, ec);
        }
    }

private:
    static fs::path FreeBackupName(const fs::path &target)
    {
        std::error_code ec;
        for (int i = 0;; ++i) {
            fs::path candidate = target;
            candidate += ".old~" + std::to_string(i);
            if (!fs::exists(fs::symlink_status(candidate, ec)))
                return candidate;
        }
    }

    std::vector<TReplaced> replaced;
    std::vector<fs::path> created;
};

} // namespace

QString TSafeUnzip::SafeRelativePath(const QString &entryName)
{
    QString name = entryName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || (name.size() >= 2 && name[1] == QLatin1Char(':')))
        return {};
    QStringList parts;
    for (const QString &part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return {};
        if (part != QLatin1String("."))
            parts << part;
    }
    return parts.join(QLatin1Char('/'));
}

bool TSafeUnzip::Extract(const QString &archive, const QString &folder, QString *error)
{
    QString why;
    std::vector<TStaged> staged;
    QTemporaryDir staging(QDir(folder).filePath(QStringLiteral(".unzip-XXXXXX")));
    bool ok = staging.isValid() && Stage(archive, staging.path(), staged, why);
    if (!staging.isValid())
        why = QStringLiteral("cannot write into %1").arg(folder);

    TCommit commit;
    for (auto it = staged.begin(); ok && it != staged.end(); ++it) {
        const fs::path target = Native(QDir(folder).filePath(it->rel));
        ok = it->bdir ? commit.MakeDirs(target)
                      : commit.Place(Native(staging.filePath(it->rel)), target);
        if (!ok)
            why = QStringLiteral("cannot replace %1").arg(it->rel);
    }
    if (ok) {
        commit.DropBackups();
    } else {
        commit.RollBack();
        if (error)
            *error = why;
    }
    return ok;
}
