#include "common/GuideBalloon.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

constexpr int kArrow = 10;
constexpr int kPadding = 10;
constexpr int kMaxTextWidth = 280;

} // namespace

TGuideBalloon::TGuideBalloon(QWidget *control, const QString &text)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus),
      sText(text), objcontrol(control)
{
    setObjectName(QStringLiteral("GuideBalloon"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, kMaxTextWidth, 1000),
                                                      Qt::TextWordWrap, sText);
    // One pixel of slack: the measured width is rounded and the last glyph must not wrap.
    setFixedSize(textRect.width() + 1 + 2 * kPadding,
                 textRect.height() + 2 * kPadding + kArrow);
    PlaceAt(control);
    if (!control)
        return;
    connect(control, &QObject::destroyed, this, &QWidget::close);
    // Follow the control when the layout moves it or any of its parents.
    for (QWidget *w = control; w; w = w->parentWidget())
        w->installEventFilter(this);
}

bool TGuideBalloon::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        PlaceAt(objcontrol);
    return QWidget::eventFilter(watched, event);
}

void TGuideBalloon::PlaceAt(QWidget *control)
{
    if (!control)
        return;
    const QPoint bottom = control->mapToGlobal(QPoint(control->width() / 2, control->height()));
    const QPoint top = control->mapToGlobal(QPoint(control->width() / 2, 0));
    QRect screen(0, 0, 1 << 15, 1 << 15);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        screen = s->availableGeometry();
    bArrowUp = bottom.y() + height() <= screen.bottom();
    int iLeft = qBound(screen.left(), bottom.x() - 2 * kArrow,
                       qMax(screen.left(), screen.right() - width()));
    iArrowX = qBound(kArrow, bottom.x() - iLeft, width() - kArrow);
    move(iLeft, bArrowUp ? bottom.y() : top.y() - height());
}

void TGuideBalloon::paintEvent(QPaintEvent *)
{
    const QRectF body = bArrowUp ? QRectF(0.5, kArrow + 0.5, width() - 1, height() - kArrow - 1)
                                 : QRectF(0.5, 0.5, width() - 1, height() - kArrow - 1);
    QPainterPath path;
    path.addRoundedRect(body, 6, 6);
    QPolygonF arrow;
    if (bArrowUp)
        arrow << QPointF(iArrowX - kArrow / 2.0, kArrow + 1) << QPointF(iArrowX, 0.5)
              << QPointF(iArrowX + kArrow / 2.0, kArrow + 1);
    else
        arrow << QPointF(iArrowX - kArrow / 2.0, height() - kArrow - 1)
              << QPointF(iArrowX, height() - 0.5)
              << QPointF(iArrowX + kArrow / 2.0, height() - kArrow - 1);
    QPainterPath arrowPath;
    arrowPath.addPolygon(arrow);
    path = path.united(arrowPath);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x76, 0x76, 0x76));
    painter.setBrush(QColor(0xff, 0xff, 0xe1));
    painter.drawPath(path);
    painter.setPen(Qt::black);
    const int iTop = (bArrowUp ? kArrow : 0) + kPadding;
    painter.drawText(QRect(kPadding, iTop, width() - 2 * kPadding, height() - kArrow - 2 * kPadding),
                     Qt::TextWordWrap, sText);
}

void TGuideBalloon::mousePressEvent(QMouseEvent *)
{
    close();
}
