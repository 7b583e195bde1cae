#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

#include "kel/txt/out/ArgFloat.hpp"
#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/ArgString.hpp"
#include "kel/txt/out/PrintNa.hpp"

using namespace kel::txt::out;

namespace
{

template <typename Arg>
std::string show(const char* fmt, const Arg& arg)
{
    static char buf[4096];
    PrintNa p(buf);
    const int ret = p.print(fmt, arg);
    EXPECT_GE(ret, 0) << "format " << fmt;
    return buf;
}

std::string show_int(const char* fmt, std::int64_t v)
{
    return show(fmt, ArgInt(v));
}
std::string show_float(const char* fmt, double v)
{
    return show(fmt, ArgFloat(v));
}
std::string show_str(const char* fmt, const char* s)
{
    return show(fmt, ArgString(s));
}

std::string c_printf(const char* fmt, double v)
{
    char buf[2048];
    std::snprintf(buf, sizeof(buf), fmt, v);
    return buf;
}

} // namespace

TEST(ArgInt, BasesCaseSignsAlignmentPaddingAndGroups)
{
    EXPECT_EQ(show_int("%1%", 0), "0");
    EXPECT_EQ(show_int("%1%", -42), "-42");
    EXPECT_EQ(show_int("%1rm8w0X%", 5), "00000005");
    EXPECT_EQ(show_int("%1rm8w0X%", 255), "000000FF");
    EXPECT_EQ(show_int("%1rm8w0x%", 255), "000000ff");
    EXPECT_EQ(show_int("%1b%", 10), "1010");
    EXPECT_EQ(show_int("%1X%", -255), "-FF");
    EXPECT_EQ(show_int("%1+%", 3), "+3");
    EXPECT_EQ(show_int("%1+%", -3), "-3");
    EXPECT_EQ(show_int("%1-%", 3), " 3");
    EXPECT_EQ(show_int("%1+%", 0), "+0");
    EXPECT_EQ(show_int("%1%", std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(show_int("%1x%", std::numeric_limits<std::int64_t>::min()), "-8000000000000000");
    EXPECT_EQ(show_int("%1b%", std::numeric_limits<std::int64_t>::max()), std::string(63, '1'));

    EXPECT_EQ(show_int("[%1m6%]", 42), "[42]") << "without an alignment there is no padding";
    EXPECT_EQ(show_int("[%1rm6%]", 42), "[    42]");
    EXPECT_EQ(show_int("[%1rm6w*%]", 42), "[****42]");
    EXPECT_EQ(show_int("[%1km6w*%]", 42), "[42    ]") << "only right alignment uses the fill";
    EXPECT_EQ(show_int("[%1cm7%]", 42), "[  42   ]") << "centre puts the smaller half before";
    EXPECT_EQ(show_int("[%1rm6w0%]", -42), "[-00042]") << "zeros go after the sign";
    EXPECT_EQ(show_int("[%1rm6w0+%]", 42), "[+00042]");
    EXPECT_EQ(show_int("[%1rm2%]", 12345), "[12345]") << "a longer number prints whole";
    EXPECT_EQ(show_int("[%1rm3v%]", 12345), "[###]") << "strict width marks what does not fit";
    EXPECT_EQ(show_int("%1s3%", 1234567), "1,234,567");
    EXPECT_EQ(show_int("%1s3%", -123456), "-123,456");
    EXPECT_EQ(show_int("%1Xs4%", 0xDEADBEEF), "DEAD_BEEF");
    EXPECT_EQ(show_int("%1bs4%", 0x5), "101");
    EXPECT_EQ(show_int("%1bs1%", 5), "1_0_1");
}

// Where the layouts go beyond printf's: printf's own are checked against it further down.
TEST(ArgFloat, SpecialValuesSignsTrimmingAndGroups)
{
    EXPECT_EQ(show_float("%1%", 1234567.0), "1.23457e+06") << "six digits by default";
    EXPECT_EQ(show_float("%1fp0%", 2.5), "2") << "ties go to even, from the exact binary value";
    EXPECT_EQ(show_float("%1Dep1%", 1e300), "1.0E+300");
    EXPECT_EQ(show_float("%1e3p1%", 1.5e7), "1.5e+007");
    EXPECT_EQ(show_float("%1e1p1%", 1.5e7), "1.5e+7");
    EXPECT_EQ(show_float("%1+fp1%", 2.0), "+2.0");
    EXPECT_EQ(show_float("%1fp1%", -0.0), "-0.0");
    EXPECT_EQ(show_float("%1%", std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(show_float("%1%", -std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(show_float("%1D%", std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(show_float("%1+%", std::numeric_limits<double>::quiet_NaN()), "+nan");
    EXPECT_EQ(show_float("%1ft%", 2.5), "2.5");
    EXPECT_EQ(show_float("%1ft%", 3.0), "3");
    EXPECT_EQ(show_float("%1et%", 1500.0), "1.5e+03");
    EXPECT_EQ(show_float("%1fp2s3%", 1234567.891), "1,234,567.89");
    EXPECT_EQ(show_float("%1rm10w0fp2%", -3.14159), "-000003.14");
    EXPECT_EQ(show_float("[%1km8fp1%]", 3.0), "[3.0     ]");
}

TEST(ArgFloat, HugePrecisionsAreExact)
{
    // 0.1 as a double is 0.1000000000000000055511151231257827021181583404541015625 exactly.
    const std::string fixed = show_float("%1fp60%", 0.1);
    EXPECT_EQ(fixed, "0.100000000000000005551115123125782702118158340454101562500000");
    const std::string shown = show_float("%1fp2000%", 0.1);
    ASSERT_EQ(shown.size(), 2002u) << "digits beyond the exact ones are zeros";
    EXPECT_EQ(shown.substr(0, 57), "0.1000000000000000055511151231257827021181583404541015625");
    EXPECT_EQ(shown.find_first_not_of('0', 57), std::string::npos);
    EXPECT_EQ(show_float("%1%", 5e-324), "4.94066e-324");
}

// Every layout matches the C library's printf for the same value and precision.
TEST(ArgFloat, AgreesWithPrintfOnRandomValues)
{
    std::mt19937_64 rng(20261206);
    std::uniform_int_distribution<int> exponent(-40, 40);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> precision(0, 17);
    for (int i = 0; i < 3000; ++i)
    {
        const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        const int p = precision(rng);
        const std::string ps = std::to_string(p);
        for (const char mode : {'g', 'f', 'e'})
        {
            const std::string ours = "%1" + std::string(1, mode) + "p" + ps + "%";
            const std::string theirs = "%." + ps + std::string(1, mode);
            ASSERT_EQ(show_float(ours.c_str(), v), c_printf(theirs.c_str(), v))
                << "value " << v << " format " << theirs;
        }
    }
}

TEST(ArgString, WidthAlignmentAndCutting)
{
    EXPECT_EQ(show_str("<%1%>", "abc"), "<abc>");
    EXPECT_EQ(show_str("<%1rm5%>", "abc"), "<  abc>");
    EXPECT_EQ(show_str("<%1km5%>", "abc"), "<abc  >");
    EXPECT_EQ(show_str("<%1cm6w.%>", "ab"), "<  ab  >");
    EXPECT_EQ(show_str("<%1rm5w.%>", "abc"), "<..abc>");
    EXPECT_EQ(show_str("<%1rm2%>", "abcdef"), "<abcdef>") << "a longer text prints whole";
    EXPECT_EQ(show_str("<%1rm2v%>", "abcdef"), "<ab>") << "unless the width is strict";
    EXPECT_EQ(show_str("<%1+%>", "abc"), "<abc>") << "signs are for numbers";
    EXPECT_EQ(show_str("<%1%>", nullptr), "<(null)>");
    EXPECT_EQ(show_str("<%1%>", ""), "<>");
}
