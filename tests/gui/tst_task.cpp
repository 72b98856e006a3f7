#include "WorkspaceFixture.h"

#include "app/frmmain.h"
#include "common/MsgDlg.h"
#include "common/TTimer.h"
#include "common/Tag.h"
#include "workspace/framecode.h"
#include "workspace/frmmobtask.h"
#include "workspace/structutil.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace {

const std::string kPoll = "getVcodeAndHoldMobilenum";

QStringList CodeLabels(Tframemob *task)
{
    QStringList codes;
    // Children come in creation order, which is also their order from left to right.
    for (QLabel *label : Part<QWidget>(task, "pnlcode")->findChildren<QLabel *>(QStringLiteral("codelabel")))
        codes.append(label->text());
    return codes;
}

bool NoticeStartingWith(const QString &start)
{
    for (const TNoticeRecord &notice : ShownNotices()) {
        if (notice.text.startsWith(start))
            return true;
    }
    return false;
}

} // namespace

class TestTask : public WorkspaceTestCase
{
    Q_OBJECT

    // One task of the receiving project (or of the given drop-down item).
    Tframemob *OpenTask(int project = 1, bool several = false, const QString &numbers = "13800000001|x")
    {
        f->LoadFavourites(kThreeFavourites);
        f->Select(project);
        f->code->findChild<QCheckBox *>(QStringLiteral("chklock"))->setChecked(several);
        f->RequestNumbers(numbers);
        return f->Tasks().isEmpty() ? nullptr : f->Tasks().first();
    }

    // A task whose own timer stays quiet, however long the set-up took: it polls only when the
    // test makes it.
    Tframemob *OpenQuietTask()
    {
        f->SysInfo().SetGetCodeTime(3600);
        Tframemob *task = OpenTask();
        if (task)
            Part<TTimer>(task, "trmget")->SetEnabled(false);
        return task;
    }

