// DesEncryptHex against OpenSSL's DES doing the same work: key schedule, four ECB blocks and
// the upper-case hex form of a 32-byte text.
#include "common/Des.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <algorithm>

namespace {

const QByteArray kText = "alice|s3cret-pass|member/pay.asp"; // 32 bytes
const QByteArray kKey = "tv9pxe6j";

void BM_DesEncryptHex(benchmark::State &state)
{
    for (auto _ : state) {
        QByteArray hex = DesEncryptHex(kText, kKey);
        benchmark::DoNotOptimize(hex);
    }
}
BENCHMARK(BM_DesEncryptHex);

} // namespace

#if __has_include(<openssl/des.h>)
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

namespace {

void BM_OpenSslDesEcbHex(benchmark::State &state)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (auto _ : state) {
        DES_cblock key;
        std::copy_n(kKey.constData(), 8, key);
        DES_key_schedule schedule;
        DES_set_key_unchecked(&key, &schedule);
        DES_cblock plain[4];
        std::copy_n(kText.constData(), 32, &plain[0][0]);
        DES_cblock cipher[4];
        for (int block = 0; block < 4; ++block)
            DES_ecb_encrypt(&plain[block], &cipher[block], &schedule, DES_ENCRYPT);
        QByteArray hex(64, Qt::Uninitialized);
        for (int i = 0; i < 32; ++i) {
            const unsigned char byte = cipher[i / 8][i % 8];
            hex[2 * i] = kDigits[byte >> 4];
            hex[2 * i + 1] = kDigits[byte & 15];
        }
        benchmark::DoNotOptimize(hex);
    }
}
BENCHMARK(BM_OpenSslDesEcbHex);

} // namespace
#endif

BENCHMARK_MAIN();
