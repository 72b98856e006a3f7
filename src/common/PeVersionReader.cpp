#include "common/PeVersionReader.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr quint32 kPeSignature = 0x00004550; // "PE\0\0"
constexpr quint16 kPe32Magic = 0x10B;
constexpr quint16 kPe32PlusMagic = 0x20B;
constexpr int kResourceDirectoryIndex = 2;
constexpr quint16 kVersionResourceType = 16;
constexpr quint32 kSubdirectoryFlag = 0x80000000;
constexpr quint32 kNamedEntryFlag = 0x80000000;
constexpr quint32 kFixedInfoSignature = 0xFEEF04BD;
constexpr qint64 kFixedInfoSize = 52;
constexpr qint64 kMaxImageSize = 64 * 1024 * 1024;
constexpr int kSectionHeaderSize = 40;

} // namespace

PeVersionReader::PeVersionReader(QByteArrayView image) : bytes(image) {}

QString PeVersionReader::FileVersionOf(const QString &fileName)
{
    const QString fallback = QStringLiteral("1.0.0.0");
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxImageSize)
        return fallback;
    const QByteArray image = file.readAll();
    const QString version = PeVersionReader(image).FileVersion();
    return version.isEmpty() ? fallback : version;
}

QString PeVersionReader::FileVersion() const
{
    const std::optional<qint64> header = HeaderOffset();
    if (!header)
        return {};
    const std::optional<quint32> resourceRva = ResourceRva(*header);
    if (!resourceRva)
        return {};
    const std::optional<quint32> dataEntryRva = VersionDataRva(*header, *resourceRva);
    if (!dataEntryRva)
        return {};
    const std::optional<qint64> dataEntry = FileOffset(*header, *dataEntryRva);
    if (!dataEntry)
        return {};
    const std::optional<quint32> versionRva = U32(*dataEntry);
    const std::optional<quint32> versionSize = U32(*dataEntry + 4);
    if (!versionRva || !versionSize)
        return {};
    const std::optional<qint64> versionInfo = FileOffset(*header, *versionRva);
    if (!versionInfo)
        return {};
    const std::optional<qint64> fixed = FixedInfoOffset(*versionInfo, *versionSize);
    if (!fixed)
        return {};
    const quint32 ms = *U32(*fixed + 8);
    const quint32 ls = *U32(*fixed + 12);
    return QString::asprintf("%d.%d.%d.%d", int(ms >> 16), int(ms & 0xFFFF), int(ls >> 16),
                             int(ls & 0xFFFF));
}

bool PeVersionReader::Holds(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= bytes.size() && length <= bytes.size() - offset;
}

std::optional<quint16> PeVersionReader::U16(qint64 offset) const
{
    if (!Holds(offset, 2))
        return std::nullopt;
    return qFromLittleEndian<quint16>(bytes.data() + offset);
}

std::optional<quint32> PeVersionReader::U32(qint64 offset) const
{
    if (!Holds(offset, 4))
        return std::nullopt;
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}

// The PE header's file offset, after checking both signatures.
std::optional<qint64> PeVersionReader::HeaderOffset() const
{
    if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z')
        return std::nullopt;
    const std::optional<quint32> header = U32(0x3C);
    if (!header || U32(*header) != kPeSignature)
        return std::nullopt;
    return qint64(*header);
}

std::optional<quint32> PeVersionReader::ResourceRva(qint64 header) const
{
    const qint64 optionalHeader = header + 24;
    const std::optional<quint16> magic = U16(optionalHeader);
    if (!magic || (*magic != kPe32Magic && *magic != kPe32PlusMagic))
        return std::nullopt;
    const qint64 countOffset = optionalHeader + (*magic == kPe32Magic ? 92 : 108);
    const std::optional<quint32> directoryCount = U32(countOffset);
    if (!directoryCount || *directoryCount <= kResourceDirectoryIndex)
        return std::nullopt;
    const std::optional<quint32> rva = U32(countOffset + 4 + 8 * kResourceDirectoryIndex);
    if (!rva || *rva == 0)
        return std::nullopt;
    return rva;
}

