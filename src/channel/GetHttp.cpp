#include "channel/GetHttp.h"

#include "common/Ansi.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringDecoder>

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr long kConnectTimeoutMs = 5000;
constexpr long kTotalTimeoutS = 30;
constexpr qsizetype kReplyCap = 1024 * 1024;

struct TBody
{
    QByteArray data;
};

size_t WriteBody(char *ptr, size_t size, size_t count, void *userdata)
{
    auto *body = static_cast<TBody *>(userdata);
    const size_t bytes = size * count;
    // Returning less than given aborts the transfer: an oversized reply counts as failed.
    if (body->data.size() + qsizetype(bytes) > kReplyCap)
        return 0;
    body->data.append(ptr, qsizetype(bytes));
    return bytes;
}

// The request target goes out as given: no fragment, ASCII only.
QByteArray RequestTarget(const QString &url)
{
    QString sUrl = url;
    const qsizetype iFragment = sUrl.indexOf(u'#');
    if (iFragment >= 0)
        sUrl.truncate(iFragment);
    QByteArray target;
    target.reserve(sUrl.size());
    for (const QChar c : std::as_const(sUrl))
        target.append(c.unicode() < 128 ? char(c.unicode()) : '?');
    return target;
}

QByteArray CharsetOf(const QByteArray &contentType)
{
    const QByteArray lower = contentType.toLower();
    const qsizetype iAt = lower.indexOf("charset=");
    if (iAt < 0)
        return {};
    QByteArray charset = lower.mid(iAt + 8);
    const qsizetype iEnd = charset.indexOf(';');
    if (iEnd >= 0)
        charset.truncate(iEnd);
    charset = charset.trimmed();
    if (charset.size() >= 2 && charset.startsWith('"') && charset.endsWith('"'))
        charset = charset.mid(1, charset.size() - 2);
    return charset;
}

bool DecodeBody(const QByteArray &body, const QByteArray &contentType, QString &text)
{
    const QByteArray charset = CharsetOf(contentType);
    if (charset.isEmpty()) {
        text = DecodeUtf8OrAnsi(body);
        return true;
    }
    // Servers that say gb2312 send GBK.
    if (charset == "gbk" || charset == "gb2312") {
        text = FromAnsi(body);
        return true;
    }
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return false;
    text = decoder.decode(body);
    return !decoder.hasError();
}

} // namespace

// Keeps track of the running workers so the program can stop them at exit, and owns each
// worker's lifetime: whoever drops the last reference (the thread, the delivered completion,
// or a completion Qt dropped) frees it.
class TGetHttpRunner
{
public:
    static void Launch(TGetHttp *worker)
    {
        std::shared_ptr<TGetHttp> holder(worker, [](TGetHttp *p) { delete p; });
        QPointer<QObject> context(worker->objContext);
        {
            std::lock_guard lock(Mutex());
            ++Running();
        }
        std::thread([holder, context]() mutable {
            holder->Run();
            PostCompletion(std::move(holder), std::move(context));
            {
                std::lock_guard lock(Mutex());
                --Running();
            }
            Changed().notify_all();
        }).detach();
    }

    static QString Fetch(const QString &url)
    {
        CURL *curl = curl_easy_init();
        if (!curl)
            return {};
        const QByteArray target = RequestTarget(url);
        TBody body;
        curl_easy_setopt(curl, CURLOPT_URL, target.constData());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalTimeoutS);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortOnShutdown);
        const CURLcode rc = curl_easy_perform(curl);
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        char *contentType = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
        const QByteArray sContentType(contentType);
        curl_easy_cleanup(curl);

        QString text;
        if (rc != CURLE_OK || status < 200 || status > 299
            || !DecodeBody(body.data, sContentType, text))
            return {};
        return text;
    }

    // Waits the given time unless the program is shutting down; false when it is.
    static bool Sleep(int milliseconds)
    {
        std::unique_lock lock(Mutex());
        return !Changed().wait_for(lock, std::chrono::milliseconds(milliseconds),
                                   [] { return ShuttingDown().load(); });
    }

    static void Shutdown(int waitMs)
    {
        ShuttingDown() = true;
        std::unique_lock lock(Mutex());
        Changed().notify_all();
        Changed().wait_for(lock, std::chrono::milliseconds(waitMs), [] { return Running() == 0; });
    }

    static std::atomic<bool> &ShuttingDown()
    {
        static std::atomic<bool> bShutdown{false};
        return bShutdown;
    }

private:
    static void PostCompletion(std::shared_ptr<TGetHttp> holder, QPointer<QObject> context)
    {
        QCoreApplication *app = QCoreApplication::instance();
        if (ShuttingDown() || !app)
            return;
        // Delivered through the application object, which outlives every window: the context
        // is checked on its own thread, so a window destroyed meanwhile is never touched.
        QMetaObject::invokeMethod(
            app,
            [holder, context]() {
                if (context && !ShuttingDown())
                    holder->OnDone(holder.get());
            },
            Qt::QueuedConnection);
    }

    static int AbortOnShutdown(void *, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        return ShuttingDown() ? 1 : 0;
    }

    static std::mutex &Mutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    static std::condition_variable &Changed()
    {
        static std::condition_variable changed;
        return changed;
    }
    static int &Running()
    {
        static int iRunning = 0;
        return iRunning;
    }
};

TGetHttp::TGetHttp(const QString &cmd, const QString &surl, qint32 isleep)
    : _surl(surl), _isleep(isleep), APICMD(cmd)
{
}

void TGetHttp::Start(QObject *context, TDoneHandler onDone)
{
    GlobalInit();
    objContext = context;
    OnDone = std::move(onDone);
    TGetHttpRunner::Launch(this);
}

void TGetHttp::ShutdownAll(int waitMs)
{
    TGetHttpRunner::Shutdown(waitMs);
}

void TGetHttp::GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void TGetHttp::Run()
{
    if (_isleep > 0 && !TGetHttpRunner::Sleep(_isleep))
        return;
    if (!TGetHttpRunner::ShuttingDown())
        sRtn = TGetHttpRunner::Fetch(_surl);
}
