#pragma once

#include <QEvent>

#include <atomic>
#include <memory>

// An event whose sender waits until it has been handled: Qt deletes an event after delivery,
// and also when its receiver dies or the application ends first, so the destructor always
// releases the waiting thread.
class TSyncEvent : public QEvent
{
public:
    explicit TSyncEvent(QEvent::Type type);
    ~TSyncEvent() override;

    // Shared with the sender, which waits for it to turn true.
    std::shared_ptr<std::atomic<bool>> Handled() const { return bhandled; }

private:
    std::shared_ptr<std::atomic<bool>> bhandled = std::make_shared<std::atomic<bool>>(false);
};
