// The plug-in frame against hosts that behave differently, and its sides as the effect sees them.
// The effect is built in this process through the entry, so the tests can also look at the test
// effect's sides.
#include <cfenv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <thread>
#include <xmmintrin.h>

#include "EffectRig.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/vst2/DenormalGuard.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "sys/ManualClock.hpp"
#include "sys/PersistentKeyList.hpp"

using namespace std::chrono_literals;
using plux_test::filter;

namespace
{

class Vst2HostTest : public plux_test::EffectTest
{
protected:
    // Loads and starts at 48 kHz with blocks of 64, the start-up callbacks forgotten.
    void start(const plux_test::TestConfig& config = {})
    {
        ASSERT_TRUE(load(config));
        ASSERT_TRUE(host.start(48000.0f, 64));
        host.use_log().clear();
    }

    // The editor's road to the parameters.
    plux::HostGuiInterface& editor_host() { return *gui().get_host(); }

    // Waits, for real, until the background thread has run its tasks twice more, so that at
    // least one whole run began after the call.
    void wait_for_background()
    {
        const int target = plugin().get_nbr_bkg_runs() + 2;
        for (int i = 0; i < 500 && plugin().get_nbr_bkg_runs() < target; ++i)
        {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_GE(plugin().get_nbr_bkg_runs(), target) << "the background thread is stuck";
    }

    bool wait_for_end_edit()
    {
        return host.use_log().wait_for(
            [](const auto& r) { return !filter(r, vst2::audioMasterEndEdit).empty(); }, 5s);
    }

    // The plug-in's time stands still until a test moves it on.
    test::ManualClock clock;
};

} // namespace

TEST_F(Vst2HostTest, AHostWithoutAVersionGetsNoEffect)
{
    host.set_version(0);
    EXPECT_FALSE(load());
    EXPECT_EQ(host.use_effect(), nullptr);
}

TEST_F(Vst2HostTest, TheUsersEditsAreReportedAsGestures)
{
    start();
    EXPECT_TRUE(editor_host().take(6, 200)) << "the knob is pressed";
    EXPECT_TRUE(editor_host().set_param_and_notify(6, 0.2f, 200));
    EXPECT_TRUE(editor_host().set_param_and_notify(6, 0.3f, 200));
    host.set_parameter(6, 0.9f);
    EXPECT_FLOAT_EQ(host.get_parameter(6), 0.3f) << "automation waits while the user drags";
    EXPECT_EQ(count(vst2::audioMasterBeginEdit), 1u);
    EXPECT_EQ(count(vst2::audioMasterAutomate), 2u);

    clock.advance(0.4);
    wait_for_background();
    EXPECT_EQ(count(vst2::audioMasterEndEdit), 0u) << "still held by the user";
    editor_host().release(6, 200); // the knob is let go
    host.set_parameter(6, 0.9f);
    EXPECT_FLOAT_EQ(host.get_parameter(6), 0.9f)
        << "the release frees the parameter for automation at once, within the hold time";
    clock.advance(0.501);
    EXPECT_TRUE(wait_for_end_edit()) << "and the gesture ends once the host's hold has run out";

    const auto records = host.use_log().get_records();
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[0].opcode, vst2::audioMasterBeginEdit);
    EXPECT_EQ(records[0].index, 6);
    EXPECT_EQ(records[1].opcode, vst2::audioMasterAutomate);
    EXPECT_FLOAT_EQ(records[1].opt, 0.2f);

    const auto changes = gui().changes();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().index, 6);
    EXPECT_FLOAT_EQ(changes.back().value, 0.9f) << "the editor hears of the host's change";
    EXPECT_EQ(changes.back().origin, 100);
}

