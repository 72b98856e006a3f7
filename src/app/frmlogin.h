#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Tfmymmain;

// The login dialog. Exists only while open; the main window fills and shows it.
class Tfmlogin : public QWidget
{
    Q_OBJECT
public:
    explicit Tfmlogin(Tfmymmain &AOwner);

    // true: login button enabled as "马上登录"; false: disabled as "登录中...".
    void SetBtn(bool b);
    // Brings the dialog to the front.
    void ShowMe();
    // Both edits filled; otherwise tells the user and focuses the empty one.
    bool CheckInput();

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *edtusers;
    QLineEdit *edtpwd;
    QPushButton *btnlogin;
    QPushButton *btnreg;
    QCheckBox *chkpwd;
    QCheckBox *chkauto;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void btnloginClick();
    void btnregClick();
    void chkpwdClick(bool checked);
    void chkautoClick(bool checked);

    Tfmymmain &objmain;
};
