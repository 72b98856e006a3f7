#include "workspace/FavPro.h"

void TFavPro::SetPUrl(const QString &value)
{
    if (value.toLower().startsWith(QLatin1String("http")))
        _PUrl = value;
    else
        _PUrl = QStringLiteral("http://") + value;
}

void TFavPro::Clear()
{
    *this = TFavPro();
}

void TFavPro::Copy(const TFavPro &src)
{
    *this = src;
}
