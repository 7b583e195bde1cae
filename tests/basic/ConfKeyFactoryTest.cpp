#include "basic/ConfKeyFactory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "basic/ConfErr.hpp"
#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"

using namespace basic;
using testing::ElementsAre;

namespace
{

struct ReadResult
{
    std::unique_ptr<ConfKeyInterface> key;
    int code;
    std::string text; // the key written back, "(null)" when there is none
};

ReadResult read(const std::string& text)
{
    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    ReadResult res;
    res.key = factory.create_key_from_string(text);
    res.code = factory.get_last_error();
    res.text = "(null)";
    if (res.key != nullptr)
    {
        res.text.clear();
        res.key->write_to_string(res.text);
    }
    return res;
}

std::vector<std::string> lex(const std::string& text, int expected_code = 0)
{
    std::vector<std::string> tokens{"stale"};
    EXPECT_EQ(ConfKeyFactory::lex_text(tokens, text), expected_code) << text;
    return tokens;
}

} // namespace

TEST(ConfKeyLexer, SpacesOutOperatorsAndDropsCommentsAndCarriageReturns)
{
    EXPECT_THAT(lex("a={b=1}// c = 2\r\nd=\"e // f\"\r\n"),
                ElementsAre("a", "=", "{", "b", "=", "1", "}", "d", "=", "e // f"));
    EXPECT_THAT(lex("x,y\b\vz\f"), ElementsAre("x,y", "z\f"));
    EXPECT_THAT(lex(""), ElementsAre());
}

TEST(ConfKeyLexer, QuotesMakeOneTokenAndCutUnquotedRuns)
{
    EXPECT_THAT(lex("x\"y z\"w \"\" \"a={\t}\""), ElementsAre("x", "y z", "w", "", "a={\t}"));
}

TEST(ConfKeyLexer, ReportsBracesTooManyAcrossLinesAndQuotesLeftOpen)
{
    lex("{\n}\n}", conf_err::unbalanced_brace);
    lex("} {", conf_err::unbalanced_brace);
    EXPECT_THAT(lex("{\n{\n}"), ElementsAre("{", "{", "}"));
    // Quotes are closed by the end of each line, even inside an open brace.
    EXPECT_THAT(lex("a = {\n \"x\nb\" }", conf_err::unterminated_quote),
                ElementsAre("a", "=", "{"));
}

TEST(ConfKeyFactoryTest, ReadsBlocksLeavesAndListsWhateverTheLineBreaks)
{
    const ReadResult res = read("r = { a = { } b = { c = 1 } l = { 1 { 2 \"\" } { } } }");
    EXPECT_EQ(res.code, 0);
    EXPECT_EQ(res.text, "r =\n{\n   a = { }\n   b =\n   {\n      c = 1\n   }\n"
                        "   l = { 1 { 2  } { } }\n}");
    const auto& root = dynamic_cast<const ConfKeyMulti&>(*res.key);
    EXPECT_NE(dynamic_cast<const ConfKeyData*>(&root.use_key("a")), nullptr);
    EXPECT_EQ(read("\"my key\" = \"my value\"").text, "\"my key\" = \"my value\"");
}

TEST(ConfKeyFactoryTest, ValuesThatDoNotSurviveARoundTrip)
{
    EXPECT_EQ(read("v = \"x,y\"").text, "v = \"x,y\"");
    EXPECT_EQ(read("v = a=b").code, conf_err::tokens_left_over);
    EXPECT_EQ(read("v = x//y").text, "v = x");
    EXPECT_EQ(read("v = \nw = 1").code, conf_err::tokens_left_over);
}

struct ErrorCase
{
    const char* text;
    int code;
    const char* written;
};

void PrintTo(const ErrorCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

const std::vector<ErrorCase> error_cases = {
    {"", 0, "(null)"},
    {"  // nothing\n", 0, "(null)"},
    {"a = { b = 1 } }", conf_err::lex_failed, "(null)"},
    {"a = \"open", conf_err::lex_failed, "(null)"},
    {"a = { b = 1 } junk", conf_err::tokens_left_over, "a =\n{\n   b = 1\n}"},
    {"junk", conf_err::tokens_left_over, "(null)"},
    {"a =", conf_err::tokens_left_over, "(null)"},
    {"= = x", conf_err::tokens_left_over, "(null)"},
    {"a = { b = 1 c = }", conf_err::block_cut_short, "a =\n{\n   b = 1\n}"},
    {"a = { b = 1 c }", conf_err::block_cut_short, "a =\n{\n   b = 1\n}"},
    // A child needs 4 tokens: its own 3 and a closing brace at least.
    {"a = { b = 1", conf_err::block_cut_short, "a =\n{\n}"},
    {"a = { b = { c = 1", conf_err::block_cut_short, "a =\n{\n}"},
    {"a = {", conf_err::leaf_without_value, "a = "},
    {"a = { x { y", conf_err::list_cut_short, "a = "}};

class ConfKeyFactoryErrors : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(ConfKeyFactoryErrors, ReportTheCodeAndKeepWhatWasCompleted)
{
    const ReadResult res = read(GetParam().text);
    EXPECT_EQ(res.code, GetParam().code);
    EXPECT_EQ(res.text, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Texts, ConfKeyFactoryErrors, testing::ValuesIn(error_cases));

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
    std::vector<int> failures(error_cases.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < error_cases.size(); ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                for (int rep = 0; rep < 300; ++rep)
                {
                    const ReadResult res = read(error_cases[t].text);
                    if (res.code != error_cases[t].code || res.text != error_cases[t].written)
                    {
                        ++failures[t];
                    }
                }
            });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    EXPECT_THAT(failures, testing::Each(0));
}
