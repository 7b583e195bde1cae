#include "effect/param/ParamCutFreq.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace
{

std::string text_of(const ParamCutFreq& p, double val)
{
    char buf[64];
    p.conv_val_to_str(buf, sizeof(buf), val);
    return buf;
}

} // namespace

TEST(ParamCutFreq, HertzTexts)
{
    ParamCutFreq cut;
    EXPECT_EQ(text_of(cut, 440.0), "440.0");
    EXPECT_EQ(text_of(cut, 1000.0), "1000");
    EXPECT_EQ(text_of(cut, 10240.0), "10240");
    EXPECT_EQ(text_of(cut, 40.0), "40.00");
    EXPECT_EQ(text_of(cut, 999.4), "999.4");
    EXPECT_EQ(text_of(cut, 999.5), "1000") << "switches to whole hertz at 999.5";
    EXPECT_EQ(text_of(cut, 1234.5), "1235");
}

TEST(ParamCutFreq, NoteTexts)
{
    ParamCutFreq cut;
    cut.set_note_mode(true);
    EXPECT_EQ(text_of(cut, 440.0), "A 5");
    EXPECT_EQ(text_of(cut, 1000.0), "B 6");
    EXPECT_EQ(text_of(cut, 40.0), "D#2");
    EXPECT_EQ(text_of(cut, 10240.0), "D#10");
    EXPECT_EQ(text_of(cut, 261.6255653), "C 5");
    EXPECT_EQ(text_of(cut, 2.0), "C -2") << "below note 0 the name stays a name";
    EXPECT_NO_THROW(text_of(cut, 0.0));
    EXPECT_NO_THROW(text_of(cut, std::numeric_limits<double>::infinity()));
    cut.set_note_mode(false);
    EXPECT_EQ(text_of(cut, 440.0), "440.0");
}

TEST(ParamCutFreq, NoteEntry)
{
    ParamCutFreq cut;
    cut.set_note_mode(true);
    bool ok = false;
    EXPECT_NEAR(cut.conv_str_to_val("a#4", ok), 233.08188, 1e-4);
    EXPECT_TRUE(ok);
    EXPECT_EQ(cut.conv_str_to_val("A5", ok), 440.0);
    EXPECT_EQ(cut.conv_str_to_val(" g 7", ok),
              static_cast<double>(static_cast<float>(440.0 * std::exp2((7 + 84 - 69) / 12.0))));
    EXPECT_NEAR(cut.conv_str_to_val("note G7", ok), 1318.51, 0.01)
        << "the first note letter counts, here the e of note";
    EXPECT_EQ(cut.conv_str_to_val("C0", ok), 40.0) << "8.18 Hz is clamped";
    EXPECT_EQ(cut.conv_str_to_val("B11", ok), 10240.0);
    for (const char* bad : {"A12", "#5", "A", "xyz", "H4", "A99999999999999999"})
    {
        ok = false;
        cut.conv_str_to_val(bad, ok);
        EXPECT_FALSE(ok) << "'" << bad << "'";
    }
    ok = false;
    cut.conv_str_to_val("A              4", ok);
    EXPECT_FALSE(ok) << "only the first 15 characters are read";
    ok = false;
    EXPECT_EQ(cut.conv_str_to_val("1000", ok), 40.0) << "no note letter";
    EXPECT_FALSE(ok);
}
