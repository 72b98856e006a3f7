#include "UpdaterLog.h"

#include <QDateTime>
#include <QFile>

UpdaterLog::UpdaterLog(const QString &path) : path_(path)
{
}

void UpdaterLog::write(const QString &line) const
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    file.write((stamp + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8());
}