std::optional<PeVersionReader::Section> PeVersionReader::SectionAt(qint64 header, int index) const
{
    const std::optional<quint16> optionalSize = U16(header + 20);
    if (!optionalSize)
        return std::nullopt;
    const qint64 at = header + 24 + *optionalSize + qint64(index) * kSectionHeaderSize;
    const std::optional<quint32> virtualSize = U32(at + 8);
    const std::optional<quint32> virtualAddress = U32(at + 12);
    const std::optional<quint32> rawSize = U32(at + 16);
    const std::optional<quint32> rawOffset = U32(at + 20);
    if (!virtualSize || !virtualAddress || !rawSize || !rawOffset)
        return std::nullopt;
    return Section{*virtualAddress, *virtualSize, *rawSize, *rawOffset};
}

// The file offset where the byte at a relative virtual address is stored, if any section
// holds it in the file.
std::optional<qint64> PeVersionReader::FileOffset(qint64 header, quint32 rva) const
{
    const std::optional<quint16> sectionCount = U16(header + 6);
    if (!sectionCount)
        return std::nullopt;
    for (int index = 0; index < *sectionCount; ++index) {
        const std::optional<Section> section = SectionAt(header, index);
        if (!section)
            return std::nullopt;
        if (rva >= section->virtualAddress && rva - section->virtualAddress < section->rawSize) {
            const qint64 offset = qint64(section->rawOffset) + (rva - section->virtualAddress);
            if (!Holds(offset, 1))
                return std::nullopt;
            return offset;
        }
    }
    return std::nullopt;
}

// Walks type 16, then its first name and first language, to the data entry's address.
std::optional<quint32> PeVersionReader::VersionDataRva(qint64 header, quint32 resourceRva) const
{
    quint32 target = 0;
    for (int level = 0; level < 3; ++level) {
        const qint64 directoryRva = qint64(resourceRva) + (target & ~kSubdirectoryFlag);
        if (directoryRva > 0xFFFFFFFF)
            return std::nullopt;
        const std::optional<qint64> directory = FileOffset(header, quint32(directoryRva));
        if (!directory)
            return std::nullopt;
        const std::optional<quint32> entry =
            EntryTarget(*directory, level == 0 ? std::optional<quint16>(kVersionResourceType)
                                               : std::nullopt);
        const bool wantSubdirectory = level < 2;
        if (!entry || ((*entry & kSubdirectoryFlag) != 0) != wantSubdirectory)
            return std::nullopt;
        target = *entry;
    }
    const qint64 dataEntryRva = qint64(resourceRva) + target;
    if (dataEntryRva > 0xFFFFFFFF)
        return std::nullopt;
    return quint32(dataEntryRva);
}

// The target of the directory's entry with the wanted numeric id, or of its first entry.
std::optional<quint32> PeVersionReader::EntryTarget(qint64 directory,
                                                    std::optional<quint16> wantedId) const
{
    const std::optional<quint16> named = U16(directory + 12);
    const std::optional<quint16> numbered = U16(directory + 14);
    if (!named || !numbered)
        return std::nullopt;
    const int count = *named + *numbered;
    for (int index = 0; index < count; ++index) {
        const qint64 entry = directory + 16 + qint64(index) * 8;
        const std::optional<quint32> name = U32(entry);
        const std::optional<quint32> target = U32(entry + 4);
        if (!name || !target)
            return std::nullopt;
        if (!wantedId || (!(*name & kNamedEntryFlag) && *name == *wantedId))
            return target;
    }
    return std::nullopt;
}

// VS_VERSIONINFO: length, value length, type, the key as UTF-16 up to its NUL, padding to a
// 4-byte boundary, then VS_FIXEDFILEINFO.
std::optional<qint64> PeVersionReader::FixedInfoOffset(qint64 versionInfo, quint32 size) const
{
    const std::optional<quint16> valueLength = U16(versionInfo + 2);
    if (!valueLength || *valueLength < kFixedInfoSize)
        return std::nullopt;
    qint64 at = versionInfo + 6;
    for (;;) {
        const std::optional<quint16> c = U16(at);
        if (!c || at - versionInfo >= size)
            return std::nullopt;
        at += 2;
        if (*c == 0)
            break;
    }
    const qint64 fixed = versionInfo + ((at - versionInfo + 3) & ~qint64(3));
    if (fixed - versionInfo + kFixedInfoSize > size || !Holds(fixed, kFixedInfoSize) ||
        U32(fixed) != kFixedInfoSignature)
        return std::nullopt;
    return fixed;
}