    int Polls() const { return int(f->Requests(QString::fromStdString(kPoll)).size()); }

private slots:
    void pollWithoutMessageGoesOn()
    {
        f->sim.setNextReplies(kPoll, {"no_message", "login_error"});
        f->sim.setDelay(kPoll, 500);
        f->SysInfo().SetGetCodeTime(2); // room for a slow set-up before the first poll
        Tframemob *task = OpenTask();
        QVERIFY(task);
        auto *lblget = Part<QLabel>(task, "lblget");
        auto *trmget = Part<TTimer>(task, "trmget");
        QCOMPARE(lblget->text(), QStringLiteral("获取验证码"));
        QCOMPARE(trmget->Interval(), 2000);
        QVERIFY(trmget->Enabled());
        QCOMPARE(Polls(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(Polls(), 1, 10000); // GetCodeTime seconds after creation
        QVERIFY2(f->Requests(QString::fromStdString(kPoll)).first().endsWith("&pid=1001&mobile=13800000001"),
                 qPrintable(f->Requests(QString::fromStdString(kPoll)).first()));
        QVERIFY(f->Requests(QString::fromStdString(kPoll)).first().contains("&token="));
        QCOMPARE(lblget->text(), QStringLiteral("第1次获取中"));
        QCOMPARE(trmget->Interval(), 10000); // while the poll is out
        QTRY_COMPARE_WITH_TIMEOUT(Polls(), 3, 15000);
        QCOMPARE(Tag(trmget), 3);
        QVERIFY(Part<QPlainTextEdit>(task, "Memo1")->toPlainText().isEmpty());
        QTRY_COMPARE(trmget->Interval(), 2000); // a reply puts the 10 s retry back to GetCodeTime
        QVERIFY(trmget->Enabled());
    }

    void badRepliesAreNoMessage_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::newRow("empty") << "";
        QTest::newRow("error word") << "login_error";
        QTest::newRow("garbage") << "\x01\x02<html>oops</html>";
        QTest::newRow("too large") << QString(2 * 1024 * 1024, u'|');
    }
    void badRepliesAreNoMessage()
    {
        QFETCH(QString, reply);
        f->sim.setNextReplies(kPoll, {reply.toStdString()});
        Tframemob *task = OpenTask();
        QTRY_COMPARE(Polls(), 2); // the bad reply came, the next poll follows
        QVERIFY(Part<QPlainTextEdit>(task, "Memo1")->toPlainText().isEmpty());
        QVERIFY(Part<TTimer>(task, "trmget")->Enabled());
    }

    void singleMessageStopsPolling()
    {
        f->sim.setNextReplies(kPoll, {"13800000001|【商城】您的验证码是 482913 ，请勿泄露"});
        Tframemob *task = OpenTask();
        QTRY_COMPARE(Part<QLabel>(task, "lblget")->text(), QStringLiteral("已获取"));
        QVERIFY(!Part<QLabel>(task, "lblget")->isEnabled());
        QCOMPARE(Part<QPlainTextEdit>(task, "Memo1")->toPlainText(), QStringLiteral("【商城】您的验证码是 482913 ，请勿泄露"));
        QCOMPARE(CodeLabels(task), QStringList{"482913  "});
        QVERIFY(Part<QLabel>(task, "lbltip")->isHidden());
        QVERIFY(!Part<TTimer>(task, "trmget")->Enabled());

        // The disabled link does nothing, and no further poll goes out.
        QTest::mouseClick(Part<QLabel>(task, "lblget"), Qt::LeftButton);
        QTest::qWait(1500);
        QCOMPARE(Polls(), 1);
        QCOMPARE(Tag(Part<TTimer>(task, "trmget")), 1);
    }

    void severalMessagesKeepPolling()
    {
        f->sim.setNextReplies(kPoll, {"m|验证码1111", "m|nothing here", "m|校检码：2222"});
        Tframemob *task = OpenTask(1, true);
        QVERIFY(task->block);
        QTRY_COMPARE_WITH_TIMEOUT(Polls(), 4, 8000);
        QCOMPARE(Part<QPlainTextEdit>(task, "Memo1")->toPlainText(),
                 QStringLiteral("验证码1111\nnothing here\n校检码：2222"));
        QCOMPARE(CodeLabels(task), (QStringList{"1111  ", "2222  "}));
        // Each code keeps its trailing blanks as room, left to right, never squeezed.
        const QList<QLabel *> labels = Part<QWidget>(task, "pnlcode")->findChildren<QLabel *>(
            QStringLiteral("codelabel"));
        QTRY_VERIFY(labels.at(1)->x() > labels.at(0)->x());
        for (QLabel *label : labels)
            QCOMPARE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        QCOMPARE(labels.at(1)->x(), labels.at(0)->geometry().right() + 1);
        QVERIFY(Part<QLabel>(task, "lblget")->isEnabled());
        QVERIFY(Part<TTimer>(task, "trmget")->Enabled());
    }

    void lineBreaksJoinedBlanksKept()
    {
        f->sim.setNextReplies(kPoll, {"m|第一行\r\n第二行 \"验证码\" 4321 |tail"});
        Tframemob *task = OpenTask();
        QTRY_COMPARE(Part<QPlainTextEdit>(task, "Memo1")->toPlainText(),
                     QStringLiteral("第一行第二行 \"验证码\" 4321 "));
        QCOMPARE(CodeLabels(task), QStringList{"4321  "});
    }

    void noExtractionWhenSwitchedOff()
    {
        f->SysInfo().AutoGetCode = false;
        f->sim.setNextReplies(kPoll, {"m|验证码1234"});
        Tframemob *task = OpenTask();
        QTRY_COMPARE(Part<QPlainTextEdit>(task, "Memo1")->toPlainText(), QStringLiteral("验证码1234"));
        QVERIFY(CodeLabels(task).isEmpty());
        QCOMPARE(Part<QLabel>(task, "lbltip")->text(), QStringLiteral("没有打开自动提取验证码，可在“参数设置”中进行设置"));
    }

    void endsAfterFiveMinutes()
    {
        f->sim.setDelay(kPoll, 0);
        Tframemob *task = OpenQuietTask();
        QVERIFY(task);
        auto *trmget = Part<TTimer>(task, "trmget");
        QCOMPARE(Part<QLabel>(task, "lbltip")->text(), QStringLiteral("正在获取验证码，请稍后..."));
        const int before = Polls();

        f->platform.now += 299999;
        emit trmget->Timer();
        QTRY_COMPARE(Polls(), before + 1);
        QTRY_VERIFY(trmget->Enabled()); // the reply came: polling goes on
        trmget->SetEnabled(false);

        f->platform.now += 1;
        emit trmget->Timer();
        auto *lblget = Part<QLabel>(task, "lblget");
        QCOMPARE(lblget->text(), QStringLiteral("任务已结束"));
        QVERIFY(!lblget->isEnabled());
        QCOMPARE(Part<QPlainTextEdit>(task, "Memo1")->toPlainText(),
                 QStringLiteral("--------------------------\n任务已结束\n--------------------------"));
        QVERIFY(!trmget->Enabled());
        QTest::qWait(1500);
        QCOMPARE(Polls(), before + 1);
    }

    void clickWhilePollIsOutSendsNothing()
    {
        f->sim.setDelay(kPoll, 1500);
        Tframemob *task = OpenQuietTask();
        QVERIFY(task);
        auto *lblget = Part<QLabel>(task, "lblget");
        QTest::mouseClick(lblget, Qt::LeftButton);
        QCOMPARE(lblget->text(), QStringLiteral("第1次获取中"));
        QTest::mouseClick(lblget, Qt::LeftButton);
        QCOMPARE(lblget->text(), QStringLiteral("第2次获取中"));
        QCOMPARE(Tag(Part<TTimer>(task, "trmget")), 2);
        QTRY_COMPARE(Polls(), 1);
        QTest::qWait(1000);
        QCOMPARE(Polls(), 1);
    }

    void releaseAndBlacklist()
    {
        Tframemob *task = OpenTask(1, false, "13800000001;13800000002|x");
        QVERIFY(task);
        // The tasks poll by themselves until they are removed; each poll counts on its timer.
        int polled = Tag(Part<TTimer>(task, "trmget"));
        auto *wb1 = f->code->findChild<QTextBrowser *>(QStringLiteral("wb1"));
        QTest::mouseClick(Part<QLabel>(task, "Label3"), Qt::LeftButton); // 释放号码 of 13800000002
        QCOMPARE(f->Tasks().size(), 1);
        QVERIFY(wb1->isHidden());
        QVERIFY(f->WaitIdle()); // the tabs take no input while the release is out
        task = f->Tasks().first();
        polled += Tag(Part<TTimer>(task, "trmget"));
        QTest::mouseClick(Part<QLabel>(task, "Label5"), Qt::LeftButton); // 加入黑名单
        QVERIFY(f->Tasks().isEmpty());
        QVERIFY(!wb1->isHidden());

        QTRY_COMPARE(f->Requests("ReleaseMobile").size(), 1);
        QVERIFY(f->Requests("ReleaseMobile").first().endsWith("&mobile=13800000002"));
        QTRY_COMPARE(f->Requests("addIgnoreList").size(), 1);
        QVERIFY(f->Requests("addIgnoreList").first().endsWith("&pid=1001&mobiles=13800000001"));
        // The results come later, as notices of the main window.
        QTRY_VERIFY(NoticeStartingWith(QStringLiteral("号码释放")));
        QTRY_VERIFY(NoticeStartingWith(QStringLiteral("加黑")));
        QTRY_COMPARE(Polls(), polled);
        QTest::qWait(1200);
        QCOMPARE(Polls(), polled); // removed tasks poll no more
    }

    void removedWhilePollInFlight()
    {
        f->sim.setDelay(kPoll, 800);
        f->sim.setNextReplies(kPoll, {"m|验证码9999"});
        Tframemob *task = OpenQuietTask();
        QVERIFY(task);
        QTest::mouseClick(Part<QLabel>(task, "lblget"), Qt::LeftButton);
        QTRY_COMPARE(Polls(), 1);
        f->code->DelFrame(QStringLiteral("task1"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f->code->findChild<Tframemob *>());
        QTest::qWait(1500); // the reply arrives for a task that is gone
        QCOMPARE(Polls(), 1);
    }

    void copyingAndGuidedTour()
    {
        f->code->SetFirst(true);
        f->sim.setNextReplies(kPoll, {"m|验证码 5678"});
        Tframemob *task = OpenTask();
        QVERIFY(task->bshowtip);
        auto *memo = Part<QPlainTextEdit>(task, "Memo1");
        auto *pnlcode = Part<QWidget>(task, "pnlcode");

        QTest::mouseClick(memo->viewport(), Qt::LeftButton); // nothing yet
        QCOMPARE(LastNoticeText(), QStringLiteral("还没有短信内容，无法复制"));
        QCOMPARE(ShownNotices().last().value, 1000);
        QCOMPARE(CurrentGuideControl(), pnlcode);

        QTest::mouseClick(task->edtmob, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("13800000001"));
        QCOMPARE(LastNoticeText(), QStringLiteral("13800000001 号码已复制"));
        QCOMPARE(ShownNotices().last().value, 10);
        QCOMPARE(CurrentGuideControl(), memo);
        QCOMPARE(CurrentGuideText(), QStringLiteral("点击此处可复制“短信内容”"));

        QTRY_COMPARE(CodeLabels(task).size(), 1);
        QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("验证码 5678"));
        QCOMPARE(LastNoticeText(), QStringLiteral("短信内容已复制"));
        QCOMPARE(CurrentGuideControl(), pnlcode);
        QCOMPARE(CurrentGuideText(), QStringLiteral("点击此处可直接复制“验证码”"));

        auto *code = pnlcode->findChild<QLabel *>(QStringLiteral("codelabel"));
        QTest::mouseClick(code, Qt::LeftButton); // does not end the tour
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("5678"));
        QCOMPARE(LastNoticeText(), QStringLiteral("5678 验证码已复制"));
        QVERIFY(task->bshowtip);

        QTest::mouseClick(pnlcode, Qt::LeftButton);
        QCOMPARE(LastNoticeText(), QStringLiteral("暂无验证码可复制"));
        QCOMPARE(ShownNotices().last().value, 10);
        QVERIFY(!task->bshowtip);
        QVERIFY(CurrentGuideText().isEmpty());
    }

    void tenTasksOnAHangingServerKeepTheWindowResponsive()
    {
        f->sim.setDelay(kPoll, 4000);
        OpenTask(1, false,
                 "13800000001;13800000002;13800000003;13800000004;13800000005;13800000006;"
                 "13800000007;13800000008;13800000009;13800000010|x");
        QCOMPARE(f->Tasks().size(), 10);
        QTRY_COMPARE(Polls(), 10);
        // Every slot is taken; the GUI thread still turns round at once.
        QElapsedTimer clock;
        clock.start();
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        // Blocking on a request would take the server's 4 s; the bounds leave room for a loaded
        // machine without letting that through.
        QTRY_VERIFY_WITH_TIMEOUT(ran, 2000);
        QVERIFY(clock.elapsed() < 2000);
        for (Tframemob *task : f->Tasks())
            QTest::mouseClick(Part<QLabel>(task, "lblget"), Qt::LeftButton);
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(Polls(), 10);
    }
};

QTEST_MAIN(TestTask)
#include "tst_task.moc"
