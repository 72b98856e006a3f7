#pragma once

#include <QWidget>

class TWorkspaceHost;

// The project picker of the tab "获取验证码". (Placeholder: the full picker replaces it.)
class Tfrmcode : public QWidget
{
    Q_OBJECT
public:
    Tfrmcode(QWidget *AOwner, TWorkspaceHost &host);

    void SetFirst(bool b);
    void GetFavProlist(quint8 itype, const QString &keystr);
    void getfavpro(const QString &sRtn);
    void getMobilenum(const QString &sRtn);
    void DelFrame(const QString &fname);
    // The maximum of the count spinner upnum.
    void SetUpnumMax(qint32 maximum);

private:
    TWorkspaceHost &objhost;
};
