#include "effect/EditorScenarios.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <gmock/gmock.h>
#include <optional>
#include <thread>
#include <tuple>

#include "plux/prog/BankFile.hpp"
#include "sys/PersistentKeyList.hpp"

namespace
{

using namespace std::chrono_literals;
using ravik::Point;
using test::EditorDriver;
using testing::ElementsAre;

constexpr int nbr_params = 8;
constexpr int cutoff = 0;
constexpr int tone = 7;

// Where the editor has its controls, in window coordinates.
constexpr Point cutoff_knob{150, 163};
// Inside the value box below the knob.
constexpr Point cutoff_box{144, 223};
// The Tone fader's origin: its handle sits value x travel to the right.
constexpr Point tone_fader{100, 261};
constexpr int tone_travel = 90;
constexpr Point setup_button{276, 302};

Point preset_button(int index)
{
    return {68 + 20 * index, VantrelGui::preset_panel_top + 15};
}

Point tone_handle(float value)
{
    return {tone_fader.x + static_cast<int>(std::lround(value * tone_travel)), tone_fader.y};
}

// The per-user mouse mode of the maker's plug-ins, which a module reads when it first needs it.
std::string read_mouse_mode()
{
    std::string value;
    sys::PersistentKeyList("Tarvex", true).get_string("MouseCompatibility", value);
    return value;
}

// A sound card's thread: a block of a tone every 256 frames of real time. Automation that the
// test hands over is played at the start of a block.
class AudioThread
{
public:
    explicit AudioThread(vst2host::Host& host)
        : thread_([this, &host](std::stop_token stop) { run(host, stop); })
    {
    }

    void automate(int index, float value)
    {
        value_.store(value);
        index_.store(index);
    }
    bool is_automated() const { return index_.load() == -1; }
    long get_nbr_blocks() const { return blocks_.load(); }
    bool is_ok() const { return ok_.load(); }
    std::thread::id get_id() const { return thread_.get_id(); }

private:
    void run(vst2host::Host& host, const std::stop_token& stop)
    {
        constexpr int frames = 256;
        std::vector<float> left(frames);
        std::vector<float> right(frames);
        float* io[] = {left.data(), right.data()};
        auto next = std::chrono::steady_clock::now();
        for (long block = 0; !stop.stop_requested(); ++block)
        {
            if (const int index = index_.load(); index >= 0)
            {
                host.set_parameter(index, value_.load());
                index_.store(-1);
            }
            for (std::size_t i = 0; i < left.size(); ++i)
            {
                left[i] = right[i] =
                    0.3f * static_cast<float>(std::sin(0.0288 * (block * frames + i)));
            }
            ok_ = host.process(io, io, frames) && std::isfinite(left[0]) && ok_;
            ++blocks_;
            next += std::chrono::microseconds(1000000 * frames / 48000);
            std::this_thread::sleep_until(next);
        }
    }

    std::atomic<int> index_{-1};
    std::atomic<float> value_{0.0f};
    std::atomic<long> blocks_{0};
    std::atomic<bool> ok_{true};
    std::jthread thread_;
};

// A DAW's session with Morvane: the module loaded with a mouse mode in the user's registry,
// started and playing, and its editor open in the host's window. The session ends with effClose
// while the editor is still open, as many hosts end it.
class EditorSession
{
protected:
    void start(const std::string& style, const char* mode)
    {
        driver = test::make_editor_driver(style, host);
        ASSERT_EQ(sys::PersistentKeyList("Tarvex", true).set_string("MouseCompatibility", mode), 0);
        ASSERT_TRUE(host.load(MORVANE_MODULE_PATH)) << host.get_error();
        ASSERT_TRUE(host.start(48000.0f, 256));
        audio.emplace(host);
        twin = std::make_unique<test::Twin>();
        ASSERT_NO_FATAL_FAILURE(open_editor());
        blocks_at_start_ = audio->get_nbr_blocks();
    }

    void finish()
    {
        if (driver == nullptr)
        {
            return;
        }
        // A test that failed half-way leaves the next one a free mouse.
        driver->release();
        if (audio.has_value())
        {
            EXPECT_TRUE(pump([&] { return audio->get_nbr_blocks() > blocks_at_start_; }))
                << "the audio went on";
            EXPECT_TRUE(audio->is_ok());
            audio.reset();
        }
        host.stop();
        EXPECT_TRUE(driver->is_gone()) << "effClose took the open editor's window with it";
        twin.reset();
        driver.reset();
    }

