#include "update/frmupwin.h"

#include "update/UpStateEvent.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

Tfmupwin::Tfmupwin(QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fmupwin"));
    setWindowTitle(QStringLiteral("程序正在升级..."));
    setFixedSize(424, 83);

    Label1 = new QLabel(QStringLiteral("正在升级中，请稍后..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, 392, 20);

    pro1 = new QProgressBar(this);
    pro1->setObjectName(QStringLiteral("pro1"));
    pro1->setRange(0, 100);
    pro1->setValue(0);
    pro1->setGeometry(16, 42, 392, 22);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Tfmupwin::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

bool Tfmupwin::event(QEvent *event)
{
    if (event->type() == WM_UPSTATE) {
        const auto *state = static_cast<TUpStateEvent *>(event);
        if (state->wParam == TUpStateEvent::Progress)
            pro1->setValue(state->lParam);
        return true;
    }
    return QWidget::event(event);
}
