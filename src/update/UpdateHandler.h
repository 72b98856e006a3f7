#pragma once

#include "update/frmupwin.h"

#include <QPointer>
#include <QString>

#include <memory>

class QEvent;
class QWidget;
class TAutoUpdate;
class TGetUpInfo;
class TUpdateHost;
class TUpdateThread;

// The main window's side of the self-update: runs the check thread and handles WM_UPINFO and
// WM_UPSTATE, which the main window passes on from its event handler. One update runs at a
// time; a later answer naming a package while one runs starts nothing.
class TUpdateHandler
{
public:
    // mainWindow receives the update's messages and owns the progress windows.
    TUpdateHandler(QWidget *mainWindow, TUpdateHost &host);
    // Stops the check and the downloads; waits for them only briefly.
    ~TUpdateHandler();

    // Starts the check thread (the main window's last start-up step).
    void StartCheck(const QString &host, const QString &version, const QString &type);
    // Handles the two update messages; false for any other event.
    bool HandleEvent(QEvent *event);

    void UpInfo(const TGetUpInfo *info);        // WM_UPINFO
    void UpState(qint32 wParam, qint32 lParam); // WM_UPSTATE

    Tfmupwin *ProgressWindow() const { return objupwin; }
    bool Updating() const { return bupdating; }

private:
    void ShowProgressWindow();
    void ShowFailure();
    void HandOver();

    QWidget *objmain = nullptr;
    TUpdateHost &objhost;
    std::shared_ptr<TUpdateThread> objupdate;
    std::unique_ptr<TAutoUpdate> objauto;
    QPointer<Tfmupwin> objupwin;
    bool bupdating = false;
};
