#include "TestPlatform.h"

TestPlatform::TestPlatform()
{
    TPlatform::Install(this);
}

TestPlatform::~TestPlatform()
{
    TPlatform::Install(nullptr);
}

int TestPlatform::MessageBox(const QString &text, const QString &caption, int kind)
{
    if (kind < 1 || kind > 4)
        return 0;
    messageBoxes.append({text, caption, kind});
    if (kind != 4)
        return 0;
    return messageBoxAnswers.isEmpty() ? 1 : messageBoxAnswers.dequeue();
}

void TestPlatform::OpenUrl(const QString &url)
{
    openedUrls.append(url);
}

bool TestPlatform::StartProgram(const QString &program, const QString &workingFolder)
{
    startedPrograms.append(program);
    startedFolders.append(workingFolder);
    return true;
}

qint64 TestPlatform::TickCount()
{
    return now;
}

QString TestPlatform::DesktopFolder()
{
    return desktopFolder;
}

QString TestPlatform::ExecutablePath()
{
    return executablePath.isEmpty() ? TPlatform::ExecutablePath() : executablePath;
}

QList<TProcessEntry> TestPlatform::Processes()
{
    return useRealProcesses ? TPlatform::Processes() : processes;
}

bool TestPlatform::TerminateProcess(qint64 pid)
{
    terminatedPids.append(pid);
    return useRealProcesses ? TPlatform::TerminateProcess(pid) : true;
}

QString TestPlatform::BaseUrl()
{
    return baseUrl.isEmpty() ? TPlatform::BaseUrl() : baseUrl;
}
