// Morvane's editor in a Linux VST 2 host: the module loaded as a DAW loads it, audio running on
// a thread of its own, the editor opened in a real window under an X server and driven with real
// input through XTest, by a host that calls effEditIdle and by one that hands the window its
// events through _XEventProc. What the window shows is compared, pixel for pixel, with the same
// editor built into this process and drawn in memory from the same parameter values.
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

#include "effect/gui/VantrelGui.hpp"
#include "plux/EffectFactoryInterface.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/vst2/Vst2Entry.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/widget/Fader.hpp"
#include "ravik/x11/X11Host.hpp"
#include "sys/PersistentKeyList.hpp"
#include "vst2host/Host.hpp"

using namespace std::chrono_literals;
using test::X11Host;
using vst2host::CallbackRecord;

namespace
{

constexpr int nbr_params = 8;
constexpr int cutoff = 0;
constexpr int tone = 7;
constexpr ravik::Point cutoff_knob{150, 163};
// Inside the cutoff's value box, 72 x 12 under its top centre (144, 217).
constexpr ravik::Point cutoff_box{144, 223};
constexpr ravik::Point tone_fader{100, 261};
constexpr int tone_travel = 90;
constexpr ravik::Point setup_button{276, 302};

ravik::Point preset_button(int index)
{
    return {68 + 20 * index, VantrelGui::preset_panel_top + 15};
}

using Values = std::array<float, nbr_params>;

vst2::AEffect* morvane_entry(vst2::HostCallback host)
{
    return plux::vst2_entry(host, plux::use_effect_factory());
}

// Morvane built into this process, its editor in a window in memory: what the screen must show.
struct Twin
{
    Twin()
    {
        host.load_entry(&morvane_entry);
        host.start(48000.0f, 256);
        plugin = dynamic_cast<plux::Vst2WinPlugin*>(
            static_cast<vst2::AudioEffect*>(host.use_effect()->object));
        gui = dynamic_cast<VantrelGui*>(plugin->use_gui());
        native = gui->get_window();
        gui->set_window(&window);
    }
    ~Twin() { gui->set_window(native); }

    void open(const Values& values)
    {
        for (int i = 0; i < nbr_params; ++i)
        {
            // Above every source, whatever holds the parameter.
            plugin->set_param(i, values[static_cast<std::size_t>(i)], 0xFFFF);
        }
        gui->open(nullptr);
        window.paint_all();
    }

    vst2host::Host host;
    ravik::WindowOffscreen window{{VantrelGui::width, VantrelGui::height}};
    plux::Vst2WinPlugin* plugin = nullptr;
    VantrelGui* gui = nullptr;
    ravik::WindowInterface* native = nullptr;
};

// The value of the mouse mode in the user's registry, empty when there is none.
std::string mouse_mode_in_registry()
{
    std::string value;
    try
    {
        sys::PersistentKeyList("Tarvex", false).get_string("MouseCompatibility", value);
    }
    catch (const std::exception&)
    {
    }
    return value;
}

// The module in a host with audio running, its editor open in the host's window, with a
// configuration folder of its own.
class EditorEndToEnd : public testing::TestWithParam<X11Host::Dispatch>
{
protected:
    void SetUp() override { start(GetParam()); }

    // mouse_mode: what the user's registry holds before the module loads, if anything.
    void start(X11Host::Dispatch dispatch, const char* mouse_mode = nullptr)
    {
        char folder[] = "/tmp/morvane-editor-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        config_ = folder;
        setenv("XDG_CONFIG_HOME", folder, 1);
        if (mouse_mode != nullptr)
        {
            sys::PersistentKeyList("Tarvex", true).set_string("MouseCompatibility", mouse_mode);
        }
        ASSERT_TRUE(host.load(MORVANE_MODULE_PATH)) << host.get_error();
        ASSERT_TRUE(host.start(48000.0f, 256));
        audio_ = std::thread([this] { play(); });
        x11_ = std::make_unique<X11Host>([this] { host.dispatch(vst2::effEditIdle); }, dispatch);
        twin_ = std::make_unique<Twin>();
        vst2::ERect* rect = nullptr;
        ASSERT_NE(host.dispatch(vst2::effEditGetRect, 0, 0, &rect), 0);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 300);
        EXPECT_EQ(rect->bottom - rect->top, 335);
        open_editor();
    }

    void TearDown() override
    {
        stop_audio();
        host.stop();
        twin_.reset();
        x11_.reset();
        if (!config_.empty())
        {
            std::filesystem::remove_all(config_);
        }
    }

    void open_editor()
    {
        ASSERT_EQ(host.dispatch(vst2::effEditOpen, 0, 0, x11_->get_parent()), 1);
        x11_->adopt();
        ASSERT_NE(x11_->get_child(), 0u) << "the editor is a child of the host's window";
        ASSERT_NE(x11_->get_event_proc(), nullptr);
    }

