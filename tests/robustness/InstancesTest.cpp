// Hosts scan and load plug-ins on several threads at once: 32 instances created, run, saved and
// restored, and destroyed on four threads together, the test effect in this process and as a
// module, and Morvane's module, side by side. Under the sanitizers this also shows that nothing
// leaks and nothing races between instances.
#include <atomic>
#include <gtest/gtest.h>
#include <latch>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "plux/vst2/EffectRig.hpp"

namespace
{

constexpr int nbr_threads = 4;
constexpr int instances_per_thread = 8;
constexpr int block = 256;

struct Tally
{
    std::atomic<int> loaded{0};
    std::atomic<int> load_failures{0};
    std::atomic<int> non_finite_blocks{0};
    std::atomic<int> refused_chunks{0};
    std::atomic<int> blocks{0};
};

// One thread of the host: builds its instances, runs them in turns, then closes them.
void run_instances(int thread_index, std::latch& start, Tally& tally)
{
    const auto sources = plux_test::all_sources();
    std::minstd_rand rng(static_cast<unsigned>(thread_index + 1));
    plux_test::NoiseRunner runner(static_cast<unsigned>(thread_index + 1), block);

    start.arrive_and_wait();
    std::vector<std::unique_ptr<vst2host::Host>> hosts;
    for (int i = 0; i < instances_per_thread; ++i)
    {
        auto host = std::make_unique<vst2host::Host>();
        const auto source =
            sources[static_cast<std::size_t>(thread_index * instances_per_thread + i) %
                    sources.size()];
        const bool ok = plux_test::load(*host, source);
        if (!ok || !host->start(44100.0f, block))
        {
            ++tally.load_failures;
            continue;
        }
        ++tally.loaded;
        hosts.push_back(std::move(host));
    }

    for (int round = 0; round < 20; ++round)
    {
        for (auto& host : hosts)
        {
            const int nbr_params = host->use_effect()->numParams;
            if (nbr_params > 0)
            {
                host->set_parameter(static_cast<int>(rng() % nbr_params),
                                    static_cast<float>(rng() % 101) / 100.0f);
            }
            ++tally.blocks;
            tally.non_finite_blocks += runner.process_in_place(*host, block) ? 0 : 1;
            if (round % 5 == 0)
            {
                const auto chunk = host->get_chunk(round % 10 == 0);
                if (chunk.empty() || host->set_chunk(chunk, round % 10 == 0) != 1)
                {
                    ++tally.refused_chunks;
                }
            }
        }
    }
    for (auto& host : hosts)
    {
        host->stop();
    }
}

TEST(RobustnessInstances, ThirtyTwoInstancesOnFourThreadsAtOnce)
{
    Tally tally;
    std::latch start(nbr_threads);
    std::vector<std::thread> threads;
    for (int t = 0; t < nbr_threads; ++t)
    {
        threads.emplace_back([&, t] { run_instances(t, start, tally); });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(tally.load_failures.load(), 0);
    EXPECT_EQ(tally.loaded.load(), nbr_threads * instances_per_thread);
    EXPECT_EQ(tally.blocks.load(), tally.loaded.load() * 20);
    EXPECT_EQ(tally.non_finite_blocks.load(), 0) << "every instance's audio stays finite";
    EXPECT_EQ(tally.refused_chunks.load(), 0) << "every instance takes back its own state";
}

} // namespace
