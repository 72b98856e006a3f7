#pragma once

#include <QString>
#include <QStringList>

// Unpacks a zip archive over a folder, safely: an entry that would land outside the folder
// (absolute path, "..", a link pointing out) refuses the whole archive before anything is
// touched, and the folder's files are replaced through temporary names so that a failure part
// way puts back every file already replaced. Existing files are overwritten, the archive's
// folders re-created, stored permissions and times kept.
class TSafeUnzip
{
public:
    // True when every entry is in place. On failure the folder is as it was and error says why.
    static bool Extract(const QString &archive, const QString &folder, QString *error = nullptr);

    // The entry's path made relative and clean ("a/b"), or empty when it would leave the folder.
    static QString SafeRelativePath(const QString &entryName);
};
