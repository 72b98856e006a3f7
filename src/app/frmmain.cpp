#include "app/frmmain.h"

#include "app/DesktopLink.h"
#include "app/IniFile.h"
#include "app/frmlogin.h"
#include "app/frmwait.h"
#include "catalogue/frmprolist.h"
#include "channel/GetHttp.h"
#include "channel/UrlEncode.h"
#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/Des.h"
#include "common/Global.h"
#include "common/MsgDlg.h"
#include "common/Tag.h"
#include "common/TextUtil.h"
#include "common/platform/Platform.h"
#include "update/UpdateHandler.h"
#include "workspace/framecode.h"
#include "workspace/frmpara.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kVersion = QStringLiteral("1.12");
const QString kConfig = QStringLiteral("config");
const QByteArray kPwdKey = QByteArrayLiteral("kq7wmz3r");
const QByteArray kHandOffKey = QByteArrayLiteral("tv9pxe6j");

QString Hint()
{
    return QStringLiteral("提示");
}

QIcon AppIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x1e, 0x6f, 0xd9));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("T"));
    return QIcon(pixmap);
}

// The wait window's operation text of a command.
QString WaitMessage(const QString &cmd)
{
    if (cmd == QLatin1String("getfavlist"))
        return QStringLiteral("正在获取已收藏项目");
    if (cmd == QLatin1String("getprolist"))
        return QStringLiteral("正在获取项目列表");
    return {};
}

// The message of a reply that is one of the platform's common error words, else empty.
QString CommonErrorText(const QString &sRtn)
{
    if (sRtn == QLatin1String("account_is_locked"))
        return QStringLiteral("用户已被锁定！");
    if (sRtn == QLatin1String("parameter_error"))
        return QStringLiteral("参数错误！");
    if (sRtn == QLatin1String("login_error"))
        return QStringLiteral("登录错误！");
    return {};
}

} // namespace

Tfmymmain::Tfmymmain()
{
    setObjectName(QStringLiteral("fmymmain"));
    setFont(QFont(QStringLiteral("Tahoma")));
    setWindowIcon(AppIcon());
    BuildLayout();
    BuildMenus();
    BuildTray();
    objfmwait = new Tfmwait(this);
    PlaceWindow();

    bfavloaded = false;
    bclose = true;
    bfirsttip = false;
    MyExeAppName = StrBeforeLast(GetAppName(), u'.');
    if (MyExeAppName.isEmpty())
        MyExeAppName = QStringLiteral("Talvek平台客户端");
    const QString sTitle = MyExeAppName + QStringLiteral(" V") + kVersion;
    setWindowTitle(sTitle);
    // Not the display name: the platform would append it to every other window's caption.
    QApplication::setApplicationName(sTitle);
    TrayIcon1->setToolTip(sTitle);
    PageControl1->setCurrentWidget(tabcode);
    SetNoticeOwner(this);

    LoadPara();
    ShowLogin();
    CreateFrames();
    connect(PageControl1, &QTabWidget::currentChanged, this, &Tfmymmain::PageControl1Change);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &Tfmymmain::WMQueryEndSession);

    objupdate = std::make_unique<TUpdateHandler>(this, *this);
    objupdate->StartCheck(TPlatform::Instance().BaseUrl(), kVersion, QStringLiteral("0"));
}

Tfmymmain::~Tfmymmain()
{
    objupdate.reset();
    FreeFrames();
    SetNoticeOwner(nullptr);
}

bool Tfmymmain::event(QEvent *event)
{
    return (objupdate && objupdate->HandleEvent(event)) || QMainWindow::event(event);
}

void Tfmymmain::HideTrayIcon()
{
    TrayIcon1->hide();
}

void Tfmymmain::QuitApplication()
{
    QCoreApplication::quit();
}

