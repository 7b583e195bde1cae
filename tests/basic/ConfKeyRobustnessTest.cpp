#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "basic/ConfErr.hpp"
#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"

// Damaged or hostile setting files must never crash, hang or leak; the native debug build runs
// these under the sanitizers.

using namespace basic;

namespace
{

// Reads text and checks the code and that what came back clones and writes like any tree.
void read_and_check(const std::string& text)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    std::unique_ptr<ConfKeyInterface> key;
    try
    {
        key = factory.create_key_from_string(text);
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "basic::ConfKeyInterface::check_name_throw() : Invalid name.");
        return;
    }
    const int code = factory.get_last_error();
    ASSERT_TRUE(code == 0 || (code <= conf_err::tokens_left_over && code >= conf_err::lex_failed))
        << code << " for " << text;
    std::vector<std::string> tokens;
    const bool blank = ConfKeyFactory::lex_text(tokens, text) == 0 && tokens.empty();
    EXPECT_EQ(key == nullptr && code == 0, blank) << text;

    // Names read from "" are empty, and such a key refuses to be written.
    const auto write = [](const ConfKeyInterface& tree)
    {
        std::string text;
        try
        {
            tree.write_to_string(text);
        }
        catch (const std::runtime_error& e)
        {
            text = e.what();
        }
        return text;
    };
    if (key != nullptr)
    {
        EXPECT_EQ(write(*key), write(*key->clone()));
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

TEST(ConfKeyRobustness, RandomTreesSurviveAWriteAndReadRoundTrip)
{
    // Only texts that survive a round trip: not empty, and no quote, line feed, brace or '='.
    const std::vector<std::string> words = {
        "a", "b2", "x_y", "1.00", "-7", "c,d", "two words", "t\tu", "q(1);2", "\xC3\xA9t\xC3\xA9"};
    std::mt19937 rng(7);
    const auto pick = [&](int nbr) { return std::uniform_int_distribution<int>(0, nbr - 1)(rng); };
    const auto word = [&] { return words[static_cast<std::size_t>(pick(10))]; };
    const auto make_list = [&](int depth, const auto& self) -> ConfKeyContentMulti
    {
        ConfKeyContentMulti list;
        for (int i = 0, nbr = pick(11); i < nbr; ++i)
        {
            if (depth < 4 && pick(4) == 0)
            {
                list.add_content(self(depth + 1, self));
            }
            else
            {
                list.add_content(ConfKeyContentString(word()));
            }
        }
        return list;
    };

    for (int rep = 0; rep < 300; ++rep)
    {
        // set_data never leaves an empty block, which would come back as a leaf.
        ConfKeyMulti tree("root");
        for (int i = 0, nbr = 1 + pick(12); i < nbr; ++i)
        {
            std::string path = word();
            for (int depth = pick(4); depth > 0; --depth)
            {
                path += '/';
                path += word();
            }
            tree.set_data(path, word());
            if (pick(3) == 0)
            {
                dynamic_cast<ConfKeyData&>(tree.use_key(path)).set_content(make_list(0, make_list));
            }
        }
        std::string text;
        ASSERT_EQ(tree.write_to_string(text), 0);

        ConfKeyFactory& factory = ConfKeyFactory::use_instance();
        const std::unique_ptr<ConfKeyInterface> back = factory.create_key_from_string(text);
        ASSERT_EQ(factory.get_last_error(), 0) << text;
        std::string text_back;
        back->write_to_string(text_back);
        ASSERT_EQ(text_back, text);
    }
}

TEST(ConfKeyRobustness, RandomBytesAndEveryTruncationAreReadWithoutHarm)
{
    static const char alphabet[] = "ab1 =={{}}\"\"//\\\n\r\t\b\v,";
    std::mt19937 rng(20240517);
    std::uniform_int_distribution<int> length(0, 80);
    std::uniform_int_distribution<int> letter(0, sizeof(alphabet) - 2);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int rep = 0; rep < 3000; ++rep)
    {
        std::string text;
        for (int i = 0, nbr = length(rng); i < nbr; ++i)
        {
            text += (i % 7 == 6) ? static_cast<char>(byte(rng)) : alphabet[letter(rng)];
        }
        read_and_check(text);
    }

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
