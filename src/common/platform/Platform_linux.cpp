#include "common/platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <sys/types.h>

namespace {

constexpr int kMaxExeName = 260;

// The target of a /proc link; a program replaced on disk keeps running under " (deleted)".
QString LinkTarget(const QString &link)
{
    QString target = QFile::symLinkTarget(link);
    const QLatin1String deleted(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return target;
}

QString ReadProcFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.read(4096));
}

// The exe link is readable only for our own processes; the command line and comm are not.
QString ExeNameOf(const QString &procDir)
{
    const QString exe = LinkTarget(procDir + QLatin1String("/exe"));
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    const QString firstArg = ReadProcFile(procDir + QLatin1String("/cmdline")).section(QChar(0), 0, 0);
    if (!firstArg.isEmpty())
        return QFileInfo(firstArg).fileName();
    return ReadProcFile(procDir + QLatin1String("/comm")).trimmed();
}

} // namespace

QString TPlatform::DesktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString TPlatform::ExecutablePath()
{
    const QString self = LinkTarget(QStringLiteral("/proc/self/exe"));
    if (!self.isEmpty())
        return self;
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

QList<TProcessEntry> TPlatform::Processes()
{
    QList<TProcessEntry> entries;
    const QStringList dirs =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString &dir : dirs) {
        bool isPid = false;
        const qint64 pid = dir.toLongLong(&isPid);
        if (!isPid || pid <= 0)
            continue;
        const QString name = ExeNameOf(QLatin1String("/proc/") + dir);
        if (!name.isEmpty())
            entries.append({pid, name.left(kMaxExeName)});
    }
    // In process-id order, as a process snapshot lists them.
    std::sort(entries.begin(), entries.end(),
              [](const TProcessEntry &a, const TProcessEntry &b) { return a.pid < b.pid; });
    return entries;
}

// SIGTERM ends a program that does not handle it just as a hard termination does, and lets
// one that does handle it close its files first.
bool TPlatform::TerminateProcess(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), SIGTERM) == 0;
}
