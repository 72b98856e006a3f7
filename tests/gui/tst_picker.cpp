#include "WorkspaceFixture.h"

#include "app/IniFile.h"
#include "app/frmmain.h"
#include "common/MsgDlg.h"
#include "workspace/framecode.h"
#include "workspace/frmmobtask.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

class TestPicker : public WorkspaceTestCase
{
    Q_OBJECT

private:
    // The shown link still leaves every control of the top strip its room in the 864 pixel window.
    void StripFitsWindow() const
    {
        f->main->resize(864, f->main->height());
        QTRY_COMPARE(f->main->centralWidget()->width(), 864);
        QCOMPARE(Part<QComboBox>(f->code, "cbopro")->width(), 190);
        auto *strip = Part<QWidget>(f->code, "t");
        QTRY_VERIFY(Part<QLabel>(f->code, "linklbl")->width() > 0);
        const QWidget *previous = nullptr;
        for (int i = 0; i < strip->layout()->count(); ++i) {
            const QWidget *w = strip->layout()->itemAt(i)->widget();
            if (!w || w->isHidden())
                continue;
            if (w->minimumWidth() == w->maximumWidth())
                QCOMPARE(w->width(), w->minimumWidth());
            else
                QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
            if (previous)
                QVERIFY2(w->x() > previous->geometry().right(), qPrintable(w->objectName()));
            previous = w;
        }
        QVERIFY(previous->geometry().right() < strip->width());
    }

    // The tip's LF CR line ends are drawn as plain line breaks, with no blank opening a line.
    static void TipDrawnWithoutCarriageReturns(QLabel *lblinfo)
    {
        QLabel plain(QString(lblinfo->text()).remove(u'\r'));
        plain.setWordWrap(true);
        plain.setAlignment(lblinfo->alignment());
        plain.setFixedSize(lblinfo->size());
        QLabel shown(lblinfo->text());
        shown.setStyle(lblinfo->style());
        shown.setWordWrap(true);
        shown.setAlignment(lblinfo->alignment());
        shown.setFixedSize(lblinfo->size());
        QCOMPARE(shown.grab().toImage(), plain.grab().toImage());
    }

private slots:
    void favourites_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("urls");