void Tfmymmain::BuildLayout()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 2, 0, 0);
    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    tabcode = new QWidget;
    tabcode->setObjectName(QStringLiteral("tabcode"));
    tabpro = new QWidget;
    tabpro->setObjectName(QStringLiteral("tabpro"));
    PageControl1->addTab(tabcode, QStringLiteral("获取验证码"));
    PageControl1->addTab(tabpro, QStringLiteral("项目管理"));
    for (QWidget *tab : {tabcode, tabpro}) {
        auto *tabLayout = new QVBoxLayout(tab);
        tabLayout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(PageControl1);
    // Sits in the row of the tab captions and stays usable while the tabs are disabled.
    chktop = new QCheckBox(QStringLiteral("窗口置顶"), central);
    chktop->setObjectName(QStringLiteral("chktop"));
    chktop->setGeometry(145, 2, 72, 17);
    chktop->raise();
    // Right of the tab captions even where the font makes them wider.
    const int iTabsRight = PageControl1->tabBar()->sizeHint().width() + 6;
    if (iTabsRight > chktop->x())
        chktop->move(iTabsRight, chktop->y());
    setCentralWidget(central);

    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName(QStringLiteral("StatusBar1Panel0"));
    StatusPanel0->setFixedWidth(500);
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    StatusPanel1->setFixedWidth(50);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1);
    connect(chktop, &QCheckBox::toggled, this, &Tfmymmain::chktopClick);
}

void Tfmymmain::PlaceWindow()
{
    // Client area 864 by 500 below the menu, centred on the screen.
    resize(864, 500 + menuBar()->sizeHint().height());
    setMinimumSize(size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Tfmymmain::BuildMenus()
{
    QMenuBar *MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto addItem = [this](QMenu *menu, const char *name, const QString &text, auto handler) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addPage = [this, addItem](QMenu *menu, const char *name, const QString &text,
                                   const QString &page) {
        addItem(menu, name, text, [this, page] { GoMainUrl(page); });
    };
    auto addHelp = [this, addItem](QMenu *menu, const char *name, const QString &text,
                                   const QString &path) {
        addItem(menu, name, text, [this, path] { OpenPage(path); });
    };

    QMenu *N1 = MainMenu1->addMenu(QStringLiteral("用户(&U)"));
    N1->setObjectName(QStringLiteral("N1"));
    addPage(N1, "N14", QStringLiteral("资金记录"), QStringLiteral("/User/record.aspx"));
    addPage(N1, "N15", QStringLiteral("短信记录"), QStringLiteral("/User/message.aspx"));
    addPage(N1, "N16", QStringLiteral("帐号管理"), QStringLiteral("/User/personal.aspx"));
    addItem(N1, "N17", QStringLiteral("退出登录"), &Tfmymmain::Logout);
    N1->addSeparator();
    addItem(N1, "N19", QStringLiteral("关闭程序"), &Tfmymmain::Quit);

    QAction *N8 = MainMenu1->addAction(QStringLiteral("参数设置"));
    N8->setObjectName(QStringLiteral("N8"));
    connect(N8, &QAction::triggered, this, &Tfmymmain::ShowPara);
    QAction *N11 = MainMenu1->addAction(QStringLiteral("在线充值"));
    N11->setObjectName(QStringLiteral("N11"));
    connect(N11, &QAction::triggered, this, [this] { GoMainUrl(QStringLiteral("/User/money.aspx")); });

    QMenu *N2 = MainMenu1->addMenu(QStringLiteral("帮助(&H)"));
    N2->setObjectName(QStringLiteral("N2"));
    addHelp(N2, "N4", QStringLiteral("官方网站"), QString());
    addHelp(N2, "N3", QStringLiteral("帮助文档"), QStringLiteral("Col.aspx?cid=1"));
    addHelp(N2, "API1", QStringLiteral("API接口"), QStringLiteral("list.aspx?cid=2"));
    addHelp(N2, "N5", QStringLiteral("联系我们"), QStringLiteral("html.aspx?id=3"));
    addHelp(N2, "N6", QStringLiteral("精品推荐"), QStringLiteral("html.aspx?id=4"));
}

void Tfmymmain::BuildTray()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *N9 = PopupMenu1->addAction(QStringLiteral("显示主界面"));
    N9->setObjectName(QStringLiteral("N9"));
    connect(N9, &QAction::triggered, this, &Tfmymmain::ShowMain);
    PopupMenu1->addSeparator();
    QAction *N10 = PopupMenu1->addAction(QStringLiteral("退出"));
    N10->setObjectName(QStringLiteral("N10"));
    connect(N10, &QAction::triggered, this, &Tfmymmain::Quit);

    TrayIcon1 = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setContextMenu(PopupMenu1);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    ShowMain();
            });
}

