#pragma once

#include "update/UpdateHost.h"
#include "workspace/WorkspaceHost.h"
#include "workspace/structutil.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <mutex>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QTabWidget;
class QWidget;
class TGetHttp;
class Tfmlogin;
class Tfmwait;
class Tframepro;
class TUpdateHandler;
class Tfrmcode;

// The main window: the two work tabs, menus, tray icon and status bar; owner of the session,
// the settings and the command channel. Creating it runs the whole start-up; it stays hidden
// until a login succeeds.
class Tfmymmain : public QMainWindow, public TWorkspaceHost, public TUpdateHost
{
    Q_OBJECT
public:
    Tfmymmain();
    ~Tfmymmain() override;

    // Command channel.
    void ExecCMD(const QString &cmd, const QString &surl, qint32 isleep) override;
    void HttpDone(TGetHttp *worker);
    // false shows the wait window and disables the tabs; true hides it and enables them.
    void ShowWait(bool b);
    bool FavLoaded() const override { return bfavloaded; }
    void SetFavLoaded(bool loaded) override { bfavloaded = loaded; }

    // Login and account.
    void ShowLogin();
    void UserLogin(const QString &username, const QString &pwd, bool repwd, bool reauto);
    void LoginReply(const QString &sRtn);
    void GetUserInfo() override;
    void UserInfoReply(const QString &sRtn);
    // The login dialog has closed; without a session the program ends.
    void LoginClosed();

    // Settings file.
    void LoadPara();
    // Writes the session and settings; false (after telling the user) when the file cannot be
    // written.
    bool SavePara();
    void SetFirstTip() override;

    // Web pages and shortcut.
    void GoMainUrl(const QString &page) override;
    void MakeDesktopShortcut();

    // Numbers released and blacklisted through the channel.
    void FreeNum(const QString &selmob) override;
    void IgnoreMob(const QString &pid, const QString &mob) override;
    void ReleaseMobile(const QString &sRtn);
    void AddIgnoreListDone(const QString &sRtn);

    // Window states.
    void CreateFrames();
    void FreeFrames();
    void ShowMain();
    void HideMain();
    void Logout();
    void Quit();
    void ShowPara();
    // The desktop session ends: the program closes without asking.
    void WMQueryEndSession();

    TUserInfo &UserInfo() override { return objuser; }
    TSysInfo &SysInfo() override { return objsys; }

    // For tests and the parts that build on the window.
    Tfrmcode *objfmcode = nullptr;
    Tframepro *objfmpro = nullptr;
    QTabWidget *PageControl() const { return PageControl1; }
    QCheckBox *TopCheck() const { return chktop; }
    Tfmlogin *LoginDialog() const;
    Tfmwait *WaitWindow() const { return objfmwait; }
    QSystemTrayIcon *TrayIcon() const { return TrayIcon1; }
    QMenu *TrayMenu() const { return PopupMenu1; }
    QString StatusText() const;
    const QString &AppDisplayName() const { return MyExeAppName; }
    bool CloseAllowed() const { return bclose; }
    bool FirstTipShown() const { return bfirsttip; }
    QString ConfigFile() const;

    // Self-update.
    void HideTrayIcon() override;
    void QuitApplication() override;

signals:
    // The window has really closed: the program ends.
    void Closed();

protected:
    bool event(QEvent *event) override; // passes the update's messages on
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void BuildTray();
    void PlaceWindow();
    void SetTopMost(bool b);
    void PageControl1Change(int index);
    void chktopClick(bool checked);
    void OpenPage(const QString &path);
    void ReportError(const QString &message);

    QTabWidget *PageControl1 = nullptr;
    QWidget *tabcode = nullptr;
    QWidget *tabpro = nullptr;
    QCheckBox *chktop = nullptr;
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    QSystemTrayIcon *TrayIcon1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    Tfmwait *objfmwait = nullptr;
    QPointer<Tfmlogin> objfmlogin;

    std::recursive_mutex CSHttp;
    TUserInfo objuser;
    TSysInfo objsys;
    QString MyExeAppName;
    bool bclose = true;
    bool bfirsttip = false;
    bool bfavloaded = false;
    std::unique_ptr<TUpdateHandler> objupdate; // the update check and its messages
};
