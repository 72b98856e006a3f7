#pragma once

#include <QPointer>
#include <QWidget>

// A guide tip: a balloon whose arrow points at a control. It stays until it is closed or the
// control goes away; a click on it closes it. It follows the control when the layout moves it.
class TGuideBalloon : public QWidget
{
    Q_OBJECT
public:
    TGuideBalloon(QWidget *control, const QString &text);

    const QString &Text() const { return sText; }
    QWidget *Control() const { return objcontrol; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void PlaceAt(QWidget *control);

    QString sText;
    QPointer<QWidget> objcontrol;
    bool bArrowUp = true; // the balloon sits below the control
    int iArrowX = 0;
};
