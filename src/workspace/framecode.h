#pragma once

#include "workspace/FavPro.h"

#include <QList>
#include <QPair>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTextBrowser;
class QVBoxLayout;
class TUpDown;
class TWorkspaceHost;
class Tframemob;

// The project picker of the tab "获取验证码": favourite projects, the number request and the
// stack of number tasks, newest on top.
class Tfrmcode : public QWidget
{
    Q_OBJECT
public:
    Tfrmcode(QWidget *AOwner, TWorkspaceHost &host);

    void SetFirst(bool b);
    void GetFavProlist(quint8 itype, const QString &keystr);
    void getfavpro(const QString &sRtn);
    void getMobilenum(const QString &sRtn);
    void DelFrame(const QString &fname);
    // The maximum of the count spinner upnum.
    void SetUpnumMax(qint32 maximum);

    // The project of the latest number request.
    const TFavPro &CurPro() const { return objCurPro; }
    // The open number tasks, newest first.
    QList<Tframemob *> TaskFrames() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void BuildStrip();
    void BuildTaskArea();
    void LoadInfoPage();

    void RequestNumbers();
    void AddTaskFrame(const QString &number, bool several, bool tip);
    void ClearTaskFrames();
    void ClearProjects();
    void RemoveTaskFrame(Tframemob *frame);
    void ShowInfoPageIfEmpty();

    void cboproChange();
    void btnsearchClick();
    void btngetClick();
    void edtnumExit();
    void btnfreeClick();
    void linklblClick();
    void FrameMouseWheel(const QWheelEvent *event);

    TWorkspaceHost &objhost;
    TFavPro objCurPro;
    QList<QPair<QString, TFavPro>> SLCbo; // entry i is drop-down item i + 1
    qint32 iMaxID = 0;
    quint8 itip1 = 0;

    QComboBox *cbopro = nullptr;
    QLineEdit *edtkey = nullptr;
    QPushButton *btnsearch = nullptr;
    QCheckBox *chklock = nullptr;
    QLineEdit *edtnum = nullptr;
    TUpDown *upnum = nullptr;
    QPushButton *btnget = nullptr;
    QPushButton *btnfree = nullptr;
    QLabel *linklbl = nullptr;
    QLabel *lblinfo = nullptr;
    QScrollArea *sbbox = nullptr;
    QVBoxLayout *boxTasks = nullptr;
    QTextBrowser *wb1 = nullptr;
};
