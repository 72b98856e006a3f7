#include "ZipWriter.h"

#include <array>
#include <cstdint>

namespace {

const char *const kPaddingName = "padding.bin";

std::uint32_t crc32(const std::string &data)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void put16(std::string &out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string &out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The fields local and central headers share, from "version needed" to the name length.
void putCommon(std::string &out, const std::string &name, const std::string &content, std::uint32_t crc)
{
    put16(out, 20);     // version needed
    put16(out, 0x0800); // names in UTF-8
    put16(out, 0);      // stored
    put16(out, 0);      // time
    put16(out, 0x5B8B); // date: 2025-12-11
    put32(out, crc);
    put32(out, static_cast<std::uint32_t>(content.size()));
    put32(out, static_cast<std::uint32_t>(content.size()));
    put16(out, static_cast<std::uint32_t>(name.size()));
}

} // namespace

void ZipWriter::add(const std::string &name, const std::string &content)
{
    entries_.emplace_back(name, content);
}

std::size_t ZipWriter::sizeWithPadding() const
{
    auto entries = entries_;
    entries.emplace_back(kPaddingName, std::string());
    return build(entries).size();
}

std::string ZipWriter::finish(std::size_t exactSize) const
{
    if (exactSize == 0)
        return build(entries_);
    const std::size_t padded = sizeWithPadding();
    if (exactSize < padded)
        return std::string(exactSize, 'x');
    auto entries = entries_;
    entries.emplace_back(kPaddingName, std::string(exactSize - padded, 'x'));
    return build(entries);
}

std::string ZipWriter::build(const std::vector<std::pair<std::string, std::string>> &entries) const
{
    std::string out;
    std::string central;
    for (const auto &[name, content] : entries) {
        const std::uint32_t crc = crc32(content);
        const auto offset = static_cast<std::uint32_t>(out.size());
        put32(out, 0x04034b50);
        putCommon(out, name, content, crc);
        put16(out, 0); // extra length
        out += name;
        out += content;

        put32(central, 0x02014b50);
        put16(central, 0x031E); // made by: Unix
        putCommon(central, name, content, crc);
        put16(central, 0);                // extra length
        put16(central, 0);                // comment length
        put16(central, 0);                // disk
        put16(central, 0);                // internal attributes
        put32(central, 0100644u << 16);   // external attributes: a plain file
        put32(central, offset);
        central += name;
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put32(out, static_cast<std::uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}
