#pragma once

#include "workspace/WorkspaceHost.h"
#include "workspace/structutil.h"

#include <QObject>
#include <QStringList>

class Tfrmcode;

// Stands in for the main window where the code workspace is tested on its own: commands go
// to the simulator for real through TGetHttp and replies are routed to the picker as the main
// window's dispatcher does.
class WorkspaceTestHost : public QObject, public TWorkspaceHost
{
    Q_OBJECT
public:
    TUserInfo userInfo;
    TSysInfo sysInfo;
    Tfrmcode *code = nullptr;
    bool favLoaded = false;

    // What the workspace asked of the host.
    int firstTipCalls = 0;
    QStringList mainUrls;
    // Replies of commands the picker does not handle, by command, newest last.
    QStringList releaseReplies;
    QStringList ignoreReplies;
    int pending = 0;

    // Logs in synchronously; false when the simulator refused.
    bool Login(const QString &user, const QString &pwd);

    void ExecCMD(const QString &cmd, const QString &surl, qint32 isleep) override;
    bool FavLoaded() const override { return favLoaded; }
    void SetFavLoaded(bool loaded) override { favLoaded = loaded; }
    TUserInfo &UserInfo() override { return userInfo; }
    TSysInfo &SysInfo() override { return sysInfo; }
    void GetUserInfo() override;
    void SetFirstTip() override { ++firstTipCalls; }
    void GoMainUrl(const QString &page) override { mainUrls.append(page); }
    void FreeNum(const QString &selmob) override;
    void IgnoreMob(const QString &pid, const QString &mob) override;

private:
    void Send(const QString &url, const QString &cmd);
};
