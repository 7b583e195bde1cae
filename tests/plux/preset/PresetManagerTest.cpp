#include "plux/preset/PresetManager.hpp"

#include <deque>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "basic/TempFolder.hpp"
#include "plux/EditorRig.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/preset/ProgStLdDefault.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "ravik/widget/Fader.hpp"
#include "ravik/widget/StateButton.hpp"
#include "ravik/widget/TextBox.hpp"
#include "sys/FakeDialogs.hpp"

using plux::PresetTimeFaderListener;
using testing::ElementsAre;
using testing::FloatNear;
using testing::Pointwise;

namespace
{

const ravik::Rect box16{0, 0, 16, 16};

ravik::Point number_pos(int i)
{
    return {20 * i + 5, 5};
}

std::vector<std::string> names(const plux::BankManager& bank)
{
    std::vector<std::string> all;
    for (int i = 0; i < bank.get_nbr_prog(); ++i)
    {
        all.emplace_back(bank.use_prog(i).get_name());
    }
    return all;
}

// The preset panel as the editor lays it out: eight number buttons, the store/load switch, the
// bank buttons, the morph time fader and display, a name box and a button for the menu.
class PresetManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 8; ++i)
        {
            rig.add(numbers.emplace_back(number_pos(i), nullptr, 0.0, box16));
        }
        for (ravik::ControlInterface* c : std::initializer_list<ravik::ControlInterface*>{
                 &mode, &load, &save, &fader, &display, &name, &menu_button})
        {
            rig.add(*c);
        }
        for (ravik::TextBox* box : {&display, &name})
        {
            box->set_editable(true);
            box->set_text_box(40, 12, ravik::Text::centre, 0);
        }
        presets->set_file_selector(selector);
        presets->set_message_box(box);
        menu_button.push_back_listener(&presets->use_selector_listener());
        name.push_back_listener(&presets->use_name_listener());
        ASSERT_EQ(presets->init(host, dsp, interpolator, controls(), "default_preset_bank"), 0);
    }

    plux::PresetControls controls()
    {
        plux::PresetControls c{{}, &mode, &load, &save, &fader, &display};
        for (auto& button : numbers)
        {
            c.numbers.push_back(&button);
        }
        return c;
    }

    std::vector<std::string> open_menu()
    {
        rig.click({155, 125});
        EXPECT_TRUE(rig.window.use_menu().is_shown());
        return test::menu_lines(presets->use_selector_listener().use_menu());
    }

    void edit(ravik::TextBox& box, const std::string& text)
    {
        const ravik::Point at = box.get_abs_position() + ravik::Point{2, 2};
        rig.window.press(at);
        rig.window.use_text_editor().type(text);
        rig.window.use_text_editor().press_enter();
        rig.window.release(at);
    }

    const std::vector<float>& preset(int index) const
    {
        return presets->use_bank().use_prog(index).use_values();
    }

    // The controls outlive the window, which outlives the manager, as in the editor.
    std::deque<ravik::PushButton> numbers;
    ravik::FlipFlop mode{{250, 5}, nullptr, 0.0, box16};
    ravik::PushButton load{{10, 40}, nullptr, 0.0, box16};
    ravik::PushButton save{{40, 40}, nullptr, 0.0, box16};
    ravik::Fader fader{{100, 80}, nullptr, 0.0, {0, 0, 60, 16}};
    ravik::TextBox display{{200, 80}, nullptr, 0.0, {0, 0, 40, 12}};
    ravik::TextBox name{{10, 120}, nullptr, 0.0, {0, 0, 40, 12}};
    ravik::PushButton menu_button{{150, 120}, nullptr, 0.0, box16};
    test::PanelDsp dsp;
    test::FakeHostGui host{dsp};
    plux::ProgStLdDefault interpolator{&dsp};
    test::FakeSelector selector;
    test::FakeBox box;
    test::EditorRig rig;
    std::unique_ptr<plux::PresetManager> presets = std::make_unique<plux::PresetManager>();
};

} // namespace

