#include "plux/midi/MidiMapStore.hpp"

#include <gtest/gtest.h>

using plux::MidiCtrlMap;
using plux::MidiMapStore;

namespace
{

int param_of(const MidiMapStore& store, int ctrl_id)
{
    return store.read([ctrl_id](const MidiCtrlMap& map) { return map.find_param(ctrl_id); });
}

} // namespace

// The audio thread binds into spare tables; once they are used up further bindings wait for the
// next recycling instead of allocating.
TEST(MidiMapStore, AudioThreadBindingsUseTheSparesUntilRecycled)
{
    MidiMapStore store;
    for (int i = 0; i < MidiMapStore::nbr_spares; ++i)
    {
        EXPECT_TRUE(store.bind_rt(i, (20 + i) << 16)) << "binding " << i;
    }
    EXPECT_TRUE(store.bind_rt(0, 20 << 16)) << "a binding already in place needs no spare";
    EXPECT_FALSE(store.bind_rt(9, 30 << 16)) << "no spare left";
    EXPECT_EQ(param_of(store, 30 << 16), -1);
    store.recycle();
    EXPECT_TRUE(store.bind_rt(9, 30 << 16));
    EXPECT_EQ(param_of(store, 30 << 16), 9);
    EXPECT_EQ(param_of(store, 23 << 16), 3) << "earlier bindings stay";
}

TEST(MidiMapStore, SparesGrowWithTheTable)
{
    MidiMapStore store;
    store.modify(500,
                 [](MidiCtrlMap& map)
                 {
                     for (int param = 0; param < 500; ++param)
                     {
                         map.bind(param, (99 << 16) + param);
                     }
                 });
    EXPECT_TRUE(store.bind_rt(600, 7 << 16)) << "the spare holds the larger table";
    EXPECT_EQ(param_of(store, 7 << 16), 600);
    EXPECT_EQ(param_of(store, (99 << 16) + 499), 499);
}
