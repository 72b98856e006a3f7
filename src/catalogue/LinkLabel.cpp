#include "catalogue/LinkLabel.h"

#include <QMouseEvent>

TLinkLabel::TLinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette blue = palette();
    blue.setColor(QPalette::Active, QPalette::WindowText, QColor(0, 0, 255));
    blue.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0, 0, 255));
    setPalette(blue);
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
