// Formatted output against the C library's snprintf on the same texts: diagnostics and the host's
// value display go through it, so it must stay in the same league.
#include <benchmark/benchmark.h>
#include <cstdio>

#include "kel/txt/out/ArgFloat.hpp"
#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/PrintNa.hpp"

using namespace kel::txt::out;

static void BM_snprintf_hex(benchmark::State& state)
{
    char buf[128];
    int code = 0;
    for (auto _ : state)
    {
        std::snprintf(buf, sizeof(buf), "failed on handle 0x%08X.", static_cast<unsigned>(++code));
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(BM_snprintf_hex);

static void BM_PrintNa_hex(benchmark::State& state)
{
    char buf[128];
    PrintNa p(buf);
    int code = 0;
    for (auto _ : state)
    {
        p.print("failed on handle 0x%1rm8w0X%.", ArgInt(++code));
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(BM_PrintNa_hex);

static void BM_snprintf_value(benchmark::State& state)
{
    char buf[256];
    double v = 0.0;
    for (auto _ : state)
    {
        v += 0.0001;
        std::snprintf(buf, sizeof(buf), "%.7f", v);
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(BM_snprintf_value);

static void BM_PrintNa_value(benchmark::State& state)
{
    char buf[256];
    PrintNa p(buf);
    double v = 0.0;
    for (auto _ : state)
    {
        v += 0.0001;
        p.print("%1fp7%", ArgFloat(v));
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(BM_PrintNa_value);
