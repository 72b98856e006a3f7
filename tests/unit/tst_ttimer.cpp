#include "common/TTimer.h"

#include <QSignalSpy>
#include <QTest>

class TestTTimer : public QObject
{
    Q_OBJECT
private slots:
    void startsEnabledWithOneSecond()
    {
        TTimer timer;
        QVERIFY(timer.Enabled());
        QCOMPARE(timer.Interval(), 1000);
        QVERIFY(timer.IsActive());
    }

    void firesRepeatedly()
    {
        TTimer timer;
        QSignalSpy spy(&timer, &TTimer::Timer);
        timer.SetInterval(10);
        QTRY_VERIFY(spy.count() >= 3);
    }

    // Long intervals: the rules show in the count-down left, without waiting for a tick.
    void countDownRestarts_data()
    {
        QTest::addColumn<int>("newInterval");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<bool>("restarted");
        QTest::newRow("same interval keeps it") << 60000 << false << false;
        QTest::newRow("enabling again keeps it") << 0 << false << false;
        QTest::newRow("other interval restarts it") << 70000 << false << true;
        QTest::newRow("disable and enable restarts it") << 0 << true << true;
    }
    void countDownRestarts()
    {
        QFETCH(int, newInterval);
        QFETCH(bool, toggle);
        QFETCH(bool, restarted);
        TTimer timer;
        timer.SetInterval(60000);
        QTest::qWait(200);
        if (newInterval > 0)
            timer.SetInterval(newInterval);
        if (toggle)
            timer.SetEnabled(false);
        timer.SetEnabled(true);
        QVERIFY(timer.IsActive());
        // A kept count-down has lost the 200 ms waited; a restarted one almost nothing.
        const int elapsed = timer.Interval() - timer.RemainingTime();
        QVERIFY2(restarted ? elapsed < 100 : elapsed >= 200, qPrintable(QString::number(elapsed)));
    }

    void zeroIntervalNeverFires()
    {
        TTimer timer;
        QSignalSpy spy(&timer, &TTimer::Timer);
        timer.SetInterval(0);
        QVERIFY(timer.Enabled());
        QVERIFY(!timer.IsActive());
        QTest::qWait(30);
        QCOMPARE(spy.count(), 0);
        timer.SetInterval(10);
        QVERIFY(spy.wait(1000));
    }

    void disabledNeverFires()
    {
        TTimer timer;
        QSignalSpy spy(&timer, &TTimer::Timer);
        timer.SetInterval(5);
        timer.SetEnabled(false);
        QVERIFY(!timer.IsActive());
        QTest::qWait(30);
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestTTimer)
#include "tst_ttimer.moc"