TEST_F(PresetManagerTest, TheBuiltInBankFillsTheMemoryAndTheMenuNamesEachPresetByNumber)
{
    EXPECT_THAT(open_menu(), ElementsAre("Load preset", " 1 - Base", " 2 - Monkey on the moon",
                                         " 3 - No matter", " 4 - The Zuk smooth",
                                         " 5 - Valkiry dance", " 6 - The man who said zog zog",
                                         " 7 - Yellow cheese smells bad", " 8 - Supra cat"));
    EXPECT_EQ(host.nbr_banks_written, 1);
    EXPECT_EQ(names(host.last_bank), names(presets->use_bank()));
    EXPECT_THAT(preset(7),
                ElementsAre(FloatNear(0.172012f, 1e-6f), FloatNear(0.658901f, 1e-6f), 1.0f,
                            FloatNear(0.77002f, 1e-6f), 1.0f, FloatNear(0.375123f, 1e-6f),
                            FloatNear(0.917969f, 1e-6f), FloatNear(0.516854f, 1e-6f)));
    EXPECT_EQ(display.get_text(), "00") << "the morph time is shown from the start";

    const plux::PresetControls again = controls();
    EXPECT_EQ(presets->init(host, dsp, interpolator, again, "default_preset_bank"), 0);
    EXPECT_EQ(host.nbr_banks_written, 1) << "a second init does nothing";
    EXPECT_EQ(numbers[0].get_nbr_listeners(), 1);
}

TEST_F(PresetManagerTest, WithoutTheBankResourceEveryPresetHoldsTheStartSound)
{
    plux::PresetManager other;
    plux::PresetControls c;
    c.numbers.resize(7);
    EXPECT_EQ(other.init(host, dsp, interpolator, c, "default_preset_bank"), -1)
        << "one number button per preset";
    c.numbers.resize(8);
    ASSERT_EQ(other.init(host, dsp, interpolator, c, "no_such_bank"), 0);
    EXPECT_THAT(names(other.use_bank()),
                Pointwise(testing::Eq(), std::vector<std::string>(8, "Start sound")));
    EXPECT_EQ(other.use_bank().use_prog(5).use_values(), dsp.values());
    EXPECT_EQ(host.nbr_banks_written, 1) << "only the first manager's";
}

TEST_F(PresetManagerTest, WithTheMorphTimeAtZeroARecallReachesThePresetAtTheFirstStep)
{
    rig.click(number_pos(7));
    rig.wait(0.01);
    ASSERT_EQ(host.applied.size(), 1U);
    EXPECT_EQ(host.applied[0].values, preset(7));
    EXPECT_EQ(host.applied[0].name, "Supra cat");
    EXPECT_EQ(host.applied[0].priority, 140);
    EXPECT_EQ(name.get_text(), "Supra cat");
    rig.wait(1.0);
    EXPECT_EQ(host.applied.size(), 1U) << "the morph is over";
    EXPECT_EQ(rig.window.use_timers().get_nbr_timers(), 0);
}

TEST_F(PresetManagerTest, ASecondRecallDuringALongMorphStartsFromTheSoundOfThatMoment)
{
    fader.set_value(1.0, 200);
    ASSERT_DOUBLE_EQ(presets->get_morph_time(), 99.0);
    const std::vector<float> start = dsp.values();
    open_menu();
    ASSERT_TRUE(rig.window.use_menu().pick(" 5 - Valkiry dance"));
    rig.wait(0.01);
    ASSERT_EQ(host.applied.size(), 1U);
    const std::vector<float>& first = host.applied[0].values;
    for (const int stepped : {test::PanelDsp::nbr_bands, test::PanelDsp::dist_routing})
    {
        EXPECT_EQ(first[stepped], preset(4)[stepped]) << "stepped parameter " << stepped;
    }
    EXPECT_NEAR(first[0], start[0], 1e-3) << "the cutoff starts to glide";

    rig.wait(9.9);
    EXPECT_EQ(host.applied.size(), 100U) << "a step every 0.1 s";
    EXPECT_NEAR(dsp.values()[0], 0.5 - 0.5 * 9.91 / 99.0, 1e-3) << "a tenth of the way";
    const std::vector<float> between = dsp.values();

    rig.click(number_pos(1));
    rig.wait(0.01);
    const std::vector<float>& restart = host.applied.back().values;
    EXPECT_EQ(host.applied.back().name, "Monkey on the moon");
    for (const int i : {0, 1, 3, 5})
    {
        EXPECT_NEAR(restart[i], between[i], 1e-4) << "parameter " << i;
    }
    EXPECT_EQ(restart[test::PanelDsp::nbr_bands], preset(1)[test::PanelDsp::nbr_bands]);

    const std::size_t before = host.applied.size();
    rig.wait(1.0);
    EXPECT_EQ(host.applied.size() - before, 10U) << "the menu's morph stopped";
}

