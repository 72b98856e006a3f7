#include "WorkspaceFixture.h"

#include "app/IniFile.h"
#include "app/frmmain.h"
#include "common/MsgDlg.h"
#include "workspace/frmpara.h"
#include "workspace/frmtest.h"
#include "workspace/structutil.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString kDefaultKeys = QStringLiteral("验证码,校检码,激活码");

} // namespace

class TestPara : public QObject
{
    Q_OBJECT

    TestPlatform platform;
    TSysInfo sysinfo;
    QWidget owner;

    // The settings dialog as the main window opens it.
    std::unique_ptr<Tfmpara> Open()
    {
        auto dialog = std::make_unique<Tfmpara>(&owner, sysinfo);
        dialog->LoadFrom(sysinfo);
        dialog->open();
        return dialog;
    }

    Tfmsmstest *OpenTest(Tfmpara *dialog)
    {
        Part<QPushButton>(dialog, "Button3")->click();
        const QList<Tfmsmstest *> tests = dialog->findChildren<Tfmsmstest *>();
        return tests.isEmpty() ? nullptr : tests.last();
    }

private slots:
    void init()
    {
        sysinfo = TSysInfo();
        sysinfo.SetGetKey(kDefaultKeys);
        sysinfo.SetGetCodeTime(3);
        sysinfo.AutoGetCode = true;
        ClearShownNotices();
    }

