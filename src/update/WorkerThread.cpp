#include "update/WorkerThread.h"

#include "update/SyncEvent.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// One lock for all update threads: they are few and only ever sleep, wait or post under it.
// Recursive, because an event that Qt refuses is deleted inside postEvent and a sync event's
// destructor wakes the waiters.
std::recursive_mutex &Lock()
{
    static std::recursive_mutex lock;
    return lock;
}

std::condition_variable_any &Wake()
{
    static std::condition_variable_any wake;
    return wake;
}

int iRunning = 0;
std::atomic<int> iEpoch{0};

} // namespace

void TWorkerThread::Terminate()
{
    bterminated = true;
    WakeAll();
}

bool TWorkerThread::Terminated() const
{
    return bterminated || iepoch != iEpoch;
}

void TWorkerThread::WakeAll()
{
    std::lock_guard guard(Lock());
    Wake().notify_all();
}

void TWorkerThread::ShutdownAll(int waitMs)
{
    std::unique_lock guard(Lock());
    ++iEpoch;
    Wake().notify_all();
    Wake().wait_for(guard, std::chrono::milliseconds(waitMs), [] { return iRunning == 0; });
}

void TWorkerThread::StartThread()
{
    {
        std::lock_guard guard(Lock());
        iepoch = iEpoch;
        ++iRunning;
    }
    std::thread([self = shared_from_this()]() mutable {
        self->Execute();
        self.reset();
        std::lock_guard guard(Lock());
        --iRunning;
        Wake().notify_all();
    }).detach();
}

bool TWorkerThread::Sleep(int ms)
{
    std::unique_lock guard(Lock());
    return !Wake().wait_for(guard, std::chrono::milliseconds(ms), [this] { return Terminated(); });
}

bool TWorkerThread::Post(QObject *receiver, QEvent *event)
{
    std::lock_guard guard(Lock());
    if (Terminated()) {
        delete event;
        return false;
    }
    QCoreApplication::postEvent(receiver, event);
    return true;
}

void TWorkerThread::Send(QObject *receiver, TSyncEvent *event)
{
    const auto handled = event->Handled();
    std::unique_lock guard(Lock());
    if (Terminated()) {
        delete event;
        return;
    }
    QCoreApplication::postEvent(receiver, event);
    Wake().wait(guard, [&] { return handled->load() || Terminated(); });
}

bool TWorkerThread::Invoke(QObject *context, std::function<void()> fn)
{
    std::lock_guard guard(Lock());
    if (Terminated())
        return false;
    return QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}
