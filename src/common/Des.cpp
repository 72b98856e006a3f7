#include "common/Des.h"

#include "common/AppError.h"
#include "common/TextUtil.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

// DES with the standard's tables. The round function works on halves rotated left by one bit,
// so the eight 6-bit expansion groups are two rotations and eight masks; each S-box and P are
// folded into one table (SP), and the initial and final permutations and the key schedule are
// nibble- or chunk-indexed tables, all built at compile time from the standard's tables.
namespace {

using u8 = std::uint8_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

constexpr std::array<int, 64> kIP = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::array<int, 32> kP = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::array<int, 56> kPC1 = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                      10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                      63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                      14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::array<int, 48> kPC2 = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
                                      23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
                                      41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
                                      44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::array<int, 16> kRotations = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr int kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10, 3,  13, 4,  7,  15, 2,
     8,  14, 12, 0,  1,  10, 6,  9,  11, 5, 0,  14, 7,  11, 10, 4, 13, 1,  5,  8,  12, 6,
     9,  3,  2,  15, 13, 8,  10, 1,  3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,  13, 7, 0,  9,  3,  4,
     6,  10, 2,  8,  5,  14, 12, 11, 15, 1,  13, 6,  4,  9,  8,  15, 3,  0, 11, 1,  2,  12,
     5,  10, 14, 7,  1,  10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5, 2,  12},
    {7,  13, 14, 3,  0,  6,  9,  10, 1,  2, 8,  5,  11, 12, 4,  15, 13, 8,  11, 5,  6,  15,
     0,  3,  4,  7,  2,  12, 1,  10, 14, 9, 10, 6,  9,  0,  12, 11, 7,  13, 15, 1,  3,  14,
     5,  2,  8,  4,  3,  15, 0,  6,  10, 1, 13, 8,  9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5,  0,  15, 10, 3,  9,  8,  6,  4,  2,  1,  11, 10, 13, 7, 8,  15, 9,  12, 5,
     6,  3,  0,  14, 11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9, 10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11, 10, 15, 4,  2,  7,  12,
     9,  5,  6,  1,  13, 14, 0,  11, 3,  8,  9,  14, 15, 5,  2,  8,  12, 3,  7,  0,  4,  10,
     1,  13, 11, 6,  4,  3,  2,  12, 9,  5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0,  8,  13, 3,  12, 9,  7,  5,  10, 6,  1,  13, 0,  11, 7,  4,  9,
     1,  10, 14, 3,  5,  12, 2,  15, 8,  6,  1,  4,  11, 13, 12, 3,  7,  14, 10, 15, 6,  8,
     0,  5,  9,  2,  6,  11, 13, 8,  1,  4,  10, 7,  9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,  1,  15, 13, 8,  10, 3,
     7,  4,  12, 5,  6,  11, 0,  14, 9,  2,  7,  11, 4,  1,  9,  12, 14, 2,  0,  6,  10, 13,
     15, 3,  5,  8,  2,  1,  14, 7,  4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};

constexpr bool RowsArePermutations()
{
    for (const auto &box : kS) {
        for (int row = 0; row < 4; ++row) {
            int seen = 0;
            for (int column = 0; column < 16; ++column)
                seen |= 1 << box[row * 16 + column];
            if (seen != 0xFFFF)
                return false;
        }
    }
    return true;
}
static_assert(RowsArePermutations(), "every S-box row holds each of 0-15 once");

// Bit n (1-based, 1 the most significant) of a width-bit word.
constexpr u64 Bit(int n, int width)
{
    return u64(1) << (width - n);
}

// Output bit n (1-based) of a permutation is the input bit that table[n - 1] names.
template <std::size_t N>
constexpr u64 Permute(u64 input, int inputWidth, const std::array<int, N> &table)
{
    u64 out = 0;
    for (int n = 1; n <= int(N); ++n) {
        if (input & Bit(table[n - 1], inputWidth))
            out |= Bit(n, int(N));
    }
    return out;
}

// The inverse: input bit n goes to output bit table[n - 1].
constexpr u64 InversePermute(u64 input, const std::array<int, 64> &table)
{
    u64 out = 0;
    for (int n = 1; n <= 64; ++n) {
        if (input & Bit(n, 64))
            out |= Bit(table[n - 1], 64);
    }
    return out;
}

