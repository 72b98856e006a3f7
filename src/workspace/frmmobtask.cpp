#include "workspace/frmmobtask.h"

#include "channel/GetHttp.h"
#include "channel/UrlEncode.h"
#include "common/MsgDlg.h"
#include "common/TTimer.h"
#include "common/Tag.h"
#include "common/TextUtil.h"
#include "common/platform/Platform.h"
#include "workspace/TrimBlanks.h"
#include "workspace/WorkspaceHost.h"
#include "workspace/framecode.h"
#include "workspace/structutil.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr qint64 kTaskLifetimeMs = 300000;
constexpr int kNoReplyRetryMs = 10000;
constexpr int kFullHeight = 135;
constexpr int kDesignWidth = 633;
constexpr int kMemoWidth = 241;
constexpr int kRowHeight = 22;

const QString kCmdPoll = QStringLiteral("getVcodeAndHoldMobilenum");
const QString kCmdSend = QStringLiteral("sendSms");
const QString kCmdStatus = QStringLiteral("getSmsStatus");

const char *const kLinkStyle =
    "QLabel { color: blue; text-decoration: underline; } QLabel:disabled { color: gray; }";

void MakeWhite(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QString PutOnClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    return text;
}

} // namespace

Tframemob::Tframemob(Tfrmcode *AOwner, TWorkspaceHost &host)
    : QFrame(AOwner), objcode(*AOwner), objhost(host)
{
    SetTag(this, 0);
    BuildControls();

    iStartTick = TPlatform::Instance().TickCount();
    Memo1->clear();
    SetTag(btnsend, 0);
    SetTag(trmget, 0);
    SetTag(Memo1, 0);

    tmrsend->SetEnabled(false);
    tmrsend->SetInterval(CodeTimeMs());
    trmget->SetInterval(CodeTimeMs());
    trmget->SetEnabled(true);

    lbltip->setText(objhost.SysInfo().AutoGetCode
                        ? QStringLiteral("正在获取验证码，请稍后...")
                        : QStringLiteral("没有打开自动提取验证码，可在“参数设置”中进行设置"));
}

QLabel *Tframemob::AddLinkLabel(const QString &name, const QString &caption)
{
    auto *label = new QLabel(caption, gb);
    label->setObjectName(name);
    label->setStyleSheet(QLatin1String(kLinkStyle));
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    return label;
}

void Tframemob::BuildControls()
{
    setFixedHeight(kFullHeight);
    setMinimumWidth(kDesignWidth);
    gb = new QGroupBox(this);
    gb->setObjectName(QStringLiteral("gb"));

    Label1 = new QLabel(QStringLiteral("手机号："), gb);
    Label1->setObjectName(QStringLiteral("Label1"));
    edtmob = new QLineEdit(gb);
    edtmob->setObjectName(QStringLiteral("edtmob"));
    edtmob->setReadOnly(true);
    edtmob->setCursor(Qt::PointingHandCursor);
    edtmob->installEventFilter(this);
    Label3 = AddLinkLabel(QStringLiteral("Label3"), QStringLiteral("释放号码"));
    Label5 = AddLinkLabel(QStringLiteral("Label5"), QStringLiteral("加入黑名单"));
    lblget = AddLinkLabel(QStringLiteral("lblget"), QStringLiteral("获取验证码"));
    lblget->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label6 = new QLabel(QStringLiteral("接收号码："), gb);
    Label6->setObjectName(QStringLiteral("Label6"));
    cborecv = new QComboBox(gb);
    cborecv->setObjectName(QStringLiteral("cborecv"));
    Label4 = new QLabel(QStringLiteral("短信内容："), gb);
    Label4->setObjectName(QStringLiteral("Label4"));
    edtsms = new QLineEdit(gb);
    edtsms->setObjectName(QStringLiteral("edtsms"));
    edtsms->setPlaceholderText(QStringLiteral("输入要发送的短信内容"));
    btnsend = new QPushButton(QStringLiteral("发送短信"), gb);
    btnsend->setObjectName(QStringLiteral("btnsend"));
    connect(btnsend, &QPushButton::clicked, this, &Tframemob::btnsendClick);

    Label2 = new QLabel(QStringLiteral("验证码："), gb);
    Label2->setObjectName(QStringLiteral("Label2"));
    pnlcode = new QFrame(gb);
    pnlcode->setObjectName(QStringLiteral("pnlcode"));
    MakeWhite(pnlcode);
    pnlcode->setCursor(Qt::PointingHandCursor);
    pnlcode->installEventFilter(this);
    auto *codes = new QHBoxLayout(pnlcode);
    codes->setContentsMargins(4, 0, 4, 0);
    codes->setSpacing(0);
    lbltip = new QLabel(pnlcode);
    lbltip->setObjectName(QStringLiteral("lbltip"));
    lbltip->setStyleSheet(QStringLiteral("color: maroon;"));
    lbltip->installEventFilter(this);
    codes->addWidget(lbltip);
    codes->addStretch(1);

    Memo1 = new QPlainTextEdit(gb);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->viewport()->setCursor(Qt::PointingHandCursor);
    Memo1->setToolTip(QStringLiteral("点击复制"));
    Memo1->viewport()->installEventFilter(this);

    trmget = new TTimer(this);
    trmget->setObjectName(QStringLiteral("trmget"));
    connect(trmget, &TTimer::Timer, this, &Tframemob::trmgetTimer);
    tmrsend = new TTimer(this);
    tmrsend->setObjectName(QStringLiteral("tmrsend"));
    connect(tmrsend, &TTimer::Timer, this, &Tframemob::tmrsendTimer);
}

