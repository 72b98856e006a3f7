#include "app/DesktopLink.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

// A value of a desktop entry: backslash and line breaks escaped.
QString EntryValue(QString text)
{
    text.replace(u'\\', QLatin1String("\\\\"));
    text.replace(u'\n', QLatin1String("\\n"));
    text.replace(u'\r', QLatin1String("\\r"));
    return text;
}

// One argument of the Exec key, quoted as the desktop entry rules want.
QString ExecArgument(QString text)
{
    QString sQuoted;
    for (const QChar c : std::as_const(text)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            sQuoted += u'\\';
        sQuoted += c;
    }
    sQuoted.replace(u'%', QLatin1String("%%"));
    return u'"' + sQuoted + u'"';
}

} // namespace

QString DesktopLinkExt()
{
    return QStringLiteral(".desktop");
}

void CreateDesktopLink(const QString &target, const QString &arguments, const QString &linkFile,
                       const QString &description)
{
    if (!linkFile.toUpper().endsWith(DesktopLinkExt().toUpper()))
        return;
    QString sExec = ExecArgument(target);
    if (!arguments.isEmpty())
        sExec += u' ' + arguments;
    const QString sEntry = QStringLiteral("[Desktop Entry]\n"
                                          "Type=Application\n"
                                          "Name=%1\n"
                                          "Comment=%1\n"
                                          "Exec=%2\n"
                                          "Path=%3\n"
                                          "Terminal=false\n")
                               .arg(EntryValue(description), EntryValue(sExec),
                                    EntryValue(QFileInfo(target).absolutePath()));
    QSaveFile file(linkFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    // Desktops start only launchers that are executable.
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                        | QFileDevice::ExeOther);
    file.write(sEntry.toUtf8());
    file.commit();
}
