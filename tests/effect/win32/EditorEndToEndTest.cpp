// Morvane's editor as a DAW shows it: the plug-in module loaded and playing on an audio thread of
// its own, its editor opened in a real window of the host and worked with the real mouse and
// keyboard, and what the window shows against the same editor drawn in memory.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <gmock/gmock.h>
#include <optional>
#include <thread>

#include "effect/gui/GuiRig.hpp"
#include "plux/prog/BankFile.hpp"
#include "ravik/win32/Desktop.hpp"
#include "vst2host/Host.hpp"
#include "vst2host/WindowsPath.hpp"

namespace ravik
{

// For the failure messages.
void PrintTo(const Point& p, std::ostream* out)
{
    *out << '(' << p.x << ", " << p.y << ')';
}

} // namespace ravik

namespace
{

using ravik::Point;
using test::pump_until;
using test::input::mouse;
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
constexpr Point preset_2{88, 297};
constexpr Point setup_button{276, 302};

// The per-user mouse mode of the maker's plug-ins, which a module reads when it first needs it.
constexpr const char* maker_key = "Software\\Tarvex";
constexpr const char* mouse_mode = "MouseCompatibility";

std::optional<std::string> read_mouse_mode()
{
    char text[64] = {};
    DWORD size = sizeof(text);
    if (::RegGetValueA(HKEY_CURRENT_USER, maker_key, mouse_mode, RRF_RT_REG_SZ, nullptr, text,
                       &size) != ERROR_SUCCESS)
    {
        return std::nullopt;
    }
    return text;
}

// Without a value the module falls back to enhanced mode.
void write_mouse_mode(const std::optional<std::string>& value)
{
    if (value.has_value())
    {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, maker_key, mouse_mode, REG_SZ, value->c_str(),
                          static_cast<DWORD>(value->size() + 1));
    }
    else
    {
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, maker_key, mouse_mode);
    }
}

// The DAW's audio thread: a block of 256 frames every 5.3 ms, as a sound card asks for them;
// automation that the test hands over is played at the start of a block.
class AudioThread
{
public:
    explicit AudioThread(vst2host::Host& host)
        : thread_([this, &host](std::stop_token stop) { run(host, stop); })
    {
    }

    // Sets the parameter from the audio thread; back once it is set.
    void automate(int index, float value)
    {
        value_.store(value);
        index_.store(index);
        ASSERT_TRUE(pump_until([&] { return index_.load() == -1; }));
    }
    long get_nbr_blocks() const { return blocks_.load(); }
    std::thread::id get_id() const { return thread_.get_id(); }

private:
    void run(vst2host::Host& host, const std::stop_token& stop)
    {
        constexpr int frames = 256;
        auto next = std::chrono::steady_clock::now();
        while (!stop.stop_requested())
        {
            if (const int index = index_.load(); index >= 0)
            {
                host.set_parameter(index, value_.load());
                index_.store(-1);
            }
            // Silence in, the outputs to the host's scratch buffers.
            host.process({}, {}, frames);
            ++blocks_;
            next += std::chrono::microseconds(1000000 * frames / 48000);
            std::this_thread::sleep_until(next);
        }
    }

    std::atomic<int> index_{-1};
    std::atomic<float> value_{0.0f};
    std::atomic<long> blocks_{0};
    std::jthread thread_;
};

// The same editor built into this process on the real engine and drawn in memory: what the window
// must show for the parameter values that the module holds.
class ReferenceEditor
{
public:
    static constexpr Point size{VantrelGui::width, VantrelGui::height};

    std::vector<std::uint32_t> draw(vst2host::Host& module)
    {
        for (int i = 0; i < nbr_params; ++i)
        {
            rig_.engine.dsp->use_param(i).set_nrm_and_notify(module.get_parameter(i));
        }
        // Opening shows every parameter.
        rig_.gui->close();
        rig_.gui->open(nullptr);
        rig_.window.paint_all();
        const std::uint32_t* first = rig_.window.use_screen().get_pixels();
        std::vector<std::uint32_t> pixels(first, first + size.x * size.y);
        for (std::uint32_t& p : pixels)
        {
            p &= 0x00FFFFFFu;
        }
        return pixels;
    }
    VantrelGui& use_editor() { return *rig_.gui; }

private:
    GuiRig rig_;
};