// table[j][v]: what map makes of a 64-bit word whose nibble j (0 the most significant) holds
// v and whose other bits are 0. ORing the entries of all 16 nibbles maps a whole word.
template <typename Map>
constexpr std::array<std::array<u64, 16>, 16> NibbleTable(Map map)
{
    std::array<std::array<u64, 16>, 16> table{};
    for (int j = 0; j < 16; ++j) {
        for (int v = 0; v < 16; ++v)
            table[j][v] = map(u64(v) << (60 - 4 * j));
    }
    return table;
}

// SP[i][g]: P applied to S-box i's output for the 6-bit group g, rotated left by one bit.
constexpr auto kSP = [] {
    std::array<std::array<u32, 64>, 8> sp{};
    for (int box = 0; box < 8; ++box) {
        for (int g = 0; g < 64; ++g) {
            const int row = ((g >> 4) & 2) | (g & 1);
            const int column = (g >> 1) & 15;
            const u32 sOut = u32(kS[box][row * 16 + column]) << (28 - 4 * box);
            sp[box][g] = std::rotl(u32(Permute(sOut, 32, kP)), 1);
        }
    }
    return sp;
}();

// The initial permutation, left half high, both halves rotated left by one bit.
constexpr auto kIPTable = NibbleTable([](u64 input) {
    const u64 out = Permute(input, 64, kIP);
    return (u64(std::rotl(u32(out >> 32), 1)) << 32) | std::rotl(u32(out), 1);
});

// The final permutation, the inverse of the initial one.
constexpr auto kFPTable = NibbleTable([](u64 input) { return InversePermute(input, kIP); });

// C (high 28 bits) and D (low 28 bits) of the key. The parity bits are not selected, so they
// have no effect.
constexpr auto kPC1Table = NibbleTable([](u64 input) { return Permute(input, 64, kPC1); });

// A round key as the round function uses it: the even-numbered 6-bit groups in one word and
// the odd-numbered ones in the other, each group in the low 6 bits of a byte.
struct RoundKey
{
    u32 even = 0;
    u32 odd = 0;
};

constexpr void PlaceSubkeyBit(RoundKey &key, int subkeyBit)
{
    const int group = (subkeyBit - 1) / 6;
    const int shift = 24 - 8 * (group / 2) + (5 - (subkeyBit - 1) % 6);
    (group % 2 == 0 ? key.even : key.odd) |= u32(1) << shift;
}

// kPC2Table[c][v]: the round key bits that the 7-bit chunk c of C (chunks 0-3) or D
// (chunks 4-7) holding v selects.
constexpr auto kPC2Table = [] {
    std::array<std::array<RoundKey, 128>, 8> table{};
    for (int c = 0; c < 8; ++c) {
        for (int v = 0; v < 128; ++v) {
            for (int n = 1; n <= 48; ++n) {
                const int source = kPC2[n - 1] - 1; // 0..55 across C then D
                if (source / 7 == c && (v & (1 << (6 - source % 7))))
                    PlaceSubkeyBit(table[c][v], n);
            }
        }
    }
    return table;
}();

using Schedule = std::array<RoundKey, 16>;

u32 Rotl28(u32 half, int count)
{
    return ((half << count) | (half >> (28 - count))) & 0x0FFFFFFF;
}

Schedule KeySchedule(QByteArrayView key)
{
    u64 k = 0;
    for (int i = 0; i < 8; ++i)
        k = (k << 8) | (i < key.size() ? u8(key[i]) : 0);
    u64 cd = 0;
    for (int j = 0; j < 16; ++j)
        cd |= kPC1Table[j][(k >> (60 - 4 * j)) & 15];
    u32 c = u32(cd >> 28);
    u32 d = u32(cd) & 0x0FFFFFFF;
    Schedule schedule;
    for (int round = 0; round < 16; ++round) {
        c = Rotl28(c, kRotations[round]);
        d = Rotl28(d, kRotations[round]);
        RoundKey roundKey;
        for (int chunk = 0; chunk < 4; ++chunk) {
            const RoundKey &fromC = kPC2Table[chunk][(c >> (21 - 7 * chunk)) & 127];
            const RoundKey &fromD = kPC2Table[chunk + 4][(d >> (21 - 7 * chunk)) & 127];
            roundKey.even |= fromC.even | fromD.even;
            roundKey.odd |= fromC.odd | fromD.odd;
        }
        schedule[round] = roundKey;
    }
    return schedule;
}

