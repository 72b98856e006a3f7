#pragma once

#include <QWidget>

class QLabel;

// The small borderless "please wait" window over the main window while a command is out.
class Tfmwait : public QWidget
{
    Q_OBJECT
public:
    explicit Tfmwait(QWidget *AOwner);

    // The operation text; empty means the default text.
    QString sWaitMsg;

    QString Caption() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Panel1;
};