    bool editor_gone()
    {
        return x11_->pump(
            [this]
            {
                x11_->adopt();
                return x11_->get_child() == 0;
            });
    }

    // A sound card's thread: a block of a tone every 256 frames of real time.
    void play()
    {
        std::vector<float> left(256);
        std::vector<float> right(256);
        float* io[] = {left.data(), right.data()};
        auto next = std::chrono::steady_clock::now();
        for (long block = 0; playing_.load(); ++block)
        {
            for (std::size_t i = 0; i < left.size(); ++i)
            {
                left[i] = right[i] =
                    0.3f * static_cast<float>(std::sin(0.0288 * (block * 256 + i)));
            }
            audio_ok_ = host.process(io, io, 256) && std::isfinite(left[0]) && audio_ok_;
            ++blocks_;
            next += std::chrono::microseconds(5333);
            std::this_thread::sleep_until(next);
        }
    }

    void stop_audio()
    {
        if (audio_.joinable())
        {
            const long blocks = blocks_.load();
            x11_->pump([&] { return blocks_.load() > blocks; });
            EXPECT_GT(blocks_.load(), blocks) << "audio ran all along";
            playing_ = false;
            audio_.join();
            EXPECT_TRUE(audio_ok_.load());
        }
    }

    bool pump(const std::function<bool()>& done) { return x11_->pump(done); }

    std::vector<CallbackRecord> calls(vst2::VstInt32 opcode, int index)
    {
        std::vector<CallbackRecord> found;
        for (const CallbackRecord& record : host.use_log().get_records())
        {
            if (record.opcode == opcode && record.index == index)
            {
                found.push_back(record);
            }
        }
        return found;
    }

    Values values()
    {
        Values v{};
        for (int i = 0; i < nbr_params; ++i)
        {
            v[static_cast<std::size_t>(i)] = host.get_parameter(i);
        }
        return v;
    }

    // Checks that the window shows what the twin draws from the module's parameter values, once
    // the editor has painted and its fades have ended.
    void expect_shows_parameters(const char* when)
    {
        twin_->open(values());
        int differences = -1;
        const bool same = pump(
            [&]
            {
                const auto shown = test::read_window(x11_->get_display(), x11_->get_child());
                differences = test::count_differences(*shown, twin_->window.use_screen());
                return differences == 0;
            });
        EXPECT_TRUE(same) << when << ": " << differences << " pixels differ";
        twin_->gui->close();
    }

    // Presses on a control and drags through path, each move followed by the parameter's
    // automation; during looks while the button is down, which it still is at the end. With
    // put_back, long enough for the window to put the pointer back when it is let go.
    void drag(const ravik::Point& from, std::initializer_list<ravik::Point> path, int index,
              const std::function<void()>& during, bool put_back = true)
    {
        x11_->move(from);
        x11_->button(Button1, true);
        std::chrono::steady_clock::time_point pressed;
        for (const ravik::Point& to : path)
        {
            const std::size_t before = calls(vst2::audioMasterAutomate, index).size();
            x11_->move(to);
            ASSERT_TRUE(
                pump([&] { return calls(vst2::audioMasterAutomate, index).size() > before; }))
                << "the drag to " << to.x << "," << to.y << " moves parameter " << index;
            if (&to == path.begin())
            {
                // The window took the capture before it handled the move.
                pressed = std::chrono::steady_clock::now();
            }
        }
        during();
        if (!put_back)
        {
            return;
        }
        // The window puts the pointer back only after a drag of 250 ms of the plug-in's own
        // clock, which the test cannot reach: that much real time passes while the host runs.
        ASSERT_TRUE(pump([&] { return std::chrono::steady_clock::now() >= pressed + 250ms; }));
    }

