#pragma once

#include "update/WorkerThread.h"

#include <QString>

#include <memory>

class QObject;

// The update check: asks the platform at once and then every 120 s whether a newer client
// exists and hands every answer to the main window as WM_UPINFO, waiting until it is handled.
class TUpdateThread : public TWorkerThread
{
public:
    static constexpr int CheckIntervalMs = 120000;

    // Starts the thread. host: the platform's base URL; version: the client's; type: "0".
    static std::shared_ptr<TUpdateThread> Create(QObject *phandle, const QString &host,
                                                 const QString &version, const QString &type);

    // The check address without its last parameter.
    const QString &Host() const { return _host; }
    // The request of one cycle: the updater's version goes last.
    QString RequestUrl() const;
    // The version of "update.exe" in the program folder, empty without one.
    static QString GetUpdaterVersion();

protected:
    void Execute() override;

private:
    TUpdateThread(QObject *phandle, const QString &host);
    void CheckOnce();

    QObject *_Phandle = nullptr; // receiver of WM_UPINFO: the main window
    QString _host;
};