    void open_editor()
    {
        vst2::ERect* rect = nullptr;
        ASSERT_EQ(host.dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        ASSERT_EQ((Point{rect->right - rect->left, rect->bottom - rect->top}),
                  (Point{VantrelGui::width, VantrelGui::height}));
        ASSERT_NO_FATAL_FAILURE(driver->open());
    }

    void close_editor()
    {
        host.dispatch(vst2::effEditClose);
        EXPECT_TRUE(driver->is_gone());
    }

    bool pump(const std::function<bool()>& done) { return driver->pump(done); }

    std::vector<float> parameters()
    {
        std::vector<float> values;
        for (int i = 0; i < nbr_params; ++i)
        {
            values.push_back(host.get_parameter(i));
        }
        return values;
    }

    void automate(int index, float value)
    {
        audio->automate(index, value);
        ASSERT_TRUE(pump([&] { return audio->is_automated(); }));
    }

    // What the host heard about the parameter: its gestures and automation, one line for each
    // run of calls of a kind from one thread.
    std::vector<std::string> heard(int index)
    {
        std::vector<std::string> lines;
        for (const vst2host::CallbackRecord& r : host.use_log().get_records())
        {
            const char* kind = r.opcode == vst2::audioMasterBeginEdit  ? "begin edit"
                               : r.opcode == vst2::audioMasterAutomate ? "automate"
                               : r.opcode == vst2::audioMasterEndEdit  ? "end edit"
                                                                       : nullptr;
            if (kind == nullptr || r.index != index)
            {
                continue;
            }
            const std::string line =
                std::string(kind) + (r.thread == std::this_thread::get_id() ? " from the editor"
                                     : r.thread == audio->get_id()          ? " from the audio"
                                                                   : " from another thread");
            if (lines.empty() || lines.back() != line)
            {
                lines.push_back(line);
            }
        }
        return lines;
    }
    // The value of the last automation and the time of the last end edit of the parameter.
    std::pair<float, std::chrono::steady_clock::time_point> last_calls(int index)
    {
        std::pair<float, std::chrono::steady_clock::time_point> last{-1.0f, {}};
        for (const vst2host::CallbackRecord& r : host.use_log().get_records())
        {
            last.first =
                r.opcode == vst2::audioMasterAutomate && r.index == index ? r.opt : last.first;
            last.second =
                r.opcode == vst2::audioMasterEndEdit && r.index == index ? r.time : last.second;
        }
        return last;
    }
    bool end_edit_came(int index)
    {
        const std::vector<std::string> lines = heard(index);
        return !lines.empty() && lines.back().rfind("end edit", 0) == 0;
    }

    // Once transient states (a button's fade, a knob's glide) have ended, the window shows what
    // the editor draws in memory for the module's parameter values.
    void expect_shows_reference()
    {
        std::vector<std::uint32_t> shown;
        std::vector<std::uint32_t> drawn;
        pump(
            [&]
            {
                shown = driver->read_pixels();
                twin->open(parameters());
                const std::uint32_t* first = twin->window.use_screen().get_pixels();
                drawn.assign(first, first + VantrelGui::width * VantrelGui::height);
                std::for_each(drawn.begin(), drawn.end(), [](std::uint32_t& p) { p &= 0xFFFFFF; });
                return shown == drawn;
            });
        const auto at =
            std::mismatch(shown.begin(), shown.end(), drawn.begin(), drawn.end()).first -
            shown.begin();
        EXPECT_TRUE(shown == drawn) << "the first differing pixel at (" << at % VantrelGui::width
                                    << ", " << at / VantrelGui::width << ")";
    }

    // The module puts the cursor back only once a drag has lasted 250 ms of its own clock, which
    // this test cannot move on: a drag lets that much real time pass, with a margin, while the
    // window works.
    void hold_the_drag()
    {
        const auto end = std::chrono::steady_clock::now() + 300ms;
        pump([&] { return std::chrono::steady_clock::now() >= end; });
    }

    vst2host::Host host;
    std::unique_ptr<EditorDriver> driver;
    std::optional<AudioThread> audio;
    std::unique_ptr<test::Twin> twin;

private:
    long blocks_at_start_ = 0;
};

class EditorEndToEnd : public EditorSession, public testing::TestWithParam<std::string>
{
protected:
    void SetUp() override { start(GetParam(), "0"); }
    void TearDown() override { finish(); }
};

// A drag of the large knob in one mouse mode, let go once the knob stands still or while it still
// glides to where the mouse took it.
struct KnobCase
{
    const char* name;
    const char* mouse_mode;
    bool held_still;
};

class KnobDrag : public EditorSession,
                 public testing::TestWithParam<std::tuple<std::string, KnobCase>>
{
protected:
    void SetUp() override { start(std::get<0>(GetParam()), std::get<1>(GetParam()).mouse_mode); }
    void TearDown() override { finish(); }
};

std::string style_name(const testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

INSTANTIATE_TEST_SUITE_P(EveryHostStyle, EditorEndToEnd,
                         testing::ValuesIn(test::editor_host_styles()), style_name);
INSTANTIATE_TEST_SUITE_P(
    EveryHostStyleAndMouseMode, KnobDrag,
    testing::Combine(testing::ValuesIn(test::editor_host_styles()),
                     testing::Values(KnobCase{"EnhancedHeldStill", "0", true},
                                     KnobCase{"CompatibleLetGoGliding", "1", false})),
    [](const auto& info) { return std::get<0>(info.param) + std::get<1>(info.param).name; });

} // namespace

// 40 pixels up on the large knob, with the drag range of 256 pixels: the cutoff goes up by 40/256
// of its range. The host hears one gesture: begin edit and automation from its user-interface
// thread, and the end edit from the plug-in's own thread once the knob has let go of the
// parameter: at the release when it stood still, else 0.5 s after the last step of its glide.
TEST_P(KnobDrag, MovesTheCutoffUpAndTellsTheHostOneGesture)
{
    const KnobCase& drag = std::get<1>(GetParam());
    const bool hides_cursor = drag.mouse_mode == std::string("0");
    const float before = host.get_parameter(cutoff);
    host.use_log().clear();
    ASSERT_NO_FATAL_FAILURE(driver->press(cutoff_knob));
    const Point dragged_to{cutoff_knob.x, cutoff_knob.y - 40};
    driver->move(dragged_to);
    ASSERT_TRUE(pump([&] { return host.get_parameter(cutoff) > before; }));
    EXPECT_TRUE(pump([&] { return driver->is_cursor_shown() != hides_cursor; }))
        << "during the drag";
    if (drag.held_still)
    {
        hold_the_drag();
    }
    EXPECT_FALSE(end_edit_came(cutoff)) << "while the knob is held";
    const auto released = std::chrono::steady_clock::now();
    driver->release();
    EXPECT_TRUE(pump([&] { return driver->is_cursor_shown(); }));
    const Point left_at = hides_cursor ? cutoff_knob : dragged_to;
    EXPECT_TRUE(pump([&] { return driver->get_pointer() == left_at; }))
        << "the hidden cursor comes back where the drag began";

    ASSERT_TRUE(pump([&] { return end_edit_came(cutoff); }));
    EXPECT_THAT(heard(cutoff), ElementsAre("begin edit from the editor", "automate from the editor",
                                           "end edit from another thread"));
    const auto [automated, ended] = last_calls(cutoff);
    EXPECT_GE(ended - released, drag.held_still ? 0ms : 450ms);
    EXPECT_FLOAT_EQ(host.get_parameter(cutoff), before + 40.0f / 256.0f);
    EXPECT_EQ(automated, host.get_parameter(cutoff));
    expect_shows_reference();
}

// A sloppy drag, 18 pixels along the travel and 10 across it in two moves: the hidden cursor
// comes back on the handle, not where the mouse went.
TEST_P(EditorEndToEnd, AfterADragOfTheToneFadersHandleTheCursorLandsOnTheHandle)
{
    const float before = host.get_parameter(tone);
    const Point handle = tone_handle(before);
    ASSERT_NO_FATAL_FAILURE(driver->press(handle));
    EXPECT_TRUE(pump([&] { return !driver->is_cursor_shown(); }));
    for (const Point by : {Point{9, 5}, Point{18, 10}})
    {
        const float now = host.get_parameter(tone);
        driver->move(handle + by);
        ASSERT_TRUE(pump([&] { return host.get_parameter(tone) > now; }))
            << "the move by " << by.x << "," << by.y;
    }
    hold_the_drag();
    driver->release();
    ASSERT_TRUE(pump([&] { return end_edit_came(tone); }));
    EXPECT_FLOAT_EQ(host.get_parameter(tone), before + 18.0f / tone_travel);
    EXPECT_TRUE(pump([&] { return driver->is_cursor_shown(); }));
    EXPECT_TRUE(
        pump([&] { return driver->get_pointer() == tone_handle(host.get_parameter(tone)); }))
        << "the pointer at x " << driver->get_pointer().x;
    expect_shows_reference();
}

TEST_P(EditorEndToEnd, TextTypedIntoTheCutoffBoxSetsTheCutoffWithEnterAndNotWithEscape)
{
    const struct
    {
        const char* typed;
        EditorDriver::Key leave;
    } entries[] = {{"440", EditorDriver::Key::enter}, {"880", EditorDriver::Key::escape}};
    for (const auto& entry : entries)
    {
        SCOPED_TRACE(entry.typed);
        const float before = host.get_parameter(cutoff);
        driver->click(cutoff_box);
        ASSERT_TRUE(pump([&] { return driver->get_field() == EditorDriver::Field::focused; }))
            << "the system's field over the box, with the keyboard";
        driver->type(entry.typed);
        driver->tap(entry.leave);
        ASSERT_TRUE(pump([&] { return driver->get_field() == EditorDriver::Field::none; }));
        EXPECT_TRUE(pump([&] { return host.get_param_display(cutoff) == "440.0"; }))
            << host.get_param_display(cutoff);
        if (entry.leave == EditorDriver::Key::escape)
        {
            EXPECT_EQ(host.get_parameter(cutoff), before);
        }
        expect_shows_reference();
    }
    EXPECT_EQ(twin->gui->use_main().use_box(cutoff)->get_text(), "440.0") << "what the box shows";
}

// With a morph time of 0 the preset is there at once; the editor closed while the button still
// fades opens again at rest.
TEST_P(EditorEndToEnd, APresetNumberButtonRecallsThePresetAtOnceAndTheEditorReopensAfterIt)
{
    plux::BankManager bank;
    ASSERT_EQ(plux::load_bank_file(test::preset_bank_path(), bank, nullptr, false), 0);
    constexpr int preset = 5;
    const std::vector<float>& wanted = bank.use_prog(preset).use_values();
    const auto reached = [&]
    {
        const std::vector<float> now = parameters();
        return std::equal(now.begin(), now.end(), wanted.begin(), wanted.end(),
                          [](float a, float b) { return std::abs(a - b) < 1e-6f; });
    };
    ASSERT_FALSE(reached()) << "the session starts with another sound";
    driver->click(preset_button(preset));
    EXPECT_TRUE(pump(reached)) << testing::PrintToString(parameters());
    close_editor();
    ASSERT_NO_FATAL_FAILURE(open_editor());
    expect_shows_reference();
}

// The item switches the mode of every editor of the maker, so it lives in the registry, and
// the next drag is in the new mode.
TEST_P(EditorEndToEnd, TheSetupMenusMouseModeItemSwitchesTheModeBackAndForth)
{
    for (const std::string now : {"1", "0"})
    {
        SCOPED_TRACE(now);
        const std::vector<std::string> items =
            driver->pick(setup_button, "Enhanced mouse mode", *twin);
        ASSERT_TRUE(pump([&] { return read_mouse_mode() == now; }));
        EXPECT_THAT(items, testing::Contains(now == "1" ? "Enhanced mouse mode (checked)"
                                                        : "Enhanced mouse mode"));
        const float before = host.get_parameter(cutoff);
        ASSERT_NO_FATAL_FAILURE(driver->press(cutoff_knob));
        driver->move({cutoff_knob.x, cutoff_knob.y - 10});
        ASSERT_TRUE(pump([&] { return host.get_parameter(cutoff) > before; }));
        EXPECT_TRUE(pump([&] { return driver->is_cursor_shown() == (now == "1"); }));
        driver->release();
        ASSERT_TRUE(pump([&] { return end_edit_came(cutoff); }));
    }
    expect_shows_reference();
}

// Automation from the audio thread reaches the controls through the editor's mailbox, also
// while the editor is closed.
TEST_P(EditorEndToEnd, TheEditorClosesAndOpensAgainAndFollowsTheHostsAutomation)
{
    expect_shows_reference();
    for (int round = 1; round <= 3; ++round)
    {
        SCOPED_TRACE(round);
        close_editor();
        ASSERT_NO_FATAL_FAILURE(automate(cutoff, 0.2f * static_cast<float>(round)));
        ASSERT_NO_FATAL_FAILURE(open_editor());
        expect_shows_reference();
        ASSERT_NO_FATAL_FAILURE(automate(tone, 0.3f * static_cast<float>(round)));
        expect_shows_reference();
    }
}
