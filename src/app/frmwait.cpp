#include "app/frmwait.h"

#include <QLabel>
#include <QVBoxLayout>

Tfmwait::Tfmwait(QWidget *AOwner)
    : QWidget(AOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fmwait"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(255, 73);
    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);
}

QString Tfmwait::Caption() const
{
    return Panel1->text();
}

void Tfmwait::showEvent(QShowEvent *event)
{
    // Only when it becomes visible: a second command moves it but keeps the first text.
    Panel1->setText(sWaitMsg.isEmpty() ? QStringLiteral("正在处理，请稍后...")
                                       : sWaitMsg + QStringLiteral("，请稍后..."));
    QWidget::showEvent(event);
}
