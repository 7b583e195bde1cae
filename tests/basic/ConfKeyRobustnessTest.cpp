#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "basic/ConfErr.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"

// Damaged setting files must never crash, hang or leak; the native debug build runs these under
// the sanitizers.

using namespace basic;

namespace
{

// Reads text and checks that the code is one of the reader's, that nothing comes back without an
// error only for a blank text, and that what came back clones and writes like any tree.
void read_and_check(const std::string& text)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    const std::unique_ptr<ConfKeyInterface> key = factory.create_key_from_string(text);
    const int code = factory.get_last_error();
    ASSERT_TRUE(code == 0 || (code <= conf_err::tokens_left_over && code >= conf_err::lex_failed))
        << code << " for " << text;
    std::vector<std::string> tokens;
    const bool blank = ConfKeyFactory::lex_text(tokens, text) == 0 && tokens.empty();
    EXPECT_EQ(key == nullptr && code == 0, blank) << text;
    if (key != nullptr)
    {
        std::string written;
        std::string cloned;
        key->write_to_string(written);
        key->clone()->write_to_string(cloned);
        EXPECT_EQ(written, cloned) << text;
    }
}

std::string repeat(const std::string& str, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i)
    {
        result += str;
    }
    return result;
}

} // namespace

// Hostile files at large are the fuzzer's; here every cut of a valid file.
TEST(ConfKeyRobustness, EveryTruncationIsReadWithoutHarm)
{
    const std::string valid = "root =\n{\n   \"a b\" = { 1 { 2 3 } \"x y\" }\t// note\n"
                              "   block =\n   {\n      inner = 3\n   }\n   e = { }\n}";
    for (std::size_t len = 0; len <= valid.size(); ++len)
    {
        read_and_check(valid.substr(0, len));
    }
    EXPECT_EQ(ConfKeyFactory::use_instance().get_last_error(), 0);
}

TEST(ConfKeyRobustness, NestingIsAcceptedUpToTheLimitAndCutShortBeyond)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    const int limit = ConfKeyFactory::max_depth;
    const auto blocks = [](int nbr, const std::string& leaf)
    { return repeat("a = { ", nbr) + leaf + repeat(" }", nbr); };

    EXPECT_NE(factory.create_key_from_string(blocks(limit, "b = 1")), nullptr);
    EXPECT_EQ(factory.get_last_error(), 0);
    const std::unique_ptr<ConfKeyInterface> cut =
        factory.create_key_from_string(blocks(limit + 1, "b = 1"));
    EXPECT_EQ(factory.get_last_error(), conf_err::block_cut_short);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(dynamic_cast<ConfKeyMulti&>(*cut).get_nbr_keys(), 0);

    // The list of a leaf counts at the level of the leaf.
    factory.create_key_from_string(blocks(limit - 1, "b = { x }"));
    EXPECT_EQ(factory.get_last_error(), 0);
    factory.create_key_from_string(blocks(limit - 1, "b = { { x } }"));
    EXPECT_EQ(factory.get_last_error(), conf_err::list_cut_short);
}

TEST(ConfKeyRobustness, HugeNestingEndsTheReadInsteadOfTheStack)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    const int huge = 100000;

    read_and_check(repeat("{", huge));
    EXPECT_EQ(factory.get_last_error(), conf_err::tokens_left_over);
    read_and_check(repeat("}", huge));
    EXPECT_EQ(factory.get_last_error(), conf_err::lex_failed);
    read_and_check(repeat("a = { ", huge));
    EXPECT_EQ(factory.get_last_error(), conf_err::block_cut_short);
    read_and_check("a = " + repeat("{ ", huge) + repeat("} ", huge));
    EXPECT_EQ(factory.get_last_error(), conf_err::list_cut_short);
    read_and_check(repeat("a = { b = 1 ", huge));
    EXPECT_EQ(factory.get_last_error(), conf_err::block_cut_short);
}
