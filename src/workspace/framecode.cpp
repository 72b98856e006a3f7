#include "workspace/framecode.h"

#include "workspace/LineBreakStyle.h"

#include "channel/GetHttp.h"
#include "channel/UrlEncode.h"
#include "common/Global.h"
#include "common/MsgDlg.h"
#include "common/TTimer.h"
#include "common/Tag.h"
#include "common/TextUtil.h"
#include "common/platform/Platform.h"
#include "workspace/TrimBlanks.h"
#include "workspace/UpDown.h"
#include "workspace/WorkspaceHost.h"
#include "workspace/frmmobtask.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kStripHeight = 38;
constexpr int kStripButtonWidth = 72;
constexpr int kTipPanelWidth = 185;
constexpr int kMaxCount = 10;

QLabel *NewLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *NewButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedWidth(kStripButtonWidth);
    return button;
}

void MakeWhite(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The general number format: up to 15 significant digits, no trailing zeros, "." always.
QString GeneralNumber(double value)
{
    return QString::number(value, 'g', 15);
}

// The count box takes digits, Backspace and Ctrl+V only; keys that type nothing pass.
bool CountKeyAllowed(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return true;
    const char16_t c = text.at(0).unicode();
    return c == 8 || c == 22 || (c >= u'0' && c <= u'9') || event->key() == Qt::Key_Backspace
           || event->matches(QKeySequence::Paste);
}

} // namespace

Tfrmcode::Tfrmcode(QWidget *AOwner, TWorkspaceHost &host) : QWidget(AOwner), objhost(host)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildStrip();
    BuildTaskArea();
    LoadInfoPage();
}

void Tfrmcode::BuildStrip()
{
    auto *t = new QWidget(this);
    t->setObjectName(QStringLiteral("t"));
    t->setFixedHeight(kStripHeight);
    auto *row = new QHBoxLayout(t);
    row->setContentsMargins(6, 0, 6, 0);
    // Tight enough that the row, registration link included, fits the 864 pixel window.
    row->setSpacing(3);

    row->addWidget(NewLabel(QStringLiteral("Label1"), QStringLiteral("项目："), t));
    cbopro = new QComboBox(t);
    cbopro->setObjectName(QStringLiteral("cbopro"));
    cbopro->setFixedWidth(190);
    connect(cbopro, &QComboBox::currentIndexChanged, this, &Tfrmcode::cboproChange);
    row->addWidget(cbopro);

    edtkey = new QLineEdit(t);
    edtkey->setObjectName(QStringLiteral("edtkey"));
    edtkey->setPlaceholderText(QStringLiteral("搜索项目关键词"));
    edtkey->setFixedWidth(110);
    row->addWidget(edtkey);
    btnsearch = NewButton(QStringLiteral("btnsearch"), QStringLiteral("搜   索"), t);
    connect(btnsearch, &QPushButton::clicked, this, &Tfrmcode::btnsearchClick);
    connect(edtkey, &QLineEdit::returnPressed, btnsearch, &QPushButton::click);
    row->addWidget(btnsearch);

    chklock = new QCheckBox(QStringLiteral("接收多条"), t);
    chklock->setObjectName(QStringLiteral("chklock"));
    row->addWidget(chklock);

    row->addWidget(NewLabel(QStringLiteral("Label2"), QStringLiteral("获取数量："), t));
    edtnum = new QLineEdit(QStringLiteral("1"), t);
    edtnum->setObjectName(QStringLiteral("edtnum"));
    edtnum->setPlaceholderText(QStringLiteral("数量"));
    edtnum->setMaxLength(2);
    edtnum->setFixedWidth(32);
    edtnum->installEventFilter(this);
    row->addWidget(edtnum);
    upnum = new TUpDown(t, edtnum, 1, kMaxCount);
    upnum->setObjectName(QStringLiteral("upnum"));
    upnum->SetPosition(1);
    row->addWidget(upnum);

    btnget = NewButton(QStringLiteral("btnget"), QStringLiteral("获取号码"), t);
    connect(btnget, &QPushButton::clicked, this, &Tfrmcode::btngetClick);
    row->addWidget(btnget);
    btnfree = NewButton(QStringLiteral("btnfree"), QStringLiteral("释放所有"), t);
    connect(btnfree, &QPushButton::clicked, this, &Tfrmcode::btnfreeClick);
    row->addWidget(btnfree);

    linklbl = NewLabel(QStringLiteral("linklbl"), QStringLiteral("打开注册页面"), t);
    linklbl->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    linklbl->setCursor(Qt::PointingHandCursor);
    linklbl->installEventFilter(this);
    linklbl->hide();
    row->addWidget(linklbl);
    row->addStretch(1);

    layout()->addWidget(t);
}

