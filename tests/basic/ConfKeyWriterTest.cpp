#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>

#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"

using namespace basic;

namespace
{

std::string written(const ConfKeyStreamInterface& obj)
{
    std::string text;
    EXPECT_EQ(obj.write_to_string(text), 0);
    return text;
}

ConfKeyContentMulti list_of(int nbr)
{
    ConfKeyContentMulti list;
    for (int i = 1; i <= nbr; ++i)
    {
        list.add_content(ConfKeyContentString(std::to_string(i)));
    }
    return list;
}

} // namespace

TEST(ConfKeyWriter, WritesTheReferenceFileByteForByteAndReadsItBackWithoutComments)
{
    const auto make_reference = [](bool with_comments)
    {
        ConfKeyMulti root("root");
        root.add_key(ConfKeyData("leaf", "1.00"));
        ConfKeyMulti block("block");
        ConfKeyData inner("inner", "3");
        if (with_comments)
        {
            block.set_comment("comment of a block");
            inner.set_comment("comment of a leaf");
        }
        block.add_key(inner);
        root.add_key(block);
        root.add_key(ConfKeyData("steps", list_of(8)));
        ConfKeyContentMulti pair;
        pair.add_content(ConfKeyContentString("0"));
        pair.add_content(ConfKeyContentString("a b"));
        root.add_key(ConfKeyData("pair", pair));
        return root;
    };
    const std::string reference = "root =\n{\n   leaf = 1.00\n   // comment of a block\n"
                                  "   block =\n   {\n      inner = 3\t// comment of a leaf\n   }\n"
                                  "   steps = {\n      1\n      2\n      3\n      4\n"
                                  "      5\n      6\n      7\n      8\n   }\n"
                                  "   pair = { 0 \"a b\" }\n}";
    EXPECT_EQ(written(make_reference(true)), reference);

    ConfKeyFactory& factory = ConfKeyFactory::use_instance();
    const std::unique_ptr<ConfKeyInterface> back = factory.create_key_from_string(reference);
    EXPECT_EQ(factory.get_last_error(), 0);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(written(*back), written(make_reference(false)));
}

TEST(ConfKeyWriter, QuotesTextsWithSpaceTabNewlineOrCommaAndNothingElse)
{
    EXPECT_EQ(written(ConfKeyData("v", "hello world")), "v = \"hello world\"");
    EXPECT_EQ(written(ConfKeyData("v", "x,y")), "v = \"x,y\"");
    EXPECT_EQ(written(ConfKeyData("v", "t\tn\n")), "v = \"t\tn\n\"");
    EXPECT_EQ(written(ConfKeyData("v", "a=b")), "v = a=b");
    EXPECT_EQ(written(ConfKeyData("v", "x//y")), "v = x//y");
    EXPECT_EQ(written(ConfKeyData("v", "say \"hi\"")), "v = \"say \"hi\"\"");
    EXPECT_EQ(written(ConfKeyData("v", "")), "v = ");
    EXPECT_EQ(written(ConfKeyMulti("my block")), "\"my block\" =\n{\n}");
}

TEST(ConfKeyWriter, ListsOfUpToSevenStayOnTheLine)
{
    EXPECT_EQ(written(ConfKeyData("l", list_of(0))), "l = { }");
    EXPECT_EQ(written(ConfKeyData("l", list_of(7))), "l = { 1 2 3 4 5 6 7 }");
    EXPECT_EQ(written(ConfKeyData("l", list_of(8))),
              "l = {\n   1\n   2\n   3\n   4\n   5\n   6\n   7\n   8\n}");

    ConfKeyContentMulti outer = list_of(7);
    outer.add_content(list_of(2));
    outer.add_content(list_of(8));
    EXPECT_EQ(written(ConfKeyData("l", outer)), "l = {\n   1\n   2\n   3\n   4\n   5\n   6\n   7\n"
                                                "   { 1 2 }\n"
                                                "   {\n      1\n      2\n      3\n      4\n"
                                                "      5\n      6\n      7\n      8\n   }\n"
                                                "}");
}

TEST(ConfKeyWriter, AppendsToTheTextAndLeavesItIntactWhenAKeyIsAnonymous)
{
    std::string text = "before:";
    EXPECT_EQ(ConfKeyData("a", "1").write_to_string(text), 0);
    EXPECT_EQ(text, "before:a = 1");

    ConfKeyMulti root("root");
    root.set_data("x/y", "1");
    dynamic_cast<ConfKeyMulti&>(root.use_key("x")).add_key(ConfKeyData());
    EXPECT_THAT([&] { root.write_to_string(text); },
                testing::ThrowsMessage<std::runtime_error>(
                    "basic::ConfKeyInterface::do_write_to_string() : Key can't be anonymous."));
    EXPECT_EQ(text, "before:a = 1");
}