// A DAW's session with Morvane: the module loaded with the mouse mode of the registry, started and
// playing, and its editor open in the host's window, which has the keyboard focus; the mouse
// waits outside. The session ends with effClose while the editor is still open, as many hosts
// end it. Each session loads the module anew, so that it reads the mouse mode anew.
class EditorSession : public testing::Test
{
protected:
    static void SetUpTestSuite() { saved_mode_ = read_mouse_mode(); }
    static void TearDownTestSuite() { write_mouse_mode(saved_mode_); }

    void start(const char* mode)
    {
        ASSERT_EQ(::GetModuleHandleA("Morvane.dll"), nullptr) << "an earlier session's module";
        write_mouse_mode(mode);
        ASSERT_TRUE(host.load(MORVANE_MODULE_PATH)) << host.get_error();
        ASSERT_TRUE(host.start(48000.0f, 256));
        audio.emplace(host);
        ::SetFocus(frame);
        ASSERT_NO_FATAL_FAILURE(test::park_mouse());
        ASSERT_NO_FATAL_FAILURE(open_editor());
        blocks_at_start_ = audio->get_nbr_blocks();
    }

    void TearDown() override
    {
        // A test that failed half-way leaves the next one a free mouse.
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
        {
            mouse(MOUSEEVENTF_LEFTUP);
        }
        if (audio.has_value())
        {
            EXPECT_GT(audio->get_nbr_blocks(), blocks_at_start_) << "the audio went on";
            audio.reset();
        }
        host.stop();
        EXPECT_FALSE(::IsWindow(editor)) << "effClose took the open editor's window with it";
        EXPECT_TRUE(::IsWindow(frame));
    }

