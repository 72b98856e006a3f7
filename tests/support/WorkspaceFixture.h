#pragma once

#include "TestPlatform.h"

#include "SimServer.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QComboBox;
class TSysInfo;
class Tfmymmain;
class Tframemob;
class Tfrmcode;

// A simulator on a free port, the test seam with a program folder of its own, and the main
// window logged in as the demo account; its code tab is the picker under test.
class WorkspaceFixture
{
public:
    WorkspaceFixture();
    ~WorkspaceFixture();

    QTemporaryDir dir;
    SimServer sim;
    TestPlatform platform;
    std::unique_ptr<Tfmymmain> main;
    Tfrmcode *code = nullptr;

    bool started = false;

    TSysInfo &SysInfo() const;
    // No command of the main window is out (the wait window has gone and the tabs take input).
    bool Idle() const;
    bool WaitIdle() const;
    // A key of the program's client.cfg.
    QString Setting(const QString &key) const;

    // Empties the account line of the status bar; the next account refresh fills it again.
    void ClearAccountLine();

    // Request targets the simulator logged for one command, oldest first.
    QStringList Requests(const QString &action) const;
    // Loads the given favourite list through a real "getfavpro" round trip.
    void LoadFavourites(const QString &reply);
    // Selects drop-down item index (0 is the header).
    void Select(int index);
    // Asks for numbers and waits until the reply has been handled.
    void RequestNumbers(const QString &reply);
    QList<Tframemob *> Tasks() const;
};

// Base of the workspace test cases: a fresh fixture for every test function.
class WorkspaceTestCase : public QObject
{
    Q_OBJECT
protected:
    std::unique_ptr<WorkspaceFixture> f;

private slots:
    void init();
    void cleanup();
};

// A named child that the test relies on.
template<typename T>
T *Part(const QObject *parent, const char *name)
{
    T *child = parent->findChild<T *>(QLatin1String(name));
    Q_ASSERT(child);
    return child;
}

// The text of the newest notice, empty when none was shown.
QString LastNoticeText();

// The texts of a drop-down's entries.
QStringList Entries(const QComboBox *combo);

// Three favourites: a receiving, a sending and a receiving-and-sending project.
extern const QString kThreeFavourites;
