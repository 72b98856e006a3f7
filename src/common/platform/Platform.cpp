#include "common/platform/Platform.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <atomic>
#include <chrono>

namespace {

// Worker threads read the clock and the base URL through the seam.
std::atomic<TPlatform *> installedPlatform{nullptr};

QMessageBox::Icon IconOfKind(int kind)
{
    switch (kind) {
    case 1:
        return QMessageBox::Information;
    case 2:
        return QMessageBox::Warning;
    case 3:
        return QMessageBox::Critical;
    default:
        return QMessageBox::Question;
    }
}

} // namespace

int TPlatform::MessageBox(const QString &text, const QString &caption, int kind)
{
    if (kind < 1 || kind > 4)
        return 0;
    // No owner window, so the box must keep itself above every other window. exec() makes it
    // application-modal; setting the modality by hand would drop the stay-on-top flag.
    const bool question = kind == 4;
    QMessageBox box(IconOfKind(kind), caption, text,
                    question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    if (question)
        box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (!question)
        return 0;
    return box.clickedButton() == box.button(QMessageBox::Ok) ? 1 : 2;
}

void TPlatform::OpenUrl(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}

bool TPlatform::StartProgram(const QString &program, const QString &workingFolder)
{
    return QProcess::startDetached(program, {}, workingFolder);
}

qint64 TPlatform::TickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString TPlatform::BaseUrl()
{
    return QStringLiteral(TALVEK_BASE_URL);
}

TPlatform &TPlatform::Instance()
{
    static TPlatform production;
    TPlatform *installed = installedPlatform.load();
    return installed ? *installed : production;
}

void TPlatform::Install(TPlatform *platform)
{
    installedPlatform = platform;
}
