#include "common/Global.h"

#include "common/PeVersionReader.h"
#include "common/platform/Platform.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

QChar Separator()
{
    return QDir::separator();
}

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

bool IsBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), IsBlankOrControl);
}

QString NativeExecutablePath()
{
    return QDir::toNativeSeparators(TPlatform::Instance().ExecutablePath());
}

// Only a to z change; every other character must match as it is.
QString AsciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    }
    return upper;
}

bool ExeNameMatches(const QString &listed, const QString &wantedUpper)
{
    const QString whole = AsciiUpper(listed);
    return whole == wantedUpper || StrAfterLast(whole, Separator(), whole) == wantedUpper;
}

} // namespace

QString GetAppPath()
{
    const QString exe = NativeExecutablePath();
    return AddBackslash(exe.left(exe.lastIndexOf(Separator()) + 1));
}

QString GetAppName()
{
    const QString exe = NativeExecutablePath();
    return StrAfterLast(exe, Separator(), exe);
}

QString AddBackslash(const QString &path)
{
    if (IsBlank(path) || path.endsWith(Separator()))
        return path;
    return path + Separator();
}

QString AddToList(QString &list, const QString &item, const QString &separator)
{
    list = list.isEmpty() ? item : list + separator + item;
    return list;
}

QString StrAfterLast(const QString &text, QChar c, const QString &fallback)
{
    const qsizetype at = text.lastIndexOf(c);
    return at < 0 ? fallback : text.mid(at + 1);
}

QString StrBeforeLast(const QString &text, QChar c)
{
    const qsizetype at = text.lastIndexOf(c);
    return at < 0 ? text : text.left(at);
}

qint32 GetFileLen(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.isFile())
        return 0;
    return qint32(quint32(quint64(info.size()) & 0xFFFFFFFFu));
}

QString GetFileVersionStr(const QString &fileName)
{
    return PeVersionReader::FileVersionOf(fileName);
}

qint32 ShowMsgBox(const QString &text, const QString &caption, qint8 kind)
{
    if (kind < 1 || kind > 4)
        return 0;
    return TPlatform::Instance().MessageBox(text, caption, kind);
}

qint32 KillProcessByName(const QString &exeName)
{
    const QString wanted = AsciiUpper(exeName);
    qint32 result = 0;
    const QList<TProcessEntry> processes = TPlatform::Instance().Processes();
    for (const TProcessEntry &process : processes) {
        if (ExeNameMatches(process.exeName, wanted))
            result = TPlatform::Instance().TerminateProcess(process.pid) ? 1 : 0;
    }
    return result;
}
