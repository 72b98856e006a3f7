#include "WorkspaceFixture.h"

#include "app/IniFile.h"
#include "app/frmlogin.h"
#include "app/frmmain.h"
#include "common/MsgDlg.h"
#include "workspace/framecode.h"
#include "workspace/structutil.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

const QString kThreeFavourites = QStringLiteral(
    "3\r\n"
    "1001`注册宝`www.zcb.example/reg`0.5`0`x`收码项目说明``\r\n"
    "1002`发信通`HTTPS://fxt.example`2`1`x`发码项目说明`13900000001,13900000002,\r\n"
    "1003`双向码`http://sx.example`1.25`2`x`双向说明`13900000009\r\n");

namespace {

const QString kConfig = QStringLiteral("config");

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
    platform.executablePath = dir.filePath(QStringLiteral("Talvek平台客户端"));
    platform.desktopFolder = dir.filePath(QStringLiteral("Desktop"));
    QDir().mkpath(platform.desktopFolder);
    // The first-use tour only where a test asks for it.
    TIniFile(dir.filePath(QStringLiteral("client.cfg"))).WriteBool(kConfig, QStringLiteral("firsttip"), true);

    main = std::make_unique<Tfmymmain>();
    code = main->findChild<Tfrmcode *>();
    Tfmlogin *dialog = main->LoginDialog();
    if (!code || !dialog)
        return;
    dialog->edtusers->setText(QStringLiteral("demo"));
    dialog->edtpwd->setText(QStringLiteral("demo123"));
    dialog->btnlogin->click();
    if (!QTest::qWaitFor([this] { return main->FavLoaded() && Idle(); }, 10000))
        return;
    main->resize(1000, 700);

    SysInfo().SetGetKey(QStringLiteral("验证码,校检码,激活码"));
    SysInfo().SetGetCodeTime(1);
    SysInfo().AutoGetCode = true;
    sim.clearRequestLog();
    ClearShownNotices();
    started = true;
}

WorkspaceFixture::~WorkspaceFixture()
{
    main.reset();
    sim.stop();
}

TSysInfo &WorkspaceFixture::SysInfo() const
{
    return main->SysInfo();
}

bool WorkspaceFixture::Idle() const
{
    return main->PageControl()->isEnabled();
}

bool WorkspaceFixture::WaitIdle() const
{
    return QTest::qWaitFor([this] { return Idle(); }, 10000);
}

QString WorkspaceFixture::Setting(const QString &key) const
{
    return TIniFile(dir.filePath(QStringLiteral("client.cfg"))).ReadString(kConfig, key, QString());
}

void WorkspaceFixture::ClearAccountLine()
{
    main->findChild<QLabel *>(QStringLiteral("StatusBar1Panel0"))->clear();
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
    code->GetFavProlist(0, QString());
    (void)WaitIdle();
}

void WorkspaceFixture::Select(int index)
{
    code->findChild<QComboBox *>(QStringLiteral("cbopro"))->setCurrentIndex(index);
}

void WorkspaceFixture::RequestNumbers(const QString &reply)
{
    // A new batch is followed by an account refresh whose reply re-enables the tabs too: wait
    // for it as well, or it lands in the middle of the test's next command and ends that
    // command's wait early.
    const qsizetype before = Tasks().size();
    ClearAccountLine();
    sim.setNextReplies("getinfo", {reply.toStdString()});
    code->findChild<QPushButton *>(QStringLiteral("btnget"))->click();
    (void)QTest::qWaitFor([&] { return Idle() && (Tasks().size() == before || !main->StatusText().isEmpty()); },
                          10000);
}

QList<Tframemob *> WorkspaceFixture::Tasks() const
{
    return code->TaskFrames();
}

void WorkspaceTestCase::init()
{
    f = std::make_unique<WorkspaceFixture>();
    QVERIFY(f->started);
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
