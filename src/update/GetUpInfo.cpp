#include "update/GetUpInfo.h"

#include "common/TextUtil.h"

namespace {

bool IsBlank(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() > 32)
            return false;
    }
    return true;
}

} // namespace

std::optional<TGetUpInfo> TGetUpInfo::FromReply(QStringView reply)
{
    if (IsBlank(reply))
        return std::nullopt;
    const QStringList fields = SplitList(reply, QLatin1Char('`'));
    if (fields.size() < 2)
        return std::nullopt;
    TGetUpInfo info;
    if (IsWebAddress(fields[0]))
        info.DownUrl = fields[0];
    if (IsWebAddress(fields[1]))
        info.UpUrl = fields[1];
    return info;
}

bool TGetUpInfo::IsWebAddress(const QString &field)
{
    return field.contains(QLatin1String("http://")) || field.contains(QLatin1String("https://"));
}