// ---- Window states -------------------------------------------------------------------------

void Tfmymmain::CreateFrames()
{
    objfmpro = new Tframepro(tabpro, *this);
    tabpro->layout()->addWidget(objfmpro);
    objfmcode = new Tfrmcode(tabcode, *this);
    tabcode->layout()->addWidget(objfmcode);
    chktop->setChecked(objsys.WinTop);
    if (!bfirsttip)
        objfmcode->SetFirst(true);
}

void Tfmymmain::FreeFrames()
{
    delete objfmpro;
    objfmpro = nullptr;
    delete objfmcode;
    objfmcode = nullptr;
}

void Tfmymmain::SetTopMost(bool b)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == b)
        return;
    const bool bVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, b);
    if (bVisible)
        show();
}

void Tfmymmain::ShowMain()
{
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    // Brought to the front; left not top-most whatever "窗口置顶" says.
    SetTopMost(false);
    raise();
    activateWindow();
    if (objfmlogin)
        objfmlogin->ShowMe();
}

void Tfmymmain::HideMain()
{
    hide();
    TrayIcon1->hide();
    bfavloaded = false;
}

void Tfmymmain::Logout()
{
    HideMain();
    // The session ends here, so closing the login dialog now ends the program.
    objuser.token.clear();
    ShowLogin();
}

void Tfmymmain::Quit()
{
    const int iAnswer = ShowMsgBox(QStringLiteral("确定要退出") + MyExeAppName + QStringLiteral("吗？"),
                                   Hint(), 4);
    if (iAnswer == 2)
        return;
    bclose = true;
    close();
}

void Tfmymmain::WMQueryEndSession()
{
    bclose = true;
    close();
}

void Tfmymmain::ShowPara()
{
    Tfmpara objpara(this, objsys);
    objpara.LoadFrom(objsys);
    if (objpara.exec() != QDialog::Accepted)
        return;
    objpara.SaveTo(objsys);
    SavePara();
}

void Tfmymmain::closeEvent(QCloseEvent *event)
{
    if (bclose) {
        event->accept();
        emit Closed();
        return;
    }
    event->ignore();
    // Without a tray a hidden window could never come back: minimise instead.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
}

void Tfmymmain::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        bclose = false;
    QMainWindow::showEvent(event);
}

void Tfmymmain::hideEvent(QHideEvent *event)
{
    // Minimising sends a spontaneous hide; only a real hide allows the close.
    if (!event->spontaneous())
        bclose = true;
    QMainWindow::hideEvent(event);
}

void Tfmymmain::chktopClick(bool checked)
{
    SetTopMost(checked);
    objsys.WinTop = checked;
    SavePara();
}

void Tfmymmain::PageControl1Change(int index)
{
    QWidget *page = PageControl1->widget(index);
    if (!bfavloaded && page == tabcode) {
        objfmcode->GetFavProlist(0, QString());
        return;
    }
    if (page == tabpro && Tag(PageControl1) == 0) {
        SetTag(PageControl1, 1);
        objfmpro->showlist();
    }
}

QString Tfmymmain::StatusText() const
{
    return StatusPanel0->text();
}

// ---- Command channel -----------------------------------------------------------------------

