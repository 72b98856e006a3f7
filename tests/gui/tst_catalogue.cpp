// The project catalogue inside the real main window, logged in to a simulator.
#include "ShellFixture.h"

#include "catalogue/frmprolist.h"
#include "common/MsgDlg.h"

#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

enum Column { colId, colName, colType, colPrice, colAddress, colState, colFav };

// A getprolist reply: the total, then one record per line.
QString ProList(const QString &total, const QStringList &records)
{
    return (QStringList{total} + records).join(QStringLiteral("\r\n"));
}

// The shell's fixture with the main window logged in as the demo account and the code tab's
// favourites loaded.
struct Session : ShellFixture
{
    Session() : main(start()) { }

    bool login()
    {
        submit(*main, QStringLiteral("demo"), QStringLiteral("demo123"));
        return QTest::qWaitFor([this] { return main->FavLoaded() && idle(); }, 10000);
    }

    // No command is out: the channel enables the tabs again with each reply.
    bool idle() const { return main->PageControl()->isEnabled(); }
    bool waitIdle() const { return QTest::qWaitFor([this] { return idle(); }, 10000); }

    void showTab(const char *name)
    {
        main->PageControl()->setCurrentWidget(main->findChild<QWidget *>(QLatin1String(name)));
    }

    std::unique_ptr<Tfmymmain> main;
};

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

    std::unique_ptr<Session> s;

    Tframepro *frame() const { return s->main->objfmpro; }
    template <typename T>
    T *control(const char *name) const
    {
        return frame()->findChild<T *>(QLatin1String(name));
    }
    QTreeWidget *list() const { return control<QTreeWidget>("listpro"); }
    QLabel *label(const char *name) const { return control<QLabel>(name); }

    // Opens the catalogue tab and waits for its first load.
    bool openCatalogue()
    {
        s->showTab("tabpro");
        return s->waitIdle();
    }

    // Loads page 1 again through the search button, with the next list reply given.
    bool searchWithReply(const QString &reply)
    {
        s->sim.setNextReplies("getprolist", {reply.toStdString()});
        QTest::mouseClick(control<QPushButton>("btnsearch"), Qt::LeftButton);
        return s->waitIdle();
    }

    QTreeWidgetItem *row(const QString &id) const
    {
        const QList<QTreeWidgetItem *> found = list()->findItems(id, Qt::MatchExactly, colId);
        return found.size() == 1 ? found.first() : nullptr;
    }

    QStringList column(int col) const
    {
        QStringList texts;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            texts << list()->topLevelItem(i)->text(col);
        return texts;
    }

    // "1" per ticked row, "0" per clear one.
    QString ticks() const
    {
        QString text;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            text += list()->topLevelItem(i)->checkState(colId) == Qt::Checked ? u'1' : u'0';
        return text;
    }

    // "1" per enabled link of 首页, 上一页, 下一页, 尾页.
    QString links() const
    {
        QString text;
        for (const char *name : {"lblfirst", "lblpre", "lblnext", "lbllast"})
            text += label(name)->isEnabled() ? u'1' : u'0';
        return text;
    }

    bool pagingShown() const
    {
        bool shown = true;
        for (const char *name : {"lblsumpage", "lblfirst", "lblpre", "lblnext", "lbllast"})
            shown = shown && label(name)->isVisible();
        return shown;
    }

    // Whether the row's texts are painted in blue (the check box column left out).
    bool drawnBlue(const QTreeWidgetItem *item) const
    {
        QRect area = list()->visualItemRect(item);
        area.setLeft(list()->header()->sectionPosition(colName));
        const QImage image = list()->viewport()->grab(area).toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.blue() > 200 && c.red() < 80 && c.green() < 80)
                    return true;
            }
        }
        return false;
    }

    // The catalogue with the favourites and list replies given, opened for the first time.
    bool openWith(const QString &favReply, const QString &listReply)
    {
        s->sim.setNextReplies("getfavlist", {favReply.toStdString()});
        s->sim.setNextReplies("getprolist", {listReply.toStdString()});
        return openCatalogue();
    }

