#include "effect/gui/VantrelGui.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <thread>

#include "effect/gui/GuiRig.hpp"
#include "effect/param/ParamCutFreq.hpp"

TEST(VantrelGui, ValueBoxesTakeTypedValuesAndShowTheParametersText)
{
    GuiRig rig;
    EXPECT_EQ(rig.box(0).get_text(), "1000") << "opening shows every parameter";
    rig.type_into(0, "440");
    EXPECT_NEAR(rig.cutoff_hz(), 440.0, 0.05);
    EXPECT_EQ(rig.box(0).get_text(), "440.0");

    const int changes = rig.host.changes;
    rig.type_into(0, "loud");
    EXPECT_NEAR(rig.cutoff_hz(), 440.0, 0.05) << "text that does not parse changes nothing";
    EXPECT_EQ(rig.host.changes, changes);
}

TEST(VantrelGui, NoteModeNamesTheCutoffAndStopsTheKnobOnSemitones)
{
    GuiRig rig;
    ravik::FlipFlop& note_switch = rig.gui->use_main().use_note_switch();
    const ravik::Point at = note_switch.get_abs_position();
    rig.window.press(at);
    rig.window.release(at);
    EXPECT_TRUE(dynamic_cast<ParamCutFreq&>(rig.engine.dsp->use_param(0)).is_note_mode());
    EXPECT_NE(rig.box(0).get_text(), "1000") << "the cutoff shows as a note at once";

    rig.type_into(0, "A4");
    EXPECT_NEAR(rig.cutoff_hz(), 220.0, 0.05);

    const auto& semitones = rig.gui->use_main().get_semitones();
    ASSERT_EQ(semitones.size(), 96u);
    ravik::Knob& knob = rig.gui->use_main().use_cutoff_knob();
    const ravik::Point centre = knob.get_abs_position();
    rig.window.press(centre);
    for (int i = 0; i < 37; ++i)
    {
        rig.window.move(rig.window.get_cursor() + ravik::Point{0, -3});
        rig.wait(0.01);
    }
    rig.wait(1.0);
    rig.window.release(rig.window.get_cursor());
    const double hz = rig.cutoff_hz();
    const double note = 12.0 * std::log2(hz / 440.0) + 69.0;
    EXPECT_NEAR(note, std::round(note), 1e-3) << hz << " Hz is a semitone";
    EXPECT_GT(hz, 220.0);
}

// The audio thread (here: another thread) may report changes at any time; they reach the
// controls on the editor's thread at its next timer tick, the latest one winning.
TEST(VantrelGui, ChangesFromOtherThreadsWaitForTheEditorsTimer)
{
    GuiRig rig;
    ravik::ControlInterface& reso = rig.gui->use_main().use_control(1);
    std::thread audio(
        [&]
        {
            for (int i = 0; i <= 100; ++i)
            {
                rig.gui->set_param_value(1, static_cast<float>(i) / 100.0f, 125);
            }
            rig.gui->set_param_mark(1, 2);
        });
    audio.join();
    EXPECT_NE(reso.get_value(), 1.0) << "nothing touched the control from the other thread";
    rig.wait(0.05);
    EXPECT_DOUBLE_EQ(reso.get_value(), 1.0);
    EXPECT_TRUE(reso.get_mark(2));
    rig.gui->set_param_value(1, 0.25f, 100);
    EXPECT_DOUBLE_EQ(reso.get_value(), 0.25) << "on the editor's own thread: at once";
}

TEST(VantrelGui, TheSetupButtonOpensTheSetupMenu)
{
    GuiRig rig;
    const ravik::Point at = rig.gui->use_preset().use_setup_button().get_abs_position();
    rig.window.press(at);
    rig.window.release(at);
    EXPECT_TRUE(rig.window.use_menu().is_shown());
    rig.window.use_menu().stop();
}
