#include "kel/txt/out/PrintNa.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "kel/txt/out/ArgFloat.hpp"
#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/ArgString.hpp"
#include "kel/txt/out/Errors.hpp"

using namespace kel::txt::out;

TEST(PrintNa, KeepsTheArrayTerminatedAndReportsTruncationWhateverItsSize)
{
    char buf[8];
    std::memset(buf, 'Z', sizeof(buf));
    PrintNa p(buf);
    EXPECT_STREQ(buf, "") << "a new printer empties its array";

    EXPECT_EQ(p.print("abc"), 3);
    EXPECT_EQ(p.append("%1%", ArgInt(1234)), 4);
    EXPECT_STREQ(buf, "abc1234");
    EXPECT_FALSE(p.is_truncated());

    EXPECT_EQ(p.append("x"), err_truncated);
    EXPECT_STREQ(buf, "abc1234");
    EXPECT_TRUE(p.is_truncated());

    EXPECT_EQ(p.print("%1rm1000000000%", ArgString("wide")), err_truncated);
    EXPECT_EQ(p.view(), "       ");
    EXPECT_EQ(p.size(), 7u);

    p.clear();
    EXPECT_FALSE(p.is_truncated());
    EXPECT_EQ(p.c_str(), buf);

    // Arrays too small for any text.
    char one[1] = {'Z'};
    PrintNa p1(one);
    EXPECT_EQ(p1.print("a"), err_truncated);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(p1.print(""), 0);

    char untouched = 'Z';
    PrintNa p0(&untouched, 0);
    EXPECT_EQ(p0.print("a"), err_truncated);
    EXPECT_EQ(untouched, 'Z');
    EXPECT_STREQ(p0.c_str(), "");

    PrintNa pnull(nullptr, 16);
    EXPECT_EQ(pnull.print("a"), err_truncated);
}

// Any format string and any specification gives a code or a text, never a write past the array.
TEST(PrintNa, RandomFormatsNeverOverrunTheArray)
{
    std::mt19937 rng(7);
    const std::string alphabet = "%%%%0123456789!$$+-bBdDxXcklrmpsegfwovtzq .\n";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> cap(0, 48);
    std::uniform_int_distribution<int> byte(0, 255);

    const ArgInt i1(-1234567);
    const ArgFloat f2(6.02214076e23);
    const ArgString s3("text");
    const ArgBase* const args[] = {&i1, &f2, &s3};
    const int ints[] = {5, 2, 1000000, -7, 3};

    constexpr std::size_t guard = 16;
    std::vector<char> mem;
    for (int round = 0; round < 40000; ++round)
    {
        std::string fmt;
        const int len = length(rng);
        for (int i = 0; i < len; ++i)
        {
            fmt += (round % 4 == 0) ? static_cast<char>(byte(rng)) : alphabet[pick(rng)];
        }
        const std::size_t capacity = static_cast<std::size_t>(cap(rng));
        mem.assign(capacity + 2 * guard, '\x5A');
        PrintNa p(mem.data() + guard, capacity);
        const int ret = p.append_list(fmt, args, ints);

        ASSERT_GE(ret, err_truncated) << fmt;
        for (std::size_t i = 0; i < guard; ++i)
        {
            ASSERT_EQ(mem[i], '\x5A') << "write before the array, format " << fmt;
            ASSERT_EQ(mem[guard + capacity + i], '\x5A') << "write after the array, format " << fmt;
        }
        if (capacity > 0)
        {
            ASSERT_EQ(p.c_str()[p.size()], '\0') << fmt;
            ASSERT_LT(p.size(), capacity);
        }
    }
}
