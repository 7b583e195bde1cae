#include "basic/LockFreeBuffer.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <future>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

using basic::LockFreeBuffer;

namespace
{

// A stand-in for a bank: every field carries the generation that wrote it, so a value that
// mixes two writes shows at once. The fields live in the object itself, so that a write into a
// half takes time and overlaps any read of that half.
struct Stamped
{
    explicit Stamped(std::uint32_t gen = 0) { fields.fill(gen); }
    bool is_whole() const
    {
        return std::all_of(fields.begin(), fields.end(), [&](auto f) { return f == fields[0]; });
    }
    std::uint32_t gen() const { return fields[0]; }

    std::array<std::uint32_t, 1024> fields;
};

// The generation that the reader's check hands over, or -1 when nothing new came.
long long check_new(LockFreeBuffer<Stamped>& buffer)
{
    long long seen = -1;
    const bool arrived = buffer.read_check([&](const Stamped& value) { seen = value.gen(); });
    EXPECT_EQ(arrived, seen >= 0) << "the answer tells whether the callback ran";
    EXPECT_TRUE(!arrived || buffer.use_read().gen() == seen) << "the callback saw the new half";
    return seen;
}

} // namespace

TEST(LockFreeBuffer, TheReaderTakesTheLastWriteOnceAndWhole)
{
    LockFreeBuffer<Stamped> buffer(Stamped(7));
    EXPECT_EQ(check_new(buffer), 7) << "the indices start apart: the first block takes the value";
    EXPECT_EQ(check_new(buffer), -1);

    // The reader holds half 0, so the writer moves to half 1.
    buffer.write(Stamped(1));
    EXPECT_EQ(buffer.get_write_index(), 1);
    EXPECT_EQ(buffer.use_read().gen(), 7u) << "the reader's half is untouched until it flips";
    EXPECT_EQ(check_new(buffer), 1);

    buffer.write(Stamped(2));
    buffer.write(Stamped(3));
    EXPECT_EQ(buffer.get_write_index(), 0) << "two writes before the reader land in one half";
    EXPECT_EQ(buffer.use_half(1).gen(), 1u) << "the reader's half";
    EXPECT_EQ(check_new(buffer), 3) << "the reader gets the second value only";
    EXPECT_EQ(check_new(buffer), -1);
}

namespace
{

// Its move assignment, which fills a half, can be held up to stand for a slow copy of a bank.
struct Gated
{
    int gen = 0;
    Gated() = default;
    explicit Gated(int g)
        : gen(g)
    {
    }
    Gated(const Gated& other)
        : gen(other.gen)
    {
        if (throw_on_copy)
        {
            throw std::runtime_error("copy refused");
        }
    }
    Gated& operator=(Gated&& other) noexcept
    {
        gen = other.gen;
        if (entered != nullptr)
        {
            entered->set_value();
            release->wait();
        }
        return *this;
    }

    static inline bool throw_on_copy = false;
    static inline std::promise<void>* entered = nullptr;
    static inline std::shared_future<void>* release = nullptr;
};

} // namespace

// A write that is still filling its half, or whose copy threw, never reaches the reader; the
// reader neither waits for the first nor loses the next.
TEST(LockFreeBuffer, ReaderNeverTakesAHalfThatIsBeingFilledOrFailed)
{
    LockFreeBuffer<Gated> buffer(Gated(0));
    buffer.read_check([](const Gated&) {});
    int seen = -1;
    const auto take = [&]
    { return buffer.read_check([&](const Gated& value) { seen = value.gen; }); };

    Gated::throw_on_copy = true;
    EXPECT_THROW(buffer.write(Gated(4)), std::runtime_error);
    Gated::throw_on_copy = false;
    EXPECT_EQ(buffer.get_write_index(), buffer.get_read_index()) << "no half was handed over";
    EXPECT_FALSE(take());

    std::promise<void> entered;
    std::promise<void> release_promise;
    std::shared_future<void> release = release_promise.get_future().share();
    Gated::entered = &entered;
    Gated::release = &release;
    std::thread writer([&] { buffer.write(Gated(5)); });
    entered.get_future().wait();
    EXPECT_FALSE(take()) << "the writer is inside its copy";
    EXPECT_EQ(seen, -1) << "and nothing was handed over";
    EXPECT_EQ(buffer.get_read_index(), 0);
    Gated::entered = nullptr;
    release_promise.set_value();
    writer.join();
    Gated::release = nullptr;
    EXPECT_TRUE(take());
    EXPECT_EQ(seen, 5) << "the next block takes the finished value";
}

class LockFreeBufferStress : public testing::TestWithParam<int>
{
};

// Writers hand over stamped values while the reader checks, at every block, that the half it owns
// is whole. With a single writer the generations must also arrive in order, the last one included.
TEST_P(LockFreeBufferStress, ReaderNeverSeesATornValue)
{
    const int nbr_writers = GetParam();
    constexpr std::uint32_t writes_each = 20000;
    LockFreeBuffer<Stamped> buffer(Stamped(0));
    std::atomic<int> writers_left{nbr_writers};
    bool torn = false;
    bool out_of_order = false;

    std::thread reader(
        [&]
        {
            std::uint32_t last = 0;
            const auto check = [&](const Stamped& value)
            {
                torn = torn || !value.is_whole();
                out_of_order = out_of_order || (nbr_writers == 1 && value.gen() < last);
                last = value.gen();
            };
            // One more round once the writers are done, for the last write.
            for (bool more = true; more;)
            {
                more = writers_left.load() > 0;
                buffer.read_check(check);
                check(buffer.use_read());
            }
        });

    std::vector<std::thread> writers;
    for (int w = 0; w < nbr_writers; ++w)
    {
        writers.emplace_back(
            [&, w]
            {
                for (std::uint32_t i = 1; i <= writes_each; ++i)
                {
                    buffer.write(Stamped(i * static_cast<std::uint32_t>(nbr_writers) +
                                         static_cast<std::uint32_t>(w)));
                }
                --writers_left;
            });
    }
    for (auto& writer : writers)
    {
        writer.join();
    }
    reader.join();

    EXPECT_FALSE(torn) << "the reader's half was never written while it was read";
    EXPECT_FALSE(out_of_order) << "one writer's values arrive in the order written";
    if (nbr_writers == 1)
    {
        EXPECT_EQ(buffer.use_read().gen(), writes_each) << "the last write reaches the reader";
    }
    EXPECT_TRUE(buffer.use_read().is_whole());
}

INSTANTIATE_TEST_SUITE_P(Writers, LockFreeBufferStress, testing::Values(1, 2));