// A change from the effect's own side (a bound MIDI controller, priority 125) holds the parameter
// against the host for the hold time after its last change, and not a millisecond longer; the
// gesture it opened ends from the background thread once the hold has run out.
TEST_F(Vst2HostTest, ChangesOfTheEffectHoldAgainstTheHostAndEndInTheBackground)
{
    start();
    plugin().use_host_dsp()->set_param_and_notify(3, 0.4f, 125);
    plugin().use_host_dsp()->set_param_and_notify(3, 0.6f, 125);
    const auto automates = filter(host.use_log().get_records(), vst2::audioMasterAutomate);
    ASSERT_EQ(automates.size(), 2u);
    EXPECT_FLOAT_EQ(automates[0].opt, 0.4f);
    EXPECT_FLOAT_EQ(automates[1].opt, 0.6f);
    EXPECT_EQ(count(vst2::audioMasterBeginEdit), 1u) << "one gesture for both changes";

    clock.advance(0.5);
    host.set_parameter(3, 0.9f);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.6f) << "refused while the stronger source holds it";
    wait_for_background();
    EXPECT_EQ(count(vst2::audioMasterEndEdit), 0u) << "the source still holds it";
    clock.advance(0.001);
    ASSERT_TRUE(wait_for_end_edit());
    const auto ends = filter(host.use_log().get_records(), vst2::audioMasterEndEdit);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].index, 3);
    EXPECT_NE(ends[0].thread, std::this_thread::get_id())
        << "end-edit comes from the background thread";
    EXPECT_EQ(count(vst2::audioMasterBeginEdit), 1u);
    host.set_parameter(3, 0.9f);
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.9f) << "accepted once the hold time has passed";
}

// Where gestures end: Live's own idle calls end them (its vendor and product compared without
// case), every other host has them ended by the background thread and its idle does nothing.
struct IdleCase
{
    const char* vendor;
    const char* product;
    bool in_background;
};

class Vst2HostIdle : public Vst2HostTest, public testing::WithParamInterface<IdleCase>
{
};

TEST_P(Vst2HostIdle, GesturesEndWhereTheHostExpectsThem)
{
    host.set_vendor_string(GetParam().vendor);
    host.set_product_string(GetParam().product);
    start();
    const bool in_background = GetParam().in_background;
    EXPECT_EQ(plugin().runs_gestures_in_background(), in_background);
    editor_host().set_param_and_notify(2, 1.0f, 1); // a double-click reset holds nothing
    clock.advance(1.0);
    wait_for_background();
    if (in_background)
    {
        ASSERT_TRUE(wait_for_end_edit());
    }
    EXPECT_EQ(count(vst2::audioMasterEndEdit), in_background ? 1u : 0u);
    EXPECT_EQ(host.dispatch(vst2::effIdle), 1);
    const auto ends = filter(host.use_log().get_records(), vst2::audioMasterEndEdit);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].thread == std::this_thread::get_id(), !in_background)
        << "sent from the host's idle call in Live only";
}

INSTANTIATE_TEST_SUITE_P(Hosts, Vst2HostIdle,
                         testing::Values(IdleCase{"Ableton", "Live", false},
                                         IdleCase{"ABLETON", "live", false},
                                         IdleCase{"Ableton", "Push", true}),
                         [](const auto& info)
                         { return std::string(info.param.vendor) + info.param.product; });

TEST_F(Vst2HostTest, HiddenParametersAreNeverReported)
{
    start({.hide_parameters = true});
    EXPECT_EQ(host.use_effect()->numParams, 0);
    EXPECT_EQ(host.get_param_name(7), "Very Long Parameter Na") << "indices still answer";
    editor_host().set_param_and_notify(3, 0.25f, 200);
    clock.advance(1.0);
    wait_for_background();
    EXPECT_FLOAT_EQ(host.get_parameter(3), 0.25f);
    EXPECT_EQ(count(vst2::audioMasterBeginEdit), 0u);
    EXPECT_EQ(count(vst2::audioMasterAutomate), 0u);
    EXPECT_EQ(count(vst2::audioMasterEndEdit), 0u);
}

TEST_F(Vst2HostTest, EveryBeginEditGetsItsEndEditAtClose)
{
    start();
    editor_host().set_param_and_notify(0, 0.1f, 200);
    editor_host().set_param_and_notify(5, 0.1f, 200);
    host.stop();
    EXPECT_EQ(count(vst2::audioMasterBeginEdit), 2u);
    EXPECT_EQ(count(vst2::audioMasterEndEdit), 2u);
}