void Tfmymmain::ExecCMD(const QString &cmd, const QString &surl, qint32 isleep)
{
    QString sUrl = TPlatform::Instance().BaseUrl() + QStringLiteral("http.aspx?action=") + cmd;
    if (cmd == QLatin1String("loginIn")) {
        sUrl += u'&' + surl;
    } else {
        objfmwait->sWaitMsg = WaitMessage(cmd);
        sUrl += QStringLiteral("&uid=") + EncodeParam(objuser.user) + QStringLiteral("&token=")
                + EncodeParam(objuser.token) + u'&' + surl;
        if (cmd != QLatin1String("getUserInfos"))
            ShowWait(false);
    }
    auto *worker = new TGetHttp(cmd, EncodeUrl(sUrl), isleep);
    worker->Start(this, [this](TGetHttp *done) { HttpDone(done); });
}

void Tfmymmain::HttpDone(TGetHttp *worker)
{
    std::lock_guard lock(CSHttp);
    ShowWait(true);
    const QString &sRtn = worker->sRtn;
    const QString sError = CommonErrorText(sRtn);
    if (!sError.isEmpty()) {
        if (objfmlogin)
            objfmlogin->SetBtn(true);
        ShowMsgBox(sError, Hint(), 1);
        return;
    }
    const QString &cmd = worker->APICMD;
    if (cmd == QLatin1String("loginIn")) {
        LoginReply(sRtn);
    } else if (cmd == QLatin1String("getUserInfos")) {
        UserInfoReply(sRtn);
    } else if (cmd == QLatin1String("getfavpro")) {
        bfavloaded = true;
        objfmcode->getfavpro(sRtn);
    } else if (cmd == QLatin1String("getinfo")) {
        objfmcode->getMobilenum(sRtn);
    } else if (cmd == QLatin1String("ReleaseMobile")) {
        ReleaseMobile(sRtn);
    } else if (cmd == QLatin1String("addIgnoreList")) {
        AddIgnoreListDone(sRtn);
    } else if (cmd == QLatin1String("getprolist")) {
        objfmpro->getprolist(sRtn);
    } else if (cmd == QLatin1String("getfavlist")) {
        objfmpro->getfavlist(sRtn);
    } else if (cmd == QLatin1String("setfav")) {
        objfmpro->setfav(sRtn);
    }
}

void Tfmymmain::ShowWait(bool b)
{
    if (b) {
        if (!PageControl1->isEnabled())
            PageControl1->setEnabled(true);
        objfmwait->hide();
        return;
    }
    if (PageControl1->isEnabled())
        PageControl1->setEnabled(false);
    const QRect main = frameGeometry();
    const QRect wait = objfmwait->frameGeometry();
    objfmwait->move(main.left() + (main.width() - wait.width()) / 2,
                    main.top() + (main.height() - wait.height()) / 2);
    objfmwait->show();
}

// ---- Login and account ---------------------------------------------------------------------

void Tfmymmain::ShowLogin()
{
    if (!objfmlogin)
        objfmlogin = new Tfmlogin(*this);
    objfmlogin->setWindowTitle(MyExeAppName + QStringLiteral(" 用户登录"));
    objfmlogin->edtusers->setText(objuser.user);
    objfmlogin->edtpwd->setText(objuser.repwd ? objuser.pwd : QString());
    objfmlogin->chkpwd->setChecked(objuser.repwd);
    objfmlogin->chkauto->setChecked(objuser.autologin);
    objfmlogin->show();
    objfmlogin->ShowMe();
    if (objuser.autologin)
        objfmlogin->btnlogin->click();
}

void Tfmymmain::UserLogin(const QString &username, const QString &pwd, bool repwd, bool reauto)
{
    objuser.user = username;
    objuser.pwd = pwd;
    objuser.autologin = reauto;
    objuser.repwd = repwd;
    // A failed save has been reported; the login still goes out.
    SavePara();
    ExecCMD(QStringLiteral("loginIn"),
            QStringLiteral("uid=%1&pwd=%2").arg(EncodeParam(username), EncodeParam(pwd)), 0);
}

