#include "app/PasswordStarStyle.h"

int TPasswordStarStyle::styleHint(StyleHint hint, const QStyleOption *option,
                                  const QWidget *widget, QStyleHintReturn *returnData) const
{
    if (hint == SH_LineEdit_PasswordCharacter)
        return u'*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
