#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Reads the file version from the version resource of a Windows executable image (PE). Every
// offset is checked against the image, so a damaged or foreign file only yields no version.
class PeVersionReader
{
public:
    explicit PeVersionReader(QByteArrayView image);

    // "a.b.c.d" from the fixed version information; empty when the image holds none.
    QString FileVersion() const;

    // FileVersion of the file's contents, "1.0.0.0" when the file or its version is missing.
    static QString FileVersionOf(const QString &fileName);

private:
    struct Section
    {
        quint32 virtualAddress = 0;
        quint32 virtualSize = 0;
        quint32 rawSize = 0;
        quint32 rawOffset = 0;
    };

    std::optional<quint16> U16(qint64 offset) const;
    std::optional<quint32> U32(qint64 offset) const;
    bool Holds(qint64 offset, qint64 length) const;

    std::optional<qint64> HeaderOffset() const;
    std::optional<quint32> ResourceRva(qint64 header) const;
    std::optional<qint64> FileOffset(qint64 header, quint32 rva) const;
    std::optional<Section> SectionAt(qint64 header, int index) const;
    std::optional<quint32> VersionDataRva(qint64 header, quint32 resourceRva) const;
    std::optional<quint32> EntryTarget(qint64 directory, std::optional<quint16> wantedId) const;
    std::optional<qint64> FixedInfoOffset(qint64 versionInfo, quint32 size) const;

    QByteArrayView bytes;
};
