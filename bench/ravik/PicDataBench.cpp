// The picture decoders' fast paths against their general ones, in pixels drawn per second:
// whole rows copied for opaque 24-bit pictures, one store for opaque and none for transparent
// pixels of pictures with alpha, against blending every pixel; whole positions against the
// bilinear sub-pixel path; and a knob frame drawn turned. "Speedup" times the pairs in one run
// and reports their ratios.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ravik/PicDataFactory.hpp"
#include "ravik/Picture.hpp"
#include "ravik/RenderingBufferMemory.hpp"

namespace
{

constexpr int size = 128;

// A size x size picture resource: kind 0 or 1, 24 bits, every pixel with the given alpha byte.
std::vector<std::uint8_t> make_apic(std::uint32_t kind, std::uint8_t alpha)
{
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
        {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    for (const std::uint32_t v : {1u, 36u, kind, 24u, static_cast<std::uint32_t>(size),
                                  static_cast<std::uint32_t>(size), 0u, 36u, 0u})
    {
        put(v);
    }
    for (int i = 0; i < size * size; ++i)
    {
        out.insert(out.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 3),
                               static_cast<std::uint8_t>(i >> 6), alpha});
    }
    return out;
}

// A size x size picture with a palette of 256 colours, one index a pixel.
std::vector<std::uint8_t> make_paletted()
{
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
        {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    for (const std::uint32_t v : {1u, 36u, 0u, 8u, static_cast<std::uint32_t>(size),
                                  static_cast<std::uint32_t>(size), 256u, 36u + 1024u, 36u})
    {
        put(v);
    }
    for (std::uint32_t i = 0; i < 256; ++i)
    {
        put(i * 0x010101u);
    }
    for (int i = 0; i < size * size; ++i)
    {
        out.push_back(static_cast<std::uint8_t>(i * 7));
    }
    return out;
}

struct Case
{
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<ravik::PicDataInterface> pic;
    ravik::Picture picture;

    explicit Case(std::vector<std::uint8_t> b)
        : bytes(std::move(b))
        , pic(ravik::PicDataFactory::create_from_data(bytes))
        , picture(pic.get())
    {
        picture.set_origin({size / 2, size / 2});
    }
};

using Draw = std::function<void(const Case&, ravik::RenderingBufferMemory&)>;

const ravik::Rect clip{0, 0, size, size};

void area_draw(const Case& c, ravik::RenderingBufferMemory& b)
{
    c.pic->draw(clip, b, clip);
}

void whole_position(const Case& c, ravik::RenderingBufferMemory& b)
{
    c.picture.draw_at(-size / 2, -size / 2, clip, b);
}

void sub_pixel(const Case& c, ravik::RenderingBufferMemory& b)
{
    c.picture.draw_at(-size / 2 + 0.37, -size / 2 + 0.61, clip, b);
}

void turned(const Case& c, ravik::RenderingBufferMemory& b)
{
    c.picture.draw_rotated(-size / 2, -size / 2, clip, 0.05, b);
}

void run(benchmark::State& state, std::vector<std::uint8_t> bytes, const Draw& draw)
{
    const Case c(std::move(bytes));
    ravik::RenderingBufferMemory buffer(size, size, 0xFF204060u);
    for (auto _ : state)
    {
        draw(c, buffer);
        benchmark::DoNotOptimize(buffer.get_pixels());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * size * size, benchmark::Counter::kIsRate);
}

void BM_OpaqueRows(benchmark::State& s)
{
    run(s, make_apic(0, 255), area_draw);
}
void BM_OpaquePalette(benchmark::State& s)
{
    run(s, make_paletted(), area_draw);
}
void BM_AlphaOpaquePixels(benchmark::State& s)
{
    run(s, make_apic(1, 255), area_draw);
}
void BM_AlphaTransparentPixels(benchmark::State& s)
{
    run(s, make_apic(1, 0), area_draw);
}
void BM_AlphaBlendedPixels(benchmark::State& s)
{
    run(s, make_apic(1, 128), area_draw);
}
void BM_WholePosition(benchmark::State& s)
{
    run(s, make_apic(1, 128), whole_position);
}
void BM_SubPixelPosition(benchmark::State& s)
{
    run(s, make_apic(1, 128), sub_pixel);
}
void BM_Turned(benchmark::State& s)
{
    run(s, make_apic(1, 128), turned);
}

// Seconds a draw takes, the best of a few rounds.
double seconds_per_draw(const Case& c, const Draw& draw)
{
    ravik::RenderingBufferMemory buffer(size, size, 0xFF204060u);
    double best = 1e9;
    for (int round = 0; round < 5; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 200; ++i)
        {
            draw(c, buffer);
            benchmark::DoNotOptimize(buffer.get_pixels());
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / 200.0);
    }
    return best;
}

void BM_Speedup(benchmark::State& state)
{
    const Case rows(make_apic(0, 255));
    const Case opaque(make_apic(1, 255));
    const Case clear(make_apic(1, 0));
    const Case blended(make_apic(1, 128));
    for (auto _ : state)
    {
        const double blend = seconds_per_draw(blended, area_draw);
        state.counters["rows_vs_blend"] = blend / seconds_per_draw(rows, area_draw);
        state.counters["opaque_vs_blend"] = blend / seconds_per_draw(opaque, area_draw);
        state.counters["transparent_vs_blend"] = blend / seconds_per_draw(clear, area_draw);
        state.counters["whole_vs_subpixel"] =
            seconds_per_draw(blended, sub_pixel) / seconds_per_draw(blended, whole_position);
    }
}

} // namespace

BENCHMARK(BM_OpaqueRows);
BENCHMARK(BM_OpaquePalette);
BENCHMARK(BM_AlphaOpaquePixels);
BENCHMARK(BM_AlphaTransparentPixels);
BENCHMARK(BM_AlphaBlendedPixels);
BENCHMARK(BM_WholePosition);
BENCHMARK(BM_SubPixelPosition);
BENCHMARK(BM_Turned);
BENCHMARK(BM_Speedup)->Iterations(1)->Unit(benchmark::kMillisecond);
