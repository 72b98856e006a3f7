#pragma once

#include <QString>
#include <QStringList>

// An INI file with the Windows profile API's observable rules: section and key names compare
// case-insensitively, blanks around names and values are trimmed, lines it does not touch are
// kept, the text is GBK. Reads see the file as it was when the object was made; every write
// replaces the whole file atomically (owner-only on Linux) and throws TAppError
// "Unable to write to <path>" when it cannot.
class TIniFile
{
public:
    explicit TIniFile(const QString &fileName);

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // Decimal or "0x" hexadecimal within 32 bits; anything else gives def.
    qint32 ReadInteger(const QString &section, const QString &key, qint32 def) const;
    // An integer other than 0 is true; anything that is not an integer gives def.
    bool ReadBool(const QString &section, const QString &key, bool def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, qint32 value);
    void WriteBool(const QString &section, const QString &key, bool value);

    const QString &FileName() const { return sFileName; }

private:
    struct TPosition
    {
        qsizetype iSection = -1; // line of the section header
        qsizetype iEnd = -1;     // first line after the section
        qsizetype iKey = -1;     // line of the key
    };
    TPosition Find(const QString &section, const QString &key) const;
    void Save() const;

    QString sFileName;
    QStringList SLLines;
};