void Tfmymmain::LoginReply(const QString &sRtn)
{
    const QStringList SLItems = SplitList(sRtn, u'|');
    if (SLItems.size() < 2) {
        if (objfmlogin)
            objfmlogin->SetBtn(true);
        ShowMsgBox(QStringLiteral("登录失败！"), Hint(), 1);
        return;
    }
    if (QSystemTrayIcon::isSystemTrayAvailable())
        TrayIcon1->show();
    bclose = false;
    objuser.token = SLItems.at(1);
    if (objfmlogin)
        objfmlogin->close();
    show();
    GetUserInfo();
}

Tfmlogin *Tfmymmain::LoginDialog() const
{
    return objfmlogin;
}

void Tfmymmain::LoginClosed()
{
    objfmlogin = nullptr;
    if (objuser.token.isEmpty())
        close();
}

void Tfmymmain::GetUserInfo()
{
    ExecCMD(QStringLiteral("getUserInfos"), QString(), 0);
}

void Tfmymmain::UserInfoReply(const QString &sRtn)
{
    const QStringList SLItems = SplitList(sRtn, u';');
    if (SLItems.size() < 4) {
        ShowMsgBox(QStringLiteral("获取用户信息发送了错误，请重新登录！"), Hint(), 1);
        return;
    }
    objuser.jifen = ReadInt(SLItems.at(1));
    objuser.Money = RoundHalfEven(ReadFloat(SLItems.at(2)), 2);
    objuser.MaxMobNum = ReadInt(SLItems.at(3));
    objfmcode->SetUpnumMax(objuser.MaxMobNum <= 10 ? objuser.MaxMobNum : 10);
    StatusPanel0->setText(QStringLiteral("%1 已登录  |  余额：%2  |  最多可获取号码数：%3")
                              .arg(objuser.user, FormatFixed(objuser.Money, 2))
                              .arg(objuser.MaxMobNum));
    if (!bfavloaded)
        objfmcode->GetFavProlist(0, QString());
}

// ---- Numbers -------------------------------------------------------------------------------

void Tfmymmain::FreeNum(const QString &selmob)
{
    ExecCMD(QStringLiteral("ReleaseMobile"), QStringLiteral("mobile=") + EncodeParam(selmob), 0);
}

void Tfmymmain::IgnoreMob(const QString &pid, const QString &mob)
{
    ExecCMD(QStringLiteral("addIgnoreList"),
            QStringLiteral("pid=%1&mobiles=%2").arg(EncodeParam(pid), EncodeParam(mob)), 0);
}

void Tfmymmain::ReleaseMobile(const QString &sRtn)
{
    if (sRtn != QLatin1String("OK")) {
        ShowNotice(QStringLiteral("号码释放发生了错误！"), 1, 1000);
        return;
    }
    ShowNotice(QStringLiteral("号码释放成功！"), 1, 1000);
    GetUserInfo();
}

void Tfmymmain::AddIgnoreListDone(const QString &sRtn)
{
    const int iCount = ReadInt(sRtn, -1);
    if (iCount < 0) {
        ShowNotice(QStringLiteral("加黑号码失败"), 1, 1000);
        return;
    }
    ShowNotice(QStringLiteral("加黑%1个号码成功").arg(iCount), 1, 1000);
    GetUserInfo();
}

// ---- Settings file -------------------------------------------------------------------------

QString Tfmymmain::ConfigFile() const
{
    return GetAppPath() + QStringLiteral("client.cfg");
}

void Tfmymmain::ReportError(const QString &message)
{
    ShowMsgBox(message, Hint(), 1);
}

