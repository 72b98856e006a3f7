#pragma once

#include <QFrame>
#include <QRecursiveMutex>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TGetHttp;
class TTimer;
class TWorkspaceHost;
class Tfrmcode;

// One rented number: polls for its SMS for up to five minutes, shows messages and codes for
// copying, releases or blacklists the number, and for sending projects sends one SMS and
// follows its delivery. At most one request of its own is in flight.
class Tframemob : public QFrame
{
    Q_OBJECT
public:
    Tframemob(Tfrmcode *AOwner, TWorkspaceHost &host);

    void HideSend(quint8 itype);
    void SetRecvMob(const QString &sMob);

    // Set by the picker.
    void SetMobile(const QString &mobile);
    QString sPid;
    bool block = false;
    bool bshowtip = false;
    QGroupBox *gb = nullptr;
    QLineEdit *edtmob = nullptr;
    TTimer *trmget = nullptr;

    quint8 protype = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void BuildControls();
    QLabel *AddLinkLabel(const QString &name, const QString &caption);
    void PlaceControls();

    bool SendCommand(const QString &cmd, const QString &params);
    void RequestDone(TGetHttp *worker);
    void PollCode();
    void trmgetTimer();
    void ShowSms(const QString &sRtn);
    void AddCodeLabel(const QString &code);

    void lblgetClick();
    void edtmobClick();
    void Memo1Click();
    void pnlcodeClick();
    void CodeLabelClick(QLabel *label);
    void Label3Click();
    void Label5Click();

    void btnsendClick();
    void PollSendStatus();
    void tmrsendTimer();
    void SendSmsDone(const QString &sRtn);
    void SmsStatusDone(const QString &sRtn);

    qint32 CodeTimeMs() const;
    QString PidAndMobile() const;

    Tfrmcode &objcode;
    TWorkspaceHost &objhost;
    qint64 iStartTick = 0;
    QRecursiveMutex CSMob;
    TGetHttp *objhttp = nullptr;

    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *lblget = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *cborecv = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *edtsms = nullptr;
    QPushButton *btnsend = nullptr;
    QLabel *Label2 = nullptr;
    QFrame *pnlcode = nullptr;
    QLabel *lbltip = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    TTimer *tmrsend = nullptr;
};
