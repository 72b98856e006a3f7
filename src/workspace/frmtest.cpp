#include "workspace/frmtest.h"

#include "workspace/TrimBlanks.h"
#include "workspace/structutil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfmsmstest::Tfmsmstest(QWidget *AOwner, TSysInfo &sysinfo)
    : QDialog(AOwner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), objsysinfo(sysinfo)
{
    setWindowTitle(QStringLiteral("验证码提取测试"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("短信内容："), this));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setPlainText(QStringLiteral("【测试短信】336054（注册验证码），请在20分钟内\n"
                                       "完成注册。如非本人操作，请忽略。"));
    layout->addWidget(Memo1);

    auto *row = new QHBoxLayout;
    auto *btnok = new QPushButton(QStringLiteral("测试设置"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setAutoDefault(false);
    connect(btnok, &QPushButton::clicked, this, &Tfmsmstest::btnokClick);
    row->addWidget(btnok);
    Label2 = new QLabel(QStringLiteral("验证码：未知"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    row->addWidget(Label2, 1);
    // Default and cancel button: QDialog maps Esc to reject(), which closes like this button.
    auto *btnexit = new QPushButton(QStringLiteral("关    闭"), this);
    btnexit->setObjectName(QStringLiteral("btnexit"));
    btnexit->setDefault(true);
    connect(btnexit, &QPushButton::clicked, this, &QDialog::close);
    row->addWidget(btnexit);
    layout->addLayout(row);
    setFixedSize(sizeHint().expandedTo(QSize(420, 220)));

    _TMPKeyStr = objsysinfo.GetKey();
    _TmpKeyType = quint8(objsysinfo.CodeType);
}

void Tfmsmstest::btnokClick()
{
    KeyStr.replace(u'，', u',');
    objsysinfo.SetGetKey(KeyStr);
    objsysinfo.CodeType = qint8(KeyType);
    const QString sms = Memo1->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    Label2->setText(QStringLiteral("验证码：") + objsysinfo.GetCodeBySms(TrimBlanks(sms)));
}

// Every way of closing (button, Esc, the window's close box, the owner ending) restores the
// keywords and code type in force when this dialog was made.
void Tfmsmstest::done(int result)
{
    objsysinfo.SetGetKey(_TMPKeyStr);
    objsysinfo.CodeType = qint8(_TmpKeyType);
    QDialog::done(result);
}
