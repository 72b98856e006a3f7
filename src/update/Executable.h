#pragma once

#include <QString>

// Lets the owner run the file. Packages made on Windows carry no execute permission, yet the
// updater and the client they hold must be started from them.
void MakeExecutable(const QString &path);
