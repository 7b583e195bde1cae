#include "plux/param/ParamReorder.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "plux/vst2/TestEffect.hpp"

namespace
{

class ParamReorderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dsp.init();
        reorder.init(dsp);
    }

    // Loads a root holding "parameter_reorder_map = { entries }".
    void load(const std::string& entries)
    {
        auto key = basic::ConfKeyFactory::use_instance().create_key_from_string(
            "root = { parameter_reorder_map = { " + entries + " } other = 1 }");
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(reorder.load_settings(dynamic_cast<basic::ConfKeyMulti&>(*key)), 0);
    }

    std::vector<int> forward() const
    {
        std::vector<int> map;
        for (int i = 0; i < reorder.get_count(); ++i)
        {
            map.push_back(reorder.to_dsp(i));
        }
        return map;
    }

    void expect_consistent() const
    {
        for (int i = 0; i < reorder.get_count(); ++i)
        {
            EXPECT_EQ(reorder.to_host(reorder.to_dsp(i)), i) << "the maps are inverse at " << i;
        }
    }

    plux_test::TestDsp dsp;
    plux::ParamReorder reorder;
};

} // namespace

TEST_F(ParamReorderTest, WritesOneTextPerHostPositionWithIndexAndName)
{
    load("3_a 2_b 1_c 0_d");
    basic::ConfKeyMulti root("root");
    ASSERT_EQ(reorder.save_settings(root), 0);
    std::string text;
    root.write_to_string(text);
    EXPECT_EQ(text, "root =\n{\n   parameter_reorder_map = {\n      3_Gain\n      2_Routing\n"
                    "      1_Bands\n      0_Cutoff\n      4_Spread\n      5_Delay\n      6_Mix\n"
                    "      \"7_Very Long Parameter Name\"\n   }\n}");
}

TEST_F(ParamReorderTest, AStoredOrderIsReadBackAndMalformedEntriesTakeFreeIndices)
{
    EXPECT_EQ(forward(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})) << "the identity at start";
    EXPECT_EQ(reorder.to_dsp(-1), -1) << "indices outside pass through";
    EXPECT_EQ(reorder.to_dsp(8), 8);
    EXPECT_EQ(reorder.to_host(100), 100);
    load("7_x 6 5 4 3 2 1 0");
    EXPECT_EQ(forward(), (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(reorder.to_host(7), 0);
    expect_consistent();

    // Position 1 repeats 3, position 2 is out of range, position 3 has no digits. Positions and
    // indices that are both free keep each other (1, 5, 6, 7); positions 2 and 3 then take the
    // lowest free indices, 0 and 4.
    load("3_a 3_b 9_c x_d 2");
    EXPECT_EQ(forward(), (std::vector<int>{3, 1, 0, 4, 2, 5, 6, 7}));
    expect_consistent();

    // Nested lists are not indices; strtol reads "-0" as 0 and "+2" as 2: digits with a sign,
    // which a user may type.
    load("{ 1 } -0 +2_x");
    EXPECT_EQ(forward(), (std::vector<int>{1, 0, 2, 3, 4, 5, 6, 7}));
    expect_consistent();
}

TEST_F(ParamReorderTest, AnEmptyOrMissingListLeavesTheOrder)
{
    load("1 0");
    load("");
    EXPECT_EQ(forward(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}))
        << "an empty list is the identity";

    load("1 0");
    basic::ConfKeyMulti root("root");
    root.set_data("parameter_reorder_map", "not a list");
    ASSERT_EQ(reorder.load_settings(root), 0);
    EXPECT_EQ(reorder.to_dsp(0), 1) << "a leaf that is not a list changes nothing";
    ASSERT_EQ(reorder.load_settings(basic::ConfKeyMulti("root")), 0);
    EXPECT_EQ(reorder.to_dsp(0), 1) << "a missing key changes nothing";
}
