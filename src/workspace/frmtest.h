#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class TSysInfo;

// "验证码提取测试": runs the extraction on a sample SMS with the keywords being edited. While
// it is open the keywords under test are the live ones; closing restores those it found.
class Tfmsmstest : public QDialog
{
    Q_OBJECT
public:
    Tfmsmstest(QWidget *AOwner, TSysInfo &sysinfo);

    QString KeyStr;
    quint8 KeyType = 0;

    void done(int result) override;

private:
    void btnokClick();

    TSysInfo &objsysinfo;
    QString _TMPKeyStr;
    quint8 _TmpKeyType = 0;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label2 = nullptr;
};