void Tfrmcode::BuildTaskArea()
{
    auto *pnltask = new QWidget(this);
    pnltask->setObjectName(QStringLiteral("pnltask"));
    auto *row = new QHBoxLayout(pnltask);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    sbbox = new QScrollArea(pnltask);
    sbbox->setObjectName(QStringLiteral("sbbox"));
    sbbox->setFrameShape(QFrame::NoFrame);
    sbbox->setWidgetResizable(true);
    sbbox->viewport()->installEventFilter(this);
    auto *tasks = new QWidget(sbbox);
    tasks->setObjectName(QStringLiteral("sbboxcontent"));
    MakeWhite(tasks);
    boxTasks = new QVBoxLayout(tasks);
    boxTasks->setContentsMargins(0, 0, 0, 0);
    boxTasks->setSpacing(0);

    wb1 = new QTextBrowser(tasks);
    wb1->setObjectName(QStringLiteral("wb1"));
    wb1->setFrameShape(QFrame::NoFrame);
    wb1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    wb1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    wb1->setContextMenuPolicy(Qt::NoContextMenu);
    wb1->viewport()->setContextMenuPolicy(Qt::NoContextMenu);
    wb1->setOpenLinks(false);
    connect(wb1, &QTextBrowser::anchorClicked, this,
            [](const QUrl &url) { TPlatform::Instance().OpenUrl(url.toString()); });
    // The page fills the area while no task is open; task frames stack from the top.
    boxTasks->addWidget(wb1, 1);
    boxTasks->addStretch(0);
    sbbox->setWidget(tasks);
    row->addWidget(sbbox, 1);

    auto *Panel1 = new QWidget(pnltask);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(kTipPanelWidth);
    MakeWhite(Panel1);
    auto *side = new QVBoxLayout(Panel1);
    auto *GroupBox1 = new QGroupBox(QStringLiteral("项目提示"), Panel1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *tip = new QVBoxLayout(GroupBox1);
    lblinfo = NewLabel(QStringLiteral("lblinfo"), QString(), GroupBox1);
    lblinfo->setWordWrap(true);
    auto *lineBreaks = new TLineBreakStyle();
    lineBreaks->setParent(lblinfo);
    lblinfo->setStyle(lineBreaks);
    lblinfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tip->addWidget(lblinfo);
    side->addWidget(GroupBox1);
    row->addWidget(Panel1);

    layout()->addWidget(pnltask);
}

void Tfrmcode::LoadInfoPage()
{
    const QUrl page = QUrl(TPlatform::Instance().BaseUrl()).resolved(QUrl(QStringLiteral("/info/info.html")));
    auto *worker = new TGetHttp(QStringLiteral("info"), page.toString(QUrl::FullyEncoded), 0);
    worker->Start(wb1, [this](TGetHttp *done) { wb1->setHtml(done->sRtn); });
}

void Tfrmcode::SetFirst(bool b)
{
    if (b)
        itip1 = 1;
}

void Tfrmcode::SetUpnumMax(qint32 maximum)
{
    upnum->SetMax(maximum);
}

void Tfrmcode::GetFavProlist(quint8 itype, const QString &keystr)
{
    objhost.ExecCMD(QStringLiteral("getfavpro"),
                    QStringLiteral("type=%1&key=").arg(itype) + EncodeParam(keystr), 0);
}

void Tfrmcode::ClearProjects()
{
    SLCbo.clear();
    cbopro->clear();
}

void Tfrmcode::getfavpro(const QString &sRtn)
{
    // Loading selects the header without running cboproChange: the tip text stays.
    const QSignalBlocker blocker(cbopro);
    ClearProjects();
    const QStringList lines = SplitLines(sRtn);
    if (!lines.isEmpty() && ReadInt(lines.first()) > 0) {
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (lines.at(i).isEmpty())
                continue;
            QString record = lines.at(i);
            const QStringList fields = SplitLines(record.replace(u'`', u'\n'));
            if (fields.size() < 8)
                continue;
            TFavPro pro;
            pro.PID = ReadInt(fields.at(0));
            pro.PName = fields.at(1);
            pro.SetPUrl(fields.at(2));
            pro.Cost = ReadFloat(fields.at(3));
            pro.Protype = ReadInt(fields.at(4));
            pro.Info = fields.at(6);
            pro.RecvMob = fields.at(7);
            SLCbo.append({pro.PName, pro});
            cbopro->addItem(pro.PName + " (" + ProTypeText(QString::number(pro.Protype)) + ")");
        }
    }
    linklbl->hide();

    if (cbopro->count() == 0) {
        cbopro->addItem(QStringLiteral("暂无记录"));
        if (!TrimBlanks(edtkey->text()).isEmpty()
            && ShowMsgBox(QStringLiteral("没有相关的项目，是否立即添加一个项目？"),
                          QStringLiteral("提示"), 4)
                   == 1)
            objhost.GoMainUrl(QStringLiteral("/User/Add_project.aspx"));
    } else {
        cbopro->insertItem(0, QStringLiteral("共有%1个项目").arg(SLCbo.size()));
    }
    cbopro->setCurrentIndex(0);
}

