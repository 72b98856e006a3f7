#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>

class QEvent;
class QObject;
class TSyncEvent;

// A detached background thread that frees itself when it ends (the last reference goes with
// it). Posting to GUI objects goes through this class so that, once ShutdownAll has returned,
// no thread touches a window again: the owners may then be destroyed safely.
class TWorkerThread : public std::enable_shared_from_this<TWorkerThread>
{
public:
    virtual ~TWorkerThread() = default;

    // Asks the thread to end: wakes it from a sleep or a wait and aborts its transfer.
    void Terminate();
    bool Terminated() const;

    // At exit: terminates every running thread, stops their posting and waits at most waitMs
    // for them to end. Threads started afterwards run normally.
    static void ShutdownAll(int waitMs);
    // Wakes every waiting thread so it looks at its condition again.
    static void WakeAll();

protected:
    TWorkerThread() = default;
    // Starts Execute on a thread of its own; the thread keeps this object alive.
    void StartThread();
    virtual void Execute() = 0;

    // Sleeps up to ms; returns false when cut short by Terminate.
    bool Sleep(int ms);
    // Posts the event unless terminated (then it is dropped). Takes ownership.
    bool Post(QObject *receiver, QEvent *event);
    // Posts and waits until the event has been handled (or dropped), or the thread is
    // terminated. Takes ownership.
    void Send(QObject *receiver, TSyncEvent *event);
    // Runs fn on the context's thread unless terminated; dropped if the context dies first.
    bool Invoke(QObject *context, std::function<void()> fn);

private:
    std::atomic<bool> bterminated{false};
    int iepoch = 0; // ShutdownAll ends every thread of an earlier epoch
};
