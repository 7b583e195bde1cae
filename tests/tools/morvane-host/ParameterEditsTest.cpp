#include "morvane-host/ParameterEdits.hpp"

#include <gtest/gtest.h>
#include <string>

#include "ToolFixture.hpp"
#include "morvane-host/Commands.hpp"
#include "morvane-host/ToolError.hpp"

using namespace morvane_host;
using morvane_host_test::refusal_of;

TEST(ParameterText, SplitsAtTheFirstEquals)
{
    const ParameterText text = parse_parameter_text("Cutoff Freq=a=b");
    EXPECT_EQ(text.name, "Cutoff Freq");
    EXPECT_EQ(text.text, "a=b");
    EXPECT_EQ(parse_parameter_text("Tone=").text, "") << "an empty text is the plug-in's to judge";
}

TEST(AutomationLane, ReadsPointsWithSpacesAndANameWithColons)
{
    const AutomationLane lane = parse_automation_lane("Ratio: A:B:0=0.25, 1.5 = 1,2e0=0");
    EXPECT_EQ(lane.name, "Ratio: A:B");
    ASSERT_EQ(lane.points.size(), 3u);
    EXPECT_DOUBLE_EQ(lane.points[1].seconds, 1.5);
    EXPECT_FLOAT_EQ(lane.points[1].value, 1.0f);
    EXPECT_DOUBLE_EQ(lane.points[2].seconds, 2.0);
}

TEST(AutomationLane, JoinsPointsWithStraightLinesAndHoldsTheEnds)
{
    const AutomationLane lane = parse_automation_lane("Tone:1=0.2,3=0.6,3=1,4=0");
    EXPECT_FLOAT_EQ(lane.get_value(0.0), 0.2f) << "before the first point";
    EXPECT_FLOAT_EQ(lane.get_value(2.0), 0.4f) << "half way from 1 s to 3 s";
    EXPECT_FLOAT_EQ(lane.get_value(2.999), 0.5998f);
    EXPECT_FLOAT_EQ(lane.get_value(3.0), 1.0f) << "the later of two points at one time";
    EXPECT_FLOAT_EQ(lane.get_value(3.5), 0.5f);
    EXPECT_FLOAT_EQ(lane.get_value(100.0), 0.0f) << "after the last point";
}

struct BadOption
{
    const char* option;
    const char* message;
};

using AutomationLaneRefuses = testing::TestWithParam<BadOption>;

TEST_P(AutomationLaneRefuses, AsAUsageError)
{
    const auto [code, message] = refusal_of([this] { parse_automation_lane(GetParam().option); });
    EXPECT_EQ(code, ExitCode::usage);
    EXPECT_THAT(message, testing::HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(BadLists, AutomationLaneRefuses,
                         testing::Values(BadOption{"Tone", "expected \"Name:time=value"},
                                         BadOption{":0=1", "expected \"Name:time=value"},
                                         BadOption{"Tone:", "is not a point"},
                                         BadOption{"Tone:0=1,", "is not a point"},
                                         BadOption{"Tone:0.5", "is not a point"},
                                         BadOption{"Tone:x=1", "no time"},
                                         BadOption{"Tone:-1=1", "no time"},
                                         BadOption{"Tone:1=1.5", "no normalised value"},
                                         BadOption{"Tone:1=nan", "no normalised value"},
                                         BadOption{"Tone:1=0.5x", "no normalised value"},
                                         BadOption{"Tone:2=0,1=1", "comes before"}));

TEST(ParameterText, RefusesATextWithoutAName)
{
    for (const char* option : {"Tone", "=0.5"})
        EXPECT_THROW(parse_parameter_text(option), ToolError) << option;
}

TEST(MakeFileName, KeepsLettersAndDigitsAndJoinsTheRestWithDashes)
{
    EXPECT_EQ(make_file_name("Monkey on the moon"), "Monkey-on-the-moon");
    EXPECT_EQ(make_file_name("  a/b\\c: d?  "), "a-b-c-d");
    EXPECT_EQ(make_file_name("Lo-Fi_2"), "Lo-Fi_2");
    EXPECT_EQ(make_file_name("Caf\xC3\xA9 ../x"), "Caf-x");
    EXPECT_EQ(make_file_name("***"), "program");
    EXPECT_EQ(make_file_name(""), "program");
}
