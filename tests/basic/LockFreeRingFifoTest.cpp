#include "basic/LockFreeRingFifo.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

using basic::LockFreeRingFifo;

namespace
{

struct Item
{
    std::int32_t seq;
    std::int32_t check; // a function of seq, so that a torn copy shows
};

Item make_item(std::int32_t seq)
{
    return {seq, seq * 7 + 3};
}

} // namespace

class LockFreeRingFifoSize : public testing::TestWithParam<int>
{
};

TEST_P(LockFreeRingFifoSize, KeepsTheFirstValuesWhenWrittenPastItsCapacity)
{
    const int nbr_slots = GetParam();
    LockFreeRingFifo<Item> fifo(nbr_slots);
    EXPECT_EQ(fifo.get_capacity(), nbr_slots - 1) << "one slot always stays free";

    int accepted = 0;
    for (int seq = 0; seq < nbr_slots; ++seq)
    {
        accepted += fifo.write(make_item(seq)) ? 1 : 0;
    }
    EXPECT_EQ(accepted, nbr_slots - 1) << "the write that would fill the last slot is refused";

    Item item{};
    for (int seq = 0; seq < nbr_slots - 1; ++seq)
    {
        ASSERT_TRUE(fifo.read(item)) << "value " << seq << " was kept";
        EXPECT_EQ(item.seq, seq) << "values come out in the order they went in";
    }
    EXPECT_FALSE(fifo.read(item)) << "the refused value never arrives";
    EXPECT_TRUE(fifo.is_empty());
}

// 4000 is the system MIDI input's size: 4000 events between two blocks keep the first 3999.
INSTANTIATE_TEST_SUITE_P(Sizes, LockFreeRingFifoSize, testing::Values(2, 3, 17, 4000));

TEST(LockFreeRingFifo, WrapsAroundInOrderAndDiscardDropsWhatIsQueued)
{
    LockFreeRingFifo<Item> fifo(5);
    Item item{};
    int next_in = 0;
    int next_out = 0;
    // Uneven bursts move the indices across the end of the ring many times.
    for (int round = 0; round < 50; ++round)
    {
        for (int i = 0; i < round % 4 + 1; ++i)
        {
            next_in += fifo.write(make_item(next_in)) ? 1 : 0;
        }
        for (int i = 0; i < round % 3 + 1 && fifo.read(item); ++i)
        {
            EXPECT_EQ(item.seq, next_out++) << "round " << round;
        }
    }
    EXPECT_GT(next_in - next_out, 0) << "values are left to discard";
    fifo.discard();
    EXPECT_FALSE(fifo.read(item)) << "nothing is left after discard";
    EXPECT_TRUE(fifo.write(make_item(99)));
    ASSERT_TRUE(fifo.read(item));
    EXPECT_EQ(item.seq, 99) << "the ring works on after discard";
}

TEST(LockFreeRingFifo, RefusesFewerThanTwoSlots)
{
    EXPECT_THROW(LockFreeRingFifo<Item>(1), std::invalid_argument);
}

// One writer and one reader at full speed: every value arrives exactly once, in order and
// whole. Run under the thread sanitizer, this also shows that the slots are handed over safely.
TEST(LockFreeRingFifo, OneWriterOneReaderLoseNothing)
{
    constexpr int nbr_values = 200000;
    LockFreeRingFifo<Item> fifo(64);
    std::thread writer(
        [&]
        {
            for (int seq = 0; seq < nbr_values;)
            {
                if (fifo.write(make_item(seq)))
                {
                    ++seq;
                }
                else
                {
                    std::this_thread::yield();
                }
            }
        });
    int expected = 0;
    int errors = 0;
    Item item{};
    while (expected < nbr_values)
    {
        if (!fifo.read(item))
        {
            std::this_thread::yield();
            continue;
        }
        errors += item.seq != expected || item.check != make_item(expected).check ? 1 : 0;
        ++expected;
    }
    writer.join();
    EXPECT_EQ(errors, 0) << "values arrive whole and in order";
    EXPECT_FALSE(fifo.read(item)) << "nothing arrives twice";
}
