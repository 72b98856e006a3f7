#pragma once

#include "update/UpDateInfo.h"

#include <QObject>

#include <memory>

class TDownIdHttp;

// Drives one update: downloads the client package, then the updater package if there is one,
// and tells the main window (WM_UPSTATE) how it went.
class TAutoUpdate : public QObject
{
public:
    // Package size below which a download counts as an error page or a truncated file.
    static constexpr qint32 MinPackageSize = 102400;

    // phandle: the main window, receiver of every state message. Takes ownership of upInfo.
    TAutoUpdate(QObject *phandle, std::unique_ptr<TUpDateInfo> upInfo);
    ~TAutoUpdate() override;

    void StartWork();

    // The end handlers of the two downloads (GUI thread).
    void PlayerDone(TDownIdHttp *worker);
    void UpdaterDone(TDownIdHttp *worker);

private:
    void DownPlayer();
    void PostState(qint32 state);

    QObject *_PHandle = nullptr;
    std::unique_ptr<TUpDateInfo> _upInfo;
    std::shared_ptr<TDownIdHttp> objdown; // the download started last
};
