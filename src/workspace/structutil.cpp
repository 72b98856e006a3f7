#include "workspace/structutil.h"

#include "common/TextUtil.h"

TSysInfo::TSysInfo()
{
    SetGetKey(QStringLiteral("验证码,校检码,激活码"));
}

void TSysInfo::SetGetKey(const QString &value)
{
    _GetKey = value;
    QString normalised = value;
    normalised.replace(u'，', u',');
    SLKey.clear();
    for (const QString &key : SplitList(normalised, u','))
        SLKey.append(key);
}

void TSysInfo::SetGetCodeTime(qint32 value)
{
    _GetCodeTime = value < 1 ? 1 : value;
}

QString TSysInfo::GetCodeBySms(const QString &sms) const
{
    Q_UNUSED(sms);
    return QString();
}
