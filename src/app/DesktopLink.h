#pragma once

#include <QString>

// Writes a desktop shortcut: a freedesktop launcher (".desktop") on Linux, a shell link
// (".lnk") on Windows. Does nothing for a link file of another extension; failures leave the
// shortcut missing and are not reported.
void CreateDesktopLink(const QString &target, const QString &arguments, const QString &linkFile,
                       const QString &description);

// The extension a link file must carry on this system, with its dot.
QString DesktopLinkExt();
