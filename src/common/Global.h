#pragma once

#include <QString>

// The program folder, always ending in the native separator ("/" here, "\" on Windows).
QString GetAppPath();
// The running executable's file name with its extension, without its folder.
QString GetAppName();
// Appends the native separator unless the path is blank or already ends in it.
QString AddBackslash(const QString &path);
// list := item when empty, else list + separator + item; returns the new list.
QString AddToList(QString &list, const QString &item, const QString &separator);
QString StrAfterLast(const QString &text, QChar c, const QString &fallback);
QString StrBeforeLast(const QString &text, QChar c);
// Low 32 bits of the file size, 0 when it cannot be read.
qint32 GetFileLen(const QString &fileName);
// "a.b.c.d" from a PE file's version resource; "1.0.0.0" for anything else.
QString GetFileVersionStr(const QString &fileName);
// Modal box: kind 1 information, 2 warning, 3 error (OK, result 0); 4 question (1 OK,
// 2 Cancel or closed); any other kind shows nothing and gives 0. GUI thread only.
qint32 ShowMsgBox(const QString &text, const QString &caption, qint8 kind);
// Ends every process whose executable name (file-name part or whole) equals exeName, ASCII
// letters compared case-insensitively. Returns the outcome of the last termination tried
// (non-zero success), 0 when none matched.
qint32 KillProcessByName(const QString &exeName);
