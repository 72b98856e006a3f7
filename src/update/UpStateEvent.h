#pragma once

#include <QEvent>

// The update's state message to the main window (in Qt's user event range).
constexpr QEvent::Type WM_UPSTATE = QEvent::Type(3043);

// WM_UPSTATE: what happened (wParam) and the percentage of a download (lParam).
class TUpStateEvent : public QEvent
{
public:
    // wParam values
    enum : qint32 { DownFailed = 0, Started = 1, Progress = 2, Failed = 4, HandOver = 5 };

    TUpStateEvent(qint32 wparam, qint32 lparam, QEvent::Type type = WM_UPSTATE)
        : QEvent(type), wParam(wparam), lParam(lparam) {}
    const qint32 wParam;
    const qint32 lParam;
};
