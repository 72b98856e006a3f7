#include "common/NoticeWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kPadding = 14;
constexpr int kFadeMs = 400;
constexpr int kMaxTextWidth = 360;

} // namespace

TNoticeWindow::TNoticeWindow(const QString &text, QWidget *owner, qint32 value)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus),
      sText(text)
{
    setObjectName(QStringLiteral("NoticeWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    QFont noticeFont = font();
    noticeFont.setPixelSize(14);
    setFont(noticeFont);
    const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, kMaxTextWidth, 1000),
                                                      Qt::TextWordWrap | Qt::AlignCenter, sText);
    setFixedSize(qMax(textRect.width(), 80) + 2 * kPadding, textRect.height() + 2 * kPadding);
    PlaceOver(owner);
    QTimer::singleShot(VisibleMs(value), this, &TNoticeWindow::FadeOut);
}

int TNoticeWindow::VisibleMs(qint32 value)
{
    // 10: a glance (about a second); 1000: about three seconds; 2000: about five.
    return 800 + 2 * qBound(0, value, 5000);
}

void TNoticeWindow::PlaceOver(QWidget *owner)
{
    QRect area;
    if (owner && owner->isVisible() && !owner->isMinimized())
        area = owner->frameGeometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    // In the lower third of the owner, where it does not hide what the user works on.
    move(area.left() + (area.width() - width()) / 2, area.top() + area.height() * 2 / 3);
}

void TNoticeWindow::FadeOut()
{
    if (objfade)
        return;
    objfade = new QPropertyAnimation(this, "fade", this);
    objfade->setDuration(kFadeMs);
    objfade->setStartValue(1.0);
    objfade->setEndValue(0.0);
    connect(objfade, &QPropertyAnimation::finished, this, &QWidget::close);
    objfade->start();
}

void TNoticeWindow::SetFade(qreal fade)
{
    rFade = fade;
    update();
}

void TNoticeWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(rFade);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.setBrush(QColor(0x30, 0x30, 0x30, 230));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(kPadding, kPadding, -kPadding, -kPadding),
                     Qt::TextWordWrap | Qt::AlignCenter, sText);
}

void TNoticeWindow::mousePressEvent(QMouseEvent *)
{
    close();
}
