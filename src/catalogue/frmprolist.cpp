#include "catalogue/frmprolist.h"

#include "catalogue/LinkLabel.h"
#include "channel/CommandHost.h"
#include "channel/UrlEncode.h"
#include "common/Global.h"
#include "common/MsgDlg.h"
#include "common/TextUtil.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr qint32 PageSize = 15;

enum Column { colId, colName, colType, colPrice, colAddress, colState, colFav, ColumnCount };

const QString FavMark = QStringLiteral("已收藏");
const QString NoFavMark = QStringLiteral("未收藏");

// "OK|list": the favourite IDs, "@" removed. The reply is cut only at "|" and line breaks.
bool ReadFavReply(const QString &sRtn, QString &list)
{
    const QStringList lines = SplitLines(QString(sRtn).replace(u'|', u'\n'));
    if (lines.size() < 2 || lines.first() != u"OK")
        return false;
    list = QString(lines.at(1)).remove(u'@');
    return true;
}

// Fields of a record line, cut only at the backquote; an empty last field vanishes.
QStringList RecordFields(const QString &line)
{
    return SplitLines(QString(line).replace(u'`', u'\n'));
}

qint32 PageCount(qint32 total)
{
    return qint32((qint64(total) + PageSize - 1) / PageSize);
}

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