inline u32 Feistel(u32 right, const RoundKey &key)
{
    const u32 evenGroups = std::rotr(right, 4) ^ key.even;
    const u32 oddGroups = right ^ key.odd;
    return kSP[6][evenGroups & 63] | kSP[4][(evenGroups >> 8) & 63] |
           kSP[2][(evenGroups >> 16) & 63] | kSP[0][(evenGroups >> 24) & 63] |
           kSP[7][oddGroups & 63] | kSP[5][(oddGroups >> 8) & 63] |
           kSP[3][(oddGroups >> 16) & 63] | kSP[1][(oddGroups >> 24) & 63];
}

template <bool Decrypt>
void CryptBlock(const Schedule &schedule, const char *in, char *out)
{
    u64 block = 0;
    for (int i = 0; i < 8; ++i)
        block = (block << 8) | u8(in[i]);
    u64 permuted = 0;
    for (int j = 0; j < 16; ++j)
        permuted |= kIPTable[j][(block >> (60 - 4 * j)) & 15];
    u32 left = u32(permuted >> 32);
    u32 right = u32(permuted);
    for (int round = 0; round < 16; round += 2) {
        left ^= Feistel(right, schedule[Decrypt ? 15 - round : round]);
        right ^= Feistel(left, schedule[Decrypt ? 14 - round : round + 1]);
    }
    // The last round does not swap: the output is R16 L16.
    const u64 preOutput = (u64(std::rotr(right, 1)) << 32) | std::rotr(left, 1);
    u64 result = 0;
    for (int j = 0; j < 16; ++j)
        result |= kFPTable[j][(preOutput >> (60 - 4 * j)) & 15];
    for (int i = 7; i >= 0; --i, result >>= 8)
        out[i] = char(result & 0xFF);
}

} // namespace

QByteArray DesEncryptText(QByteArrayView text, QByteArrayView key)
{
    // A trailing zero byte could not be told from padding after deciphering.
    if (!text.isEmpty() && text.back() == '\0')
        throw TAppError(QStringLiteral("Error: the last char is NULL char."));
    const Schedule schedule = KeySchedule(key);
    const qsizetype whole = text.size() / 8 * 8;
    QByteArray cipher((text.size() + 7) / 8 * 8, Qt::Uninitialized);
    for (qsizetype at = 0; at < whole; at += 8)
        CryptBlock<false>(schedule, text.data() + at, cipher.data() + at);
    if (whole < text.size()) {
        char last[8] = {};
        std::copy(text.begin() + whole, text.end(), last);
        CryptBlock<false>(schedule, last, cipher.data() + whole);
    }
    return cipher;
}

QByteArray DesDecryptText(QByteArrayView cipher, QByteArrayView key)
{
    const Schedule schedule = KeySchedule(key);
    QByteArray plain(cipher.size() / 8 * 8, Qt::Uninitialized);
    for (qsizetype at = 0; at < plain.size(); at += 8)
        CryptBlock<true>(schedule, cipher.data() + at, plain.data() + at);
    qsizetype length = plain.size();
    while (length > 0 && plain[length - 1] == '\0')
        --length;
    plain.truncate(length);
    return plain;
}

QByteArray DesEncryptHex(QByteArrayView text, QByteArrayView key)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const QByteArray cipher = DesEncryptText(text, key);
    QByteArray hex(cipher.size() * 2, Qt::Uninitialized);
    char *out = hex.data();
    for (const char byte : cipher) {
        *out++ = kDigits[u8(byte) >> 4];
        *out++ = kDigits[u8(byte) & 15];
    }
    return hex;
}

QByteArray DesDecryptHex(QByteArrayView hex, QByteArrayView key)
{
    QByteArray bytes(hex.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(HexValue(hex.sliced(2 * i, 2)));
    return DesDecryptText(bytes, key);
}

qint32 HexValue(QByteArrayView digits)
{
    u32 value = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            throw TAppError(QStringLiteral("Error: not a Hex String"));
        value = value * 16 + u32(digit);
    }
    return qint32(value);
}
