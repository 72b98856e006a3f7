#include "WorkspaceFixture.h"

#include "common/MsgDlg.h"
#include "workspace/framecode.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

const QString kThreeFavourites = QStringLiteral(
    "3\r\n"
    "1001`注册宝`www.zcb.example/reg`0.5`0`x`收码项目说明``\r\n"
    "1002`发信通`HTTPS://fxt.example`2`1`x`发码项目说明`13900000001,13900000002,\r\n"
    "1003`双向码`http://sx.example`1.25`2`x`双向说明`13900000009\r\n");

namespace {

SimServer::Options SimOptions()
{
    SimServer::Options options;
    options.smsDelayMs = 3600 * 1000; // SMS only when a test delivers one
    return options;
}

} // namespace

WorkspaceFixture::WorkspaceFixture() : sim(SimOptions())
{
    if (!sim.start())
        return;
    platform.baseUrl = QString::fromStdString(sim.baseUrl());
    host.sysInfo.SetGetKey(QStringLiteral("验证码,校检码,激活码"));
    host.sysInfo.SetGetCodeTime(1);
    host.sysInfo.AutoGetCode = true;
    if (!host.Login(QStringLiteral("demo"), QStringLiteral("demo123")))
        return;
    window.resize(1000, 600);
    auto *layout = new QVBoxLayout(&window);
    code = new Tfrmcode(&window, host);
    layout->addWidget(code);
    host.code = code;
    window.show();
    sim.clearRequestLog();
    started = true;
}

WorkspaceFixture::~WorkspaceFixture()
{
    delete code;
    host.code = nullptr;
    sim.stop();
}

QStringList WorkspaceFixture::Requests(const QString &action) const
{
    QStringList lines;
    const QString marker = "action=" + action + "&";
    for (const std::string &line : sim.requestLog()) {
        const QString target = QString::fromStdString(line);
        if (target.contains(marker))
            lines.append(target);
    }
    return lines;
}

void WorkspaceFixture::LoadFavourites(const QString &reply)
{
    sim.setNextReplies("getfavpro", {reply.toStdString()});
    const int before = host.pending;
    code->GetFavProlist(0, QString());
    (void)QTest::qWaitFor([&] { return host.pending == before; }, 10000);
}

void WorkspaceFixture::Select(int index)
{
    code->findChild<QComboBox *>(QStringLiteral("cbopro"))->setCurrentIndex(index);
}

void WorkspaceFixture::RequestNumbers(const QString &reply)
{
    sim.setNextReplies("getinfo", {reply.toStdString()});
    const int before = host.pending;
    code->findChild<QPushButton *>(QStringLiteral("btnget"))->click();
    (void)QTest::qWaitFor([&] { return host.pending == before; }, 10000);
}

void WorkspaceTestCase::init()
{
    f = std::make_unique<WorkspaceFixture>();
    QVERIFY(f->started);
    ClearShownNotices();
}

void WorkspaceTestCase::cleanup()
{
    f.reset();
}

QString LastNoticeText()
{
    return ShownNotices().isEmpty() ? QString() : ShownNotices().last().text;
}

QStringList Entries(const QComboBox *combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.append(combo->itemText(i));
    return entries;
}

QList<Tframemob *> WorkspaceFixture::Tasks() const
{
    return code->TaskFrames();
}
