#pragma once

#include <QWidget>

class TCommandHost;

// The project catalogue of the tab "项目管理". (Placeholder: the full catalogue replaces it.)
class Tframepro : public QWidget
{
    Q_OBJECT
public:
    Tframepro(QWidget *AOwner, TCommandHost &host);

    void showlist();
    void getfavlist(const QString &sRtn);
    void getprolist(const QString &sRtn);
    void setfav(const QString &sRtn);

private:
    TCommandHost &objhost;
};
