#include "workspace/LineBreakStyle.h"

void TLineBreakStyle::drawItemText(QPainter *painter, const QRect &rect, int flags,
                                   const QPalette &pal, bool enabled, const QString &text,
                                   QPalette::ColorRole textRole) const
{
    QString shown = text;
    shown.remove(u'\r');
    QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, shown, textRole);
}
