#pragma once

#include <QList>
#include <QString>

class QWidget;

// Guide tips and transient notices. A notice never takes focus or blocks, stays on top and
// fades after a time that grows with its value (10 very short, 1000 normal, 1500 and 2000
// longer). A guide tip is a balloon pointing at a control; one is open at a time.
void GuideInfo(QWidget *control, const QString &text);
void CloseGuide();
void showdlgInfo(const QString &text, qint32 flag, QWidget *owner, qint32 value);

// The program's notice: showdlgInfo with the main window as owner.
void ShowNotice(const QString &text, quint8 flag, qint32 value);
// Set once by the main window at start-up.
void SetNoticeOwner(QWidget *mainWindow);

// What was shown, newest last, so tests can read it back.
struct TNoticeRecord
{
    QString text;
    qint32 flag = 0;
    QWidget *owner = nullptr;
    qint32 value = 0;
};
const QList<TNoticeRecord> &ShownNotices();
void ClearShownNotices();
// The text of the open guide tip and the control it points at; empty when none is open.
QString CurrentGuideText();
QWidget *CurrentGuideControl();
