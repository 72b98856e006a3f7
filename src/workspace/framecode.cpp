#include "workspace/framecode.h"

#include "workspace/WorkspaceHost.h"

Tfrmcode::Tfrmcode(QWidget *AOwner, TWorkspaceHost &host) : QWidget(AOwner), objhost(host)
{
}

void Tfrmcode::SetFirst(bool) { }

void Tfrmcode::GetFavProlist(quint8 itype, const QString &keystr)
{
    Q_UNUSED(keystr);
    objhost.ExecCMD(QStringLiteral("getfavpro"),
                    QStringLiteral("type=%1&key=").arg(itype), 0);
}

void Tfrmcode::getfavpro(const QString &) { }

void Tfrmcode::getMobilenum(const QString &) { }

void Tfrmcode::DelFrame(const QString &) { }

void Tfrmcode::SetUpnumMax(qint32) { }