    // The window that has the keyboard when it is a child of the editor's (the text field).
    Window field()
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x11_->get_display(), &focus, &revert);
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned nbr = 0;
        if (focus == None || focus == PointerRoot ||
            XQueryTree(x11_->get_display(), focus, &root, &parent, &children, &nbr) == 0)
        {
            return 0;
        }
        XFree(children);
        return parent == x11_->get_child() ? focus : 0;
    }

    void type_into_cutoff_box(const std::string& text, KeySym end)
    {
        x11_->move(cutoff_box);
        x11_->click(Button1);
        ASSERT_TRUE(pump([this] { return field() != 0; })) << "a click opens the box's field";
        x11_->type(text);
        x11_->tap(end);
        ASSERT_TRUE(pump([this] { return field() == 0; })) << "which the key closes";
    }

    // The pop-up menu on the screen, 0 when none is shown.
    Window menu()
    {
        Display* display = x11_->get_display();
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned nbr = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &nbr);
        Window found = 0;
        for (unsigned i = 0; i < nbr; ++i)
        {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, children[i], &a) != 0 && a.override_redirect &&
                a.map_state == IsViewable)
            {
                found = children[i];
            }
        }
        XFree(children);
        return found;
    }

    // Picks an item of the setup menu with the mouse, finding its row in the twin's menu.
    void pick_setup_item(const std::string& label)
    {
        x11_->move(setup_button);
        x11_->click(Button1);
        Window shown = 0;
        ASSERT_TRUE(pump([&] { return (shown = menu()) != 0; })) << "the setup button opens it";
        twin_->open(values());
        twin_->window.press(setup_button);
        twin_->window.release(setup_button);
        ravik::MenuOffscreen& twin_menu = twin_->window.use_menu();
        ASSERT_TRUE(twin_menu.is_shown());
        const ravik::MenuPanel& panel = twin_menu.use_panel(0);
        int row = 0;
        while (row < panel.get_nbr_rows() && panel.get_row(row).text != label)
        {
            ++row;
        }
        ASSERT_LT(row, panel.get_nbr_rows()) << label;
        const ravik::Rect r = twin_menu.get_row_rect(0, row);
        const ravik::Point in_panel =
            ravik::Point{(r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2} - twin_menu.get_position();
        twin_menu.stop();
        twin_->gui->close();
        XWindowAttributes a;
        XGetWindowAttributes(x11_->get_display(), shown, &a);
        x11_->move(ravik::Point{a.x, a.y} + in_panel - X11Host::origin);
        x11_->click(Button1);
        ASSERT_TRUE(pump([this] { return menu() == 0; })) << "a pick closes the menu";
    }

    // The Tone fader's handle on screen, at the parameter's value.
    ravik::Rect tone_handle()
    {
        const ravik::Rect& box = twin_->gui->use_pictures().get("fd_03").get_bounding_box();
        const int along = static_cast<int>(std::lround(host.get_parameter(tone) * tone_travel));
        return box.moved(tone_fader + ravik::Point{along, 0});
    }

    vst2host::Host host;
    std::unique_ptr<X11Host> x11_;
    std::unique_ptr<Twin> twin_;
    std::string config_;
    std::thread audio_;
    std::atomic<bool> playing_{true};
    std::atomic<bool> audio_ok_{true};
    std::atomic<long> blocks_{0};
};

INSTANTIATE_TEST_SUITE_P(BothHostStyles, EditorEndToEnd,
                         testing::Values(X11Host::Dispatch::idle, X11Host::Dispatch::event_proc),
                         [](const testing::TestParamInfo<X11Host::Dispatch>& info)
                         { return info.param == X11Host::Dispatch::idle ? "Idle" : "EventProc"; });

} // namespace

TEST_P(EditorEndToEnd, DraggingTheCutoffKnobHidesTheCursorAndAutomatesTheCutoffInOneEdit)
{
    const float before = host.get_parameter(cutoff);
    drag(cutoff_knob, {{150, 155}, {150, 147}, {150, 139}}, cutoff,
         [this]
         {
             EXPECT_TRUE(pump([this] { return !x11_->is_cursor_visible(); }))
                 << "the cursor hides during the drag";
         });
    x11_->button(Button1, false);
    const auto released = std::chrono::steady_clock::now();
    EXPECT_TRUE(pump([this] { return x11_->get_pointer() == cutoff_knob; }))
        << "the pointer goes back where the drag began";
    EXPECT_TRUE(pump([this] { return x11_->is_cursor_visible(); })) << "and shows again";
    ASSERT_TRUE(pump([this] { return !calls(vst2::audioMasterEndEdit, cutoff).empty(); }));
    const auto begin = calls(vst2::audioMasterBeginEdit, cutoff);
    const auto automation = calls(vst2::audioMasterAutomate, cutoff);
    const auto end = calls(vst2::audioMasterEndEdit, cutoff);
    ASSERT_EQ(begin.size(), 1u);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_LE(begin[0].time, automation.front().time) << "begin-edit comes first";
    EXPECT_GT(automation.back().opt, before) << "dragging up raises the cutoff";
    EXPECT_EQ(automation.back().opt, host.get_parameter(cutoff));
    for (const CallbackRecord& record : automation)
    {
        EXPECT_EQ(record.thread, std::this_thread::get_id()) << "the editor runs on the host's";
    }
    EXPECT_NE(end[0].thread, std::this_thread::get_id()) << "end-edit comes from the plug-in's";
    EXPECT_NE(end[0].thread, audio_.get_id()) << "background thread";
    // The release gives the cutoff up, so the edit ends at the background task's next run rather
    // than 0.5 s after the last change.
    EXPECT_GE(end[0].time, released) << "end-edit follows the release";
    expect_shows_parameters("after the drag");
}

