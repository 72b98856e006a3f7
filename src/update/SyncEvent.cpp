#include "update/SyncEvent.h"

#include "update/WorkerThread.h"

TSyncEvent::TSyncEvent(QEvent::Type type) : QEvent(type)
{
}

TSyncEvent::~TSyncEvent()
{
    bhandled->store(true);
    TWorkerThread::WakeAll();
}
