// Notices and guide tips.
#include "common/MsgDlg.h"
#include "common/NoticeWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>

namespace {

QList<QWidget *> OpenWindows(const QString &name)
{
    QList<QWidget *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            found << w;
    return found;
}

} // namespace

class TestMsgDlg : public QObject
{
    Q_OBJECT
private slots:
    void init() { ClearShownNotices(); }

    void noticeRecordedAndShown()
    {
        QWidget owner;
        owner.resize(400, 300);
        auto *edit = new QLineEdit(&owner);
        owner.show();
        edit->setFocus();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));

        SetNoticeOwner(&owner);
        ShowNotice(QStringLiteral("号码释放成功！"), 1, 1000);
        showdlgInfo(QStringLiteral("已复制"), 0x100, nullptr, 10);
        QCOMPARE(ShownNotices().size(), 2);
        QCOMPARE(ShownNotices().at(0).text, QStringLiteral("号码释放成功！"));
        QCOMPARE(ShownNotices().at(0).flag, 1);
        QCOMPARE(ShownNotices().at(0).owner, &owner);
        QCOMPARE(ShownNotices().at(0).value, 1000);
        // Only the low byte of the flag counts.
        QCOMPARE(ShownNotices().at(1).flag, 0);
        QCOMPARE(ShownNotices().at(1).owner, nullptr);

        const QList<QWidget *> notices = OpenWindows("NoticeWindow");
        QCOMPARE(notices.size(), 1);
        QWidget *notice = notices.first();
        QVERIFY(notice->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(notice->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(notice->testAttribute(Qt::WA_ShowWithoutActivating));
        // The user keeps typing where they were.
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(QApplication::activeWindow(), &owner);
        SetNoticeOwner(nullptr);
    }

    void noticeFades()
    {
        QVERIFY(TNoticeWindow::VisibleMs(10) < 1500);
        QVERIFY(TNoticeWindow::VisibleMs(10) < TNoticeWindow::VisibleMs(1000));
        QVERIFY(TNoticeWindow::VisibleMs(1000) < TNoticeWindow::VisibleMs(1500));
        QVERIFY(TNoticeWindow::VisibleMs(1500) < TNoticeWindow::VisibleMs(2000));

        showdlgInfo(QStringLiteral("a"), 1, nullptr, 10);
        QCOMPARE(OpenWindows("NoticeWindow").size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(OpenWindows("NoticeWindow").size(), 0, 3000);
        showdlgInfo(QStringLiteral("b"), 1, nullptr, 1000);
        QTest::qWait(1500);
        QCOMPARE(OpenWindows("NoticeWindow").size(), 1);
    }

    void guideTip()
    {
        QWidget window;
        window.resize(400, 300);
        auto *first = new QLineEdit(&window);
        first->setGeometry(20, 20, 120, 24);
        auto *second = new QLineEdit(&window);
        second->setGeometry(20, 120, 120, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        CloseGuide(); // nothing open: harmless
        GuideInfo(first, QStringLiteral("点击此处即可复制“号码”"));
        QCOMPARE(CurrentGuideText(), QStringLiteral("点击此处即可复制“号码”"));
        QCOMPARE(CurrentGuideControl(), first);
        QList<QWidget *> balloons = OpenWindows("GuideBalloon");
        QCOMPARE(balloons.size(), 1);
        // The balloon hangs below the control, its arrow at the control's middle.
        const QPoint tip = first->mapToGlobal(QPoint(first->width() / 2, first->height()));
        QCOMPARE(balloons.first()->y(), tip.y());
        QVERIFY(balloons.first()->geometry().left() < tip.x());
        QVERIFY(balloons.first()->geometry().right() > tip.x());
        // The text keeps to one line within the balloon's 10 pixel padding: no glyph wraps away.
        QWidget *balloon = balloons.first();
        const QFontMetrics metrics(balloon->font());
        const auto lines = [&metrics](int width) {
            return metrics.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap,
                                        CurrentGuideText()).height();
        };
        QCOMPARE(lines(balloon->width() - 2 * 10), lines(10000));
        // It follows the control when the layout moves it, or moves one of its parents.
        first->move(20, 60);
        QCOMPARE(balloon->y(), first->mapToGlobal(QPoint(0, first->height())).y());
        window.move(window.x() + 30, window.y() + 40);
        QTRY_COMPARE(balloon->y(), first->mapToGlobal(QPoint(0, first->height())).y());

        GuideInfo(second, QStringLiteral("点击此处可复制“短信内容”"));
        QCOMPARE(CurrentGuideControl(), second);
        QTRY_COMPARE(OpenWindows("GuideBalloon").size(), 1);

        CloseGuide();
        QCOMPARE(CurrentGuideText(), QString());
        QCOMPARE(CurrentGuideControl(), nullptr);
        QTRY_COMPARE(OpenWindows("GuideBalloon").size(), 0);

        // A control that goes away takes its tip with it.
        GuideInfo(second, QStringLiteral("x"));
        delete second;
        QCOMPARE(CurrentGuideControl(), nullptr);
        QTRY_COMPARE(OpenWindows("GuideBalloon").size(), 0);
    }
};

QTEST_MAIN(TestMsgDlg)
#include "tst_msgdlg.moc"
