#include "app/IniFile.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/TextUtil.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qsizetype kMaxValue = 2047;

bool IsSectionLine(QStringView line, QString *name = nullptr)
{
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'[') || !trimmed.endsWith(u']'))
        return false;
    if (name)
        *name = trimmed.mid(1, trimmed.size() - 2).trimmed().toString();
    return true;
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool TryReadHex(QStringView digits, qint32 &value)
{
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    bool ok = false;
    const quint32 u = digits.toUInt(&ok, 16);
    if (!ok)
        return false;
    value = qint32(u);
    return true;
}

} // namespace

TIniFile::TIniFile(const QString &fileName) : sFileName(fileName)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        SLLines = SplitLines(FromAnsi(file.readAll()));
}

TIniFile::TPosition TIniFile::Find(const QString &section, const QString &key) const
{
    TPosition pos;
    for (qsizetype i = 0; i < SLLines.size(); ++i) {
        QString sName;
        if (IsSectionLine(SLLines.at(i), &sName)) {
            if (pos.iSection >= 0) {
                pos.iEnd = i;
                return pos;
            }
            if (SameName(sName, section))
                pos.iSection = i;
            continue;
        }
        if (pos.iSection < 0 || pos.iKey >= 0)
            continue;
        const QString &sLine = SLLines.at(i);
        const qsizetype iEq = sLine.indexOf(u'=');
        if (iEq > 0 && SameName(sLine.left(iEq).trimmed(), key.trimmed()))
            pos.iKey = i;
    }
    if (pos.iSection >= 0)
        pos.iEnd = SLLines.size();
    return pos;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const TPosition pos = Find(section, key);
    if (pos.iKey < 0)
        return def;
    const QString &sLine = SLLines.at(pos.iKey);
    return sLine.mid(sLine.indexOf(u'=') + 1).trimmed().left(kMaxValue);
}

qint32 TIniFile::ReadInteger(const QString &section, const QString &key, qint32 def) const
{
    const QString sValue = ReadString(section, key, QString());
    if (sValue.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        qint32 value = 0;
        return TryReadHex(QStringView(sValue).mid(2), value) ? value : def;
    }
    return ReadInt(sValue, def);
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString sLine = key.trimmed() + u'=' + value;
    const TPosition pos = Find(section, key);
    if (pos.iKey >= 0) {
        SLLines[pos.iKey] = sLine;
    } else if (pos.iSection >= 0) {
        // After the section's last non-blank line, so blank separators stay between sections.
        qsizetype iAt = pos.iEnd;
        while (iAt > pos.iSection + 1 && SLLines.at(iAt - 1).trimmed().isEmpty())
            --iAt;
        SLLines.insert(iAt, sLine);
    } else {
        SLLines.append(u'[' + section + u']');
        SLLines.append(sLine);
    }
    Save();
}

void TIniFile::WriteInteger(const QString &section, const QString &key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::Save() const
{
    QSaveFile file(sFileName);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        // The file may hold the remembered password: readable by its owner only.
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        for (const QString &sLine : SLLines)
            ok = ok && file.write(ToAnsi(sLine) + "\r\n") >= 0;
        ok = ok && file.commit();
    }
    if (!ok)
        throw TAppError(QStringLiteral("Unable to write to %1").arg(sFileName));
}