Tframepro::Tframepro(QWidget *AOwner, TCommandHost &host) : QWidget(AOwner), objhost(host)
{
    setObjectName(QStringLiteral("framepro"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildTopBar();
    BuildList();
    BuildBottomBar();
    layout->addWidget(Panel1);
    layout->addWidget(listpro, 1);
    layout->addWidget(Panel2);
    // Nothing is listed before the first reply.
    ShowPaging(false);
}

void Tframepro::BuildTopBar()
{
    Panel1 = Named(new QWidget(this), "Panel1");
    edtkey = Named(new QLineEdit(Panel1), "edtkey");
    edtkey->setPlaceholderText(QStringLiteral("请输入搜索关键词"));
    cbtype = Named(new QComboBox(Panel1), "cbtype");
    cbtype->addItems({QStringLiteral("--项目类型--"), QStringLiteral("收短信"),
                      QStringLiteral("发短信"), QStringLiteral("收发短信")});
    btnsearch = Named(new QPushButton(QStringLiteral("搜    索"), Panel1), "btnsearch");
    cbofav = Named(new QComboBox(Panel1), "cbofav");
    cbofav->addItems({QStringLiteral("-所有项目--"), QStringLiteral("已收藏")});

    auto *bar = new QHBoxLayout(Panel1);
    bar->addWidget(new QLabel(QStringLiteral("搜索关键词："), Panel1));
    bar->addWidget(edtkey);
    bar->addWidget(cbtype);
    bar->addWidget(btnsearch);
    bar->addStretch(1);
    bar->addWidget(new QLabel(QStringLiteral("收藏类型："), Panel1));
    bar->addWidget(cbofav);

    connect(btnsearch, &QPushButton::clicked, this, &Tframepro::btnsearchClick);
    connect(edtkey, &QLineEdit::returnPressed, this, &Tframepro::edtkeyKeyPress);
    connect(cbofav, &QComboBox::currentIndexChanged, this, &Tframepro::cbofavChange);
}

void Tframepro::BuildList()
{
    listpro = Named(new QTreeWidget(this), "listpro");
    listpro->setColumnCount(ColumnCount);
    listpro->setHeaderLabels({QStringLiteral("项目ID"), QStringLiteral("项目名"),
                              QStringLiteral("项目类型"), QStringLiteral("单价(元)"),
                              QStringLiteral("项目地址"), QStringLiteral("状态"),
                              QStringLiteral("收藏状态")});
    listpro->setRootIsDecorated(false);
    listpro->setUniformRowHeights(true);
    listpro->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listpro->setSelectionBehavior(QAbstractItemView::SelectRows);
    listpro->setAllColumnsShowFocus(true);
    listpro->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView *header = listpro->header();
    header->setStretchLastSection(false);
    const int widths[] = {70, 150, 70, 60, 250, header->defaultSectionSize(), 60};
    for (int column = 0; column < ColumnCount; ++column)
        header->resizeSection(column, widths[column]);
}

void Tframepro::BuildBottomBar()
{
    Panel2 = Named(new QWidget(this), "Panel2");
    btnfav = Named(new QPushButton(QStringLiteral("收藏项目"), Panel2), "btnfav");
    btncanelfav = Named(new QPushButton(QStringLiteral("取消收藏"), Panel2), "btncanelfav");
    lblsumpage = Named(new QLabel(QStringLiteral("总页数"), Panel2), "lblsumpage");
    lblsumpage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette blue = lblsumpage->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblsumpage->setPalette(blue);
    lblfirst = Named(new TLinkLabel(QStringLiteral("首页"), Panel2), "lblfirst");
    lblpre = Named(new TLinkLabel(QStringLiteral("上一页"), Panel2), "lblpre");
    lblnext = Named(new TLinkLabel(QStringLiteral("下一页"), Panel2), "lblnext");
    lbllast = Named(new TLinkLabel(QStringLiteral("尾页"), Panel2), "lbllast");

    auto *bar = new QHBoxLayout(Panel2);
    bar->addWidget(btnfav);
    bar->addWidget(btncanelfav);
    bar->addStretch(1);
    bar->addWidget(lblsumpage);
    for (TLinkLabel *link : {lblfirst, lblpre, lblnext, lbllast})
        bar->addWidget(link);

    connect(btnfav, &QPushButton::clicked, this, &Tframepro::btnfavClick);
    connect(btncanelfav, &QPushButton::clicked, this, &Tframepro::btncanelfavClick);
    connect(lblfirst, &TLinkLabel::clicked, this, &Tframepro::lblfirstClick);
    connect(lblpre, &TLinkLabel::clicked, this, &Tframepro::lblpreClick);
    connect(lblnext, &TLinkLabel::clicked, this, &Tframepro::lblnextClick);
    connect(lbllast, &TLinkLabel::clicked, this, &Tframepro::lbllastClick);
}

void Tframepro::showlist()
{
    FavList.clear();
    SearchKey.clear();
    iprotype = 0;
    favtype = 0;
    objhost.ExecCMD(QStringLiteral("getfavlist"), QString(), 0);
}

void Tframepro::getfavlist(const QString &sRtn)
{
    // No favourites: the list is left as it is until the user asks for a page.
    if (sRtn == u"null") {
        FavList.clear();
        return;
    }
    QString list;
    if (ReadFavReply(sRtn, list))
        FavList = u',' + list;
    LoadPage(1);
}

void Tframepro::LoadPage(qint32 page)
{
    iCurPage = page;
    const QString params = QStringLiteral("pagesize=") + QString::number(PageSize)
        + QStringLiteral("&ipageno=") + QString::number(iCurPage) + QStringLiteral("&protype=")
        + QString::number(iprotype) + QStringLiteral("&keystr=") + EncodeParam(SearchKey)
        + QStringLiteral("&favtype=") + QString::number(favtype);
    objhost.ExecCMD(QStringLiteral("getprolist"), params, 0);
}

void Tframepro::getprolist(const QString &sRtn)
{
    listpro->clear();
    const QStringList lines = SplitLines(sRtn);
    const qint32 total = lines.isEmpty() ? 0 : ReadInt(lines.first());
    if (total > 0) {
        QList<QTreeWidgetItem *> rows;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (lines.at(i).isEmpty())
                continue;
            const QStringList fields = RecordFields(lines.at(i));
            // A line without the status field still names a whole project: it is listed and
            // its empty status reads as under review.
            if (fields.size() >= 5)
                rows.append(NewRow(fields));
        }
        listpro->setUpdatesEnabled(false);
        listpro->addTopLevelItems(rows);
        listpro->setUpdatesEnabled(true);
        SetPagingLinks(total);
        ShowPaging(true);
    }
    if (listpro->topLevelItemCount() == 0)
        ShowPaging(false);
}

QTreeWidgetItem *Tframepro::NewRow(const QStringList &fields) const
{
    const QString id = fields.at(0);
    auto *row = new QTreeWidgetItem(QStringList{id, fields.at(1), ProTypeText(fields.at(4)),
                                                PriceText(fields.at(3)), fields.at(2),
                                                StateText(fields.value(5)), QString()});
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    for (int column = 0; column < ColumnCount; ++column)
        row->setSizeHint(column, QSize(0, 20));
    const bool fav = IsFav(id);
    row->setCheckState(colId, fav ? Qt::Checked : Qt::Unchecked);
    SetFavMark(row, fav);
    return row;
}

// Favourites are drawn in blue, every other row in the list's own colour.
void Tframepro::SetFavMark(QTreeWidgetItem *row, bool fav) const
{
    row->setText(colFav, fav ? FavMark : NoFavMark);
    const QVariant colour = fav ? QVariant(QColor(0, 0, 255)) : QVariant();
    for (int column = 0; column < ColumnCount; ++column)
        row->setData(column, Qt::ForegroundRole, colour);
}

void Tframepro::SetPagingLinks(qint32 total)
{
    iSumPage = PageCount(total);
    lblfirst->setEnabled(iCurPage != 1);
    lblpre->setEnabled(iCurPage != 1);
    lblnext->setEnabled(iCurPage != iSumPage);
    lbllast->setEnabled(iCurPage != iSumPage);
    lblsumpage->setText(QStringLiteral("页数 %1/%2 共%3条记录")
                            .arg(QString::number(iCurPage), QString::number(iSumPage),
                                 QString::number(total)));
}

void Tframepro::ShowPaging(bool b)
{
    const QList<QWidget *> paging{lblsumpage, lblfirst, lblpre, lblnext, lbllast};
    for (QWidget *widget : paging)
        widget->setVisible(b);
}

bool Tframepro::IsFav(const QString &id) const
{
    return FavList.contains(u',' + id + u',');
}

void Tframepro::RefreshFavMarks()
{
    for (int i = 0; i < listpro->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = listpro->topLevelItem(i);
        const bool fav = IsFav(row->text(colId));
        // A row already marked right keeps the tick the user gave it.
        if (row->text(colFav) == (fav ? FavMark : NoFavMark))
            continue;
        SetFavMark(row, fav);
        row->setCheckState(colId, fav ? Qt::Checked : Qt::Unchecked);
    }
}

void Tframepro::ChangeFav(qint32 operation)
{
    ifavopr = operation;
    QString sPid;
    for (int i = 0; i < listpro->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = listpro->topLevelItem(i);
        if (row->checkState(colId) != Qt::Checked)
            continue;
        const QString id = row->text(colId);
        if (operation == 0 && IsFav(id))
            continue;
        // Each ID is encoded on its own so the "," between them stays the list separator.
        AddToList(sPid, EncodeParam(id), QStringLiteral(","));
    }
    if (sPid.isEmpty())
        return;
    const QString what = operation == 1 ? QStringLiteral("取消收藏") : QStringLiteral("收藏");
    const QString question = QStringLiteral("确定要") + what + QStringLiteral("选定的项目吗？");
    if (ShowMsgBox(question, QStringLiteral("提示"), 4) == 2)
        return;
    objhost.ExecCMD(QStringLiteral("setfav"),
                    QStringLiteral("favtype=") + QString::number(operation)
                        + QStringLiteral("&pid=") + sPid,
                    0);
}

void Tframepro::setfav(const QString &sRtn)
{
    const QString prefix = ifavopr == 1 ? QStringLiteral("取消") : QString();
    QString list;
    if (!ReadFavReply(sRtn, list)) {
        showdlgInfo(prefix + QStringLiteral("收藏失败"), 0, nullptr, 1000);
        return;
    }
    // The code tab's favourites are stale now: it reloads them when next shown.
    objhost.SetFavLoaded(false);
    FavList = u',' + list;
    RefreshFavMarks();
    showdlgInfo(prefix + QStringLiteral("收藏成功"), 0, nullptr, 1000);
}

QString Tframepro::PriceText(const QString &text)
{
    double value = 0;
    // Only a positive finite number is rounded; anything else is shown as received.
    if (!TryReadFloat(text, value) || !std::isfinite(value) || !(value > 0))
        return text;
    return QString::number(RoundHalfEven(value, 2), 'g', 15);
}

QString Tframepro::StateText(const QString &text)
{
    return text == u"1" ? QStringLiteral("正常") : QStringLiteral("审核中");
}

void Tframepro::btnsearchClick()
{
    iprotype = cbtype->currentIndex();
    SearchKey = edtkey->text().trimmed();
    LoadPage(1);
}

void Tframepro::edtkeyKeyPress()
{
    btnsearch->click();
}

void Tframepro::cbofavChange(int index)
{
    if (index == favtype)
        return;
    favtype = index;
    LoadPage(1);
}

void Tframepro::lblfirstClick()
{
    LoadPage(1);
}

void Tframepro::lblpreClick()
{
    LoadPage(qMax(iCurPage - 1, 1));
}

void Tframepro::lblnextClick()
{
    LoadPage(qMin(iCurPage + 1, iSumPage));
}

void Tframepro::lbllastClick()
{
    LoadPage(iSumPage);
}

void Tframepro::btnfavClick()
{
    ChangeFav(0);
}

void Tframepro::btncanelfavClick()
{
    ChangeFav(1);
}