void Tfrmcode::cboproChange()
{
    const qsizetype i = cbopro->currentIndex() - 1;
    if (i < 0 || i >= SLCbo.size()) {
        lblinfo->clear();
        linklbl->hide();
        return;
    }
    const TFavPro &pro = SLCbo.at(i).second;
    const QString end = QStringLiteral("\n\r");
    lblinfo->setText(QStringLiteral("项目ID：") + QString::number(pro.PID) + end
                     + QStringLiteral("项目名称 :") + pro.PName + end + QStringLiteral("项目单价 :")
                     + GeneralNumber(pro.Cost) + end + QStringLiteral("项目说明 :") + pro.Info + end);
    linklbl->show();
    linklbl->setToolTip(pro.PUrl());
}

void Tfrmcode::linklblClick()
{
    TPlatform::Instance().OpenUrl(linklbl->toolTip());
}

void Tfrmcode::btnsearchClick()
{
    const QString key = TrimBlanks(edtkey->text());
    GetFavProlist(key.isEmpty() ? 0 : 1, key);
}

void Tfrmcode::edtnumExit()
{
    const int count = ReadInt(edtnum->text());
    if (count > upnum->Max())
        edtnum->setText(QString::number(upnum->Max()));
    else if (count <= 0)
        edtnum->setText(QStringLiteral("1"));
}

void Tfrmcode::btngetClick()
{
    RequestNumbers();
}

void Tfrmcode::RequestNumbers()
{
    const QString lock = chklock->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    objCurPro.Clear();
    const qsizetype i = cbopro->currentIndex() - 1;
    if (i < 0) {
        ShowNotice(QStringLiteral("还没有选择项目，请选择项目后再继续操作！"), 1, 1000);
        return;
    }
    if (i >= SLCbo.size()) {
        ShowNotice(QStringLiteral("项目不存在，请重新选择！"), 1, 1000);
        return;
    }
    int size = ReadInt(edtnum->text());
    if (size <= 0)
        size = 1;
    objCurPro.Copy(SLCbo.at(i).second);
    objhost.ExecCMD(QStringLiteral("getinfo"),
                    QStringLiteral("pid=%1&lock=%2&size=%3&mobile=").arg(objCurPro.PID).arg(lock).arg(size),
                    0);
}

void Tfrmcode::getMobilenum(const QString &sRtn)
{
    const QStringList items = SplitList(sRtn, u'|');
    if (items.size() < 2) {
        if (sRtn == QLatin1String("max_count_disable"))
            ShowNotice(QStringLiteral("已达到最大号码获取数，可点击“释放号码”按钮或等待任务结束后再获取"), 1, 2000);
        else if (sRtn == QLatin1String("no_data"))
            ShowNotice(QStringLiteral("此项目系统暂时缺号，请联系客服QQ：") + QStringLiteral(TALVEK_SUPPORT_QQ)
                           + QStringLiteral(" 或者稍后再试，系统不定时更新号码! "),
                       1, 2000);
        else
            ShowNotice(QStringLiteral("获取号码发生了错误，请稍后再试！"), 1, 1000);
        return;
    }
    if (items.first() == QLatin1String("message")) {
        ShowNotice(items.at(1), 1, 1000);
        return;
    }

    const QStringList numbers = SplitList(items.first(), u';');
    sbbox->verticalScrollBar()->setValue(0);
    for (qsizetype n = 0; n < numbers.size(); ++n) {
        if (itip1 == 1 && n == numbers.size() - 1) {
            itip1 = 0;
            AddTaskFrame(numbers.at(n), chklock->isChecked(), true);
            objhost.SetFirstTip();
        } else {
            AddTaskFrame(numbers.at(n), chklock->isChecked(), false);
        }
    }
    objhost.GetUserInfo();
}