void Tfmymmain::LoadPara()
{
    TIniFile ini(ConfigFile());
    objuser.user = ini.ReadString(kConfig, QStringLiteral("user"), QString());
    objuser.pwd = ini.ReadString(kConfig, QStringLiteral("pwd"), QString());
    if (!objuser.pwd.isEmpty()) {
        // A password that does not decipher is dropped; the other keys still load.
        try {
            objuser.pwd = FromAnsi(DesDecryptHex(ToAnsi(objuser.pwd), kPwdKey));
        } catch (const TAppError &) {
            objuser.pwd.clear();
        }
    }
    objuser.repwd = ini.ReadBool(kConfig, QStringLiteral("repwd"), false);
    objuser.autologin = ini.ReadBool(kConfig, QStringLiteral("autologin"), false);
    objsys.WinTop = ini.ReadBool(kConfig, QStringLiteral("wintop"), false);
    objsys.SetGetCodeTime(ini.ReadInteger(kConfig, QStringLiteral("codetime"), 3));
    objsys.CodeType = qint8(ini.ReadInteger(kConfig, QStringLiteral("codetype"), 0));
    objsys.AutoGetCode = ini.ReadBool(kConfig, QStringLiteral("autogetcode"), true);
    objsys.SetGetKey(ini.ReadString(kConfig, QStringLiteral("getkey"),
                                    QStringLiteral("验证码,校检码,激活码")));
    bfirsttip = ini.ReadBool(kConfig, QStringLiteral("firsttip"), false);
    if (!ini.ReadBool(kConfig, QStringLiteral("first"), false)) {
        MakeDesktopShortcut();
        try {
            ini.WriteBool(kConfig, QStringLiteral("first"), true);
        } catch (const TAppError &e) {
            ReportError(e.Message());
        }
    }
    SetTopMost(objsys.WinTop);
}

bool Tfmymmain::SavePara()
{
    try {
        TIniFile ini(ConfigFile());
        ini.WriteString(kConfig, QStringLiteral("user"), objuser.user);
        ini.WriteBool(kConfig, QStringLiteral("repwd"), objuser.repwd);
        ini.WriteString(kConfig, QStringLiteral("pwd"),
                        objuser.repwd && !objuser.pwd.isEmpty()
                            ? QString::fromLatin1(DesEncryptHex(ToAnsi(objuser.pwd), kPwdKey))
                            : QString());
        ini.WriteBool(kConfig, QStringLiteral("autologin"), objuser.autologin);
        ini.WriteBool(kConfig, QStringLiteral("wintop"), objsys.WinTop);
        ini.WriteBool(kConfig, QStringLiteral("autogetcode"), objsys.AutoGetCode);
        ini.WriteString(kConfig, QStringLiteral("getkey"), objsys.GetKey());
        ini.WriteInteger(kConfig, QStringLiteral("codetime"), objsys.GetCodeTime());
        ini.WriteInteger(kConfig, QStringLiteral("codetype"), objsys.CodeType);
    } catch (const TAppError &e) {
        ReportError(e.Message());
        return false;
    }
    return true;
}

void Tfmymmain::SetFirstTip()
{
    try {
        TIniFile(ConfigFile()).WriteBool(kConfig, QStringLiteral("firsttip"), true);
    } catch (const TAppError &e) {
        ReportError(e.Message());
    }
}

// ---- Web pages and shortcut ----------------------------------------------------------------

void Tfmymmain::OpenPage(const QString &path)
{
    TPlatform::Instance().OpenUrl(TPlatform::Instance().BaseUrl() + path);
}

void Tfmymmain::GoMainUrl(const QString &page)
{
    const QString sText = QStringLiteral("%1|%2|%3").arg(objuser.user, objuser.pwd, page);
    const QByteArray hex = DesEncryptHex(ToAnsi(sText), kHandOffKey);
    OpenPage(QStringLiteral("ref.aspx?q=") + QString::fromLatin1(hex));
}

void Tfmymmain::MakeDesktopShortcut()
{
    QString sFolder = TPlatform::Instance().DesktopFolder();
    // Without a desktop folder the link would land in whatever the current folder is.
    if (sFolder.isEmpty())
        return;
    if (sFolder.size() > 3)
        sFolder = AddBackslash(sFolder);
    CreateDesktopLink(TPlatform::Instance().ExecutablePath(), QString(),
                      sFolder + MyExeAppName + DesktopLinkExt(), MyExeAppName);
}