// An effect without an editor, or whose editor cannot load: the host is told to update its
// display instead.
class Vst2HostWithoutEditor : public Vst2HostTest,
                              public testing::WithParamInterface<plux_test::TestConfig>
{
};

TEST_P(Vst2HostWithoutEditor, TheHostUpdatesItsDisplay)
{
    start(GetParam());
    EXPECT_EQ(host.use_effect()->flags & vst2::effFlagsHasEditor, 0);
    EXPECT_EQ(host.dispatch(vst2::effEditOpen), 0);
    EXPECT_EQ(plugin().use_gui(), nullptr);
    EXPECT_EQ(dsp().get_gui(), nullptr);
    host.set_parameter(1, 0.25f); // no editor to tell
    EXPECT_FLOAT_EQ(host.get_parameter(1), 0.25f);
    plugin().use_host_dsp()->set_param_and_notify(1, 0.5f, 125);
    EXPECT_EQ(count(vst2::audioMasterUpdateDisplay), 1u);
}

INSTANTIATE_TEST_SUITE_P(Editors, Vst2HostWithoutEditor,
                         testing::Values(plux_test::TestConfig{.with_gui = false},
                                         plux_test::TestConfig{.gui_fails = true}),
                         [](const auto& info)
                         { return info.param.with_gui ? "FailingEditor" : "NoEditor"; });

TEST_F(Vst2HostTest, TheEditorIsAskedForItsSizeAndOpened)
{
    ASSERT_TRUE(load());
    vst2::ERect* rect = nullptr;
    EXPECT_EQ(host.dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 300);
    EXPECT_EQ(rect->bottom, 335);
    EXPECT_EQ(rect->top, 0);
    int parent = 0;
    EXPECT_EQ(host.dispatch(vst2::effEditOpen, 0, 0, &parent), 1);
    EXPECT_TRUE(gui().open_);
    host.dispatch(vst2::effEditClose);
    EXPECT_FALSE(gui().open_);
    gui().throw_on_open = true;
    EXPECT_EQ(host.dispatch(vst2::effEditOpen, 0, 0, &parent), 1) << "a failing editor is caught";
}

TEST_F(Vst2HostTest, BanksFromTheEditorReachTheAudioThread)
{
    start();
    run_blocks(1);
    EXPECT_EQ(dsp().bank_changed_calls.load(), 1) << "the first block takes the bank of the start";
    run_blocks(1);
    EXPECT_EQ(dsp().bank_changed_calls.load(), 1) << "then nothing new";
    host.use_log().clear();
    plux::BankManager bank = plugin().get_bank();
    bank.use_prog(0).set_name("Handed over");
    editor_host().write_bank(bank);
    editor_host().write_bank(bank);
    EXPECT_EQ(dsp().bank_changed_calls.load(), 1) << "only the audio thread takes it";
    run_blocks(2);
    EXPECT_EQ(dsp().bank_changed_calls.load(), 2) << "two writes, one hand-over";
    EXPECT_STREQ(plugin().use_bank_buffer().use_read().use_prog(0).get_name(), "Handed over");
    EXPECT_EQ(count(vst2::audioMasterUpdateDisplay), 1u);
}

// The effect processes with round-to-nearest, and with denormals flushed to zero and read as
// zero (filters that ring out into denormal numbers slow the whole host down); the host gets its
// own rounding mode and control word back after the block.
TEST_F(Vst2HostTest, TheHostsFloatingPointStateIsPutBack)
{
    start();
    host.set_parameter(3, 0.5f); // gain 1
    const unsigned int ftz_daz =
        plux::DenormalGuard::flush_to_zero | plux::DenormalGuard::denormals_are_zero;
    std::fesetround(FE_DOWNWARD);
    const unsigned int host_word = _mm_getcsr() & ~ftz_daz;
    for (const unsigned int word : {host_word, host_word | plux::DenormalGuard::flush_to_zero})
    {
        _mm_setcsr(word);
        std::vector<float> in(64, 1.0e-40f);
        std::vector<float> out(64, 1.0f);
        float* ins[] = {in.data(), in.data()};
        float* outs[] = {out.data(), out.data()};
        ASSERT_TRUE(host.process(ins, outs, 64));
        const unsigned int after = _mm_getcsr();
        const int rounding_after = std::fegetround();
        _mm_setcsr(host_word);
        EXPECT_EQ(dsp().rounding_in_process.load(), FE_TONEAREST);
        EXPECT_EQ(rounding_after, FE_DOWNWARD);
        EXPECT_EQ(out[0], 0.0f) << "a denormal input reads as zero";
        EXPECT_EQ(out[63], 0.0f);
        EXPECT_EQ(after, word) << "the host's control word is put back";
    }
    std::fesetround(FE_TONEAREST);
}