void Tframemob::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    PlaceControls();
}

// Fixed rows at the top; the code row and the SMS box follow the bottom and right edges.
void Tframemob::PlaceControls()
{
    gb->setGeometry(rect());
    const int w = gb->width();
    const int h = gb->height();
    const int memoLeft = w - kMemoWidth - 10;
    constexpr int row1 = 18;
    constexpr int row2 = 46;
    constexpr int row3 = 74;

    Label1->setGeometry(12, row1, 52, kRowHeight);
    edtmob->setGeometry(64, row1, 110, kRowHeight);
    Label3->setGeometry(184, row1, 52, kRowHeight);
    Label5->setGeometry(242, row1, 64, kRowHeight);
    lblget->setGeometry(memoLeft - 110, row1, 100, kRowHeight);
    Label6->setGeometry(12, row2, 64, kRowHeight);
    cborecv->setGeometry(76, row2, 200, kRowHeight);
    Label4->setGeometry(12, row3, 64, kRowHeight);
    edtsms->setGeometry(76, row3, qMax(60, memoLeft - 10 - 76 - 86), kRowHeight);
    btnsend->setGeometry(edtsms->geometry().right() + 6, row3 - 1, 80, kRowHeight + 2);
    Label2->setGeometry(12, h - 30, 52, kRowHeight);
    pnlcode->setGeometry(64, h - 30, qMax(60, memoLeft - 10 - 64), kRowHeight);
    Memo1->setGeometry(memoLeft, 16, kMemoWidth, h - 24);
}

void Tframemob::SetMobile(const QString &mobile)
{
    edtmob->setText(mobile);
}

// "pid=%s&mobile=%s" of the task's requests.
QString Tframemob::PidAndMobile() const
{
    return "pid=" + EncodeParam(sPid) + "&mobile=" + EncodeParam(edtmob->text());
}

qint32 Tframemob::CodeTimeMs() const
{
    return objhost.SysInfo().GetCodeTime() * 1000;
}

void Tframemob::HideSend(quint8 itype)
{
    protype = itype;
    if (itype == 0) {
        for (QWidget *w : {static_cast<QWidget *>(Label4), static_cast<QWidget *>(edtsms),
                           static_cast<QWidget *>(btnsend), static_cast<QWidget *>(Label6),
                           static_cast<QWidget *>(cborecv)})
            w->hide();
        setFixedHeight(74);
    } else if (itype == 1) {
        setFixedHeight(104);
        Label2->hide();
        pnlcode->hide();
        Memo1->hide();
        trmget->SetEnabled(false);
        lblget->hide();
    }
}

// The task's own request slot: a command sent while one is in flight is dropped.
bool Tframemob::SendCommand(const QString &cmd, const QString &params)
{
    if (objhttp)
        return false;
    const TUserInfo &user = objhost.UserInfo();
    const QString url = EncodeUrl(TPlatform::Instance().BaseUrl() + "http.aspx?action=" + cmd
                                  + "&uid=" + EncodeParam(user.user) + "&token="
                                  + EncodeParam(user.token) + "&" + params);
    objhttp = new TGetHttp(cmd, url, 0);
    objhttp->Start(this, [this](TGetHttp *worker) { RequestDone(worker); });
    return true;
}

