#include "update/DownIdHttp.h"

#include "update/HttpFetch.h"
#include "update/SafeUnzip.h"
#include "update/UpStateEvent.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

std::shared_ptr<TDownIdHttp> TDownIdHttp::Create(QObject *msghandle, const QString &strurl,
                                                 const QString &savePath, quint32 winmsg,
                                                 qint8 bunzip, QObject *context, TDoneHandler onDone)
{
    std::shared_ptr<TDownIdHttp> worker(new TDownIdHttp);
    worker->_msghandle = msghandle;
    worker->_strurl = strurl;
    worker->_SavePath = savePath;
    worker->_WinMsg = winmsg;
    worker->_bUnZip = bunzip;
    worker->objcontext = context;
    worker->OnDone = std::move(onDone);
    worker->StartThread();
    return worker;
}

std::optional<qint32> TDownIdHttp::Percent(qint64 done, qint64 total)
{
    if (total <= 0)
        return std::nullopt;
    // nearbyint rounds halves to even in the default rounding mode
    return qint32(std::nearbyint(double(done) / double(total) * 100.0));
}

bool TDownIdHttp::IsDownloadAddress(const QString &url)
{
    const QString lower = url.toLower();
    return lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://"));
}

void TDownIdHttp::Execute()
{
    if (Download() && !Terminated())
        iStat = Done;
    auto self = std::static_pointer_cast<TDownIdHttp>(shared_from_this());
    Invoke(objcontext, [self] { self->OnDone(self.get()); });
}

bool TDownIdHttp::Download()
{
    if (!IsDownloadAddress(_strurl))
        return false;
    THttpFetch http;
    http.iStallSeconds = 60;
    http.Aborted = [this] { return Terminated(); };
    http.OnProgress = [this](qint64 done, qint64 total) { ReportProgress(done, total); };
    QByteArray body;
    if (!http.Get(_strurl, body) || Terminated())
        return false;

    QSaveFile file(_SavePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit())
        return false;
    if (Terminated())
        return false;
    if (_bUnZip == UnZip) {
        if (!TSafeUnzip::Extract(_SavePath, QFileInfo(_SavePath).absolutePath()))
            return false;
        QFile::remove(_SavePath);
    }
    return true;
}

void TDownIdHttp::ReportProgress(qint64 done, qint64 total)
{
    iallsize = total;
    const auto percent = Percent(done, iallsize);
    if (!_msghandle || !percent || percent == ilastpercent)
        return;
    ilastpercent = percent;
    Post(_msghandle, new TUpStateEvent(TUpStateEvent::Progress, *percent, QEvent::Type(_WinMsg)));
}