private slots:
    void init()
    {
        s = std::make_unique<Session>();
        QVERIFY(s->started);
        QVERIFY(s->login());
        s->sim.clearRequestLog();
        ClearShownNotices();
    }

    void cleanup() { s.reset(); }

    void layout()
    {
        QCOMPARE(control<QLineEdit>("edtkey")->placeholderText(), QStringLiteral("请输入搜索关键词"));
        QCOMPARE(control<QComboBox>("cbtype")->currentText(), QStringLiteral("--项目类型--"));
        QCOMPARE(control<QComboBox>("cbtype")->count(), 4);
        QCOMPARE(control<QComboBox>("cbofav")->currentText(), QStringLiteral("-所有项目--"));
        QCOMPARE(control<QPushButton>("btnsearch")->text(), QStringLiteral("搜    索"));
        QStringList headers;
        QList<int> widths;
        for (int col = 0; col < list()->columnCount(); ++col) {
            headers << list()->headerItem()->text(col);
            widths << list()->header()->sectionSize(col);
        }
        QCOMPARE(headers, (QStringList{"项目ID", "项目名", "项目类型", "单价(元)", "项目地址", "状态",
                                       "收藏状态"}));
        QCOMPARE(widths.mid(0, 5), (QList<int>{70, 150, 70, 60, 250}));
        QCOMPARE(widths.last(), 60);
        // Nothing is loaded before the tab is first shown.
        QCOMPARE(list()->topLevelItemCount(), 0);
        QVERIFY(s->requests(QStringLiteral("getfavlist")).isEmpty());
    }

    // The favourites first, then page 1, once per run: not on later showings, not after a logout.
    void firstLoadOncePerRun()
    {
        QVERIFY(openCatalogue());
        QCOMPARE(s->requests(QStringLiteral("getfavlist")).size(), 1);
        QVERIFY(s->requests(QStringLiteral("getfavlist")).first().endsWith(u'&'));
        const QStringList pages = s->requests(QStringLiteral("getprolist"));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().endsWith(
            QStringLiteral("&pagesize=15&ipageno=1&protype=0&keystr=&favtype=0")));
        QCOMPARE(list()->topLevelItemCount(), 15);
        QCOMPARE(ticks(), QStringLiteral("111111110000000"));
        QCOMPARE(row(QStringLiteral("8"))->text(colFav), QStringLiteral("已收藏"));
        QCOMPARE(row(QStringLiteral("9"))->text(colFav), QStringLiteral("未收藏"));
        QCOMPARE(label("lblsumpage")->text(), QStringLiteral("页数 1/3 共36条记录"));
        QVERIFY(pagingShown());

        s->showTab("tabcode");
        QVERIFY(s->waitIdle());
        s->showTab("tabpro");
        s->main->Logout();
        QVERIFY(s->login());
        s->showTab("tabcode");
        QVERIFY(s->waitIdle());
        s->showTab("tabpro");
        QVERIFY(s->waitIdle());
        QCOMPARE(s->requests(QStringLiteral("getfavlist")).size(), 1);
        QCOMPARE(s->requests(QStringLiteral("getprolist")).size(), 1);
    }

    void pageArithmetic_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("links");

        const QString one = QStringLiteral("7`天气通`http://t.cn`0.1`0`1");
        QTest::newRow("1") << ProList("1", {one}) << 1 << "页数 1/1 共1条记录" << "0000";
        QTest::newRow("15") << ProList("15", {one}) << 1 << "页数 1/1 共15条记录" << "0000";
        QTest::newRow("16") << ProList("16", {one}) << 1 << "页数 1/2 共16条记录" << "0011";
        QTest::newRow("31") << ProList("31", {one}) << 1 << "页数 1/3 共31条记录" << "0011";
        QTest::newRow("largest total") << ProList("2147483647", {one}) << 1
                                       << "页数 1/143165577 共2147483647条记录" << "0011";
        // Rows missing: the paging is hidden and its label keeps the last text.
        const QString kept = QStringLiteral("页数 1/3 共36条记录");
        QTest::newRow("0") << ProList("0", {one}) << 0 << kept << "";
        QTest::newRow("abc") << ProList("abc", {one}) << 0 << kept << "";
        QTest::newRow("negative") << ProList("-5", {one}) << 0 << kept << "";
        QTest::newRow("blank total") << ProList(" 16", {one}) << 0 << kept << "";
        QTest::newRow("empty") << "" << 0 << kept << "";
        // A total with no row listed still counts the pages before the paging is hidden.
        QTest::newRow("total only") << "16" << 0 << "页数 1/2 共16条记录" << "";
        QTest::newRow("only bad records") << ProList("16", {"", "7`a`b`1", "x"}) << 0
                                          << "页数 1/2 共16条记录" << "";
        QTest::newRow("partial reply") << "16\r\n7`天气通`http://t.cn`0.1`0`1\r\n8`外卖" << 1
                                       << "页数 1/2 共16条记录" << "0011";
        QTest::newRow("LF and CR breaks") << "16\n" + one + "\r" + one << 2
                                          << "页数 1/2 共16条记录" << "0011";
        QTest::newRow("garbage") << QString(300000, u'x') << 0 << kept << "";
        QTest::newRow("NUL bytes") << QString::fromUtf16(u"16\r\n7`a\0b`u`1`0`1", 17) << 1
                                   << "页数 1/2 共16条记录" << "0011";
    }
    void pageArithmetic()
    {
        QFETCH(QString, reply);
        QFETCH(int, rows);
        QFETCH(QString, label);
        QFETCH(QString, links);

        QVERIFY(openCatalogue());
        QVERIFY(searchWithReply(reply));
        QCOMPARE(list()->topLevelItemCount(), rows);
        QCOMPARE(this->label("lblsumpage")->text(), label);
        QCOMPARE(pagingShown(), rows > 0);
        if (rows > 0)
            QCOMPARE(this->links(), links);
    }

    // The links through the demo catalogue's 36 projects; a disabled link sends nothing.
    void pagingLinks()
    {
        QVERIFY(openCatalogue());
        struct Step
        {
            const char *link;
            int page; // 0: nothing is sent
            const char *label;
            const char *links;
        };
        const Step steps[] = {
            {"lblpre", 0, "页数 1/3 共36条记录", "0011"},
            {"lblnext", 2, "页数 2/3 共36条记录", "1111"},
            {"lbllast", 3, "页数 3/3 共36条记录", "1100"},
            {"lblnext", 0, "页数 3/3 共36条记录", "1100"},
            {"lblpre", 2, "页数 2/3 共36条记录", "1111"},
            {"lblfirst", 1, "页数 1/3 共36条记录", "0011"},
        };
        for (const Step &step : steps) {
            const qsizetype before = s->requests(QStringLiteral("getprolist")).size();
            QTest::mouseClick(label(step.link), Qt::LeftButton);
            QVERIFY(s->waitIdle());
            const QStringList pages = s->requests(QStringLiteral("getprolist"));
            if (step.page == 0) {
                QCOMPARE(pages.size(), before);
            } else {
                QCOMPARE(pages.size(), before + 1);
                QVERIFY2(pages.last().contains(QStringLiteral("&ipageno=%1&").arg(step.page)),
                         qPrintable(pages.last()));
            }
            QCOMPARE(label("lblsumpage")->text(), QString::fromUtf8(step.label));
            QCOMPARE(links(), QString::fromUtf8(step.links));
        }
        QCOMPARE(list()->topLevelItemCount(), 15);
        QCOMPARE(list()->topLevelItem(0)->text(colId), QStringLiteral("1"));
    }

    void recordLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("texts"); // in column order; empty: the line is skipped

        QTest::newRow("send type, normal")
            << "12`名称`地址`2.50`1`1" << QStringList{"12", "名称", "发短信", "2.5", "地址", "正常"};
        QTest::newRow("under review")
            << "12`名称`地址`2.50`1`0" << QStringList{"12", "名称", "发短信", "2.5", "地址", "审核中"};
        QTest::newRow("receive and both")
            << "3`a`u`0.125`2`1" << QStringList{"3", "a", "收发短信", "0.12", "u", "正常"};
        QTest::newRow("further fields ignored")
            << "4`a`u`1`0`1`x`y" << QStringList{"4", "a", "收短信", "1", "u", "正常"};
        QTest::newRow("five fields, no status")
            << "5`a`u`1`0" << QStringList{"5", "a", "收短信", "1", "u", "审核中"};
        QTest::newRow("empty last field vanishes")
            << "6`a`u`1`0`" << QStringList{"6", "a", "收短信", "1", "u", "审核中"};
        QTest::newRow("blanks stay")
            << " 7 `名 称` u `2.5`0`1" << QStringList{" 7 ", "名 称", "收短信", "2.5", " u ", "正常"};
        QTest::newRow("empty middle fields stay")
            << "8``u`abc`0`1" << QStringList{"8", "", "收短信", "abc", "u", "正常"};
        QTest::newRow("unknown type") << "9`a`u`-1`7`1"
                                      << QStringList{"9", "a", "未知", "-1", "u", "正常"};
        QTest::newRow("four fields") << "10`a`u`1" << QStringList{};
        QTest::newRow("no backquote") << "11 a u 1 0 1" << QStringList{};
    }
    void recordLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, texts);

        QVERIFY(openCatalogue());
        QVERIFY(searchWithReply(ProList("1", {line})));
        if (texts.isEmpty()) {
            QCOMPARE(list()->topLevelItemCount(), 0);
            QVERIFY(!pagingShown());
            return;
        }
        QCOMPARE(list()->topLevelItemCount(), 1);
        const QTreeWidgetItem *item = list()->topLevelItem(0);
        const QStringList shown{item->text(colId),    item->text(colName),
                                item->text(colType),  item->text(colPrice),
                                item->text(colAddress), item->text(colState)};
        QCOMPARE(shown, texts);
    }

    void favouriteTest_data()
    {
        QTest::addColumn<QString>("favReply");
        QTest::addColumn<QString>("marked");    // favourite marks of rows 3, 12, 34
        QTest::addColumn<bool>("listRequested");

        QTest::newRow("comma after each") << "OK|12,34," << "011" << true;
        QTest::newRow("none after last") << "OK|12,34" << "010" << true;
        QTest::newRow("at signs removed") << "OK|@12@,@34@," << "011" << true;
        QTest::newRow("line break in list") << "OK|12,\r\n34," << "010" << true;
        QTest::newRow("not OK") << "ERR|12,34," << "000" << true;
        QTest::newRow("OK alone") << "OK" << "000" << true;
        QTest::newRow("empty") << "" << "000" << true;
        QTest::newRow("null") << "null" << "" << false;
    }
    void favouriteTest()
    {
        QFETCH(QString, favReply);
        QFETCH(QString, marked);
        QFETCH(bool, listRequested);

        QVERIFY(openWith(favReply, ProList("3", {"3`a`u`1`0`1", "12`b`u`1`0`1", "34`c`u`1`0`1"})));
        QCOMPARE(s->requests(QStringLiteral("getprolist")).size(), listRequested ? 1 : 0);
        if (!listRequested) {
            QCOMPARE(list()->topLevelItemCount(), 0);
            return;
        }
        QString marks;
        for (const char *id : {"3", "12", "34"}) {
            const QTreeWidgetItem *item = row(QLatin1String(id));
            const bool fav = item->text(colFav) == QStringLiteral("已收藏");
            QCOMPARE(item->checkState(colId) == Qt::Checked, fav);
            QCOMPARE(drawnBlue(item), fav);
            marks += fav ? u'1' : u'0';
        }
        QCOMPARE(marks, marked);
    }

    void nothingToChangeAsksNothing()
    {
        QVERIFY(openCatalogue());
        // Only favourites ticked: nothing to add.
        QTest::mouseClick(control<QPushButton>("btnfav"), Qt::LeftButton);
        // Nothing ticked: nothing to remove.
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            list()->topLevelItem(i)->setCheckState(colId, Qt::Unchecked);
        QTest::mouseClick(control<QPushButton>("btncanelfav"), Qt::LeftButton);
        QVERIFY(s->waitIdle());
        QVERIFY(s->platform.messageBoxes.isEmpty());
        QVERIFY(s->requests(QStringLiteral("setfav")).isEmpty());
        QVERIFY(ShownNotices().isEmpty());
    }

    void changeFavourites_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("request"); // empty: nothing is sent
        QTest::addColumn<QString>("marks");   // rows 3, 12, 34 afterwards
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QString>("notice");

        // Before: 3 is a favourite (ticked); the user ticks 12 and 34.
        QTest::newRow("add") << "btnfav" << 1 << "确定要收藏选定的项目吗？"
                             << "&favtype=0&pid=12,34" << "111" << "111" << "收藏成功";
        QTest::newRow("add cancelled") << "btnfav" << 2 << "确定要收藏选定的项目吗？" << ""
                                       << "100" << "111" << "";
        // Every ticked row goes, the favourite 3 among them; 12 and 34 were no favourites and
        // keep the tick the user gave them.
        QTest::newRow("remove") << "btncanelfav" << 1 << "确定要取消收藏选定的项目吗？"
                                << "&favtype=1&pid=3,12,34" << "000" << "011" << "取消收藏成功";
        QTest::newRow("remove cancelled") << "btncanelfav" << 2 << "确定要取消收藏选定的项目吗？"
                                          << "" << "100" << "111" << "";
    }
    void changeFavourites()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, request);
        QFETCH(QString, marks);
        QFETCH(QString, ticks);
        QFETCH(QString, notice);

        QVERIFY(openWith(QStringLiteral("OK|3,"),
                         ProList("3", {"3`a`u`1`0`1", "12`b`u`1`0`1", "34`c`u`1`0`1"})));
        row(QStringLiteral("12"))->setCheckState(colId, Qt::Checked);
        row(QStringLiteral("34"))->setCheckState(colId, Qt::Checked);
        s->platform.messageBoxAnswers.enqueue(answer);
        QTest::mouseClick(control<QPushButton>(qPrintable(button)), Qt::LeftButton);
        QVERIFY(s->waitIdle());

        QCOMPARE(s->platform.messageBoxes.size(), 1);
        QCOMPARE(s->platform.messageBoxes.first().text, question);
        QCOMPARE(s->platform.messageBoxes.first().caption, QStringLiteral("提示"));
        QCOMPARE(s->platform.messageBoxes.first().kind, 4);
        const QStringList sent = s->requests(QStringLiteral("setfav"));
        QCOMPARE(sent.size(), request.isEmpty() ? 0 : 1);
        if (!request.isEmpty())
            QVERIFY2(sent.first().endsWith(request), qPrintable(sent.first()));

        QString shownMarks;
        for (const QString &mark : column(colFav))
            shownMarks += mark == QStringLiteral("已收藏") ? u'1' : u'0';
        QCOMPARE(shownMarks, marks);
        QCOMPARE(this->ticks(), ticks);
        // The code tab reloads its favourites after a change, not before.
        QCOMPARE(s->main->FavLoaded(), request.isEmpty());
        if (notice.isEmpty()) {
            QVERIFY(ShownNotices().isEmpty());
            return;
        }
        QCOMPARE(ShownNotices().size(), 1);
        QCOMPARE(ShownNotices().first().text, notice);
        QCOMPARE(ShownNotices().first().flag, 0);
        QVERIFY(ShownNotices().first().owner == nullptr);
        QCOMPARE(ShownNotices().first().value, 1000);
        // The list is not reloaded after a change.
        QCOMPARE(s->requests(QStringLiteral("getprolist")).size(), 1);
    }

    void changeRefused_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("notice");

        QTest::newRow("add refused") << "btnfav" << "ERR|3,12," << "收藏失败";
        QTest::newRow("add, OK alone") << "btnfav" << "OK" << "收藏失败";
        QTest::newRow("add, no reply") << "btnfav" << "" << "收藏失败";
        QTest::newRow("remove refused") << "btncanelfav" << "false" << "取消收藏失败";
    }
    void changeRefused()
    {
        QFETCH(QString, button);
        QFETCH(QString, reply);
        QFETCH(QString, notice);

        QVERIFY(openWith(QStringLiteral("OK|3,"), ProList("2", {"3`a`u`1`0`1", "12`b`u`1`0`1"})));
        row(QStringLiteral("12"))->setCheckState(colId, Qt::Checked);
        if (reply.isEmpty())
            s->sim.dropConnection("setfav");
        else
            s->sim.setNextReplies("setfav", {reply.toStdString()});
        QTest::mouseClick(control<QPushButton>(qPrintable(button)), Qt::LeftButton);
        QVERIFY(s->waitIdle());

        QCOMPARE(ShownNotices().size(), 1);
        QCOMPARE(ShownNotices().first().text, notice);
        QCOMPARE(ShownNotices().first().flag, 0);
        QCOMPARE(column(colFav), (QStringList{"已收藏", "未收藏"}));
        QCOMPARE(ticks(), QStringLiteral("11"));
        QVERIFY(s->main->FavLoaded());
    }

    // Removed while only favourites are listed: the rows stay until the next load.
    void removeUnderFavouritesFilter()
    {
        QVERIFY(openCatalogue());
        control<QComboBox>("cbofav")->setCurrentIndex(1);
        QVERIFY(s->waitIdle());
        QCOMPARE(column(colId), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
        QTest::mouseClick(control<QPushButton>("btncanelfav"), Qt::LeftButton);
        QVERIFY(s->waitIdle());
        QVERIFY(s->requests(QStringLiteral("setfav")).first().endsWith(
            QStringLiteral("&favtype=1&pid=1,2,3,4,5,6,7,8")));
        QCOMPARE(column(colFav), QStringList(8, QStringLiteral("未收藏")));
        QCOMPARE(ticks(), QStringLiteral("00000000"));
        QCOMPARE(ShownNotices().last().text, QStringLiteral("取消收藏成功"));
        QCOMPARE(s->requests(QStringLiteral("getprolist")).size(), 2);
    }

    // The type filter and the key count at the next search; the favourites filter reloads at
    // once with the key and type of the last search.
    void filterReloads()
    {
        QVERIFY(openCatalogue());
        auto lastRequest = [this] { return s->requests(QStringLiteral("getprolist")).last(); };
        auto *cbtype = control<QComboBox>("cbtype");
        auto *cbofav = control<QComboBox>("cbofav");
        auto *edtkey = control<QLineEdit>("edtkey");

        cbtype->setCurrentIndex(2);
        edtkey->setText(QStringLiteral("  云 "));
        QVERIFY(s->waitIdle());
        QCOMPARE(s->requests(QStringLiteral("getprolist")).size(), 1);

        cbofav->setCurrentIndex(1);
        QVERIFY(s->waitIdle());
        QVERIFY2(lastRequest().endsWith(
                     QStringLiteral("&pagesize=15&ipageno=1&protype=0&keystr=&favtype=1")),
                 qPrintable(lastRequest()));

        QTest::keyClick(edtkey, Qt::Key_Return);
        QVERIFY(s->waitIdle());
        QVERIFY2(lastRequest().endsWith(
                     QStringLiteral("&pagesize=15&ipageno=1&protype=2&keystr=%E4%BA%91&favtype=1")),
                 qPrintable(lastRequest()));

        cbtype->setCurrentIndex(0);
        edtkey->setText(QStringLiteral("a&b=c"));
        cbofav->setCurrentIndex(0);
        QVERIFY(s->waitIdle());
        QVERIFY2(lastRequest().endsWith(
                     QStringLiteral("&pagesize=15&ipageno=1&protype=2&keystr=%E4%BA%91&favtype=0")),
                 qPrintable(lastRequest()));

        QTest::mouseClick(control<QPushButton>("btnsearch"), Qt::LeftButton);
        QVERIFY(s->waitIdle());
        QVERIFY2(lastRequest().endsWith(
                     QStringLiteral("&pagesize=15&ipageno=1&protype=0&keystr=a%26b%3Dc&favtype=0")),
                 qPrintable(lastRequest()));
        QCOMPARE(s->requests(QStringLiteral("getprolist")).size(), 5);
    }

    // A change of favourites makes the code tab ask for its favourites when next shown.
    void codeTabReloadsAfterChange()
    {
        QVERIFY(openCatalogue());
        s->showTab("tabcode");
        QVERIFY(s->waitIdle());
        QCOMPARE(s->requests(QStringLiteral("getfavpro")).size(), 0);

        s->showTab("tabpro");
        list()->topLevelItem(9)->setCheckState(colId, Qt::Checked);
        QTest::mouseClick(control<QPushButton>("btnfav"), Qt::LeftButton);
        QVERIFY(s->waitIdle());
        QVERIFY(s->requests(QStringLiteral("setfav")).first().endsWith(
            QStringLiteral("&favtype=0&pid=10")));
        QVERIFY(!s->main->FavLoaded());

        s->showTab("tabcode");
        QVERIFY(s->waitIdle());
        QCOMPARE(s->requests(QStringLiteral("getfavpro")).size(), 1);
        QVERIFY(s->main->FavLoaded());
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