void Tframemob::RequestDone(TGetHttp *worker)
{
    QMutexLocker locker(&CSMob);
    objhttp = nullptr;
    if (Tag(this) == 1)
        return; // being removed: the reply has no one left to show it to
    if (worker->APICMD == kCmdPoll)
        ShowSms(worker->sRtn);
    else if (worker->APICMD == kCmdSend)
        SendSmsDone(worker->sRtn);
    else if (worker->APICMD == kCmdStatus)
        SmsStatusDone(worker->sRtn);
}

void Tframemob::PollCode()
{
    const qint32 attempts = Tag(trmget) + 1;
    SetTag(trmget, attempts);
    lblget->setText(QStringLiteral("第%1次获取中").arg(attempts));
    SendCommand(kCmdPoll, PidAndMobile());
}

void Tframemob::trmgetTimer()
{
    trmget->SetEnabled(false);
    const qint64 elapsed = TPlatform::Instance().TickCount() - iStartTick;
    if (elapsed >= kTaskLifetimeMs) {
        lblget->setText(QStringLiteral("任务已结束"));
        lblget->setEnabled(false);
        const QString rule(26, u'-');
        Memo1->appendPlainText(rule);
        Memo1->appendPlainText(QStringLiteral("任务已结束"));
        Memo1->appendPlainText(rule);
        return;
    }
    PollCode();
    trmget->SetInterval(kNoReplyRetryMs);
    trmget->SetEnabled(true);
}

void Tframemob::ShowSms(const QString &sRtn)
{
    trmget->SetEnabled(false);
    trmget->SetInterval(CodeTimeMs());

    QString joined = sRtn;
    joined.remove(u'\n');
    joined.remove(u'\r');
    // Blanks belong to the SMS text: split at "|" alone.
    const QStringList items = joined.split(u'|');
    if (items.size() < 2) {
        if (Tag(this) != 1)
            trmget->SetEnabled(true);
        return;
    }

    const QString &text = items.at(1);
    if (!block) {
        lblget->setText(QStringLiteral("已获取"));
        lblget->setEnabled(false);
    }
    if (Tag(Memo1) == 0) {
        SetTag(Memo1, 1);
        Memo1->setPlainText(text);
    } else {
        Memo1->appendPlainText(text);
    }
    if (objhost.SysInfo().AutoGetCode) {
        const QString code = objhost.SysInfo().GetCodeBySms(text);
        if (!code.isEmpty())
            AddCodeLabel(code);
    }
    trmget->SetEnabled(block);
}

void Tframemob::AddCodeLabel(const QString &code)
{
    if (!lbltip->isHidden())
        lbltip->hide();
    auto *label = new QLabel(code + QStringLiteral("  "), pnlcode);
    label->setObjectName(QStringLiteral("codelabel"));
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(QStringLiteral("点击复制"));
    label->setStyleSheet(QStringLiteral("color: blue;"));
    label->installEventFilter(this);
    // The text's own advance keeps the trailing blanks that part it from the next code.
    label->setFixedWidth(label->fontMetrics().horizontalAdvance(label->text()));
    auto *codes = static_cast<QHBoxLayout *>(pnlcode->layout());
    codes->insertWidget(codes->count() - 1, label); // before the trailing stretch
}

bool Tframemob::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease
        || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return QFrame::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !widget->isEnabled())
        return false;

    if (watched == lblget)
        lblgetClick();
    else if (watched == edtmob)
        edtmobClick();
    else if (watched == Memo1->viewport())
        Memo1Click();
    else if (watched == pnlcode || watched == lbltip)
        pnlcodeClick();
    else if (watched->parent() == pnlcode)
        CodeLabelClick(static_cast<QLabel *>(watched));
    else if (watched == Label3)
        Label3Click(); // the task is gone after this
    else if (watched == Label5)
        Label5Click(); // the task is gone after this
    else
        return false;
    return true;
}

void Tframemob::lblgetClick()
{
    PollCode();
}

