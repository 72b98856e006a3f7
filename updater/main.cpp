#include "Updater.h"

#include "common/Global.h"

#include <QCoreApplication>

// Started by the client with no arguments once it has left "update.zip" and "uplog.txt" in
// its folder; the client ends itself right after.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return Updater(GetAppPath()).run();
}
