#include "common/TTimer.h"

TTimer::TTimer(QObject *parent) : QObject(parent)
{
    // Poll intervals are seconds long; a coarse timer could drift by 5% of them.
    objTimer.setTimerType(Qt::PreciseTimer);
    connect(&objTimer, &QTimer::timeout, this, &TTimer::Timer);
    UpdateTimer();
}

void TTimer::SetInterval(int milliseconds)
{
    if (milliseconds == iInterval)
        return;
    iInterval = milliseconds;
    UpdateTimer();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == bEnabled)
        return;
    bEnabled = enabled;
    UpdateTimer();
}

// Every change starts the count-down afresh, as the original timer does.
void TTimer::UpdateTimer()
{
    objTimer.stop();
    if (bEnabled && iInterval > 0)
        objTimer.start(iInterval);
}