void Tframemob::edtmobClick()
{
    if (bshowtip) {
        CloseGuide();
        if (!Memo1->isHidden())
            GuideInfo(Memo1, QStringLiteral("点击此处可复制“短信内容”"));
    }
    const QString mobile = PutOnClipboard(edtmob->text());
    edtmob->setStyleSheet(QStringLiteral("color: red;"));
    ShowNotice(mobile + QStringLiteral(" 号码已复制"), 1, 10);
}

void Tframemob::Memo1Click()
{
    if (bshowtip) {
        CloseGuide();
        if (!pnlcode->isHidden())
            GuideInfo(pnlcode, QStringLiteral("点击此处可直接复制“验证码”"));
    }
    const QString text = Memo1->toPlainText();
    if (TrimBlanks(text).isEmpty()) {
        ShowNotice(QStringLiteral("还没有短信内容，无法复制"), 1, 1000);
        return;
    }
    PutOnClipboard(text);
    ShowNotice(QStringLiteral("短信内容已复制"), 1, 10);
}

void Tframemob::pnlcodeClick()
{
    if (bshowtip) {
        bshowtip = false;
        CloseGuide();
    }
    ShowNotice(QStringLiteral("暂无验证码可复制"), 1, 10);
}

void Tframemob::CodeLabelClick(QLabel *label)
{
    const QString code = PutOnClipboard(TrimBlanks(label->text()));
    label->setStyleSheet(QStringLiteral("color: red;"));
    ShowNotice(code + QStringLiteral(" 验证码已复制"), 1, 10);
}

void Tframemob::Label3Click()
{
    objhost.FreeNum(edtmob->text());
    objcode.DelFrame(objectName());
}

void Tframemob::Label5Click()
{
    objhost.IgnoreMob(sPid, TrimBlanks(edtmob->text()));
    objcode.DelFrame(objectName());
}

void Tframemob::SetRecvMob(const QString &sMob)
{
    if (sMob.isEmpty())
        return;
    QString lines = sMob;
    lines.replace(u',', u'\r');
    cborecv->addItems(SplitLines(lines));
    if (cborecv->count() > 0)
        cborecv->setCurrentIndex(0);
}

void Tframemob::btnsendClick()
{
    SetTag(tmrsend, 0);
    if (Tag(btnsend) != 0) {
        tmrsend->SetEnabled(false);
        tmrsend->SetEnabled(true);
        PollSendStatus();
        return;
    }
    const QString text = edtsms->text();
    if (text.isEmpty()) {
        ShowNotice(QStringLiteral("还没输入短信内容！"), 1, 1500);
        return;
    }
    btnsend->setText(QStringLiteral("发送中..."));
    SetTag(btnsend, 1);
    SendCommand(kCmdSend, PidAndMobile() + "&recv=" + EncodeParam(cborecv->currentText())
                              + "&content=" + EncodeParam(text));
    tmrsend->SetEnabled(true);
}

void Tframemob::PollSendStatus()
{
    const qint32 count = Tag(tmrsend) + 1;
    SetTag(tmrsend, count);
    btnsend->setText(QStringLiteral("发送中(%1)...").arg(count));
    SendCommand(kCmdStatus, PidAndMobile());
}

void Tframemob::tmrsendTimer()
{
    tmrsend->SetEnabled(false);
    PollSendStatus();
    tmrsend->SetInterval(kNoReplyRetryMs);
    tmrsend->SetEnabled(true);
}

void Tframemob::SendSmsDone(const QString &sRtn)
{
    if (sRtn == QLatin1String("OK")) {
        ShowNotice(QStringLiteral("短信提交成功,正在检测发送状态！"), 1, 1500);
        tmrsend->SetEnabled(true);
    } else {
        ShowNotice(QStringLiteral("短信提交失败！"), 1, 1500);
        tmrsend->SetEnabled(false);
    }
}

void Tframemob::SmsStatusDone(const QString &sRtn)
{
    tmrsend->SetInterval(CodeTimeMs());
    if (sRtn == QLatin1String("succ")) {
        btnsend->setText(QStringLiteral("发送成功"));
        btnsend->setEnabled(false);
        tmrsend->SetEnabled(false);
    } else if (sRtn == QLatin1String("fail")) {
        btnsend->setText(QStringLiteral("发送失败！"));
        tmrsend->SetEnabled(false);
    } else {
        tmrsend->SetEnabled(true); // "sending" and anything unexpected
    }
}
