#include "common/MsgDlg.h"

#include "common/GuideBalloon.h"
#include "common/NoticeWindow.h"

#include <QPointer>

namespace {

// Enough history for any test; a long run does not grow it without bound.
constexpr qsizetype kKeptNotices = 100;

QList<TNoticeRecord> &Notices()
{
    static QList<TNoticeRecord> notices;
    return notices;
}

QPointer<TGuideBalloon> &Guide()
{
    static QPointer<TGuideBalloon> guide;
    return guide;
}

QPointer<TNoticeWindow> &LastNotice()
{
    static QPointer<TNoticeWindow> notice;
    return notice;
}

QPointer<QWidget> &NoticeOwner()
{
    static QPointer<QWidget> owner;
    return owner;
}

} // namespace

void GuideInfo(QWidget *control, const QString &text)
{
    CloseGuide();
    auto *balloon = new TGuideBalloon(control, text);
    balloon->setAttribute(Qt::WA_DeleteOnClose);
    Guide() = balloon;
    balloon->show();
}

void CloseGuide()
{
    if (Guide())
        Guide()->close();
    Guide() = nullptr;
}

void showdlgInfo(const QString &text, qint32 flag, QWidget *owner, qint32 value)
{
    QList<TNoticeRecord> &notices = Notices();
    notices.append({text, qint32(quint8(flag)), owner, value});
    if (notices.size() > kKeptNotices)
        notices.removeFirst();
    // One notice at a time: the newest replaces one still on the screen.
    if (LastNotice())
        LastNotice()->close();
    auto *notice = new TNoticeWindow(text, owner, value);
    LastNotice() = notice;
    notice->show();
}

void ShowNotice(const QString &text, quint8 flag, qint32 value)
{
    showdlgInfo(text, flag, NoticeOwner(), value);
}

void SetNoticeOwner(QWidget *mainWindow)
{
    NoticeOwner() = mainWindow;
}

const QList<TNoticeRecord> &ShownNotices()
{
    return Notices();
}

void ClearShownNotices()
{
    Notices().clear();
}

namespace {

// A balloon closed by a click lives on until the event loop frees it.
TGuideBalloon *OpenGuide()
{
    return Guide() && Guide()->isVisible() ? Guide().data() : nullptr;
}

} // namespace

QString CurrentGuideText()
{
    return OpenGuide() ? OpenGuide()->Text() : QString();
}

QWidget *CurrentGuideControl()
{
    return OpenGuide() ? OpenGuide()->Control() : nullptr;
}