TEST_P(EditorEndToEnd, DraggingTheToneFaderLeavesThePointerOnItsHandle)
{
    const float before = host.get_parameter(tone);
    const ravik::Rect at_first = tone_handle();
    const ravik::Point handle{(at_first.x1 + at_first.x2) / 2, (at_first.y1 + at_first.y2) / 2};
    drag(handle, {handle + ravik::Point{8, 0}, handle + ravik::Point{16, 0}}, tone, [] {});
    x11_->button(Button1, false);
    // The handle may still creep by a fraction of a pixel after the release.
    EXPECT_TRUE(pump(
        [&]
        {
            const ravik::Point p = x11_->get_pointer();
            const ravik::Rect r = tone_handle();
            return p.x > handle.x && p.x >= r.x1 && p.x < r.x2 && p.y >= r.y1 && p.y < r.y2;
        }))
        << "the pointer is put on the handle, which moved right";
    EXPECT_GT(host.get_parameter(tone), before);
    expect_shows_parameters("after the drag");
}

TEST_P(EditorEndToEnd, TypingIntoTheCutoffBoxSetsTheCutoffAndEscapeLeavesIt)
{
    type_into_cutoff_box("440", XK_Return);
    ASSERT_TRUE(pump([this] { return host.get_param_display(cutoff) == "440.0"; }))
        << host.get_param_display(cutoff);
    expect_shows_parameters("after 440 and Return");
    EXPECT_EQ(twin_->gui->use_main().use_box(cutoff)->get_text(), "440.0");
    const float typed = host.get_parameter(cutoff);
    type_into_cutoff_box("1000", XK_Escape);
    EXPECT_EQ(host.get_parameter(cutoff), typed);
    expect_shows_parameters("after 1000 and Escape");
}

TEST_P(EditorEndToEnd, PresetsReopeningTheSetupMenuAndClosingTheEffectWithTheEditorOpen)
{
    plux::BankManager bank;
    ASSERT_EQ(plux::load_bank_file(MORVANE_PRESET_BANK, bank, nullptr, false), 0);
    constexpr int preset = 5;
    const std::vector<float>& wanted = bank.use_prog(preset).use_values();
    ASSERT_EQ(wanted.size(), std::size_t{nbr_params});
    const auto reached = [&]
    {
        const Values now = values();
        return std::equal(now.begin(), now.end(), wanted.begin(),
                          [](float a, float b) { return std::abs(a - b) < 1e-6f; });
    };
    ASSERT_FALSE(reached());
    x11_->move(preset_button(preset));
    x11_->click(Button1);
    EXPECT_TRUE(pump(reached)) << "with a morph time of 0 the preset is there at once";
    // Most likely while the button still fades.
    host.dispatch(vst2::effEditClose);
    EXPECT_TRUE(editor_gone());
    open_editor();
    expect_shows_parameters("reopened after the preset");

    ASSERT_EQ(mouse_mode_in_registry(), "");
    pick_setup_item("Enhanced mouse mode");
    EXPECT_EQ(mouse_mode_in_registry(), "1") << "compatible mode, kept for the user";
    const std::size_t begins = calls(vst2::audioMasterBeginEdit, cutoff).size();
    const std::size_t ends = calls(vst2::audioMasterEndEdit, cutoff).size();
    drag(
        cutoff_knob, {{150, 150}, {150, 140}}, cutoff,
        [this] { EXPECT_TRUE(x11_->is_cursor_visible()) << "compatible mode shows the cursor"; },
        false);
    // Let go while the knob still glides: the glide goes on in the same edit.
    x11_->button(Button1, false);
    ASSERT_TRUE(pump([&] { return calls(vst2::audioMasterEndEdit, cutoff).size() > ends; }));
    expect_shows_parameters("after a compatible drag");
    EXPECT_EQ(calls(vst2::audioMasterBeginEdit, cutoff).size(), begins + 1) << "in one edit";

    stop_audio();
    host.stop();
    EXPECT_TRUE(editor_gone()) << "effClose takes the open editor with it";
}

// The mouse mode is read once in a process: a fresh one reads it from the user's registry.
class EditorEndToEndDeathTest : public EditorEndToEnd
{
protected:
    void SetUp() override {}
};

TEST_F(EditorEndToEndDeathTest, CompatibleModeFromTheRegistryKeepsTheCursorShownDuringADrag)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            start(X11Host::Dispatch::idle, "1");
            drag(cutoff_knob, {{150, 150}, {150, 140}}, cutoff,
                 [this] { EXPECT_TRUE(x11_->is_cursor_visible()); });
            x11_->button(Button1, false);
            TearDown();
            std::exit(HasFailure() ? 1 : 0);
        },
        testing::ExitedWithCode(0), "");
}