void Tfrmcode::AddTaskFrame(const QString &number, bool several, bool tip)
{
    if (!wb1->isHidden())
        wb1->hide();
    ++iMaxID;
    auto *frame = new Tframemob(this, objhost);
    frame->HideSend(quint8(objCurPro.Protype));
    if (objCurPro.Protype > 0)
        frame->SetRecvMob(objCurPro.RecvMob);
    frame->setParent(sbbox->widget());
    boxTasks->insertWidget(1, frame); // just below the hidden page: newest on top
    frame->SetMobile(number);
    frame->sPid = QString::number(objCurPro.PID);
    frame->gb->setTitle(objCurPro.PName);
    frame->block = several;
    frame->setObjectName(QStringLiteral("task") + QString::number(iMaxID));
    frame->show();
    if (tip) {
        itip1 = 0;
        frame->bshowtip = true;
        GuideInfo(frame->edtmob, QStringLiteral("点击此处即可复制“号码”"));
    }
    QCoreApplication::processEvents();
}

QList<Tframemob *> Tfrmcode::TaskFrames() const
{
    QList<Tframemob *> frames;
    for (int i = 0; i < boxTasks->count(); ++i) {
        auto *frame = qobject_cast<Tframemob *>(boxTasks->itemAt(i)->widget());
        if (frame)
            frames.append(frame);
    }
    return frames;
}

// The frame may be the one whose click handler is running: it leaves the stack now and is
// deleted once control is back in the event loop.
void Tfrmcode::RemoveTaskFrame(Tframemob *frame)
{
    frame->trmget->SetEnabled(false);
    SetTag(frame, 1);
    boxTasks->removeWidget(frame);
    frame->hide();
    frame->setObjectName(QString());
    frame->deleteLater();
}

void Tfrmcode::ShowInfoPageIfEmpty()
{
    if (TaskFrames().isEmpty() && wb1->isHidden())
        wb1->show();
}

void Tfrmcode::DelFrame(const QString &fname)
{
    const QList<Tframemob *> frames = TaskFrames();
    for (auto it = frames.crbegin(); it != frames.crend(); ++it) {
        if ((*it)->objectName() == fname) {
            RemoveTaskFrame(*it);
            break;
        }
    }
    ShowInfoPageIfEmpty();
}

void Tfrmcode::ClearTaskFrames()
{
    const QList<Tframemob *> frames = TaskFrames();
    for (auto it = frames.crbegin(); it != frames.crend(); ++it)
        RemoveTaskFrame(*it);
}

void Tfrmcode::btnfreeClick()
{
    if (ShowMsgBox(QStringLiteral("释放号码会同时停止任务，是否释放所有号码？"), QStringLiteral("提示"), 4) == 2)
        return;
    ClearTaskFrames();
    ShowInfoPageIfEmpty();
    objhost.FreeNum(QString());
}

void Tfrmcode::FrameMouseWheel(const QWheelEvent *event)
{
    sbbox->verticalScrollBar()->triggerAction(event->angleDelta().y() < 0
                                                  ? QAbstractSlider::SliderSingleStepAdd
                                                  : QAbstractSlider::SliderSingleStepSub);
}

void Tfrmcode::wheelEvent(QWheelEvent *event)
{
    FrameMouseWheel(event);
    event->ignore();
}

bool Tfrmcode::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtnum) {
        if (event->type() == QEvent::KeyPress && !CountKeyAllowed(static_cast<QKeyEvent *>(event)))
            return true;
        if (event->type() == QEvent::FocusOut)
            edtnumExit();
    } else if (watched == linklbl && event->type() == QEvent::MouseButtonRelease) {
        linklblClick();
        return true;
    } else if (event->type() == QEvent::Wheel && sbbox && watched == sbbox->viewport()) {
        // One step per wheel event, as over the rest of the picker.
        FrameMouseWheel(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
