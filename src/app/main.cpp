#include "app/frmmain.h"
#include "channel/GetHttp.h"
#include "update/frmupwin.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    TGetHttp::GlobalInit();
    QApplication app(argc, argv);
    // The login dialog may be the only window: the program ends when the main window closes,
    // not when the last window does.
    QApplication::setQuitOnLastWindowClosed(false);
    int iResult = 0;
    {
        Tfmymmain fmymmain;
        Tfmupwin fmupwin;
        QObject::connect(&fmymmain, &Tfmymmain::Closed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        iResult = QApplication::exec();
    }
    // Workers still out must not outlive the objects they report to.
    TGetHttp::ShutdownAll(1000);
    return iResult;
}