    void open_editor()
    {
        vst2::ERect* rect = nullptr;
        ASSERT_EQ(host.dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        const Point size{rect->right - rect->left, rect->bottom - rect->top};
        ASSERT_EQ(size, ReferenceEditor::size);
        RECT outer = {0, 0, size.x, size.y};
        ::AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
        ::SetWindowPos(frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(host.dispatch(vst2::effEditOpen, 0, 0, frame), 1);
        editor = ::GetWindow(frame, GW_CHILD);
        ASSERT_NE(editor, nullptr);
        char name[256] = {};
        ::GetClassNameA(editor, name, sizeof(name));
        EXPECT_THAT(name, testing::StartsWith("TarvexAudioPlugin"));
        RECT client = {};
        ::GetClientRect(editor, &client);
        EXPECT_EQ((Point{client.right, client.bottom}), size);
    }

    void close_editor()
    {
        host.dispatch(vst2::effEditClose);
        EXPECT_FALSE(::IsWindow(editor));
    }

    void move_to(const Point& pos) const
    {
        POINT p = {pos.x, pos.y};
        ::ClientToScreen(editor, &p);
        test::input::move_to(p);
    }
    void click(const Point& pos) const
    {
        move_to(pos);
        mouse(MOUSEEVENTF_LEFTDOWN);
        mouse(MOUSEEVENTF_LEFTUP);
    }
    // Where the cursor is, in the editor's window.
    Point cursor() const
    {
        POINT p = test::get_cursor();
        ::ScreenToClient(editor, &p);
        return {p.x, p.y};
    }
    bool captured() const { return ::GetCapture() == editor; }

    std::vector<float> parameters()
    {
        std::vector<float> values;
        for (int i = 0; i < nbr_params; ++i)
        {
            values.push_back(host.get_parameter(i));
        }
        return values;
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
    float last_automation(int index)
    {
        float value = -1.0f;
        for (const vst2host::CallbackRecord& r : host.use_log().get_records())
        {
            value = r.opcode == vst2::audioMasterAutomate && r.index == index ? r.opt : value;
        }
        return value;
    }
    bool end_edit_came(int index)
    {
        const std::vector<std::string> lines = heard(index);
        return !lines.empty() && lines.back().rfind("end edit", 0) == 0;
    }

    // Once transient states (a button's fade) have ended, the window shows what the editor draws
    // in memory for the module's parameter values.
    void expect_shows_reference()
    {
        std::vector<std::uint32_t> shown;
        std::vector<std::uint32_t> drawn;
        pump_until(
            [&]
            {
                shown = test::read_pixels(editor, ReferenceEditor::size.x, ReferenceEditor::size.y);
                drawn = reference.draw(host);
                return shown == drawn;
            },
            3000);
        const auto at =
            std::mismatch(shown.begin(), shown.end(), drawn.begin()).first - shown.begin();
        EXPECT_TRUE(shown == drawn)
            << "the first differing pixel at (" << at % ReferenceEditor::size.x << ", "
            << at / ReferenceEditor::size.x << ")";
    }

    // The module puts the cursor back only once a drag has lasted 250 ms of its own clock, which
    // this test cannot move on: a drag lets that much real time pass, with a margin, while the
    // window works.
    static void hold_the_drag()
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
        pump_until([&] { return std::chrono::steady_clock::now() >= end; });
    }

    const HWND frame = test::host_window();
    vst2host::Host host;
    std::optional<AudioThread> audio;
    HWND editor = nullptr;
    ReferenceEditor reference;

private:
    static inline std::optional<std::string> saved_mode_;
    long blocks_at_start_ = 0;
};

class EditorEndToEnd : public EditorSession
{
protected:
    void SetUp() override { start("0"); }
};

// A drag of the large knob in one mouse mode, let go once the knob stands still or while it still
// glides to where the mouse took it.
struct KnobCase
{
    const char* name;
    const char* mouse_mode;
    bool hides_cursor;
    bool held_still;
};

class KnobDrag : public EditorSession, public testing::WithParamInterface<KnobCase>
{
protected:
    void SetUp() override { start(GetParam().mouse_mode); }
};

} // namespace

// 40 pixels up on the large knob, with the drag range of 256 pixels: the cutoff goes up by 40/256
// of its range. The host hears one gesture: begin edit and automation from its user-interface
// thread, and the end edit from the plug-in's own thread once the knob has let go of the
// parameter: at the release when it stood still, else 0.5 s after the last step of its glide.
TEST_P(KnobDrag, MovesTheCutoffUpAndTellsTheHostOneGesture)
{
    const KnobCase& drag = GetParam();
    const float before = host.get_parameter(cutoff);
    host.use_log().clear();
    move_to(cutoff_knob);
    mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(pump_until([&] { return captured(); })) << "the knob takes the mouse";
    const Point dragged_to{cutoff_knob.x, cutoff_knob.y - 40};
    move_to(dragged_to);
    ASSERT_TRUE(pump_until([&] { return host.get_parameter(cutoff) > before; }));
    EXPECT_EQ(test::is_cursor_shown(), !drag.hides_cursor) << "during the drag";
    if (drag.held_still)
    {
        hold_the_drag();
    }
    EXPECT_FALSE(end_edit_came(cutoff)) << "while the knob is held";
    const auto released = std::chrono::steady_clock::now();
    mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(pump_until([&] { return !captured(); }));
    EXPECT_TRUE(test::is_cursor_shown());
    EXPECT_EQ(cursor(), drag.hides_cursor ? cutoff_knob : dragged_to)
        << "the hidden cursor comes back where the drag began";

    ASSERT_TRUE(pump_until([&] { return end_edit_came(cutoff); }));
    if (!drag.held_still)
    {
        EXPECT_GE(std::chrono::steady_clock::now() - released, std::chrono::milliseconds(450));
    }
    EXPECT_THAT(heard(cutoff), ElementsAre("begin edit from the editor", "automate from the editor",
                                           "end edit from another thread"));
    EXPECT_FLOAT_EQ(host.get_parameter(cutoff), before + 40.0f / 256.0f);
    EXPECT_EQ(last_automation(cutoff), host.get_parameter(cutoff));
    expect_shows_reference();
}

INSTANTIATE_TEST_SUITE_P(EveryMouseMode, KnobDrag,
                         testing::Values(KnobCase{"EnhancedHeldStill", "0", true, true},
                                         KnobCase{"CompatibleLetGoGliding", "1", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A sloppy drag, 18 pixels along the travel and 10 across it: the hidden cursor comes back on
// the handle, not where the mouse went.
TEST_F(EditorEndToEnd, AfterADragOfTheToneFadersHandleTheCursorLandsOnTheHandle)
{
    const float before = host.get_parameter(tone);
    const Point handle{tone_fader.x + static_cast<int>(std::lround(before * tone_travel)),
                       tone_fader.y};
    move_to(handle);
    mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(pump_until([&] { return captured(); }));
    EXPECT_FALSE(test::is_cursor_shown());
    move_to({handle.x + 18, handle.y + 10});
    ASSERT_TRUE(pump_until([&] { return host.get_parameter(tone) > before; }));
    hold_the_drag();
    mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(pump_until([&] { return end_edit_came(tone); }));
    const float after = host.get_parameter(tone);
    EXPECT_FLOAT_EQ(after, before + 18.0f / tone_travel);
    EXPECT_TRUE(test::is_cursor_shown());
    EXPECT_EQ(cursor(), (Point{tone_fader.x + static_cast<int>(std::lround(after * tone_travel)),
                               tone_fader.y}));
    expect_shows_reference();
}

TEST_F(EditorEndToEnd, TextTypedIntoTheCutoffBoxSetsTheCutoffWithEnterAndNotWithEscape)
{
    const struct
    {
        const char* typed;
        WORD leave;
    } entries[] = {{"440", VK_RETURN}, {"880", VK_ESCAPE}};
    for (const auto& entry : entries)
    {
        SCOPED_TRACE(entry.typed);
        const float before = host.get_parameter(cutoff);
        click(cutoff_box);
        HWND field = nullptr;
        ASSERT_TRUE(pump_until(
            [&]
            {
                field = ::FindWindowExA(editor, nullptr, "Edit", nullptr);
                return field != nullptr && ::GetFocus() == field;
            }))
            << "the system's field over the box, with the focus";
        test::input::type(entry.typed);
        test::input::press_key(entry.leave);
        ASSERT_TRUE(pump_until([&] { return !::IsWindow(field); }));
        EXPECT_EQ(host.get_param_display(cutoff), "440.0");
        if (entry.leave == VK_ESCAPE)
        {
            EXPECT_EQ(host.get_parameter(cutoff), before);
        }
    }
    expect_shows_reference();
    EXPECT_EQ(reference.use_editor().use_main().use_box(cutoff)->get_text(), "440.0")
        << "what the box shows";
}

TEST_F(EditorEndToEnd, APresetNumberButtonRecallsThePresetAtOnceWithTheMorphTimeAtZero)
{
    plux::BankManager bank;
    ASSERT_EQ(plux::load_bank_file(vst2host::to_windows_path(MORVANE_PRESET_BANK_PATH), bank,
                                   nullptr, false),
              0);
    const std::vector<float>& wanted = bank.use_prog(1).use_values();
    ASSERT_NE(parameters(), wanted) << "the session starts with another sound";
    click(preset_2);
    EXPECT_TRUE(pump_until([&] { return parameters() == wanted; }))
        << testing::PrintToString(parameters());
    expect_shows_reference();
}

// The item switches the mode of every editor of the maker, so it lives in the registry.
TEST_F(EditorEndToEnd, TheSetupMenusMouseModeItemSwitchesTheModeBackAndForth)
{
    for (const std::string now : {"1", "0"})
    {
        SCOPED_TRACE(now);
        // Nothing above the item has a submenu: its line is its position.
        std::vector<std::string> items;
        test::MenuScript script(
            {[&]
             {
                 const HMENU menu = test::shown_menu();
                 items = test::describe(menu);
                 const auto item = std::find_if(items.begin(), items.end(),
                                                [](const std::string& line) {
                                                    return line.starts_with("Enhanced mouse mode");
                                                });
                 if (item != items.end())
                 {
                     test::click_item(menu, static_cast<int>(item - items.begin()));
                 }
                 return item != items.end();
             }});
        click(setup_button);
        ASSERT_TRUE(pump_until([&] { return read_mouse_mode() == now; }));
        EXPECT_TRUE(script.is_done());
        EXPECT_THAT(items, testing::Contains(now == "1" ? "Enhanced mouse mode (checked)"
                                                        : "Enhanced mouse mode"));
    }
    expect_shows_reference();
}

// Automation from the audio thread reaches the controls through the editor's mailbox, also
// while the editor is closed.
TEST_F(EditorEndToEnd, TheEditorClosesAndOpensAgainAndFollowsTheHostsAutomation)
{
    expect_shows_reference();
    for (int round = 1; round <= 3; ++round)
    {
        SCOPED_TRACE(round);
        close_editor();
        audio->automate(cutoff, 0.2f * static_cast<float>(round));
        ASSERT_NO_FATAL_FAILURE(open_editor());
        expect_shows_reference();
        audio->automate(tone, 0.3f * static_cast<float>(round));
        expect_shows_reference();
    }
}
