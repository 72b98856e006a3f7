#pragma once

#include "update/GetUpInfo.h"
#include "update/SyncEvent.h"

#include <memory>

// The check's message to the main window (in Qt's user event range).
constexpr QEvent::Type WM_UPINFO = QEvent::Type(4476);

// WM_UPINFO: the check found an answer; its sender waits until it has been handled.
class TUpInfoEvent : public TSyncEvent
{
public:
    explicit TUpInfoEvent(std::shared_ptr<TGetUpInfo> info)
        : TSyncEvent(WM_UPINFO), objinfo(std::move(info)) {}
    const TGetUpInfo *Info() const { return objinfo.get(); }

private:
    std::shared_ptr<TGetUpInfo> objinfo;
};
