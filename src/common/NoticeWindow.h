#pragma once

#include <QWidget>

class QPropertyAnimation;

// A transient notice: frameless, on top, never takes focus; it stays for a time that grows
// with its value, then fades out and frees itself. A click dismisses it.
class TNoticeWindow : public QWidget
{
    Q_OBJECT
    // Painted rather than a window opacity, which not every platform offers.
    Q_PROPERTY(qreal fade READ Fade WRITE SetFade)
public:
    TNoticeWindow(const QString &text, QWidget *owner, qint32 value);

    // How long a notice of the given value stays fully visible, in milliseconds.
    static int VisibleMs(qint32 value);

    qreal Fade() const { return rFade; }
    void SetFade(qreal fade);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void PlaceOver(QWidget *owner);
    void FadeOut();

    QString sText;
    QPropertyAnimation *objfade = nullptr;
    qreal rFade = 1.0;
};