// The tempo reaches the effect when the host has a valid one, and only when it changes; the host
// is asked at every block until it is seen to have none.
TEST_F(Vst2HostTest, TempoOnlyWhenTheHostHasAValidOneThatChanged)
{
    host.set_time_mode(vst2host::TimeInfoMode::without_tempo);
    start();
    run_blocks(1);
    EXPECT_EQ(dsp().tempo_calls.load(), 0);
    EXPECT_EQ(plugin().use_host_dsp()->get_info_num("can_tempo"), 0.0);
    host.set_time_mode(vst2host::TimeInfoMode::with_tempo);
    host.set_tempo(140.0);
    run_blocks(2);
    EXPECT_EQ(dsp().tempo_calls.load(), 1);
    EXPECT_FLOAT_EQ(dsp().last_tempo.load(), 140.0f);
    EXPECT_EQ(plugin().use_host_dsp()->get_info_num("can_tempo"), 1.0);
    host.set_tempo(90.0);
    run_blocks(1);
    EXPECT_EQ(dsp().tempo_calls.load(), 2);
    EXPECT_FLOAT_EQ(dsp().last_tempo.load(), 90.0f);
    EXPECT_GE(count(vst2::audioMasterGetTime), 4u) << "the host is asked at every block";
    host.set_time_mode(vst2host::TimeInfoMode::absent);
    const auto asked = count(vst2::audioMasterGetTime);
    EXPECT_EQ(plugin().use_host_dsp()->get_info_num("can_tempo"), 1.0) << "kept once seen";
    EXPECT_EQ(count(vst2::audioMasterGetTime), asked) << "without asking again";
}

TEST_F(Vst2HostTest, SettingsFolderFollowsTheHostsDirectoryAnswer)
{
    host.set_directory(std::string("C:\\Plugins\\Vst\\Morvane.DLL"));
    ASSERT_TRUE(load());
    EXPECT_EQ(plugin().get_plugin_dir(), "C:\\Plugins\\Vst");
    const char sep = plugin().get_settings_folder()[plugin().get_plugin_dir().size()];
    EXPECT_EQ(plugin().get_settings_folder(),
              std::string("C:\\Plugins\\Vst") + sep + "Tarvex" + sep + "Morvane VST2");
    EXPECT_EQ(plugin().use_host_dsp()->get_settings_folder(), plugin().get_settings_folder());
    host.set_directory(std::string("/opt/vst/"));
    EXPECT_EQ(plugin().get_plugin_dir(), "/opt/vst")
        << "a folder answer loses its trailing separator";
    host.set_directory(std::nullopt);
    EXPECT_FALSE(plugin().get_plugin_dir().empty()) << "without an answer, the module's own folder";
}

TEST_F(Vst2HostTest, QuantizationAndUnconnectedPinsAreSeenByTheEffect)
{
    host.set_input_connected(1, false);
    ASSERT_TRUE(load());
    auto* host_dsp = plugin().use_host_dsp();
    EXPECT_EQ(host_dsp->get_info_num("param_quantization"), 0.0);
    host.set_parameter_quantization(1);
    EXPECT_EQ(host_dsp->get_info_num("param_quantization"), 0.0);
    host.set_parameter_quantization(128);
    EXPECT_DOUBLE_EQ(host_dsp->get_info_num("param_quantization"), 1.0 / 128);

    EXPECT_TRUE(host_dsp->is_in_connected(0, 0));
    EXPECT_FALSE(host_dsp->is_in_connected(0, 1));
    EXPECT_TRUE(host_dsp->is_out_connected(0, 1));
    EXPECT_FALSE(host_dsp->is_in_connected(0, 2)) << "no such channel";
    EXPECT_FALSE(host_dsp->is_in_connected(1, 0)) << "no such bus";
}

