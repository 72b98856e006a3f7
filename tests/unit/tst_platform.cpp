#include "common/platform/Platform.h"

#include "TestPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs action on the message box once it is shown modally, and records how it looked.
struct BoxLook
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onTop = false;
    bool applicationModal = false;
    bool hasOwner = true;
    QString text;
    QString caption;
};

void WhenBoxShown(BoxLook &look, std::function<void(QMessageBox *)> action)
{
    QTimer::singleShot(0, [&look, action] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            WhenBoxShown(look, action);
            return;
        }
        look = {box->icon(), box->standardButtons(),
                box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                box->windowModality() == Qt::ApplicationModal, box->parentWidget() != nullptr,
                box->text(), box->windowTitle()};
        action(box);
    });
}

} // namespace

class TestPlatformSeam : public QObject
{
    Q_OBJECT
private slots:
    void messageBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("press"); // "ok", "cancel" or "escape"
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("result");
        const int ok = QMessageBox::Ok;
        const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        QTest::newRow("information") << 1 << "ok" << int(QMessageBox::Information) << ok << 0;
        QTest::newRow("warning") << 2 << "ok" << int(QMessageBox::Warning) << ok << 0;
        QTest::newRow("error") << 3 << "escape" << int(QMessageBox::Critical) << ok << 0;
        QTest::newRow("question OK") << 4 << "ok" << int(QMessageBox::Question) << okCancel << 1;
        QTest::newRow("question Cancel") << 4 << "cancel" << int(QMessageBox::Question) << okCancel << 2;
        QTest::newRow("question closed") << 4 << "escape" << int(QMessageBox::Question) << okCancel << 2;
    }
    void messageBox()
    {
        QFETCH(int, kind);
        QFETCH(QString, press);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, result);
        BoxLook look;
        WhenBoxShown(look, [press](QMessageBox *box) {
            if (press == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(press == "ok" ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        });
        QCOMPARE(TPlatform::Instance().MessageBox("登录失败", "提示", kind), result);
        QCOMPARE(int(look.icon), icon);
        QCOMPARE(int(look.buttons), buttons);
        QVERIFY(look.onTop);
        QVERIFY(look.applicationModal);
        QVERIFY(!look.hasOwner);
        QCOMPARE(look.text, QString("登录失败"));
        QCOMPARE(look.caption, QString("提示"));
    }

    void messageBoxOtherKindsShowNothing()
    {
        QCOMPARE(TPlatform::Instance().MessageBox("x", "y", 0), 0);
        QCOMPARE(TPlatform::Instance().MessageBox("x", "y", 5), 0);
    }

    void productionServices()
    {
        TPlatform &platform = TPlatform::Instance();
        QCOMPARE(platform.BaseUrl(), QStringLiteral(TALVEK_BASE_URL));
        QVERIFY(platform.BaseUrl().endsWith('/'));
        QCOMPARE(platform.ExecutablePath(), QCoreApplication::applicationFilePath());
        const qint64 before = platform.TickCount();
        QTest::qWait(20);
        QVERIFY(platform.TickCount() - before >= 20);

        const QList<TProcessEntry> processes = platform.Processes();
        const auto self = std::find_if(processes.begin(), processes.end(), [](const TProcessEntry &p) {
            return p.pid == QCoreApplication::applicationPid();
        });
        QVERIFY(self != processes.end());
        QCOMPARE(self->exeName, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        QVERIFY(!platform.TerminateProcess(0));
    }

    void testPlatformInstallsAndRestores()
    {
        TPlatform *production = &TPlatform::Instance();
        {
            TestPlatform test;
            test.baseUrl = "http://127.0.0.1:1/";
            test.now = 5;
            QCOMPARE(&TPlatform::Instance(), &test);
            QCOMPARE(TPlatform::Instance().BaseUrl(), QString("http://127.0.0.1:1/"));
            QCOMPARE(TPlatform::Instance().TickCount(), 5);
            QVERIFY(TPlatform::Instance().Processes().isEmpty());
            TPlatform::Instance().OpenUrl("http://x/");
            QVERIFY(TPlatform::Instance().StartProgram("/p/update.exe", "/p"));
            QCOMPARE(test.openedUrls, QStringList{"http://x/"});
            QCOMPARE(test.startedPrograms, QStringList{"/p/update.exe"});
            QCOMPARE(test.startedFolders, QStringList{"/p"});
        }
        QCOMPARE(&TPlatform::Instance(), production);
    }
};

QTEST_MAIN(TestPlatformSeam)
#include "tst_platform.moc"
