#include "WorkspaceTestHost.h"

#include "channel/GetHttp.h"
#include "channel/UrlEncode.h"
#include "common/TextUtil.h"
#include "common/platform/Platform.h"
#include "workspace/framecode.h"

#include <QTest>

bool WorkspaceTestHost::Login(const QString &user, const QString &pwd)
{
    userInfo.user = user;
    userInfo.pwd = pwd;
    const QString url = TPlatform::Instance().BaseUrl() + "http.aspx?action=loginIn&uid="
                        + EncodeParam(user) + "&pwd=" + EncodeParam(pwd);
    Send(EncodeUrl(url), QStringLiteral("loginIn"));
    if (!QTest::qWaitFor([this] { return pending == 0; }, 10000))
        return false;
    return !userInfo.token.isEmpty();
}

void WorkspaceTestHost::ExecCMD(const QString &cmd, const QString &surl, qint32)
{
    const QString url = TPlatform::Instance().BaseUrl() + "http.aspx?action=" + cmd + "&uid="
                        + EncodeParam(userInfo.user) + "&token=" + EncodeParam(userInfo.token)
                        + "&" + surl;
    Send(EncodeUrl(url), cmd);
}

void WorkspaceTestHost::Send(const QString &url, const QString &cmd)
{
    ++pending;
    auto *worker = new TGetHttp(cmd, url, 0);
    worker->Start(this, [this](TGetHttp *done) {
        --pending;
        const QString &reply = done->sRtn;
        if (done->APICMD == u"loginIn") {
            const QStringList items = SplitList(reply, u'|');
            if (items.size() >= 2)
                userInfo.token = items.at(1);
        } else if (done->APICMD == u"getfavpro") {
            favLoaded = true;
            if (code)
                code->getfavpro(reply);
        } else if (done->APICMD == u"getinfo") {
            if (code)
                code->getMobilenum(reply);
        } else if (done->APICMD == u"ReleaseMobile") {
            releaseReplies.append(reply);
        } else if (done->APICMD == u"addIgnoreList") {
            ignoreReplies.append(reply);
        }
    });
}

void WorkspaceTestHost::GetUserInfo()
{
    ExecCMD(QStringLiteral("getUserInfos"), QString(), 0);
}

void WorkspaceTestHost::FreeNum(const QString &selmob)
{
    ExecCMD(QStringLiteral("ReleaseMobile"), "mobile=" + EncodeParam(selmob), 0);
}

void WorkspaceTestHost::IgnoreMob(const QString &pid, const QString &mob)
{
    ExecCMD(QStringLiteral("addIgnoreList"), "pid=" + EncodeParam(pid) + "&mobiles=" + EncodeParam(mob), 0);
}
