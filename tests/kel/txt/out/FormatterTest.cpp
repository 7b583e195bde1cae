#include "kel/txt/out/Formatter.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/ArgString.hpp"
#include "kel/txt/out/Errors.hpp"
#include "kel/txt/out/PrintNa.hpp"

using namespace kel::txt::out;

TEST(Formatter, ScanFindsTheHighestArgumentNumber)
{
    EXPECT_EQ(scan_format(""), 0);
    EXPECT_EQ(scan_format("plain text, 100%% sure"), 0);
    EXPECT_EQ(scan_format("%2% and %1x%"), 2);
    EXPECT_EQ(scan_format("%12%"), 12) << "digits extend the argument number";
    EXPECT_EQ(scan_format("%a %"), err_format) << "a trailing '%' is an open placeholder";
    EXPECT_EQ(scan_format("%1"), err_format);
    EXPECT_EQ(scan_format("%1rm8"), err_format);
    EXPECT_EQ(scan_format("%99999999999999999%"), err_format);
}

TEST(Formatter, PrintsPlaceholdersAndCopiesThoseThatFail)
{
    char buf[64];
    PrintNa p(buf);
    const ArgInt one(1);
    const ArgString two("two");

    EXPECT_EQ(p.print("100%%"), 4);
    EXPECT_STREQ(buf, "100%");
    p.print("%a%b");
    EXPECT_STREQ(buf, "%a%b");
    p.print("[%1%]", one);
    EXPECT_STREQ(buf, "[1]");
    p.print("%2% %1% %2%", one, two);
    EXPECT_STREQ(buf, "two 1 two");

    std::vector<ArgInt> many;
    std::vector<const ArgBase*> list;
    for (int i = 1; i <= 12; ++i)
        many.emplace_back(i * 100);
    for (const auto& a : many)
        list.push_back(&a);
    p.clear();
    p.append_list("%12%", list, {});
    EXPECT_STREQ(buf, "1200") << "argument 12, not argument 1 followed by '2'";

    // Failing placeholders are copied and the rest is printed.
    const ArgInt five(5);
    EXPECT_EQ(p.print("a %2% b %1% c", five), err_format);
    EXPECT_STREQ(buf, "a %2% b 5 c");
    EXPECT_EQ(p.print("%0%"), err_format);
    EXPECT_STREQ(buf, "%0%");
    EXPECT_EQ(p.print("x%1m% y", five), err_format);
    EXPECT_STREQ(buf, "x%1m% y");
    EXPECT_EQ(p.print("end %1% %1rm4", five), err_format);
    EXPECT_STREQ(buf, "end 5 %1rm4");
    EXPECT_EQ(p.print("%"), err_format);
    EXPECT_STREQ(buf, "%");

    // Integer parameters are read in order across placeholders.
    const ArgInt a(7);
    const ArgInt b(42);
    const ArgBase* const args[] = {&a, &b};
    const int ints[] = {3, 5};
    p.clear();
    EXPECT_EQ(p.append_list("%1rm!w0%|%2rm!%", args, ints), 9);
    EXPECT_STREQ(buf, "007|   42");
}
