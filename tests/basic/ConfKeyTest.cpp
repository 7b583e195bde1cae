#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"

using namespace basic;
using testing::ElementsAre;
using testing::ThrowsMessage;

namespace
{

std::vector<std::string> child_names(const ConfKeyInterface& key)
{
    const auto& multi = dynamic_cast<const ConfKeyMulti&>(key);
    std::vector<std::string> names;
    for (int i = 0; i < multi.get_nbr_keys(); ++i)
    {
        names.push_back(multi.use_key_at(i).get_name());
    }
    return names;
}

const auto invalid_name = ThrowsMessage<std::runtime_error>(
    "basic::ConfKeyInterface::check_name_throw() : Invalid name.");
const auto invalid_path = ThrowsMessage<std::runtime_error>(
    "basic::ConfKeyMulti::split_key_path_first() : Invalid key path.");

} // namespace

TEST(ConfKeyNames, OnlyPathSeparatorsAreRefusedAndARefusedNameChangesNothing)
{
    EXPECT_THAT([] { ConfKeyMulti("a/b"); }, invalid_name);
    EXPECT_THAT([] { ConfKeyData("a\\b", "1"); }, invalid_name);
    ConfKeyData key("good");
    EXPECT_THAT([&] { key.set_name("x/y"); }, invalid_name);
    EXPECT_EQ(key.get_name(), "good");
    EXPECT_TRUE(ConfKeyInterface::is_valid_name(""));
    EXPECT_TRUE(ConfKeyInterface::is_valid_name("odd = { \"name\" }"));

    EXPECT_EQ(ConfKeyInterface::conv_to_valid_name("My Plug-in 2"), "My_Plug_in_2");
    EXPECT_EQ(ConfKeyInterface::conv_to_valid_name("a/b\\c\xE9z"), "a_b_c_z");
    key.set_comment("first\nsecond\n");
    EXPECT_EQ(key.get_comment(), "first second ");
}

TEST(ConfKeyPaths, SplitCutsAtTheFirstSeparatorOfEitherKind)
{
    std::string first;
    std::string rest;
    ConfKeyMulti::split_key_path_first(first, rest, "a\\b/c");
    EXPECT_EQ(first + "|" + rest, "a|b/c");
    ConfKeyMulti::split_key_path_first(first, rest, "a/");
    EXPECT_EQ(first + "|" + rest, "a|");
    EXPECT_THAT([&] { ConfKeyMulti::split_key_path_first(first, rest, ""); }, invalid_path);
    EXPECT_THAT([&] { ConfKeyMulti::split_key_path_first(first, rest, "\\a"); }, invalid_path);
}

TEST(ConfKeyPaths, FindKeyWalksBlocksOnlyAndUseKeyThrowsWhenMissing)
{
    ConfKeyMulti root("root");
    root.set_data("a/b", "1");
    root.set_data("leaf", "2");

    EXPECT_EQ(root.find_key("a\\b"), root.find_key("a/b"));
    ASSERT_NE(root.find_key("a/b/"), nullptr);
    EXPECT_EQ(root.find_key("a/b")->get_name(), "b");
    EXPECT_EQ(root.find_key("a/c"), nullptr);
    EXPECT_FALSE(root.is_existing_key("leaf/b"));
    EXPECT_THAT(
        [&] { root.use_key("leaf/b"); },
        ThrowsMessage<std::runtime_error>("basic::ConfKeyMulti::use_key() : Key doesn't exist."));
    EXPECT_THAT([&] { root.find_key("/a"); }, invalid_path);
    EXPECT_THAT([&] { root.is_existing_key(""); }, invalid_path);
}

TEST(ConfKeyMultiChildren, LookupsTakeTheFirstMatchOfTheRequestedKind)
{
    ConfKeyMulti root;
    root.add_key(ConfKeyData("k", "0"));
    root.add_key(ConfKeyMulti("k"));
    root.add_key(ConfKeyData("k", "2"));
    root.add_key(ConfKeyData("K", "3"));

    EXPECT_EQ(root.find_index("k"), 0);
    EXPECT_EQ(root.find_index("k", 1), 1);
    EXPECT_EQ(root.find_index("k", -5), 0);
    EXPECT_EQ(root.find_index("k", 3), -1);
    EXPECT_EQ(root.find_index_multi("k"), 1);
    EXPECT_EQ(root.find_index_multi("k", 2), -1);
    EXPECT_EQ(root.find_index_data("k", 1), 2);
    EXPECT_EQ(root.find_index_throw("K"), 3);
    EXPECT_THAT([&] { root.find_index_throw("x"); },
                ThrowsMessage<std::runtime_error>(
                    "basic::ConfKeyMulti::find_index_throw() : Key not found."));
    EXPECT_THAT([&] { root.use_key_at(4); },
                ThrowsMessage<std::out_of_range>(
                    "basic::ConfKeyMulti::use_key_at() : Index out of range."));
    EXPECT_THROW(ConfKeyContentMulti().use_elt(-1), std::out_of_range);
    EXPECT_THROW(root.add_key(std::unique_ptr<ConfKeyInterface>()), std::invalid_argument);
}

