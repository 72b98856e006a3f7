#include "WorkspaceFixture.h"

#include "common/MsgDlg.h"
#include "common/TTimer.h"
#include "common/Tag.h"
#include "workspace/framecode.h"
#include "workspace/frmmobtask.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestSend : public WorkspaceTestCase
{
    Q_OBJECT

    Tframemob *OpenTask(int project, const QString &favourites = kThreeFavourites)
    {
        f->LoadFavourites(favourites);
        f->Select(project);
        f->RequestNumbers(QStringLiteral("13800000001|x"));
        return f->Tasks().isEmpty() ? nullptr : f->Tasks().first();
    }

    qsizetype Count(const char *action) const { return f->Requests(QLatin1String(action)).size(); }

private slots:
    void rowsByProjectType_data()
    {
        QTest::addColumn<int>("project");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("sending");
        QTest::addColumn<bool>("receiving");
        QTest::newRow("0 receiving") << 1 << 74 << false << true;
        QTest::newRow("1 sending") << 2 << 104 << true << false;
        QTest::newRow("2 both") << 3 << 135 << true << true;
    }
    void rowsByProjectType()
    {
        QFETCH(int, project);
        QFETCH(int, height);
        QFETCH(bool, sending);
        QFETCH(bool, receiving);
        Tframemob *task = OpenTask(project);
        QVERIFY(task);
        QCOMPARE(task->height(), height);
        for (const char *name : {"Label4", "edtsms", "btnsend", "Label6", "cborecv"})
            QCOMPARE(!Part<QWidget>(task, name)->isHidden(), sending);
        for (const char *name : {"Label2", "pnlcode", "Memo1", "lblget"})
            QCOMPARE(!Part<QWidget>(task, name)->isHidden(), receiving);
        QCOMPARE(Part<TTimer>(task, "trmget")->Enabled(), receiving);
        QCOMPARE(Part<TTimer>(task, "tmrsend")->Enabled(), false);
        // The first poll comes GetCodeTime after the task opened, however slow the set-up was.
        if (receiving) {
            QTRY_COMPARE(Count("getVcodeAndHoldMobilenum"), 1);
        } else {
            QTest::qWait(1300);
            QCOMPARE(Count("getVcodeAndHoldMobilenum"), 0);
        }
    }

    void recipientList_data()
    {
        QTest::addColumn<QString>("favourites");
        QTest::addColumn<int>("project");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("two and a trailing comma") << kThreeFavourites << 2 << QStringList{"13900000001", "13900000002"};
        QTest::newRow("one") << kThreeFavourites << 3 << QStringList{"13900000009"};
        QTest::newRow("empty") << QStringLiteral("1\n9`空`u`1`1`x`i``") << 1 << QStringList{};
        QTest::newRow("double comma") << QStringLiteral("1\n9`S`u`1`1`x`i`a,,b") << 1 << QStringList{"a", "", "b"};
    }
    void recipientList()
    {
        QFETCH(QString, favourites);
        QFETCH(int, project);
        QFETCH(QStringList, entries);
        Tframemob *task = OpenTask(project, favourites);
        auto *cborecv = Part<QComboBox>(task, "cborecv");
        QCOMPARE(Entries(cborecv), entries);
        QCOMPARE(cborecv->currentIndex(), entries.isEmpty() ? -1 : 0);

        f->sim.setNextReplies("sendSms", {"OK"});
        Part<QLineEdit>(task, "edtsms")->setText(QStringLiteral("hi"));
        Part<QPushButton>(task, "btnsend")->click();
        QTRY_COMPARE(Count("sendSms"), 1);
        const QString recv = entries.isEmpty() ? QString() : entries.first();
        QVERIFY2(f->Requests("sendSms").first().contains("&recv=" + recv + "&content=hi"),
                 qPrintable(f->Requests("sendSms").first()));
    }

    void sendAndFollowDelivery()
    {
        Tframemob *task = OpenTask(2);
        auto *btnsend = Part<QPushButton>(task, "btnsend");
        auto *tmrsend = Part<TTimer>(task, "tmrsend");
        QCOMPARE(btnsend->text(), QStringLiteral("发送短信"));

        btnsend->click(); // nothing typed
        QCOMPARE(LastNoticeText(), QStringLiteral("还没输入短信内容！"));
        QCOMPARE(ShownNotices().last().value, 1500);
        QCOMPARE(btnsend->text(), QStringLiteral("发送短信"));
        QCOMPARE(Tag(btnsend), 0);
        QVERIFY(!tmrsend->Enabled());

        f->sim.setNextReplies("sendSms", {"OK"});
        f->sim.setNextReplies("getSmsStatus", {"sending", "sending", "succ"});
        Part<QLineEdit>(task, "edtsms")->setText(QStringLiteral("TD 验证&a=b+c#%1 "));
        btnsend->click();
        QCOMPARE(btnsend->text(), QStringLiteral("发送中..."));
        QCOMPARE(Tag(btnsend), 1);
        QVERIFY(tmrsend->Enabled());
        QTRY_COMPARE(LastNoticeText(), QStringLiteral("短信提交成功,正在检测发送状态！"));
        QCOMPARE(f->Requests("sendSms").size(), 1);
        QVERIFY2(f->Requests("sendSms").first().endsWith(
                     "&pid=1002&mobile=13800000001&recv=13900000001"
                     "&content=TD%20%E9%AA%8C%E8%AF%81%26a%3Db%2Bc%23%251%20"),
                 qPrintable(f->Requests("sendSms").first()));

        for (int n = 1; n <= 3; ++n) {
            QTRY_COMPARE(Count("getSmsStatus"), n);
            if (n < 3)
                QCOMPARE(btnsend->text(), QStringLiteral("发送中(%1)...").arg(n));
        }
        QTRY_COMPARE(btnsend->text(), QStringLiteral("发送成功"));
        QVERIFY(!btnsend->isEnabled());
        QVERIFY(!tmrsend->Enabled());
        QVERIFY(f->Requests("getSmsStatus").first().endsWith("&pid=1002&mobile=13800000001"));
        QTest::qWait(1300);
        QCOMPARE(Count("getSmsStatus"), 3);
        QCOMPARE(Count("sendSms"), 1);
        QCOMPARE(Count("getVcodeAndHoldMobilenum"), 0);
    }

    void refusedSubmissionThenClickAsksState()
    {
        Tframemob *task = OpenTask(2);
        auto *btnsend = Part<QPushButton>(task, "btnsend");
        auto *tmrsend = Part<TTimer>(task, "tmrsend");
        f->sim.setNextReplies("sendSms", {"parameter_error"});
        f->sim.setNextReplies("getSmsStatus", {"fail", "sending"});
        Part<QLineEdit>(task, "edtsms")->setText(QStringLiteral("hello"));
        btnsend->click();
        QTRY_COMPARE(LastNoticeText(), QStringLiteral("短信提交失败！"));
        QVERIFY(!tmrsend->Enabled());
        QCOMPARE(btnsend->text(), QStringLiteral("发送中..."));
        QCOMPARE(Tag(btnsend), 1);

        btnsend->click(); // asks for the state, sends nothing again
        QCOMPARE(btnsend->text(), QStringLiteral("发送中(1)..."));
        QTRY_COMPARE(btnsend->text(), QStringLiteral("发送失败！"));
        QVERIFY(btnsend->isEnabled());
        QVERIFY(!tmrsend->Enabled());
        QCOMPARE(Count("sendSms"), 1);
        QCOMPARE(Count("getSmsStatus"), 1);

        btnsend->click(); // after a failure too
        QCOMPARE(btnsend->text(), QStringLiteral("发送中(1)..."));
        QTRY_COMPARE(Count("getSmsStatus"), 2);
        QVERIFY(tmrsend->Enabled());
    }

    void clickAfterSubmissionRestartsCount()
    {
        Tframemob *task = OpenTask(2);
        auto *btnsend = Part<QPushButton>(task, "btnsend");
        f->sim.setNextReplies("sendSms", {"OK"});
        f->sim.setNextReplies("getSmsStatus", {"sending", "sending", "whatever", "sending"});
        Part<QLineEdit>(task, "edtsms")->setText(QStringLiteral("hello"));
        btnsend->click();
        QTRY_COMPARE(Count("getSmsStatus"), 2);
        QCOMPARE(btnsend->text(), QStringLiteral("发送中(2)..."));
        // The second reply is in (it puts the retry interval back): the slot is free.
        QTRY_COMPARE(Part<TTimer>(task, "tmrsend")->Interval(), 1000);
        btnsend->click();
        QCOMPARE(btnsend->text(), QStringLiteral("发送中(1)..."));
        QCOMPARE(Tag(Part<TTimer>(task, "tmrsend")), 1);
        QTRY_COMPARE(Count("getSmsStatus"), 3); // at once, not a full interval later
        QCOMPARE(Count("sendSms"), 1);
    }

    void receivingAndSendingShareTheSlot()
    {
        f->sim.setDelay("getVcodeAndHoldMobilenum", 1500);
        f->sim.setNextReplies("getVcodeAndHoldMobilenum", {"m|hello"});
        Tframemob *task = OpenTask(3);
        auto *btnsend = Part<QPushButton>(task, "btnsend");
        QTRY_COMPARE(Count("getVcodeAndHoldMobilenum"), 1);
        Part<QLineEdit>(task, "edtsms")->setText(QStringLiteral("hello"));
        btnsend->click(); // the poll holds the slot: dropped, but the button moves on
        QCOMPARE(btnsend->text(), QStringLiteral("发送中..."));
        QCOMPARE(Tag(btnsend), 1);
        QVERIFY(Part<TTimer>(task, "tmrsend")->Enabled());

        // The message ends the polling and frees the slot; the next status tick goes out.
        QTRY_COMPARE(Part<QLabel>(task, "lblget")->text(), QStringLiteral("已获取"));
        emit Part<TTimer>(task, "tmrsend")->Timer();
        QTRY_COMPARE(Count("getSmsStatus"), 1);
        QCOMPARE(Count("sendSms"), 0);
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
