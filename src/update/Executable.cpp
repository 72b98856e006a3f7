#include "update/Executable.h"

#include <QFile>

void MakeExecutable(const QString &path)
{
    const QFile::Permissions permissions = QFile::permissions(path);
    if (permissions && !(permissions & QFile::ExeOwner))
        QFile::setPermissions(path, permissions | QFile::ExeOwner | QFile::ExeUser);
}