TEST_F(PresetManagerTest, StoreModeStoresOnceThenFallsBackToLoad)
{
    rig.click({255, 10});
    ASSERT_EQ(mode.get_value(), 1.0);
    EXPECT_EQ(open_menu().front(), "Store preset");
    rig.window.use_menu().stop();
    dsp.use_param(0).set_nrm_and_notify(0.25f);
    dsp.prog_name = "My sound";

    rig.click(number_pos(2));
    EXPECT_EQ(presets->use_bank().use_prog(2).get_name(), std::string("My sound"));
    EXPECT_EQ(preset(2), dsp.values());
    EXPECT_EQ(host.nbr_banks_written, 2);
    EXPECT_EQ(host.last_bank.use_prog(2).use_values(), dsp.values());
    EXPECT_EQ(mode.get_value(), 0.0);
    EXPECT_EQ(name.get_text(), "My sound");
    EXPECT_EQ(open_menu()[3], " 3 - My sound [x]");
    EXPECT_EQ(open_menu().front(), "Load preset");
    rig.wait(1.0);
    EXPECT_TRUE(host.applied.empty()) << "a store changes no sound";
}

TEST_F(PresetManagerTest, AMenuEntrySelectsItsPresetWhichIsCheckedAtTheNextOpening)
{
    open_menu();
    ASSERT_TRUE(rig.window.use_menu().pick(" 2 - Monkey on the moon"));
    rig.wait(0.01);
    ASSERT_EQ(host.applied.size(), 1U);
    EXPECT_EQ(host.applied[0].values, preset(1));
    EXPECT_EQ(presets->get_current(), 1);
    EXPECT_EQ(name.get_text(), "Monkey on the moon");
    EXPECT_THAT(open_menu(), testing::Contains(" 2 - Monkey on the moon [x]"));
}

TEST_F(PresetManagerTest, RenamingNamesTheCurrentPresetAndProgram)
{
    edit(name, "Night drive");
    EXPECT_EQ(dsp.prog_name, "Night drive");
    EXPECT_EQ(presets->use_bank().use_prog(0).get_name(), std::string("Base")) << "none current";

    rig.click(number_pos(0));
    rig.wait(0.01);
    const std::string long_name(70, 'x');
    edit(name, long_name);
    EXPECT_EQ(presets->use_bank().use_prog(0).get_name(), long_name.substr(0, 63));
    EXPECT_EQ(dsp.prog_name, long_name.substr(0, 63));
    EXPECT_EQ(name.get_text(), long_name.substr(0, 63));
    EXPECT_EQ(dsp.values(), preset(0)) << "the sound stays";
}

TEST_F(PresetManagerTest, TheFaderSetsTheMorphTimeOnAHundredToThePowerCurve)
{
    const struct
    {
        double position;
        double seconds;
        const char* shown;
    } cases[] = {{0.0, 0.0, "00"}, {0.25, 2.16228, "02"}, {0.5, 9.0, "09"}, {1.0, 99.0, "99"}};
    for (const auto& c : cases)
    {
        fader.set_value(c.position, 200);
        EXPECT_NEAR(presets->get_morph_time(), c.seconds, 1e-5) << c.position;
        EXPECT_EQ(display.get_text(), c.shown) << c.position;
        EXPECT_NEAR(PresetTimeFaderListener::position_of(c.seconds), c.position, 1e-6);
    }
    edit(display, "12");
    EXPECT_DOUBLE_EQ(presets->get_morph_time(), 12.0);
    EXPECT_NEAR(fader.get_value(), std::log(13.0) / std::log(100.0), 1e-12);
    edit(display, "soon");
    EXPECT_DOUBLE_EQ(presets->get_morph_time(), 12.0);
    EXPECT_EQ(display.get_text(), "12") << "what cannot be read gives way to the time";
}

TEST(PresetTimeDisplayListener, FormatsTheTimeWithTheDisplaysWidthDecimalsAndAlignment)
{
    plux::PresetManager presets;
    plux::PresetTimeDisplayListener& display = presets.use_time_display_listener();
    const struct
    {
        int width;
        int decimals;
        bool left;
        double seconds;
        const char* text;
    } cases[] = {{2, 0, false, 9.0, "09"},   {2, 0, false, 0.5, "01"}, {5, 2, false, 1.5, "01.50"},
                 {5, 1, true, 1.5, "1.5  "}, {3, 0, true, 7.0, "7  "}, {1, 0, false, 99.0, "99"}};
    for (const auto& c : cases)
    {
        display.set_format(c.width, c.decimals, c.left);
        EXPECT_EQ(display.format_time(c.seconds), c.text) << c.width << " " << c.decimals;
    }
}

