#include "kel/txt/out/FmtInfo.hpp"

#include <gtest/gtest.h>
#include <vector>

#include "kel/txt/out/Errors.hpp"

using namespace kel::txt::out;

namespace
{

FmtInfo parsed(std::string_view spec, std::vector<int> ints = {})
{
    IntParamList params(ints);
    FmtInfo fmt;
    EXPECT_EQ(parse_spec(spec, params, fmt), 0) << "spec " << spec;
    return fmt;
}

int error_of(std::string_view spec, std::vector<int> ints = {})
{
    IntParamList params(ints);
    FmtInfo fmt;
    return parse_spec(spec, params, fmt);
}

} // namespace

// What printing shows of each letter is checked where the arguments are printed; here, what it
// cannot show.
TEST(FmtInfo, LettersSetTheirFieldsAndLaterLettersWin)
{
    EXPECT_EQ(parsed("xd").base, 10);
    EXPECT_EQ(parsed("Xb").letter_case, 2);
    EXPECT_EQ(parsed("+-").sign_mode, 1);
    EXPECT_EQ(parsed("-+").sign_mode, 2);
    EXPECT_EQ(parsed("ckrl").align, 0);
    EXPECT_EQ(parsed("C").align, 2);
    EXPECT_EQ(parsed("K").align, 3);
    EXPECT_TRUE(parsed("ov").o_flag);
    EXPECT_FALSE(parsed("vo").o_flag);
    EXPECT_EQ(parsed("w%").fill, '%'); // only the scanner gives '%' a meaning
    EXPECT_EQ(parsed("fG").float_mode, 0);
    EXPECT_EQ(parsed("zq?").base, 10) << "unknown letters are ignored";
}

TEST(FmtInfo, NumbersFromTheIntegerParameterList)
{
    const FmtInfo fmt = parsed("rm!p!", {12, 3});
    EXPECT_EQ(fmt.width, 12);
    EXPECT_EQ(fmt.precision, 3);

    EXPECT_EQ(parsed("m$2", {5, 9}).width, 9);
    // '$$1': the first value is 3, so the value at position 3 is taken.
    EXPECT_EQ(parsed("m$$1", {3, 0, 42}).width, 42);
    // '$!': the next value in order names the position.
    EXPECT_EQ(parsed("p!m$!", {5, 1}).width, 5);
    EXPECT_EQ(parsed("m!", {-4}).width, 0) << "negative values count as 0";
    EXPECT_EQ(parsed("e!", {-4}).exp_digits, 0);
}

TEST(FmtInfo, MalformedNumbersAreErrors)
{
    EXPECT_EQ(error_of("m"), err_format) << "m needs a number";
    EXPECT_EQ(error_of("mx"), err_format);
    EXPECT_EQ(error_of("p"), err_format);
    EXPECT_EQ(error_of("s"), err_format);
    EXPECT_EQ(error_of("w"), err_format) << "w needs its fill character";
    EXPECT_EQ(error_of("m!"), err_format) << "no integer parameter left";
    EXPECT_EQ(error_of("m!m!", {1}), err_format);
    EXPECT_EQ(error_of("m$3", {1, 2}), err_format);
    EXPECT_EQ(error_of("m$0", {1}), err_format);
    EXPECT_EQ(error_of("m$"), err_format);
    EXPECT_EQ(error_of("m$$1", {7}), err_format);

    EXPECT_EQ(parsed("m2147483639").width, 2147483639);
    EXPECT_EQ(error_of("m2147483640"), err_format) << "214748364 followed by a digit overflows";
    EXPECT_EQ(error_of("p99999999999999999999"), err_format);
}

TEST(FmtInfo, LongChainsOfIndirectionDoNotRecurse)
{
    std::string spec = "m";
    spec.append(1'000'000, '$');
    spec += '1';
    EXPECT_EQ(error_of(spec, {1}), 0) << "position 1 holds 1, so every step lands on it again";
    EXPECT_EQ(error_of(spec, {2}), err_format);
}
