#pragma once

#include <QObject>
#include <QString>
#include <functional>

// One HTTP GET on a thread of its own. The completion handler runs on the context object's
// thread (the GUI thread) while the context lives; a destroyed context never hears of the
// reply. The worker frees itself after its handler.
// Connect time-out 5000 ms, total time-out 30 s, bodies above 1 MiB count as failures; only a
// 2xx reply yields a body, decoded by its charset (else UTF-8 when valid, else GBK). Any
// failure leaves sRtn empty.
class TGetHttp
{
public:
    using TDoneHandler = std::function<void(TGetHttp *worker)>;

    TGetHttp(const QString &cmd, const QString &surl, qint32 isleep);

    // Starts the request; call once, right after construction.
    void Start(QObject *context, TDoneHandler onDone);

    // At exit: aborts every transfer in flight and waits at most waitMs for the workers.
    static void ShutdownAll(int waitMs);
    // libcurl's global set-up; runs once, the first call wins. Start calls it too.
    static void GlobalInit();

    QString _surl;       // the complete URL, already encoded
    qint32 _isleep = 0;  // milliseconds to wait before the request
    QString sRtn;        // the reply body, empty on failure
    QString APICMD;      // the command name

private:
    ~TGetHttp() = default;
    void Run();
    friend class TGetHttpRunner;

    QObject *objContext = nullptr;
    TDoneHandler OnDone;
};
