#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The update's progress window: top-most, centred, and the user cannot close it.
class Tfmupwin : public QWidget
{
    Q_OBJECT

public:
    explicit Tfmupwin(QWidget *owner = nullptr);

    QLabel *Label1 = nullptr;
    QProgressBar *pro1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override; // FormCloseQuery: always refused
    bool event(QEvent *event) override;           // WM_UPSTATE 2 sent to the window itself
};
