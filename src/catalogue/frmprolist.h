#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TCommandHost;
class TLinkLabel;

// The project catalogue of the tab "项目管理": the platform's projects fifteen to a page, a
// keyword search, a type filter, a favourites filter, and adding or removing favourites.
class Tframepro : public QWidget
{
    Q_OBJECT
public:
    Tframepro(QWidget *AOwner, TCommandHost &host);

    // First load, on the first showing of the tab: the favourites, then page 1.
    void showlist();
    // Reply handlers, called by the main window's dispatcher.
    void getfavlist(const QString &sRtn);
    void getprolist(const QString &sRtn);
    void setfav(const QString &sRtn);

    void LoadPage(qint32 page);
    void RefreshFavMarks();
    // operation: 0 add the ticked projects to the favourites, 1 remove them.
    void ChangeFav(qint32 operation);
    void ShowPaging(bool b);

    static QString PriceText(const QString &text);
    static QString StateText(const QString &text);

private:
    void BuildTopBar();
    void BuildList();
    void BuildBottomBar();
    bool IsFav(const QString &id) const;
    QTreeWidgetItem *NewRow(const QStringList &fields) const;
    void SetFavMark(QTreeWidgetItem *row, bool fav) const;
    void SetPagingLinks(qint32 total);

    void btnsearchClick();
    void edtkeyKeyPress();
    void cbofavChange(int index);
    void lblfirstClick();
    void lblpreClick();
    void lblnextClick();
    void lbllastClick();
    void btnfavClick();
    void btncanelfavClick();

    TCommandHost &objhost;

    QString FavList;
    qint32 iCurPage = 0;
    qint32 iSumPage = 0;
    qint32 iprotype = 0;
    QString SearchKey;
    qint32 favtype = 0;
    qint32 ifavopr = 0;

    QWidget *Panel1 = nullptr;
    QLineEdit *edtkey = nullptr;
    QComboBox *cbtype = nullptr;
    QPushButton *btnsearch = nullptr;
    QComboBox *cbofav = nullptr;
    QTreeWidget *listpro = nullptr;
    QWidget *Panel2 = nullptr;
    QPushButton *btnfav = nullptr;
    QPushButton *btncanelfav = nullptr;
    QLabel *lblsumpage = nullptr;
    TLinkLabel *lblfirst = nullptr;
    TLinkLabel *lblpre = nullptr;
    TLinkLabel *lblnext = nullptr;
    TLinkLabel *lbllast = nullptr;
};
