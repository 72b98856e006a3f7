#include "catalogue/frmprolist.h"

#include "channel/CommandHost.h"

Tframepro::Tframepro(QWidget *AOwner, TCommandHost &host) : QWidget(AOwner), objhost(host) { }

void Tframepro::showlist()
{
    objhost.ExecCMD(QStringLiteral("getfavlist"), QString(), 0);
}

void Tframepro::getfavlist(const QString &) { }

void Tframepro::getprolist(const QString &) { }

void Tframepro::setfav(const QString &) { }
