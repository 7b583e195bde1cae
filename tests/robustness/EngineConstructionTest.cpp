// Hosts build instances on several threads at once, so engines are constructed at the same moment:
// the distortion table that every engine shares is built exactly once, completely, whichever
// thread gets there first. ThreadSanitizer (native-tsan) checks the construction itself.
#include <atomic>
#include <gtest/gtest.h>
#include <latch>
#include <memory>
#include <thread>
#include <vector>

#include "effect/dsp/DistortionTable.hpp"
#include "effect/dsp/VantrelDsp.hpp"

namespace
{

TEST(RobustnessEngines, ConstructedAtTheSameMomentShareOneCompleteTable)
{
    constexpr int nbr_threads = 8;
    std::latch start(nbr_threads);
    std::vector<const DistortionTable*> tables(nbr_threads, nullptr);
    std::vector<float> ends(nbr_threads, 0.0f);
    std::atomic<int> built{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < nbr_threads; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                start.arrive_and_wait();
                auto engine = std::make_unique<VantrelDsp>();
                const DistortionTable& table = DistortionTable::get();
                tables[static_cast<std::size_t>(t)] = &table;
                ends[static_cast<std::size_t>(t)] = table.get_high_end();
                ++built;
            });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    ASSERT_EQ(built.load(), nbr_threads);
    const float high_end = static_cast<float>(DistortionTable::shape_ref(32.0));
    for (int t = 0; t < nbr_threads; ++t)
    {
        EXPECT_EQ(tables[static_cast<std::size_t>(t)], &DistortionTable::get())
            << "thread " << t << " sees the one table";
        EXPECT_EQ(ends[static_cast<std::size_t>(t)], high_end)
            << "thread " << t << " sees it complete";
    }
}

} // namespace