        QTest::newRow("three records") << kThreeFavourites
            << QStringList{"共有3个项目", "注册宝 (收短信)", "发信通 (发短信)", "双向码 (收发短信)"}
            << QStringList{"http://www.zcb.example/reg", "HTTPS://fxt.example", "http://sx.example"};
        QTest::newRow("first line 0") << "0\n1`A`u`1`0`x`i`r" << QStringList{"暂无记录"} << QStringList{};
        QTest::newRow("first line unreadable") << "x\n1`A`u`1`0`x`i`r" << QStringList{"暂无记录"} << QStringList{};
        QTest::newRow("empty reply") << "" << QStringList{"暂无记录"} << QStringList{};
        QTest::newRow("seven fields skipped") << "2\n1`A`u`1`0`x`i`\n2`B`u`1`0`x`i`r"
            << QStringList{"共有1个项目", "B (收短信)"} << QStringList{"http://u"};
        QTest::newRow("empty eighth field kept by its separator") << "1\n1`A``1`0`x`i``"
            << QStringList{"共有1个项目", "A (收短信)"} << QStringList{"http://"};
        QTest::newRow("ninth field not read") << "1\n5`N`http://n`3`2`x`i`r`extra`more"
            << QStringList{"共有1个项目", "N (收发短信)"} << QStringList{"http://n"};
        QTest::newRow("empty lines skipped") << "1\n\n\n7`E`e`0`1`x`i`r\n"
            << QStringList{"共有1个项目", "E (发短信)"} << QStringList{"http://e"};
        QTest::newRow("unknown type") << "1\n7`E`e`0`9`x`i`r"
            << QStringList{"共有1个项目", "E (未知)"} << QStringList{"http://e"};
    }
    void favourites()
    {
        QFETCH(QString, reply);
        QFETCH(QStringList, items);
        QFETCH(QStringList, urls);
        f->LoadFavourites(reply);
        QVERIFY(f->main->FavLoaded());
        auto *cbopro = Part<QComboBox>(f->code, "cbopro");
        QCOMPARE(Entries(cbopro), items);
        QCOMPARE(cbopro->currentIndex(), 0);
        QVERIFY(f->platform.messageBoxes.isEmpty()); // no keyword: no offer
        QCOMPARE(f->Requests("getfavpro").size(), 1);
        QVERIFY(f->Requests("getfavpro").first().endsWith("&type=0&key="));

        QStringList loadedUrls;
        for (int i = 1; i < cbopro->count(); ++i) {
            f->Select(i);
            loadedUrls.append(Part<QLabel>(f->code, "linklbl")->toolTip());
        }
        QCOMPARE(loadedUrls, urls);
    }

    void searchWithoutResultOffersAProject_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("answer");
        QTest::newRow("plain, OK") << " 游戏 " << "type=1&key=%E6%B8%B8%E6%88%8F" << 1;
        QTest::newRow("separators reach the platform, Cancel") << "a&b=c+d#" << "type=1&key=a%26b%3Dc%2Bd%23" << 2;
    }
    void searchWithoutResultOffersAProject()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QFETCH(int, answer);
        f->sim.setNextReplies("getfavpro", {"0"});
        f->platform.messageBoxAnswers.enqueue(answer);
        Part<QLineEdit>(f->code, "edtkey")->setText(typed);
        QTest::keyClick(Part<QLineEdit>(f->code, "edtkey"), Qt::Key_Return);
        QTRY_COMPARE(f->platform.messageBoxes.size(), 1);
        QCOMPARE(f->platform.messageBoxes.first().text, QStringLiteral("没有相关的项目，是否立即添加一个项目？"));
        QCOMPARE(f->platform.messageBoxes.first().caption, QStringLiteral("提示"));
        QCOMPARE(f->platform.messageBoxes.first().kind, 4);
        QCOMPARE(Entries(Part<QComboBox>(f->code, "cbopro")), QStringList{"暂无记录"});
        // OK opens the page for adding a project, logged in through the hand-off.
        QCOMPARE(f->platform.openedUrls.size(), answer == 1 ? 1 : 0);
        if (answer == 1)
            QVERIFY(f->platform.openedUrls.first().startsWith(f->platform.baseUrl + "ref.aspx?q="));
        QVERIFY2(f->Requests("getfavpro").first().endsWith(sent), qPrintable(f->Requests("getfavpro").first()));
    }

    void blankSearchAsksForAll()
    {
        Part<QLineEdit>(f->code, "edtkey")->setText(QStringLiteral(" \t "));
        f->sim.setNextReplies("getfavpro", {"0"});
        Part<QPushButton>(f->code, "btnsearch")->click();
        QTRY_COMPARE(f->Requests("getfavpro").size(), 1);
        QVERIFY(f->Requests("getfavpro").first().endsWith("&type=0&key="));
        QTest::qWait(200);
        QVERIFY(f->platform.messageBoxes.isEmpty()); // blank keyword: no offer
    }

    void selectionShowsTip()
    {
        f->LoadFavourites(kThreeFavourites);
        auto *lblinfo = Part<QLabel>(f->code, "lblinfo");
        auto *linklbl = Part<QLabel>(f->code, "linklbl");
        QVERIFY(linklbl->isHidden());

        f->Select(1);
        QCOMPARE(lblinfo->text(), QStringLiteral("项目ID：1001\n\r项目名称 :注册宝\n\r项目单价 :0.5\n\r项目说明 :收码项目说明\n\r"));
        QVERIFY(!linklbl->isHidden());
        StripFitsWindow();
        TipDrawnWithoutCarriageReturns(lblinfo);
        if (QTest::currentTestFailed())
            return;
        f->Select(2);
        QVERIFY(lblinfo->text().contains(QStringLiteral("项目单价 :2\n\r")));
        f->Select(3);
        QVERIFY(lblinfo->text().contains(QStringLiteral("项目单价 :1.25\n\r")));
        QTest::mouseClick(linklbl, Qt::LeftButton);
        QCOMPARE(f->platform.openedUrls, QStringList{"http://sx.example"});

        // A new list selects its header silently: the tip stays, the link goes.
        const QString tip = lblinfo->text();
        f->LoadFavourites(kThreeFavourites);
        QCOMPARE(lblinfo->text(), tip);
        QVERIFY(linklbl->isHidden());

        f->Select(1);
        f->Select(0);
        QVERIFY(lblinfo->text().isEmpty());
        QVERIFY(linklbl->isHidden());
    }

    void countBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("afterExit");
        QTest::newRow("letters dropped") << "a5b" << 10 << "5";
        QTest::newRow("above maximum") << "15" << 10 << "10";
        QTest::newRow("above account maximum") << "5" << 3 << "3";
        QTest::newRow("zero") << "0" << 10 << "1";
        QTest::newRow("emptied") << "" << 10 << "1";
        QTest::newRow("symbols dropped") << "-+." << 10 << "1";
    }
    void countBox()
    {
        QFETCH(QString, typed);
        QFETCH(int, maximum);
        QFETCH(QString, afterExit);
        f->code->SetUpnumMax(maximum);
        auto *edtnum = Part<QLineEdit>(f->code, "edtnum");
        edtnum->clear();
        QTest::keyClicks(edtnum, typed);
        QFocusEvent focusOut(QEvent::FocusOut);
        QCoreApplication::sendEvent(edtnum, &focusOut);
        QCOMPARE(edtnum->text(), afterExit);
    }

    void countBoxPasteAndBackspacePass()
    {
        auto *edtnum = Part<QLineEdit>(f->code, "edtnum");
        QTest::keyClick(edtnum, Qt::Key_End);
        QTest::keyClick(edtnum, Qt::Key_Backspace);
        QCOMPARE(edtnum->text(), QString());
        QTest::keyClick(edtnum, Qt::Key_Return); // Enter is a character too: dropped
        QCOMPARE(edtnum->text(), QString());
    }

    void refusedNumberRequests()
    {
        Part<QPushButton>(f->code, "btnget")->click();
        f->LoadFavourites(QStringLiteral("0"));
        Part<QPushButton>(f->code, "btnget")->click();
        QCOMPARE(ShownNotices().size(), 2);
        for (const TNoticeRecord &notice : ShownNotices()) {
            QCOMPARE(notice.text, QStringLiteral("还没有选择项目，请选择项目后再继续操作！"));
            QCOMPARE(notice.value, 1000);
        }
        QTest::qWait(100);
        QVERIFY(f->Requests("getinfo").isEmpty());
    }

    void numberReplies_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<int>("value");
        QTest::newRow("max_count_disable") << "max_count_disable"
            << "已达到最大号码获取数，可点击“释放号码”按钮或等待任务结束后再获取" << 2000;
        QTest::newRow("no_data") << "no_data"
            << QStringLiteral("此项目系统暂时缺号，请联系客服QQ：") + QStringLiteral(TALVEK_SUPPORT_QQ)
                   + QStringLiteral(" 或者稍后再试，系统不定时更新号码! ") << 2000;
        QTest::newRow("empty (failed request)") << "" << "获取号码发生了错误，请稍后再试！" << 1000;
        QTest::newRow("unknown word") << "no_money" << "获取号码发生了错误，请稍后再试！" << 1000;
        QTest::newRow("message alone") << "message" << "获取号码发生了错误，请稍后再试！" << 1000;
        QTest::newRow("message") << "message|余额不足" << "余额不足" << 1000;
        QTest::newRow("message cut at a blank") << "message|余额 不足" << "余额" << 1000;
    }
    void numberReplies()
    {
        QFETCH(QString, reply);
        QFETCH(QString, notice);
        QFETCH(int, value);
        f->LoadFavourites(kThreeFavourites);
        f->Select(1);
        Part<QLineEdit>(f->code, "edtnum")->setText(QStringLiteral("0"));
        f->RequestNumbers(reply);
        QCOMPARE(ShownNotices().size(), 1);
        QCOMPARE(ShownNotices().first().text, notice);
        QCOMPARE(ShownNotices().first().flag, 1);
        QCOMPARE(ShownNotices().first().value, value);
        QVERIFY(f->Tasks().isEmpty());
        QVERIFY(f->Requests("getUserInfos").isEmpty());
        QCOMPARE(f->Requests("getinfo").size(), 1);
        QVERIFY2(f->Requests("getinfo").first().endsWith("&pid=1001&lock=0&size=1&mobile="),
                 qPrintable(f->Requests("getinfo").first()));
    }

    void batchOfThree()
    {
        TIniFile(f->dir.filePath(QStringLiteral("client.cfg"))).WriteBool(QStringLiteral("config"), QStringLiteral("firsttip"), false);
        f->code->SetFirst(true);
        f->LoadFavourites(kThreeFavourites);
        f->Select(1);
        Part<QLineEdit>(f->code, "edtnum")->setText(QStringLiteral("3"));
        f->sim.setDelay("getinfo", 400);
        f->sim.setNextReplies("getinfo", {"13800000001;13800000002;13800000003|1001"});
        f->ClearAccountLine();
        Part<QPushButton>(f->code, "btnget")->click();
        // Changed while the request is out: the project was copied when it was sent, the
        // several-messages box is read when the reply comes.
        f->Select(3);
        Part<QCheckBox>(f->code, "chklock")->setChecked(true);
        QTRY_COMPARE(f->Tasks().size(), 3);

        QVERIFY(f->Requests("getinfo").first().endsWith("&pid=1001&lock=0&size=3&mobile="));
        QCOMPARE(f->code->CurPro().PID, 1001);
        QStringList names;
        QStringList numbers;
        for (Tframemob *task : f->Tasks()) {
            names.append(task->objectName());
            numbers.append(task->edtmob->text());
            QCOMPARE(task->sPid, QStringLiteral("1001"));
            QCOMPARE(task->gb->title(), QStringLiteral("注册宝"));
            QVERIFY(task->block);
            QCOMPARE(task->height(), 74);
        }
        QCOMPARE(names, (QStringList{"task3", "task2", "task1"}));
        QCOMPARE(numbers, (QStringList{"13800000003", "13800000002", "13800000001"}));
        QVERIFY(f->Tasks().first()->bshowtip);
        QVERIFY(!f->Tasks().at(1)->bshowtip);
        QCOMPARE(CurrentGuideControl(), f->Tasks().first()->edtmob);
        QCOMPARE(CurrentGuideText(), QStringLiteral("点击此处即可复制“号码”"));
        QCOMPARE(f->Setting(QStringLiteral("firsttip")), QStringLiteral("1")); // recorded as shown
        QTRY_COMPARE(f->Requests("getUserInfos").size(), 1);
        QVERIFY(Part<QTextBrowser>(f->code, "wb1")->isHidden());
        // Its reply re-enables the tabs too, so it must be in before the next batch is asked for.
        QTRY_VERIFY(!f->main->StatusText().isEmpty());

        // The next batch goes on top, with no tip.
        CloseGuide();
        f->sim.setDelay("getinfo", 0);
        f->RequestNumbers(QStringLiteral("13800000004|x"));
        QCOMPARE(f->Tasks().size(), 4);
        QCOMPARE(f->Tasks().first()->objectName(), QStringLiteral("task4"));
        QCOMPARE(f->Tasks().first()->gb->title(), QStringLiteral("双向码"));
        QCOMPARE(f->Tasks().first()->height(), 135);
        QVERIFY(CurrentGuideText().isEmpty());
    }

    void releaseAll_data()
    {
        QTest::addColumn<int>("tasks");
        QTest::addColumn<int>("answer");
        QTest::newRow("no task, OK") << 0 << 1;
        QTest::newRow("two tasks, OK") << 2 << 1;
        QTest::newRow("two tasks, Cancel") << 2 << 2;
    }
    void releaseAll()
    {
        QFETCH(int, tasks);
        QFETCH(int, answer);
        auto *wb1 = Part<QTextBrowser>(f->code, "wb1");
        if (tasks) {
            f->LoadFavourites(kThreeFavourites);
            f->Select(1);
            f->RequestNumbers(QStringLiteral("13800000001;13800000002|x"));
            QCOMPARE(f->Tasks().size(), tasks);
            QVERIFY(wb1->isHidden());
        }
        f->platform.messageBoxAnswers.enqueue(answer);
        Part<QPushButton>(f->code, "btnfree")->click();
        QCOMPARE(f->platform.messageBoxes.size(), 1);
        QCOMPARE(f->platform.messageBoxes.first().text, QStringLiteral("释放号码会同时停止任务，是否释放所有号码？"));
        if (answer == 2) {
            QTest::qWait(200);
            QVERIFY(f->Requests("ReleaseMobile").isEmpty());
            QCOMPARE(f->Tasks().size(), tasks);
            return;
        }
        QVERIFY(f->Tasks().isEmpty());
        QVERIFY(!f->code->findChild<Tframemob *>(QStringLiteral("task1")));
        QVERIFY(!wb1->isHidden());
        QTRY_COMPARE(f->Requests("ReleaseMobile").size(), 1);
        QVERIFY(f->Requests("ReleaseMobile").first().endsWith("&mobile="));
    }

    void infoPageWhileNoTask()
    {
        auto *wb1 = Part<QTextBrowser>(f->code, "wb1");
        QTRY_VERIFY(!wb1->toPlainText().isEmpty());
        QCOMPARE(wb1->contextMenuPolicy(), Qt::NoContextMenu);
        QCOMPARE(wb1->frameShape(), QFrame::NoFrame);
        QCOMPARE(wb1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        f->LoadFavourites(kThreeFavourites);
        f->Select(1);
        f->RequestNumbers(QStringLiteral("13800000001;13800000002|x"));
        QVERIFY(wb1->isHidden());
        f->code->DelFrame(QStringLiteral("task9")); // no such task
        QCOMPARE(f->Tasks().size(), 2);
        f->code->DelFrame(QStringLiteral("task1"));
        QVERIFY(wb1->isHidden());
        f->code->DelFrame(QStringLiteral("task2"));
        QVERIFY(f->Tasks().isEmpty());
        QVERIFY(!wb1->isHidden());
    }
};

QTEST_MAIN(TestPicker)
#include "tst_picker.moc"
