#include "workspace/structutil.h"

#include "common/TextUtil.h"

namespace {

constexpr qsizetype kMinCode = 4;
constexpr qsizetype kMaxCode = 8;

bool IsCodeChar(QChar c, bool letters)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return true;
    return letters && ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'));
}

bool Acceptable(QStringView run)
{
    return run.size() >= kMinCode && run.size() <= kMaxCode;
}

// The nearest run after the keyword and how many other characters lie in front of it.
QStringView ForwardRun(QStringView after, bool letters, qsizetype &gap)
{
    qsizetype i = 0;
    while (i < after.size() && !IsCodeChar(after[i], letters))
        ++i;
    gap = i;
    const qsizetype start = i;
    while (i < after.size() && IsCodeChar(after[i], letters))
        ++i;
    return after.mid(start, i - start);
}

// The nearest run before the keyword, in text order, and the characters between it and the
// keyword.
QStringView BackwardRun(QStringView before, bool letters, qsizetype &gap)
{
    qsizetype i = before.size();
    while (i > 0 && !IsCodeChar(before[i - 1], letters))
        --i;
    gap = before.size() - i;
    const qsizetype end = i;
    while (i > 0 && IsCodeChar(before[i - 1], letters))
        --i;
    return before.mid(i, end - i);
}

} // namespace

void TSysInfo::SetGetKey(const QString &value)
{
    SLKey.clear();
    QString normalised = value;
    normalised.replace(u'，', u',');
    SLKey = SplitList(normalised, u',');
    _GetKey = value;
}

void TSysInfo::SetGetCodeTime(qint32 value)
{
    _GetCodeTime = value < 1 ? 1 : value;
}

QString TSysInfo::GetCodeBySms(const QString &str) const
{
    QStringView text = str;
    // Forwarded messages carry the sender in front: "[发送号码...]".
    if (text.contains(u"[发送号码")) {
        const qsizetype close = text.indexOf(u']');
        if (close >= 0)
            text = text.mid(close + 1);
    }

    const bool letters = CodeType != 0;
    for (const QString &key : SLKey) {
        if (key.isEmpty())
            continue;
        const qsizetype at = text.indexOf(key);
        if (at < 0)
            continue;

        qsizetype forwardGap = 0;
        qsizetype backwardGap = 0;
        const QStringView forward = ForwardRun(text.mid(at + key.size()), letters, forwardGap);
        const QStringView backward = BackwardRun(text.left(at), letters, backwardGap);

        const bool forwardOk = Acceptable(forward);
        if (Acceptable(backward) && (!forwardOk || backwardGap < forwardGap))
            return backward.toString();
        if (forwardOk)
            return forward.toString();
    }
    return QString();
}
