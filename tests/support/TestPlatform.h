#pragma once

#include "common/platform/Platform.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// The operating-system seam for tests: message boxes answered from a queue and recorded,
// shell opens and program starts recorded, a clock the test moves, chosen folders and base URL.
// Installs itself on construction and restores the production seam on destruction.
class TestPlatform : public TPlatform
{
public:
    TestPlatform();
    ~TestPlatform() override;

    struct MessageBoxCall
    {
        QString text;
        QString caption;
        int kind = 0;
    };

    // Answers for the next kind-4 boxes (1 OK, 2 Cancel); without one, OK is chosen.
    QQueue<int> messageBoxAnswers;
    QList<MessageBoxCall> messageBoxes;
    QStringList openedUrls;
    QStringList startedPrograms;
    QStringList startedFolders; // the working folder of each started program, in step
    QList<qint64> terminatedPids;
    qint64 now = 1000000;
    QString desktopFolder;
    QString executablePath; // empty: the real one
    // Nothing listens there, so a test that sets no simulator never reaches a running demo on
    // the compiled-in address; empty: the compiled-in one.
    QString baseUrl = QStringLiteral("http://127.0.0.1:1/");
    // The process list the program sees. With useRealProcesses the system's processes are
    // listed and really terminated; otherwise terminations are only recorded.
    QList<TProcessEntry> processes;
    bool useRealProcesses = false;

    int MessageBox(const QString &text, const QString &caption, int kind) override;
    void OpenUrl(const QString &url) override;
    bool StartProgram(const QString &program, const QString &workingFolder) override;
    qint64 TickCount() override;
    QString DesktopFolder() override;
    QString ExecutablePath() override;
    QList<TProcessEntry> Processes() override;
    bool TerminateProcess(qint64 pid) override;
    QString BaseUrl() override;
};
