#include "basic/ConfKeyFactory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "basic/ConfErr.hpp"

using namespace basic;

namespace
{

// The code of the read and the key written back, "(null)" when there is none.
std::pair<int, std::string> read(const std::string& text)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    const std::unique_ptr<ConfKeyInterface> key = factory.create_key_from_string(text);
    const int code = factory.get_last_error();
    std::string written = key == nullptr ? "(null)" : "";
    if (key != nullptr)
    {
        key->write_to_string(written);
    }
    return {code, written};
}

} // namespace

TEST(ConfKeyLexer, SpacesOutOperatorsDropsCommentsAndQuotesMakeOneToken)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> tokens;
        int code;
    };
    const Case cases[] = {{"a={b=1}// c = 2\r\nd=\"e // f\"\r\n",
                           {"a", "=", "{", "b", "=", "1", "}", "d", "=", "e // f"},
                           0},
                          {"x,y\b\vz\f", {"x,y", "z\f"}, 0},
                          {"", {}, 0},
                          {"x\"y z\"w \"\" \"a={\t}\"", {"x", "y z", "w", "", "a={\t}"}, 0},
                          {"{\n{\n}", {"{", "{", "}"}, 0},
                          {"{\n}\n}", {"{", "}"}, conf_err::unbalanced_brace},
                          {"} {", {}, conf_err::unbalanced_brace},
                          // Quotes are closed by the end of each line, even inside an open brace.
                          {"a = {\n \"x\nb\" }", {"a", "=", "{"}, conf_err::unterminated_quote}};
    for (const Case& c : cases)
    {
        std::vector<std::string> tokens{"stale"};
        EXPECT_EQ(ConfKeyFactory::lex_text(tokens, c.text), c.code) << c.text;
        if (c.code != conf_err::unbalanced_brace)
        {
            EXPECT_EQ(tokens, c.tokens) << c.text;
        }
    }
}

namespace
{

struct ReadCase
{
    const char* text;
    int code;
    const char* written;

    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

const std::vector<ReadCase> read_cases = {
    {"r = { a = { } b = { c = 1 } l = { 1 { 2 \"\" } { } } }", 0,
     "r =\n{\n   a = { }\n   b =\n   {\n      c = 1\n   }\n   l = { 1 { 2  } { } }\n}"},
    {"\"my key\" = \"my value\"", 0, "\"my key\" = \"my value\""},
    {"v = \"x,y\"", 0, "v = \"x,y\""},
    {"v = x//y", 0, "v = x"},
    {"", 0, "(null)"},
    {"  // nothing\n", 0, "(null)"},
    {"a = { b = 1 } }", conf_err::lex_failed, "(null)"},
    {"a = \"open", conf_err::lex_failed, "(null)"},
    {"a = { b = 1 } junk", conf_err::tokens_left_over, "a =\n{\n   b = 1\n}"},
    {"junk", conf_err::tokens_left_over, "(null)"},
    {"a =", conf_err::tokens_left_over, "(null)"},
    {"= = x", conf_err::tokens_left_over, "(null)"},
    {"v = a=b", conf_err::tokens_left_over, "v = a"},
    {"v = \nw = 1", conf_err::tokens_left_over, "v = w"},
    {"a = { b = 1 c = }", conf_err::block_cut_short, "a =\n{\n   b = 1\n}"},
    {"a = { b = 1 c }", conf_err::block_cut_short, "a =\n{\n   b = 1\n}"},
    // A child needs 4 tokens: its own 3 and a closing brace at least.
    {"a = { b = 1", conf_err::block_cut_short, "a =\n{\n}"},
    {"a = { b = { c = 1", conf_err::block_cut_short, "a =\n{\n}"},
    {"a = { b = { c = 1 }", conf_err::block_cut_short,
     "a =\n{\n   b =\n   {\n      c = 1\n   }\n}"},
    {"a = = b", conf_err::tokens_left_over, "(null)"},
    {"v = x/", 0, "v = x/"},
    {"a = {", conf_err::leaf_without_value, "a = "},
    {"a = { x", conf_err::list_cut_short, "a = "},
    {"a = { { x }", conf_err::list_cut_short, "a = "},
    {"a = { x { y", conf_err::list_cut_short, "a = "}};

class ConfKeyFactoryRead : public testing::TestWithParam<ReadCase>
{
};

} // namespace

// What cannot be read is reported; what was complete is kept. A leaf with an empty list stays a
// leaf, and some values do not survive a round trip.
TEST_P(ConfKeyFactoryRead, ReportsTheCodeAndKeepsWhatWasCompleted)
{
    EXPECT_EQ(read(GetParam().text), std::pair(GetParam().code, std::string(GetParam().written)));
}

INSTANTIATE_TEST_SUITE_P(Texts, ConfKeyFactoryRead, testing::ValuesIn(read_cases));

TEST(ConfKeyFactoryTest, ANameWithASeparatorThrowsOutOfTheFactory)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    EXPECT_THAT([&] { factory.create_key_from_string("r = { ok = 1 \"a/b\" = 2 }"); },
                testing::ThrowsMessage<std::runtime_error>(
                    "basic::ConfKeyInterface::check_name_throw() : Invalid name."));
    EXPECT_EQ(factory.get_last_error(), conf_err::unexpected_kind);
}

TEST(ConfKeyFactoryTest, EachThreadSeesTheCodeOfItsOwnLastCall)
{
    std::vector<int> failures(read_cases.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < read_cases.size(); ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                for (int rep = 0; rep < 300; ++rep)
                {
                    const ReadCase& c = read_cases[t];
                    failures[t] += read(c.text) != std::pair(c.code, std::string(c.written));
                }
            });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    EXPECT_THAT(failures, testing::Each(0));
}
