#include "update/autoUpdate.h"

#include "common/Global.h"
#include "update/DownIdHttp.h"
#include "update/UpStateEvent.h"

#include <QCoreApplication>
#include <QFileInfo>

TAutoUpdate::TAutoUpdate(QObject *phandle, std::unique_ptr<TUpDateInfo> upInfo)
    : _PHandle(phandle), _upInfo(std::move(upInfo))
{
}

TAutoUpdate::~TAutoUpdate()
{
    if (objdown)
        objdown->Terminate();
}

void TAutoUpdate::StartWork()
{
    DownPlayer();
}

void TAutoUpdate::DownPlayer()
{
    if (!_upInfo->isplayer)
        return;
    objdown = TDownIdHttp::Create(_PHandle, _upInfo->PlayerUrl, GetAppPath() + QStringLiteral("update.zip"),
                                  WM_UPSTATE, TDownIdHttp::Keep, this,
                                  [this](TDownIdHttp *worker) { PlayerDone(worker); });
}

void TAutoUpdate::PlayerDone(TDownIdHttp *worker)
{
    if (worker->iStat != TDownIdHttp::Done) {
        PostState(TUpStateEvent::DownFailed);
        return;
    }
    const QString package = worker->SavePath();
    if (!QFileInfo::exists(package) || GetFileLen(package) < MinPackageSize) {
        PostState(TUpStateEvent::Failed);
        return;
    }
    if (_upInfo->isupdate) {
        objdown = TDownIdHttp::Create(_PHandle, _upInfo->UpdateUrl, GetAppPath() + QStringLiteral("up.zip"),
                                      WM_UPSTATE, TDownIdHttp::UnZip, this,
                                      [this](TDownIdHttp *worker) { UpdaterDone(worker); });
    } else {
        PostState(TUpStateEvent::HandOver);
    }
}

void TAutoUpdate::UpdaterDone(TDownIdHttp *)
{
    PostState(TUpStateEvent::HandOver);
}

void TAutoUpdate::PostState(qint32 state)
{
    QCoreApplication::postEvent(_PHandle, new TUpStateEvent(state, 0));
}
