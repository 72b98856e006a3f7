#pragma once

#include <QProxyStyle>

// Masks password edits with "*" in place of the platform's dot.
class TPasswordStarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override;
};
