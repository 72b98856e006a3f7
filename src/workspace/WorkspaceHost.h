#pragma once

#include "channel/CommandHost.h"

class TSysInfo;
class TUserInfo;

// What the code workspace needs of the main window besides the command channel.
class TWorkspaceHost : public TCommandHost
{
public:
    virtual TUserInfo &UserInfo() = 0;
    virtual TSysInfo &SysInfo() = 0;
    virtual void GetUserInfo() = 0;
    virtual void SetFirstTip() = 0;
    virtual void GoMainUrl(const QString &page) = 0;
    virtual void FreeNum(const QString &selmob) = 0;
    virtual void IgnoreMob(const QString &pid, const QString &mob) = 0;

protected:
    ~TWorkspaceHost() = default;
};
