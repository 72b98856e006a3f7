#include "update/UpdateThread.h"

#include "common/Global.h"
#include "update/HttpFetch.h"
#include "update/UpInfoEvent.h"

#include <QFileInfo>

std::shared_ptr<TUpdateThread> TUpdateThread::Create(QObject *phandle, const QString &host,
                                                     const QString &version, const QString &type)
{
    std::shared_ptr<TUpdateThread> thread(new TUpdateThread(
        phandle, QStringLiteral("%1client.aspx?v=%2&t=%3").arg(host, version, type)));
    thread->StartThread();
    return thread;
}

TUpdateThread::TUpdateThread(QObject *phandle, const QString &host) : _Phandle(phandle), _host(host)
{
}

QString TUpdateThread::GetUpdaterVersion()
{
    const QString updater = GetAppPath() + QStringLiteral("update.exe");
    return QFileInfo::exists(updater) ? GetFileVersionStr(updater) : QString();
}

QString TUpdateThread::RequestUrl() const
{
    return _host + QStringLiteral("&u=") + GetUpdaterVersion();
}

void TUpdateThread::Execute()
{
    while (!Terminated()) {
        CheckOnce();
        Sleep(CheckIntervalMs);
    }
}

void TUpdateThread::CheckOnce()
{
    THttpFetch http;
    // A short answer, like a command's
    http.iTotalTimeoutMs = 30000;
    http.iMaxBytes = 1024 * 1024;
    http.Aborted = [this] { return Terminated(); };
    QByteArray body;
    if (!http.Get(RequestUrl(), body))
        return;
    const auto info = TGetUpInfo::FromReply(THttpFetch::DecodeText(body));
    if (info)
        Send(_Phandle, new TUpInfoEvent(std::make_shared<TGetUpInfo>(*info)));
}
