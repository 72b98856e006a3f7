#include "workspace/frmpara.h"

#include "common/MsgDlg.h"
#include "common/TextUtil.h"
#include "workspace/TrimBlanks.h"
#include "workspace/UpDown.h"
#include "workspace/frmtest.h"
#include "workspace/structutil.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kTitleDigits = QStringLiteral("提取以下关键词附近的数字");
const QString kTitleLetters = QStringLiteral("提取以下关键词附近的数字或字母");
const QString kEmptyKeys = QStringLiteral("关键词不能为空！");

} // namespace

Tfmpara::Tfmpara(QWidget *AOwner, TSysInfo &sysinfo)
    : QDialog(AOwner, Qt::Tool), objsysinfo(sysinfo)
{
    setWindowTitle(QStringLiteral("参数设置"));
    BuildControls();
}

void Tfmpara::BuildControls()
{
    auto *layout = new QVBoxLayout(this);

    auto *timing = new QGroupBox(QStringLiteral("参数设置"), this);
    auto *timeRow = new QHBoxLayout(timing);
    timeRow->addWidget(new QLabel(QStringLiteral("自动获取验证码间隔时间："), timing));
    edttime = new QLineEdit(QStringLiteral("1"), timing);
    edttime->setObjectName(QStringLiteral("edttime"));
    edttime->setMaxLength(2);
    edttime->setFixedWidth(36);
    edttime->installEventFilter(this);
    timeRow->addWidget(edttime);
    UpDown1 = new TUpDown(timing, edttime, 1, 99);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->SetPosition(1);
    timeRow->addWidget(UpDown1);
    timeRow->addWidget(new QLabel(QStringLiteral("(秒)"), timing));
    timeRow->addStretch(1);
    layout->addWidget(timing);

    auto *extraction = new QGroupBox(QStringLiteral("提取验证码设置"), this);
    auto *grid = new QVBoxLayout(extraction);
    chkcode = new QCheckBox(QStringLiteral("自动提取验证码"), extraction);
    chkcode->setObjectName(QStringLiteral("chkcode"));
    grid->addWidget(chkcode);
    auto *typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(QStringLiteral("验证码类型："), extraction));
    rbnum = new QRadioButton(QStringLiteral("仅数字"), extraction);
    rbnum->setObjectName(QStringLiteral("rbnum"));
    rbnum->setChecked(true);
    rbnz = new QRadioButton(QStringLiteral("数字或字母"), extraction);
    rbnz->setObjectName(QStringLiteral("rbnz"));
    connect(rbnum, &QRadioButton::toggled, this, [this](bool on) { if (on) rbnumClick(); });
    connect(rbnz, &QRadioButton::toggled, this, [this](bool on) { if (on) rbnzClick(); });
    typeRow->addWidget(rbnum);
    typeRow->addWidget(rbnz);
    typeRow->addStretch(1);
    grid->addLayout(typeRow);
    lbltitle = new QLabel(kTitleDigits, extraction);
    lbltitle->setObjectName(QStringLiteral("lbltitle"));
    grid->addWidget(lbltitle);
    auto *hint = new QLabel(QStringLiteral("提示：多个关键字之间用英文逗号“,”隔开"), extraction);
    hint->setStyleSheet(QStringLiteral("color: blue;"));
    grid->addWidget(hint);
    auto *keyRow = new QHBoxLayout;
    edtselkey = new QLineEdit(extraction);
    edtselkey->setObjectName(QStringLiteral("edtselkey"));
    edtselkey->setPlaceholderText(QStringLiteral("请输入提取关键词"));
    keyRow->addWidget(edtselkey, 1);
    Button3 = new QPushButton(QStringLiteral("测试设置"), extraction);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);
    connect(Button3, &QPushButton::clicked, this, &Tfmpara::Button3Click);
    keyRow->addWidget(Button3);
    grid->addLayout(keyRow);
    layout->addWidget(extraction);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("保  存"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tfmpara::Button1Click);
    buttons->addWidget(Button1);
    // Default (Enter) and cancel (Esc, which QDialog maps to reject) button.
    Button2 = new QPushButton(QStringLiteral("关  闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
}

void Tfmpara::LoadFrom(const TSysInfo &sysinfo)
{
    UpDown1->SetPosition(sysinfo.GetCodeTime());
    chkcode->setChecked(sysinfo.AutoGetCode);
    if (sysinfo.CodeType == 0)
        rbnum->setChecked(true);
    else
        rbnz->setChecked(true);
    edtselkey->setText(sysinfo.GetKey());
}

void Tfmpara::SaveTo(TSysInfo &sysinfo) const
{
    sysinfo.SetGetCodeTime(ReadInt(edttime->text(), 1));
    sysinfo.AutoGetCode = chkcode->isChecked();
    sysinfo.CodeType = rbnum->isChecked() ? 0 : 1;
    sysinfo.SetGetKey(edtselkey->text());
}

bool Tfmpara::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edttime && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            const char16_t c = text.at(0).unicode();
            if (!(c == 8 || key->key() == Qt::Key_Backspace || (c >= u'0' && c <= u'9')))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfmpara::rbnumClick()
{
    lbltitle->setText(kTitleDigits);
}

void Tfmpara::rbnzClick()
{
    lbltitle->setText(kTitleLetters);
}

void Tfmpara::Button1Click()
{
    if (chkcode->isChecked() && TrimBlanks(edtselkey->text()).isEmpty()) {
        ShowNotice(kEmptyKeys, 1, 1000);
        edtselkey->setFocus();
        return;
    }
    accept();
}

void Tfmpara::Button3Click()
{
    const QString keys = TrimBlanks(edtselkey->text());
    if (keys.isEmpty()) {
        ShowNotice(kEmptyKeys, 1, 1000);
        edtselkey->setFocus();
        return;
    }
    auto *test = new Tfmsmstest(this, objsysinfo);
    test->KeyStr = keys;
    test->KeyType = rbnum->isChecked() ? 0 : 1;
    test->show();
}

// A test dialog left open would otherwise leave its keywords and code type in force.
void Tfmpara::done(int result)
{
    const QList<Tfmsmstest *> tests = findChildren<Tfmsmstest *>(Qt::FindDirectChildrenOnly);
    for (auto it = tests.crbegin(); it != tests.crend(); ++it) {
        if ((*it)->isVisible())
            (*it)->close();
    }
    QDialog::done(result);
}
