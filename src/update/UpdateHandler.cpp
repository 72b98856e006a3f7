#include "update/UpdateHandler.h"

#include "common/Ansi.h"
#include "common/Global.h"
#include "common/platform/Platform.h"
#include "update/Executable.h"
#include "update/UpDateInfo.h"
#include "update/UpInfoEvent.h"
#include "update/UpStateEvent.h"
#include "update/UpdateHost.h"
#include "update/UpdateThread.h"
#include "update/autoUpdate.h"
#include "update/frmupwin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProgressBar>

namespace {

// Long enough for a transfer to notice its abort, short enough not to hold the exit.
constexpr int ShutdownWaitMs = 2000;

} // namespace

TUpdateHandler::TUpdateHandler(QWidget *mainWindow, TUpdateHost &host) : objmain(mainWindow), objhost(host)
{
}

TUpdateHandler::~TUpdateHandler()
{
    if (objupdate)
        objupdate->Terminate();
    objauto.reset();
    TWorkerThread::ShutdownAll(ShutdownWaitMs);
}

void TUpdateHandler::StartCheck(const QString &host, const QString &version, const QString &type)
{
    objupdate = TUpdateThread::Create(objmain, host, version, type);
}

bool TUpdateHandler::HandleEvent(QEvent *event)
{
    if (event->type() == WM_UPINFO) {
        UpInfo(static_cast<TUpInfoEvent *>(event)->Info());
        return true;
    }
    if (event->type() == WM_UPSTATE) {
        const auto *state = static_cast<TUpStateEvent *>(event);
        UpState(state->wParam, state->lParam);
        return true;
    }
    return false;
}

void TUpdateHandler::UpInfo(const TGetUpInfo *info)
{
    if (!info || info->DownUrl.isEmpty() || bupdating)
        return;
    auto upInfo = std::make_unique<TUpDateInfo>();
    upInfo->isplayer = true;
    upInfo->PlayerUrl = info->DownUrl;
    upInfo->isupdate = !info->UpUrl.isEmpty();
    upInfo->UpdateUrl = info->UpUrl;

    bupdating = true;
    UpState(TUpStateEvent::Started, 0);
    objauto = std::make_unique<TAutoUpdate>(objmain, std::move(upInfo));
    objauto->StartWork();
}

void TUpdateHandler::UpState(qint32 wParam, qint32 lParam)
{
    switch (wParam) {
    case TUpStateEvent::Started:
        ShowProgressWindow();
        break;
    case TUpStateEvent::Progress:
        if (objupwin)
            objupwin->pro1->setValue(lParam);
        break;
    case TUpStateEvent::DownFailed: // the package download failed: reported like a bad package
    case TUpStateEvent::Failed:
        ShowFailure();
        break;
    case TUpStateEvent::HandOver:
        HandOver();
        break;
    default:
        break;
    }
}

void TUpdateHandler::ShowProgressWindow()
{
    delete objupwin; // left hidden by an earlier failed update
    objupwin = new Tfmupwin(objmain);
    objupwin->show();
}

void TUpdateHandler::ShowFailure()
{
    if (objupwin)
        objupwin->hide();
    ShowMsgBox(QStringLiteral("发现新版本，自动升级失败！请前往官网下载最新版本"), QStringLiteral("提示"), 1);
    TPlatform::Instance().OpenUrl(TPlatform::Instance().BaseUrl() + QStringLiteral("vostrel.rar"));
    bupdating = false;
}

void TUpdateHandler::HandOver()
{
    const QString folder = GetAppPath();
    QFile uplog(folder + QStringLiteral("uplog.txt"));
    if (uplog.open(QIODevice::WriteOnly | QIODevice::Truncate))
        uplog.write(ToAnsi(GetAppName()) + "\r\n");
    uplog.close();

    const QString updater = folder + QStringLiteral("update.exe");
    MakeExecutable(updater);
    TPlatform::Instance().StartProgram(updater, QString());
    objhost.HideTrayIcon();
    QCoreApplication::processEvents();
    KillProcessByName(StrAfterLast(TPlatform::Instance().ExecutablePath(), QDir::separator(), GetAppName()));
    objhost.QuitApplication();
}
