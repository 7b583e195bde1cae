#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "effect/param/ParamBandDelay.hpp"
#include "effect/param/ParamCutFreq.hpp"
#include "effect/param/ParamDistoGain.hpp"
#include "effect/param/ParamDistoRouting.hpp"
#include "effect/param/ParamHarmBalance.hpp"
#include "effect/param/ParamHarmFactor.hpp"
#include "effect/param/ParamNbrBand.hpp"
#include "effect/param/ParamReso.hpp"

namespace
{

struct Row
{
    const char* name;
    const char* unit;
    std::shared_ptr<plux::NormalizedParamInterface> (*make)();
    double lo;
    double hi;
    double dflt;
    float dflt_nrm;
    bool discrete;
};

template <class P>
std::shared_ptr<plux::NormalizedParamInterface> make()
{
    return std::make_shared<P>();
}

const Row rows[] = {
    {"Cutoff Freq", "Hz", make<ParamCutFreq>, 40, 10240, 1000, 0.5804820f, false},
    {"Resonance", "", make<ParamReso>, 1, 100, 1, 0.0f, false},
    {"Nbr Bands", "", make<ParamNbrBand>, 1, 16, 1, 0.0f, true},
    {"Dist Gain", "", make<ParamDistoGain>, 1, 10, 1, 0.0f, false},
    {"Dist Routing", "", make<ParamDistoRouting>, 0, 1, 1, 1.0f, true},
    {"Band Spacing", "", make<ParamHarmFactor>, 1, 5, 2, 0.25f, false},
    {"Evolution", "ms", make<ParamBandDelay>, -50, 50, 0, 0.5f, false},
    {"Tone", "", make<ParamHarmBalance>, 0, 1, 0.5, 0.5f, false},
};

// Rows are shown by name in test output.
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class ParamTable : public testing::TestWithParam<Row>
{
};

std::string text_of(const plux::NormalizedParamInterface& p, double val, int capacity = 64)
{
    char buf[64];
    p.conv_val_to_str(buf, capacity, val);
    return buf;
}

} // namespace

// Each parameter as a host lists it, and its curve: the normalised ends give exactly the range
// ends and back, the default lies where it should, the curve rises and inverts, and typed numbers
// are clamped to the range while garbage fails.
TEST_P(ParamTable, NameUnitRangeDefaultCurveAndTypedNumbers)
{
    const Row& row = GetParam();
    const auto p = row.make();
    char buf[32];
    p->get_name(buf, sizeof(buf));
    EXPECT_STREQ(buf, row.name);
    p->get_unit(buf, sizeof(buf));
    EXPECT_STREQ(buf, row.unit);
    p->get_name(buf, 4);
    EXPECT_EQ(std::string(buf), std::string(row.name).substr(0, 3))
        << "capacity includes the terminator";
    EXPECT_EQ(p->is_discrete(), row.discrete);
    EXPECT_TRUE(p->can_interpolate());

    EXPECT_EQ(p->conv_nrm_to_val(0.0f), row.lo);
    EXPECT_EQ(p->conv_nrm_to_val(1.0f), row.hi);
    EXPECT_EQ(p->conv_val_to_nrm(row.lo), 0.0f);
    EXPECT_EQ(p->conv_val_to_nrm(row.hi), 1.0f);
    p->set_val(row.dflt, 2);
    EXPECT_NEAR(p->get_nrm(), row.dflt_nrm, 1e-7);
    EXPECT_NEAR(p->conv_nrm_to_val(p->get_nrm()), row.dflt, 1e-6 * std::max(1.0, row.hi));

    double prev = row.lo;
    for (int i = 1; i <= 100; ++i)
    {
        const float n = i / 100.0f;
        const double v = p->conv_nrm_to_val(n);
        EXPECT_GE(v, prev) << "at " << n;
        prev = v;
        if (!row.discrete)
        {
            EXPECT_NEAR(p->conv_val_to_nrm(v), n, 2e-7) << "at " << n;
        }
    }

    // Every parameter but Dist Routing, which takes words, reads typed numbers.
    if (std::string(row.name) == "Dist Routing")
    {
        return;
    }
    bool ok = false;
    EXPECT_EQ(p->conv_str_to_val("1e9", ok), row.hi);
    EXPECT_TRUE(ok);
    ok = false;
    EXPECT_EQ(p->conv_str_to_val("  -1e9 junk", ok), row.lo);
    EXPECT_TRUE(ok);
    for (const char* bad : {"", "x", "abc1", "nan", "+-1"})
    {
        ok = false;
        p->conv_str_to_val(bad, ok);
        EXPECT_FALSE(ok) << "'" << bad << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, ParamTable, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<Row>& info)
                         {
                             std::string name = info.param.name;
                             std::erase(name, ' ');
                             return name;
                         });

