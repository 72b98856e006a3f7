#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TSysInfo;
class TUpDown;

// "参数设置": poll interval, automatic extraction, code type and keywords.
class Tfmpara : public QDialog
{
    Q_OBJECT
public:
    Tfmpara(QWidget *AOwner, TSysInfo &sysinfo);

    // Fills the controls from the settings.
    void LoadFrom(const TSysInfo &sysinfo);
    // Takes the values back after OK.
    void SaveTo(TSysInfo &sysinfo) const;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void rbnumClick();
    void rbnzClick();
    void Button1Click();
    void Button3Click();

    TSysInfo &objsysinfo;
    QLineEdit *edttime = nullptr;
    TUpDown *UpDown1 = nullptr;
    QCheckBox *chkcode = nullptr;
    QRadioButton *rbnum = nullptr;
    QRadioButton *rbnz = nullptr;
    QLabel *lbltitle = nullptr;
    QLineEdit *edtselkey = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
};
