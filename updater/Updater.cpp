#include "Updater.h"

#include "common/Ansi.h"
#include "common/platform/Platform.h"
#include "update/Executable.h"
#include "update/SafeUnzip.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace {

bool runsUnder(const TProcessEntry &process, const QString &client)
{
    return QFileInfo(process.exeName).fileName().compare(client, Qt::CaseInsensitive) == 0;
}

} // namespace

Updater::Updater(const QString &folder) : folder_(folder), log_(folder + QStringLiteral("updater.log"))
{
}

int Updater::run()
{
    log_.write(QStringLiteral("update started in %1").arg(folder_));
    const QString client = clientName();
    if (client.isEmpty()) {
        log_.write(QStringLiteral("refused: uplog.txt is missing or names no program"));
        return 1;
    }
    if (!waitForClientExit(client)) {
        log_.write(QStringLiteral("refused: %1 is still running after %2 s; nothing was changed")
                       .arg(client).arg(ClientExitWaitMs / 1000));
        return 1;
    }
    const bool installed = install();
    startClient(client);
    return installed ? 0 : 1;
}

bool Updater::install() const
{
    const QString package = folder_ + QStringLiteral("update.zip");
    QString error;
    if (!QFileInfo::exists(package)) {
        log_.write(QStringLiteral("refused: update.zip is missing"));
        return false;
    }
    if (!TSafeUnzip::Extract(package, folder_, &error)) {
        log_.write(QStringLiteral("refused: %1; the program folder is unchanged").arg(error));
        return false;
    }
    QFile::remove(package);
    log_.write(QStringLiteral("installed update.zip and removed it"));
    return true;
}

// The client's file name as the hand-over wrote it; only a plain name in this folder counts.
QString Updater::clientName() const
{
    QFile uplog(folder_ + QStringLiteral("uplog.txt"));
    if (!uplog.open(QIODevice::ReadOnly))
        return {};
    const QString name = FromAnsi(uplog.readLine()).trimmed();
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QLatin1String("..")
        || name == QLatin1String("."))
        return {};
    return name;
}

bool Updater::waitForClientExit(const QString &client) const
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const QList<TProcessEntry> processes = TPlatform::Instance().Processes();
        if (std::none_of(processes.begin(), processes.end(),
                         [&](const TProcessEntry &p) { return runsUnder(p, client); }))
            return true;
        if (waited.elapsed() >= ClientExitWaitMs)
            return false;
        QThread::msleep(200);
    }
}

void Updater::startClient(const QString &client) const
{
    const QString program = folder_ + client;
    MakeExecutable(program);
    if (TPlatform::Instance().StartProgram(program, folder_))
        log_.write(QStringLiteral("started %1").arg(program));
    else
        log_.write(QStringLiteral("could not start %1").arg(program));
}