TEST(ConfKeyMultiChildren, AddAppendsDuplicatesAndSetReplacesTheFirstInPlace)
{
    ConfKeyMulti root;
    root.add_key(ConfKeyData("a", "1"));
    root.add_key(ConfKeyData("b", "2"));
    root.add_key(ConfKeyData("a", "3"));
    root.set_key(ConfKeyMulti("a"));
    root.set_key(ConfKeyData("c", "4"));

    EXPECT_THAT(child_names(root), ElementsAre("a", "b", "a", "c"));
    EXPECT_NE(dynamic_cast<const ConfKeyMulti*>(&root.use_key_at(0)), nullptr);
    EXPECT_EQ(root.get_data_string("a"), "");
    root.clear();
    EXPECT_EQ(root.get_nbr_keys(), 0);
}

TEST(ConfKeySetData, CreatesBlocksOnTheWayAndReplacesTheLeafInPlace)
{
    ConfKeyMulti root("root");
    root.set_data("x/y/z", "3");
    root.set_data("w", "0");
    root.set_data("x/y/z", "4");
    EXPECT_THAT(child_names(root), ElementsAre("x", "w"));
    EXPECT_THAT(child_names(root.use_key("x/y")), ElementsAre("z"));
    EXPECT_EQ(root.get_data_string("x/y/z"), "4");

    root.set_data("w/v", "1");
    EXPECT_THAT(child_names(root), ElementsAre("x", "w"));
    EXPECT_EQ(root.get_data_string("w/v"), "1");

    EXPECT_THAT([&] { root.set_data("n/m//z", "1"); }, invalid_path);
    EXPECT_FALSE(root.is_existing_key("n"));

    // The data string is empty unless a string leaf is there.
    root.add_key(ConfKeyData("list", ConfKeyContentMulti()));
    EXPECT_EQ(root.get_data_string("x/y"), "");
    EXPECT_EQ(root.get_data_string("list"), "");
    EXPECT_EQ(root.get_data_string("missing"), "");
}

TEST(ConfKeyCopies, CopiesAreDeepAndIndependent)
{
    ConfKeyMulti root("root");
    root.set_data("a/b", "1");
    root.set_comment("note");
    ConfKeyMulti copy(root);
    std::unique_ptr<ConfKeyInterface> clone = root.clone();
    root.set_data("a/b", "changed");

    EXPECT_EQ(copy.get_data_string("a/b"), "1");
    EXPECT_EQ(copy.get_comment(), "note");
    EXPECT_EQ(dynamic_cast<ConfKeyMulti&>(*clone).get_data_string("a/b"), "1");

    ConfKeyData leaf("leaf", "x");
    ConfKeyData leaf_copy(leaf);
    dynamic_cast<ConfKeyContentString*>(leaf.get_content())->set_str("y");
    EXPECT_EQ(dynamic_cast<const ConfKeyContentString*>(leaf_copy.get_content())->get_str(), "x");
}

TEST(ConfKeyCopies, StoringAKeyOrContentIntoItsOwnTreeIsSafe)
{
    ConfKeyMulti root("root");
    root.set_data("a/b", "1");

    // Each source lies inside the object that changes.
    root.set_key(root.use_key("a"));
    root = dynamic_cast<const ConfKeyMulti&>(root.use_key("a"));
    EXPECT_EQ(root.get_name(), "a");
    EXPECT_EQ(root.get_data_string("b"), "1");
    root.add_key(root);
    EXPECT_EQ(root.get_data_string("a/b"), "1");

    ConfKeyData leaf("leaf", "v");
    leaf.set_content(*leaf.get_content());
    EXPECT_EQ(dynamic_cast<const ConfKeyContentString*>(leaf.get_content())->get_str(), "v");
}
