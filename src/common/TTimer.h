#pragma once

#include <QObject>
#include <QTimer>

// A timer with the original toolkit's rules, which the polling logic depends on: setting the
// interval it already has does not restart the count-down, enabling an enabled timer changes
// nothing, and an interval of 0 keeps it from firing while it stays enabled.
class TTimer : public QObject
{
    Q_OBJECT
public:
    explicit TTimer(QObject *parent = nullptr);

    int Interval() const { return iInterval; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return bEnabled; }
    void SetEnabled(bool enabled);
    // Whether a count-down is running (enabled with an interval above 0).
    bool IsActive() const { return objTimer.isActive(); }
    // Milliseconds left of the running count-down, -1 when none runs.
    int RemainingTime() const { return objTimer.remainingTime(); }

signals:
    void Timer();

private:
    void UpdateTimer();

    QTimer objTimer;
    int iInterval = 1000;
    bool bEnabled = true;
};
