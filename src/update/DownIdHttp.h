#pragma once

#include "update/WorkerThread.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QObject;

// Downloads one file on a thread of its own, posting its progress to a window, and optionally
// unpacks it as a zip archive into its folder. Frees itself when done (after its end handler).
class TDownIdHttp : public TWorkerThread
{
public:
    enum : qint8 { Keep = 1, UnZip = 2 };
    enum : qint8 { NotDone = 0, Done = 2 };
    using TDoneHandler = std::function<void(TDownIdHttp *worker)>;

    // msghandle: receiver of the progress messages (numbered winmsg), nullptr for none.
    // The end handler runs on the context's thread once the download has ended.
    static std::shared_ptr<TDownIdHttp> Create(QObject *msghandle, const QString &strurl,
                                               const QString &savePath, quint32 winmsg,
                                               qint8 bunzip, QObject *context, TDoneHandler onDone);

    // The percentage of done bytes of an announced total, halves to even; none without a total.
    static std::optional<qint32> Percent(qint64 done, qint64 total);
    // Only http and https addresses are fetched.
    static bool IsDownloadAddress(const QString &url);

    qint8 iStat = NotDone;
    const QString &SavePath() const { return _SavePath; }

protected:
    void Execute() override;

private:
    TDownIdHttp() = default;
    bool Download();
    void ReportProgress(qint64 done, qint64 total);

    QString _strurl;
    QString _SavePath;
    qint8 _bUnZip = Keep;
    quint32 _WinMsg = 0;
    qint64 iallsize = 0;
    QObject *_msghandle = nullptr;
    std::optional<qint32> ilastpercent;
    QObject *objcontext = nullptr;
    TDoneHandler OnDone;
};
