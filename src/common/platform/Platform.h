#pragma once

#include <QList>
#include <QString>

struct TProcessEntry
{
    qint64 pid = 0;
    QString exeName; // as the system lists it (at most 260 characters)
};

// Every operating-system service the program uses. The production implementation is the
// default; tests install a subclass once to queue answers, record calls and move the clock.
class TPlatform
{
public:
    virtual ~TPlatform() = default;

    // A modal message box; see ShowMsgBox for kinds and results.
    virtual int MessageBox(const QString &text, const QString &caption, int kind);
    // The shell's "open": an address in the default browser. Failures are dropped.
    virtual void OpenUrl(const QString &url);
    // Starts a program detached, in the given working folder.
    virtual bool StartProgram(const QString &program, const QString &workingFolder);
    // Monotonic milliseconds.
    virtual qint64 TickCount();
    // The user's desktop folder, empty when unknown.
    virtual QString DesktopFolder();
    // Full path of the running executable; its folder is the program folder.
    virtual QString ExecutablePath();
    // Every process of the system, in process-id order.
    virtual QList<TProcessEntry> Processes();
    // Asks the system to end the process at once; true when the request was delivered.
    virtual bool TerminateProcess(qint64 pid);
    // The platform's base URL, ending in "/".
    virtual QString BaseUrl();

    static TPlatform &Instance();
    // Installs a replacement (not owned); nullptr restores the production implementation.
    static void Install(TPlatform *platform);
};
