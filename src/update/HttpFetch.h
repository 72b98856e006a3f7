#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// One HTTP GET into memory on the calling thread, for the update check and the downloads.
// Only a complete 2xx reply counts; redirects are followed.
class THttpFetch
{
public:
    // Polled during the transfer; returning true aborts it.
    std::function<bool()> Aborted;
    // Bytes so far and the total the transfer announced (0 when it announced none).
    std::function<void(qint64 done, qint64 total)> OnProgress;
    int iConnectTimeoutMs = 5000;
    int iTotalTimeoutMs = 0;   // 0: no limit
    int iStallSeconds = 0;     // abort when no byte arrives for so long; 0: never
    qint64 iMaxBytes = 256LL * 1024 * 1024;

    // The body of a 2xx reply; false on any failure (body then empty).
    bool Get(const QString &url, QByteArray &body);

    // A reply body as text: UTF-8 when it is valid UTF-8, else GBK.
    static QString DecodeText(const QByteArray &body);
};
