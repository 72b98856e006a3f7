#pragma once

#include <QObject>
#include <QVariant>

// The original toolkit's per-control 32-bit Tag, kept on a dynamic property so tests can read
// it with findChild.
inline qint32 Tag(const QObject *object)
{
    return object->property("tag").toInt();
}

inline void SetTag(QObject *object, qint32 value)
{
    object->setProperty("tag", value);
}
