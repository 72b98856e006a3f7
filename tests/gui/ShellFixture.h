#pragma once

// A simulator, the test seam and a program folder of its own, and the main window started on
// them: what every test of the shell needs.
#include "app/frmlogin.h"
#include "app/frmmain.h"
#include "channel/GetHttp.h"
#include "SimServer.h"
#include "TestPlatform.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class ShellFixture
{
public:
    ShellFixture()
    {
        started = sim.start() && awaitServing();
        platform.baseUrl = QString::fromStdString(sim.baseUrl());
        platform.executablePath = dir.filePath(QStringLiteral("Talvek平台客户端"));
        platform.desktopFolder = dir.filePath(QStringLiteral("Desktop"));
        QDir().mkpath(platform.desktopFolder);
    }

    // A GET with the program's own worker; false when no completion came.
    static bool fetch(const QString &url, QString *body = nullptr)
    {
        QObject context;
        bool answered = false;
        auto *worker = new TGetHttp(QString(), url, 0);
        worker->Start(&context, [&answered, body](TGetHttp *done) {
            answered = true;
            if (body)
                *body = done->sRtn;
        });
        return QTest::qWaitFor([&answered] { return answered; }, 10000);
    }

    // The simulator's stop() hangs when it comes before its accept loop has begun: wait for
    // the first answer, then forget that request.
    bool awaitServing()
    {
        const bool ok = fetch(QString::fromStdString(sim.baseUrl()));
        sim.clearRequestLog();
        return ok;
    }

    QString configPath() const { return dir.filePath(QStringLiteral("client.cfg")); }

    void writeConfig(const QByteArray &content) const
    {
        QFile file(configPath());
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    QByteArray readConfig() const
    {
        QFile file(configPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The request targets the simulator received for one action, in order.
    QStringList requests(const QString &action) const
    {
        QStringList found;
        const QString prefix = QStringLiteral("/http.aspx?action=") + action + u'&';
        for (const std::string &target : sim.requestLog()) {
            const QString text = QString::fromStdString(target);
            if (text.startsWith(prefix))
                found << text;
        }
        return found;
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const auto &box : platform.messageBoxes)
            texts << box.text;
        return texts;
    }

    std::unique_ptr<Tfmymmain> start() const { return std::make_unique<Tfmymmain>(); }

    // Types into the login dialog and clicks the login button.
    static void submit(Tfmymmain &main, const QString &user, const QString &pwd)
    {
        Tfmlogin *login = main.LoginDialog();
        login->edtusers->setText(user);
        login->edtpwd->setText(pwd);
        QTest::mouseClick(login->btnlogin, Qt::LeftButton);
    }

    // Logs in as the demo account and waits for the account line.
    static bool login(Tfmymmain &main)
    {
        submit(main, QStringLiteral("demo"), QStringLiteral("demo123"));
        return QTest::qWaitFor([&main] { return !main.StatusText().isEmpty(); }, 10000);
    }

    QTemporaryDir dir;
    SimServer sim;
    TestPlatform platform;
    bool started = false;
};
