#pragma once

#include "UpdaterLog.h"

#include <QString>

// Completes an update the client handed over: waits for the client named in "uplog.txt" to
// end, unpacks "update.zip" over the program folder (all or nothing), removes it and starts
// the client again. Whatever happens is written to "updater.log".
class Updater
{
public:
    explicit Updater(const QString &folder);
    // 0 when the update was installed.
    int run();

    static constexpr int ClientExitWaitMs = 30000;

private:
    QString clientName() const;
    // Unpacks update.zip over the folder and removes it; false leaves the folder as it was.
    bool install() const;
    bool waitForClientExit(const QString &client) const;
    void startClient(const QString &client) const;

    QString folder_;
    UpdaterLog log_;
};