    void opensWithTheSettings_data()
    {
        QTest::addColumn<int>("codeTime");
        QTest::addColumn<bool>("autoGet");
        QTest::addColumn<int>("codeType");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("title");
        QTest::newRow("digits") << 5 << true << 0 << kDefaultKeys << "提取以下关键词附近的数字";
        QTest::newRow("letters, full-width commas") << 12 << false << 1 << "验证码，激活码 " << "提取以下关键词附近的数字或字母";
        QTest::newRow("type -1 counts as letters") << 1 << true << -1 << "" << "提取以下关键词附近的数字或字母";
    }
    void opensWithTheSettings()
    {
        QFETCH(int, codeTime);
        QFETCH(bool, autoGet);
        QFETCH(int, codeType);
        QFETCH(QString, keys);
        QFETCH(QString, title);
        sysinfo.SetGetCodeTime(codeTime);
        sysinfo.AutoGetCode = autoGet;
        sysinfo.CodeType = qint8(codeType);
        sysinfo.SetGetKey(keys);
        auto dialog = Open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("参数设置"));
        QCOMPARE(Part<QLineEdit>(dialog.get(), "edttime")->text(), QString::number(codeTime));
        QCOMPARE(Part<QCheckBox>(dialog.get(), "chkcode")->isChecked(), autoGet);
        QCOMPARE(Part<QRadioButton>(dialog.get(), "rbnum")->isChecked(), codeType == 0);
        QCOMPARE(Part<QRadioButton>(dialog.get(), "rbnz")->isChecked(), codeType != 0);
        QCOMPARE(Part<QLabel>(dialog.get(), "lbltitle")->text(), title);
        QCOMPARE(Part<QLineEdit>(dialog.get(), "edtselkey")->text(), keys);
        QVERIFY(Part<QPushButton>(dialog.get(), "Button2")->isDefault());
    }

    void intervalKeyFilter()
    {
        auto dialog = Open();
        auto *edttime = Part<QLineEdit>(dialog.get(), "edttime");
        edttime->clear();
        QTest::keyClicks(edttime, QStringLiteral("a-4 .9x"));
        QCOMPARE(edttime->text(), QStringLiteral("49"));
        QTest::keyClick(edttime, Qt::Key_Backspace);
        QCOMPARE(edttime->text(), QStringLiteral("4"));
    }

    void takesBackOnOk_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<bool>("autoGet");
        QTest::addColumn<bool>("letters");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("codeTime");
        QTest::newRow("all changed") << "20" << true << true << " 动态码，验证码 " << 20;
        QTest::newRow("interval emptied") << "" << true << false << "验证码" << 1;
        QTest::newRow("interval zero") << "0" << true << false << "验证码" << 1;
        QTest::newRow("no extraction, no keywords") << "5" << false << false << "" << 5;
    }
    void takesBackOnOk()
    {
        QFETCH(QString, interval);
        QFETCH(bool, autoGet);
        QFETCH(bool, letters);
        QFETCH(QString, keys);
        QFETCH(int, codeTime);
        auto dialog = Open();
        Part<QLineEdit>(dialog.get(), "edttime")->setText(interval);
        Part<QCheckBox>(dialog.get(), "chkcode")->setChecked(autoGet);
        Part<QRadioButton>(dialog.get(), letters ? "rbnz" : "rbnum")->setChecked(true);
        Part<QLineEdit>(dialog.get(), "edtselkey")->setText(keys);
        Part<QPushButton>(dialog.get(), "Button1")->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(ShownNotices().isEmpty());
        dialog->SaveTo(sysinfo);
        QCOMPARE(sysinfo.GetCodeTime(), codeTime);
        QCOMPARE(sysinfo.AutoGetCode, autoGet);
        QCOMPARE(sysinfo.CodeType, qint8(letters ? 1 : 0));
        QCOMPARE(sysinfo.GetKey(), keys); // as typed
    }

    void refusesEmptyKeywords()
    {
        auto dialog = Open();
        Part<QLineEdit>(dialog.get(), "edtselkey")->setText(QStringLiteral(" \t "));
        Part<QPushButton>(dialog.get(), "Button1")->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(ShownNotices().size(), 1);
        QCOMPARE(ShownNotices().first().text, QStringLiteral("关键词不能为空！"));
        QCOMPARE(ShownNotices().first().value, 1000);

        QVERIFY(!OpenTest(dialog.get())); // the test refuses them too
        QCOMPARE(ShownNotices().size(), 2);

        Part<QPushButton>(dialog.get(), "Button2")->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void testDialogRunsAndRestores()
    {
        sysinfo.CodeType = 0;
        auto dialog = Open();
        Part<QLineEdit>(dialog.get(), "edtselkey")->setText(QStringLiteral("  注册验证码，请在 "));
        Part<QRadioButton>(dialog.get(), "rbnz")->setChecked(true);
        Tfmsmstest *test = OpenTest(dialog.get());
        QVERIFY(test);
        QVERIFY(test->isVisible());
        QCOMPARE(test->windowTitle(), QStringLiteral("验证码提取测试"));
        QCOMPARE(test->KeyStr, QStringLiteral("注册验证码，请在"));
        QCOMPARE(test->KeyType, quint8(1));
        auto *result = Part<QLabel>(test, "Label2");
        QCOMPARE(result->text(), QStringLiteral("验证码：未知"));

        Part<QPushButton>(test, "btnok")->click();
        QCOMPARE(result->text(), QStringLiteral("验证码：336054"));
        QCOMPARE(sysinfo.GetKey(), QStringLiteral("注册验证码,请在")); // live while the test is open
        QCOMPARE(sysinfo.CodeType, qint8(1));

        Part<QPlainTextEdit>(test, "Memo1")->setPlainText(QStringLiteral("没有代码"));
        Part<QPushButton>(test, "btnok")->click();
        QCOMPARE(result->text(), QStringLiteral("验证码："));

        Part<QPushButton>(test, "btnexit")->click();
        QVERIFY(!test->isVisible());
        QCOMPARE(sysinfo.GetKey(), kDefaultKeys);
        QCOMPARE(sysinfo.CodeType, qint8(0));
    }

    void sampleWithDefaultKeys()
    {
        auto dialog = Open();
        Tfmsmstest *test = OpenTest(dialog.get());
        Part<QPushButton>(test, "btnok")->click();
        QCOMPARE(Part<QLabel>(test, "Label2")->text(), QStringLiteral("验证码：336054"));
    }

    void openTestDialogsRestoreWhenSettingsClose_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("关  闭") << false;
        QTest::newRow("保  存") << true;
    }
    void openTestDialogsRestoreWhenSettingsClose()
    {
        QFETCH(bool, save);
        auto dialog = Open();
        Part<QLineEdit>(dialog.get(), "edtselkey")->setText(QStringLiteral("甲"));
        Part<QPushButton>(OpenTest(dialog.get()), "btnok")->click();
        Part<QLineEdit>(dialog.get(), "edtselkey")->setText(QStringLiteral("乙"));
        Part<QRadioButton>(dialog.get(), "rbnz")->setChecked(true);
        Part<QPushButton>(OpenTest(dialog.get()), "btnok")->click();
        QCOMPARE(sysinfo.GetKey(), QStringLiteral("乙"));

        Part<QPushButton>(dialog.get(), save ? "Button1" : "Button2")->click();
        QCOMPARE(sysinfo.GetKey(), kDefaultKeys);
        QCOMPARE(sysinfo.CodeType, qint8(0));
        if (save) {
            dialog->SaveTo(sysinfo);
            QCOMPARE(sysinfo.GetKey(), QStringLiteral("乙"));
            QCOMPARE(sysinfo.CodeType, qint8(1));
        }
    }

    // The main window's menu item runs the dialog, takes the values back on OK and saves them.
    void mainWindowRunsTheDialog_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("保  存") << true;
        QTest::newRow("关  闭") << false;
    }
    void mainWindowRunsTheDialog()
    {
        QFETCH(bool, save);
        QTemporaryDir dir;
        platform.executablePath = dir.filePath(QStringLiteral("Talvek平台客户端"));
        platform.desktopFolder = dir.filePath(QStringLiteral("Desktop"));
        QDir().mkpath(platform.desktopFolder);
        Tfmymmain main;
        TSysInfo &live = main.SysInfo();
        const QString keys = live.GetKey();

        bool filled = false;
        QTimer::singleShot(0, &main, [&] {
            auto *dialog = main.findChild<Tfmpara *>();
            QVERIFY(dialog && dialog->isModal());
            filled = Part<QLineEdit>(dialog, "edtselkey")->text() == keys;
            Part<QLineEdit>(dialog, "edttime")->setText(QStringLiteral("7"));
            Part<QLineEdit>(dialog, "edtselkey")->setText(QStringLiteral("动态码，验证码"));
            Part<QRadioButton>(dialog, "rbnz")->setChecked(true);
            Part<QPushButton>(dialog, save ? "Button1" : "Button2")->click();
        });
        main.findChild<QAction *>(QStringLiteral("N8"))->trigger();
        QVERIFY(filled);
        QVERIFY(!main.findChild<Tfmpara *>()); // gone after the modal loop

        const TIniFile ini(dir.filePath(QStringLiteral("client.cfg")));
        const QString section = QStringLiteral("config");
        if (save) {
            QCOMPARE(live.GetCodeTime(), 7);
            QCOMPARE(live.GetKey(), QStringLiteral("动态码，验证码"));
            QCOMPARE(live.SLKey, (QStringList{"动态码", "验证码"}));
            QCOMPARE(live.CodeType, qint8(1));
            QCOMPARE(ini.ReadInteger(section, QStringLiteral("codetime"), 0), 7);
            QCOMPARE(ini.ReadString(section, QStringLiteral("getkey"), QString()), QStringLiteral("动态码，验证码"));
            QCOMPARE(ini.ReadInteger(section, QStringLiteral("codetype"), 0), 1);
        } else {
            QCOMPARE(live.GetKey(), keys);
            QVERIFY(live.GetCodeTime() != 7);
            QCOMPARE(ini.ReadInteger(section, QStringLiteral("codetime"), 0), 0);
        }
    }
};

QTEST_MAIN(TestPara)
#include "tst_para.moc"