TEST_F(PresetManagerTest, ABankFileThatDoesNotFitIsRefusedWithItsCode)
{
    test::TempFolder folder;
    const plux::BankManager before = presets->use_bank();
    const struct
    {
        int programs;
        int values;
        int code;
    } cases[] = {{16, 8, -1011}, {8, 7, -1012}, {8, 8, 0}};
    for (const auto& c : cases)
    {
        plux::BankManager file;
        file.resize(c.programs);
        for (int i = 0; i < c.programs; ++i)
        {
            file.use_prog(i).use_values().assign(static_cast<std::size_t>(c.values), 0.125f);
            file.use_prog(i).set_name("File " + std::to_string(i + 1));
        }
        selector.chosen =
            folder.path(std::to_string(c.programs) + "x" + std::to_string(c.values) + ".pbk");
        ASSERT_EQ(plux::save_bank_file(selector.chosen, file), 0);
        box.shown.clear();
        rig.click({12, 42});
        if (c.code != 0)
        {
            EXPECT_THAT(box.shown, ElementsAre("Error|Can't load bank file\n" + selector.chosen +
                                               "\n\nCode " + std::to_string(c.code) + "|0|0"));
            EXPECT_EQ(names(presets->use_bank()), names(before));
            EXPECT_EQ(preset(3), before.use_prog(3).use_values());
            EXPECT_EQ(host.nbr_banks_written, 1) << "nothing handed on";
        }
        else
        {
            EXPECT_TRUE(box.shown.empty());
            EXPECT_EQ(presets->use_bank().use_prog(7).get_name(), std::string("File 8"));
            EXPECT_EQ(host.nbr_banks_written, 2);
        }
    }
    EXPECT_THAT(selector.calls, ElementsAre("load Load preset bank", "load Load preset bank",
                                            "load Load preset bank"));
    EXPECT_EQ(selector.use_filter(0).first, "Tarvex plug-in preset bank (*.pbk)");
}

TEST_F(PresetManagerTest, SavingWritesTheMemoryAndAsksBeforeReplacingAFile)
{
    test::TempFolder folder;
    selector.chosen = folder.path("mine.pbk");
    rig.click({42, 42});
    plux::BankManager saved;
    ASSERT_EQ(plux::load_bank_file(selector.chosen, saved, nullptr, false), 0);
    EXPECT_EQ(names(saved), names(presets->use_bank()));
    EXPECT_EQ(test::TempFolder::read(selector.chosen).size(), 880U);

    test::TempFolder::write(selector.chosen, "previous");
    box.answer = sys::MessageBoxInterface::res_cancel;
    rig.click({42, 42});
    EXPECT_EQ(test::TempFolder::read(selector.chosen), "previous");
    EXPECT_THAT(box.shown,
                ElementsAre("Conflict|" + selector.chosen + "\nalready exists. Overwrite ?|1|1"));
}

TEST_F(PresetManagerTest, AManagerThatGoesStopsItsMorphAndLeavesItsControls)
{
    fader.set_value(1.0, 200);
    rig.click(number_pos(3));
    rig.wait(0.5);
    const std::size_t steps = host.applied.size();
    presets.reset();
    rig.wait(1.0);
    EXPECT_EQ(host.applied.size(), steps);
    EXPECT_EQ(rig.window.use_timers().get_nbr_timers(), 0);
    EXPECT_EQ(numbers[3].get_nbr_listeners(), 0);
    EXPECT_EQ(name.get_nbr_listeners(), 0);
}

TEST(ProgStLdDefault, SteppedParametersJumpOthersGlideAndTheRestIsLeftAlone)
{
    // A parameter that morphs leave alone.
    class Fixed final : public plux_test::TestParam
    {
    public:
        Fixed()
            : TestParam("Fixed", "", 0.0, 1.0, false)
        {
        }
        bool can_interpolate() const override { return false; }
    };
    test::PanelDsp dsp;
    dsp.add_param(std::make_shared<Fixed>());
    plux::ProgStLdDefault interpolator(&dsp);
    plux::ProgramSlot from;
    plux::ProgramSlot to;
    plux::ProgramSlot out;
    from.use_values().assign(8, 0.0f);
    to.use_values().assign(10, 1.0f);
    to.use_extra() = {1, 2, 3};
    out.use_values().assign(9, -1.0f);
    interpolator.interpolate(out, from, to, 0.25);
    EXPECT_THAT(out.use_values(),
                ElementsAre(0.25f, 0.25f, 1.0f, 0.25f, 1.0f, 0.25f, 0.25f, 0.25f, -1.0f, 1.0f))
        << "beyond the from program's values there is nothing to glide from";
    EXPECT_THAT(out.use_extra(), ElementsAre(1, 2, 3));
}
