// Replaces the global allocation functions of this test program to count every allocation.
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <vector>

#include "effect/EngineRig.hpp"

namespace
{

std::atomic<long> allocations{0};

void* counted(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
    {
        return p;
    }
    throw std::bad_alloc();
}

// The engine's own types are over-aligned for the vector kernels: their allocations take these.
void* counted_aligned(std::size_t size, std::align_val_t align)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    const auto a = static_cast<std::size_t>(align);
    const std::size_t rounded = (size + a - 1) / a * a;
#ifdef _WIN32
    void* p = _aligned_malloc(rounded == 0 ? a : rounded, a);
#else
    void* p = std::aligned_alloc(a, rounded == 0 ? a : rounded);
#endif
    if (p != nullptr)
    {
        return p;
    }
    throw std::bad_alloc();
}

void free_aligned(void* p) noexcept
{
#ifdef _WIN32
    _aligned_free(p);
#else
    std::free(p);
#endif
}

struct alignas(64) Wide
{
    float lanes[16];
};

} // namespace

// The array forms of the standard library call these.
void* operator new(std::size_t size)
{
    return counted(size);
}

void* operator new(std::size_t size, std::align_val_t align)
{
    return counted_aligned(size, align);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept
{
    free_aligned(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    free_aligned(p);
}

TEST(VantrelDspAllocation, AudioThreadWorkAllocatesNothing)
{
    EngineRig rig(48000.0f);
    std::vector<float> l = sine(300.0, 48000.0, 4096);
    std::vector<float> r = sine(500.0, 48000.0, 4096);
    std::vector<float> out_l(4096);
    std::vector<float> out_r(4096);
    float* ins[2] = {l.data(), r.data()};
    float* outs[2] = {out_l.data(), out_r.data()};

    const long before = allocations.load();
    for (int round = 0; round < 40; ++round)
    {
        // Every parameter, from any thread in real life: a store and a notification.
        for (int i = 0; i < rig.dsp->get_nbr_param(); ++i)
        {
            rig.dsp->use_param(i).set_nrm_and_notify(static_cast<float>((round * 7 + i) % 10) /
                                                     9.0f);
        }
        rig.host.right_in = round % 3 != 0;
        rig.host.right_out = round % 4 != 0;
        const int n = 1 + (round * 97) % 1024;
        rig.dsp->process(outs, ins, n, 0);
        rig.dsp->process_adding(outs, ins, n, 0);
        rig.dsp->process(outs, outs, n, 0);
    }
    rig.dsp->clear_buffers();
    rig.dsp->process(outs, ins, 4096, 0);
    EXPECT_EQ(allocations.load() - before, 0);
    // The engine's own allocations are over-aligned: a counter blind to them would see nothing.
    auto wide = std::make_unique<Wide>();
    EXPECT_EQ(allocations.load() - before, 1);
}
