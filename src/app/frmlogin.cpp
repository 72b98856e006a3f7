#include "app/frmlogin.h"

#include "app/PasswordStarStyle.h"

#include "app/frmmain.h"
#include "common/Global.h"
#include "common/platform/Platform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

QLineEdit *MakeEdit(QWidget *parent, const char *name, int top, const QString &hint)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(96, top, 249, 28);
    QFont font = edit->font();
    font.setPixelSize(14);
    edit->setFont(font);
    edit->setToolTip(hint);
    return edit;
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(30, buddy->y(), 64, buddy->height());
    label->setBuddy(buddy);
    return label;
}

} // namespace

Tfmlogin::Tfmlogin(Tfmymmain &AOwner)
    : QWidget(&AOwner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint),
      objmain(AOwner)
{
    setObjectName(QStringLiteral("fmlogin"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(382, 160);

    edtusers = MakeEdit(this, "edtusers", 14, QStringLiteral("请输入用户名"));
    edtpwd = MakeEdit(this, "edtpwd", 54, QStringLiteral("请输入用户密码"));
    edtpwd->setEchoMode(QLineEdit::Password);
    auto *starStyle = new TPasswordStarStyle();
    starStyle->setParent(edtpwd);
    edtpwd->setStyle(starStyle);
    Label1 = MakeLabel(this, "Label1", QStringLiteral("用户名："), edtusers);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("密    码："), edtpwd);

    btnlogin = new QPushButton(QStringLiteral("马上登录"), this);
    btnlogin->setObjectName(QStringLiteral("btnlogin"));
    btnlogin->setGeometry(96, 117, 83, 30);
    btnreg = new QPushButton(QStringLiteral("马上注册"), this);
    btnreg->setObjectName(QStringLiteral("btnreg"));
    btnreg->setGeometry(262, 117, 83, 30);
    chkpwd = new QCheckBox(QStringLiteral("记住密码"), this);
    chkpwd->setObjectName(QStringLiteral("chkpwd"));
    chkpwd->move(96, 87);
    chkpwd->adjustSize();
    chkauto = new QCheckBox(QStringLiteral("自动登录"), this);
    chkauto->setObjectName(QStringLiteral("chkauto"));
    chkauto->move(270, 87);
    chkauto->adjustSize();

    setTabOrder(edtusers, edtpwd);
    setTabOrder(edtpwd, btnlogin);
    setTabOrder(btnlogin, btnreg);
    setTabOrder(btnreg, chkpwd);
    setTabOrder(chkpwd, chkauto);

    connect(btnlogin, &QPushButton::clicked, this, &Tfmlogin::btnloginClick);
    connect(btnreg, &QPushButton::clicked, this, &Tfmlogin::btnregClick);
    // Setting a box from code runs its handler too, as a click would.
    connect(chkpwd, &QCheckBox::toggled, this, &Tfmlogin::chkpwdClick);
    connect(chkauto, &QCheckBox::toggled, this, &Tfmlogin::chkautoClick);
    connect(edtpwd, &QLineEdit::returnPressed, btnlogin, &QPushButton::click);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Tfmlogin::SetBtn(bool b)
{
    btnlogin->setEnabled(b);
    btnlogin->setText(b ? QStringLiteral("马上登录") : QStringLiteral("登录中..."));
}

void Tfmlogin::ShowMe()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

bool Tfmlogin::CheckInput()
{
    QLineEdit *edtEmpty = edtusers->text().isEmpty() ? edtusers
                          : edtpwd->text().isEmpty() ? edtpwd
                                                     : nullptr;
    if (!edtEmpty)
        return true;
    ShowMsgBox(edtEmpty == edtusers ? QStringLiteral("用户名不能为空！")
                                    : QStringLiteral("用户密码不能为空！"),
               QStringLiteral("提示"), 1);
    edtEmpty->setFocus();
    return false;
}

void Tfmlogin::btnloginClick()
{
    if (!CheckInput())
        return;
    objmain.UserLogin(edtusers->text(), edtpwd->text(), chkpwd->isChecked(),
                      chkauto->isChecked());
    SetBtn(false);
}

void Tfmlogin::btnregClick()
{
    TPlatform::Instance().OpenUrl(TPlatform::Instance().BaseUrl() + QStringLiteral("register.aspx"));
}

void Tfmlogin::chkpwdClick(bool checked)
{
    if (!checked)
        chkauto->setChecked(false);
}

void Tfmlogin::chkautoClick(bool checked)
{
    if (checked)
        chkpwd->setChecked(true);
}

void Tfmlogin::closeEvent(QCloseEvent *event)
{
    event->accept();
    objmain.LoginClosed();
}