TEST_F(Vst2HostTest, AutomationLevelsAreReadOnResume)
{
    start();
    EXPECT_EQ(host.dispatch(vst2::effCanBeAutomated, 4), 1) << "every parameter has level 2";
    dsp().use_param(4).set_val(0.0, 3);
    EXPECT_EQ(host.dispatch(vst2::effCanBeAutomated, 4), 0) << "above the threshold of 2";
    host.suspend();
    host.resume();
    EXPECT_EQ(host.dispatch(vst2::effCanBeAutomated, 4), 1) << "3 is now the highest level";
    dsp().use_param(4).set_val(0.0, 4);
    EXPECT_EQ(host.dispatch(vst2::effCanBeAutomated, 4), 0)
        << "above the threshold of the last resume";
}

TEST_F(Vst2HostTest, SampleRatesTheEffectCannotUseAreIgnored)
{
    start();
    EXPECT_FLOAT_EQ(dsp().rate_, 48000.0f);
    host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 0.0f);
    host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(dsp().rate_, 48000.0f);
    host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_FLOAT_EQ(dsp().rate_, 96000.0f);
}

// A user who turned autoload on finds the last setting file applied when the host starts the
// plug-in: here a setting file that reverses the order of the parameters.
TEST_F(Vst2HostTest, TheLastSettingFileIsLoadedAtStart)
{
    const auto file =
        std::filesystem::temp_directory_path() /
        ("morvane_autoload_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".cfg.txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << "Morvane_config_section =\n{\n   version = 1.60\n"
               "   parameter_reorder_map = { 7_a 6_b 5_c 4_d 3_e 2_f 1_g 0_h }\n}";
    }
    sys::PersistentKeyList key("Tarvex/Morvane/Autoload/", true);
    ASSERT_EQ(key.set_string("LatestConfigFile", file.string()), 0);
    ASSERT_EQ(key.set_string("LatestConfigAutoload", "1"), 0);

    const bool loaded = load();
    key.set_string("LatestConfigAutoload", "0");
    std::filesystem::remove(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(host.get_param_name(0), "Very Long Parameter Na") << "host index 0 is DSP index 7";
    EXPECT_EQ(host.get_param_name(7), "Cutoff");
    host.set_parameter(7, 0.5f);
    EXPECT_FLOAT_EQ(dsp().use_param(0).get_nrm(), 0.5f) << "the host's index reaches the DSP's";

    host.use_log().clear();
    gui().get_host()->set_param_and_notify(0, 0.25f, 200);
    const auto automates = filter(host.use_log().get_records(), vst2::audioMasterAutomate);
    ASSERT_EQ(automates.size(), 1u);
    EXPECT_EQ(automates[0].index, 7) << "and changes are reported with the host's index";
}

// With the host output chosen, a change of a bound parameter leaves as MIDI at the start of the
// next block: NRPN 5 as four controllers, the value 14-bit.
TEST_F(Vst2HostTest, ParameterChangesAreEchoedToTheHostAsMidi)
{
    start();
    ASSERT_EQ(plugin().use_midi_dispatcher()->get_out_name(0), "VST MIDI Out interface");
    ASSERT_EQ(plugin().use_midi_dispatcher()->select_out(0), 0);
    editor_host().set_param_and_notify(5, 1.0f, 200);
    EXPECT_TRUE(host.get_received_events().empty()) << "nothing before the next block";
    run_blocks(1);
    std::vector<std::vector<int>> bytes;
    for (const auto& event : host.get_received_events())
    {
        const auto& e = reinterpret_cast<const vst2::VstMidiEvent&>(event);
        bytes.push_back({static_cast<unsigned char>(e.midiData[0]),
                         static_cast<unsigned char>(e.midiData[1]),
                         static_cast<unsigned char>(e.midiData[2])});
    }
    EXPECT_EQ(bytes, (std::vector<std::vector<int>>{
                         {0xB0, 99, 0}, {0xB0, 98, 5}, {0xB0, 6, 127}, {0xB0, 38, 127}}));
}