TEST(ParamTexts, FixedTextsAreCutToFiveCharacters)
{
    ParamReso reso;
    ParamBandDelay evolution;
    ParamHarmBalance tone;
    ParamDistoGain gain;
    ParamHarmFactor spacing;
    EXPECT_EQ(text_of(reso, 1.0), "1.000");
    EXPECT_EQ(text_of(reso, 100.0), "100.0");
    EXPECT_EQ(text_of(evolution, -50.0), "-50.0");
    EXPECT_EQ(text_of(evolution, 6.25), "6.250");
    EXPECT_EQ(text_of(tone, 0.5), "0.500");
    EXPECT_EQ(text_of(gain, 3.16227766), "3.162");
    EXPECT_EQ(text_of(spacing, 2.0), "2.000");
    EXPECT_EQ(text_of(reso, 12.3456, 3), "12") << "the caller's capacity still applies";
}

TEST(ParamTexts, TypedValuesWithinTheRangeAreKept)
{
    ParamReso reso;
    ParamBandDelay evolution;
    bool ok = false;
    EXPECT_EQ(reso.conv_str_to_val("500", ok), 100.0);
    EXPECT_EQ(reso.conv_str_to_val("0.5", ok), 1.0);
    EXPECT_DOUBLE_EQ(reso.conv_str_to_val(" +42.5dB", ok), 42.5);
    EXPECT_DOUBLE_EQ(evolution.conv_str_to_val("-12.5", ok), -12.5);
    EXPECT_TRUE(ok);
    // Hexadecimal as C reads it, and a bare "0x" is the number 0 followed by junk.
    EXPECT_DOUBLE_EQ(reso.conv_str_to_val("0x10", ok), 16.0);
    EXPECT_DOUBLE_EQ(reso.conv_str_to_val(" 0X1p3", ok), 8.0);
    EXPECT_DOUBLE_EQ(evolution.conv_str_to_val("-0x.8p4", ok), -8.0);
    EXPECT_DOUBLE_EQ(reso.conv_str_to_val("0x1p9999", ok), 100.0) << "too large is infinity";
    EXPECT_DOUBLE_EQ(evolution.conv_str_to_val("0xg", ok), 0.0);
    EXPECT_TRUE(ok);
}

TEST(ParamNbrBands, StepsChangeAtOddMultiplesOfOneThirtieth)
{
    ParamNbrBand bands;
    EXPECT_EQ(bands.conv_nrm_to_val(0.5f), 9.0);
    for (int k = 1; k < 30; k += 2)
    {
        const float edge = static_cast<float>(k) / 30.0f;
        const double above = (k + 1) / 2 + 1;
        EXPECT_EQ(bands.conv_nrm_to_val(edge), above) << "at " << k << "/30";
        EXPECT_EQ(bands.conv_nrm_to_val(std::nextafter(edge, 0.0f)), above - 1.0)
            << "just below " << k << "/30";
    }
    bool ok = false;
    EXPECT_EQ(bands.conv_str_to_val("7.5", ok), 8.0) << "typed values are rounded, halves up";
    EXPECT_EQ(bands.conv_str_to_val("99", ok), 16.0);
    EXPECT_EQ(text_of(bands, 16.0), "16");
    EXPECT_EQ(text_of(bands, 2.4), "2");
    EXPECT_EQ(text_of(bands, 123.0), "12") << "two characters at most";
    EXPECT_EQ(text_of(bands, 16.0, 2), "1");
}

TEST(ParamDistRouting, TextsAndWords)
{
    ParamDistoRouting routing;
    EXPECT_EQ(text_of(routing, 0.0), "Pre");
    EXPECT_EQ(text_of(routing, 1.0), "Post");
    EXPECT_EQ(text_of(routing, 0.4), "Pre");
    EXPECT_EQ(text_of(routing, 2.0), "### ERROR ###");
    EXPECT_EQ(text_of(routing, -1.0), "### ERROR ###");
    EXPECT_EQ(routing.conv_nrm_to_val(0.49f), 0.0);
    EXPECT_EQ(routing.conv_nrm_to_val(0.5f), 1.0);

    // A word holding "pre" in any case is Pre, else one holding "post" is Post; a word with
    // neither is refused (-1).
    for (const auto& [word, val] :
         {std::pair{"POST", 1.0}, std::pair{"Post-dist", 1.0}, std::pair{"post", 1.0},
          std::pair{"Prepost", 0.0}, std::pair{"pRe", 0.0}, std::pair{"the pre one", 0.0},
          std::pair{"x", -1.0}, std::pair{"pos", -1.0}})
    {
        bool ok = false;
        const double read = routing.conv_str_to_val(word, ok);
        EXPECT_EQ(ok ? read : -1.0, val) << word;
    }
}
