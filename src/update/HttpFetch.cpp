#include "update/HttpFetch.h"

#include "common/Ansi.h"

#include <curl/curl.h>

#include <memory>

namespace {

struct TTransfer
{
    THttpFetch *fetch = nullptr;
    QByteArray *body = nullptr;
};

size_t WriteBody(char *data, size_t size, size_t count, void *user)
{
    auto *transfer = static_cast<TTransfer *>(user);
    const size_t len = size * count;
    if (transfer->body->size() + qint64(len) > transfer->fetch->iMaxBytes)
        return 0; // libcurl ends the transfer with a write error
    transfer->body->append(data, qsizetype(len));
    return len;
}

int Progress(void *user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t)
{
    auto *fetch = static_cast<TTransfer *>(user)->fetch;
    if (fetch->Aborted && fetch->Aborted())
        return 1;
    if (fetch->OnProgress)
        fetch->OnProgress(dlnow, dltotal);
    return 0;
}

} // namespace

bool THttpFetch::Get(const QString &url, QByteArray &body)
{
    body.clear();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return false;
    const QByteArray address = url.toUtf8();
    TTransfer transfer{this, &body};
    CURL *h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, address.constData());
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(iConnectTimeoutMs));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(iTotalTimeoutMs));
    if (iStallSeconds > 0) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(iStallSeconds));
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

    long status = 0;
    const bool ok = curl_easy_perform(h) == CURLE_OK
                    && curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK
                    && status >= 200 && status < 300;
    if (!ok)
        body.clear();
    return ok;
}

QString THttpFetch::DecodeText(const QByteArray &body)
{
    return DecodeUtf8OrAnsi(body);
}
