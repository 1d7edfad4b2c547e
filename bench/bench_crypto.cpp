// Blowfish: our key set-up and single-block encipherment against OpenSSL's, measured in the same run.
#include "crypto/Blowfish.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <openssl/blowfish.h>

namespace {

const uint8_t kKey[16] = {'c', 'o', 'r', 'r', 'e', 'c', 't', ' ', 'h', 'o', 'r', 's', 'e', '1', '2', '3'};

void BM_KeySetup_Lockwell(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(blf_KeyInit(kKey, int(sizeof(kKey))));
        benchmark::ClobberMemory();
    }
}

void BM_KeySetup_OpenSSL(benchmark::State& state)
{
    BF_KEY schedule;
    for (auto _ : state) {
        BF_set_key(&schedule, int(sizeof(kKey)), kKey);
        benchmark::DoNotOptimize(schedule);
        benchmark::ClobberMemory();
    }
}

void BM_Block_Lockwell(benchmark::State& state)
{
    blf_KeyInit(kKey, int(sizeof(kKey)));
    uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (auto _ : state) {
        blf_EncryptBytes(block);
        benchmark::DoNotOptimize(block);
    }
}

void BM_Block_OpenSSL(benchmark::State& state)
{
    BF_KEY schedule;
    BF_set_key(&schedule, int(sizeof(kKey)), kKey);
    uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (auto _ : state) {
        BF_ecb_encrypt(block, block, &schedule, BF_ENCRYPT);
        benchmark::DoNotOptimize(block);
    }
}

} // namespace

BENCHMARK(BM_KeySetup_Lockwell);
BENCHMARK(BM_KeySetup_OpenSSL);
BENCHMARK(BM_Block_Lockwell);
BENCHMARK(BM_Block_OpenSSL);

int main(int argc, char** argv)
{
    // The running program switches the trace off once its main window is up; measure that state.
    bwdetail::g_tracing = false;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
