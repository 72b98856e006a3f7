#pragma once

#include <QProxyStyle>

// Draws a label's plain text with its CR characters left out: the text keeps its LF CR line
// ends, which would otherwise start each following line with a blank.
class TLineBreakStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &pal,
                      bool enabled, const QString &text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;
};
