#include "plux/setup/SetupMgr.hpp"

#include <deque>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "basic/TempFolder.hpp"
#include "plux/EditorRig.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/setting/SettingAutoload.hpp"
#include "plux/setup/WebSiteJump.hpp"
#include "plux/vst2/Vst2MidiDevSelComp.hpp"
#include "plux/vst2/Vst2MidiHostInterface.hpp"
#include "ravik/widget/MouseMode.hpp"
#include "ravik/widget/StateButton.hpp"
#include "sys/FakeDialogs.hpp"
#include "sys/RegistrySandbox.hpp"

using testing::Contains;
using testing::ElementsAre;

namespace
{

const ravik::Rect box16{0, 0, 16, 16};
const ravik::Point setup_pos{270, 10};

ravik::Point param_pos(int i)
{
    return {20 * i + 5, 100};
}

class NoHost final : public plux::Vst2MidiHostInterface
{
public:
    void send_events_to_host(vst2::VstEvents&) override {}
};

// The editor's setup button and eight parameter controls, the plug-in's MIDI manager with the
// host's ports, and the manager set up as the editor does.
class SetupMgrTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ravik::MouseMode::set_key_path(test::sandbox_key_path("maker"));
        midi.set_dsp(&dsp);
        midi.set_plugin_name("Morvane");
        midi.set_default_map();
        dispatcher.add_component(comp);
        ASSERT_EQ(dispatcher.init(), 0);
        ASSERT_EQ(dispatcher.select_default(true, false), 0);
        host.midi = &midi;
        host.dev_selector = &dispatcher;
        rig.add(button);
        std::vector<ravik::ControlInterface*> controls;
        for (int i = 0; i < 8; ++i)
        {
            controls.push_back(&rig_controls.emplace_back(param_pos(i), nullptr, 0.0, box16));
            rig.add(rig_controls.back());
        }
        setup.set_file_selector(selector);
        setup.set_message_box(box);
        setup.set_url_opener(
            [this](const std::string& url)
            {
                urls.push_back(url);
                return 0;
            });
        ASSERT_EQ(setup.init(host, dsp, controls, button, web), 0);
    }

    // Opens the menu with the setup button, as the user does.
    std::vector<std::string> open_menu()
    {
        rig.click(setup_pos + ravik::Point{2, 2});
        EXPECT_EQ(rig.window.use_menu().get_root(), &setup.use_root());
        return test::menu_lines(setup.use_root());
    }

    bool pick(const std::string& label)
    {
        open_menu();
        return rig.window.use_menu().pick(label);
    }

    // An item of a device submenu as the menu was last refreshed; labels such as "None" repeat,
    // so the toolkit's pick by label cannot tell them apart.
    ravik::MenuListenerInterface& device(const std::string& submenu, const std::string& label)
    {
        for (int i = 0; i < setup.use_root().size(); ++i)
        {
            const auto* list = dynamic_cast<const ravik::MenuList*>(&setup.use_root().at(i));
            for (int j = 0; list != nullptr && list->get_label() == submenu && j < list->size();
                 ++j)
            {
                if (list->at(j).get_label() == label)
                {
                    return *dynamic_cast<ravik::MenuItem&>(list->at(j)).get_listener();
                }
            }
        }
        throw std::runtime_error("no " + label + " in " + submenu);
    }

    void pick_device(const std::string& submenu, const std::string& label)
    {
        open_menu();
        rig.window.use_menu().stop();
        device(submenu, label).on_select();
    }

    test::PanelDsp dsp;
    plux::MidiMgr midi{test::sandbox_key_path("maker")};
    NoHost vst_host;
    plux::Vst2MidiDevSelComp comp{vst_host};
    plux::MidiDevSelDispatcher dispatcher{midi};
    test::FakeHostGui host{dsp};
    test::FakeSelector selector;
    test::FakeBox box;
    std::vector<std::string> urls;
    plux::WebSiteJump web;
    ravik::PushButton button{setup_pos, nullptr, 0.0, box16};
    std::deque<ravik::PushButton> rig_controls;
    test::EditorRig rig;
    plux::SetupMgr setup{true, true};
};

} // namespace

TEST_F(SetupMgrTest, TheSetupButtonOpensTheMenuInItsOrder)
{
    EXPECT_THAT(open_menu(),
                ElementsAre("About...", "Tarvex on the web", "Product info...", "Updates...",
                            "Documentation...", "Presets...", "Settings", "Load...", "Save...",
                            "Autoload [Undefined]", "Enhanced mouse mode [x]", "MIDI", "Auto-bind",
                            "Un-bind [no parameter selected] (off)", "Input device", "> None",
                            "> VST MIDI In interface [x]", "Output device", "> None [x]",
                            "> VST MIDI Out interface", "Old erroneous nrpn behaviour"));

    plux::SetupMgr plain(false, false);
    std::vector<std::string> labels;
    for (int i = 0; i < plain.use_root().size(); ++i)
    {
        labels.push_back(plain.use_root().at(i).get_label());
    }
    EXPECT_THAT(labels,
                ElementsAre("About...", "Settings", "Load...", "Save...", "", "Enhanced mouse mode",
                            "MIDI", "", "", "Input device", "Output device"))
        << "no web pages, no NRPN order; labels come with init";
}

TEST_F(SetupMgrTest, TheAutoloadItemShowsTheEndOfALongPathAndTogglesAutoload)
{
    plux::SettingAutoload& autoload = dsp.use_setting_mgr()->use_autoload();
    // A path of 100 characters: its last 61 follow "..." between the brackets, 64 in all.
    const std::string path = "/home/user/" + std::string(76, 'p') + "/last.cfg.txt";
    ASSERT_EQ(autoload.set_latest_config_file(path), 0);
    const std::string label = "Autoload [..." + path.substr(39) + "]";
    EXPECT_THAT(open_menu(), Contains(label));
    ASSERT_TRUE(rig.window.use_menu().pick(label));
    EXPECT_TRUE(autoload.is_autoload());
    EXPECT_THAT(open_menu(), Contains(label + " [x]"));
}

TEST_F(SetupMgrTest, UnBindFreesTheSelectedParameterAndThenIsDisabled)
{
    rig.click(param_pos(0));
    EXPECT_THAT(open_menu(), Contains("Un-bind [Cutoff Freq (NRPN 0)]"));
    ASSERT_TRUE(rig.window.use_menu().pick("Un-bind [Cutoff Freq (NRPN 0)]"));
    EXPECT_FALSE(midi.is_param_bound(0));
    EXPECT_THAT(open_menu(), Contains("Un-bind [Cutoff Freq (not binded)] (off)"));
    EXPECT_TRUE(midi.is_param_bound(1)) << "only the selected one";
}

TEST_F(SetupMgrTest, AutoBindArmedWaitsForAParameterThenTargetsIt)
{
    ASSERT_TRUE(pick("Auto-bind"));
    EXPECT_THAT(open_menu(), Contains("Auto-bind [now select a parameter] [x]"));
    EXPECT_EQ(midi.get_autobind_target(), -1);
    rig.window.use_menu().stop();
    rig.click(param_pos(2));
    EXPECT_THAT(open_menu(), Contains("Auto-bind [target : Nbr Bands] [x]"));
    EXPECT_EQ(midi.get_autobind_target(), 2);
    ASSERT_TRUE(rig.window.use_menu().pick("Auto-bind [target : Nbr Bands]"));
    EXPECT_EQ(midi.get_autobind_target(), -1) << "disarmed";
}

TEST_F(SetupMgrTest, ChoosingNoneForTheOutputClosesItAndChecksNone)
{
    pick_device("Output device", "VST MIDI Out interface");
    EXPECT_EQ(midi.get_output(), &comp.use_out());
    EXPECT_THAT(open_menu(), Contains("> VST MIDI Out interface [x]"));
    pick_device("Output device", "None");
    EXPECT_EQ(midi.get_output(), nullptr);
    EXPECT_THAT(open_menu(), Contains("> None [x]"));
    EXPECT_EQ(midi.get_input(), &comp.use_in()) << "the input stays";
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(SetupMgrTest, AFailedDeviceChoiceIsShownWithItsCode)
{
    open_menu();
    dispatcher.deinit();
    const int code = dispatcher.select_in(0);
    ASSERT_NE(code, 0) << "the ports went while the menu was open";
    device("Input device", "VST MIDI In interface").on_select();
    EXPECT_THAT(box.shown, ElementsAre("Error|Can't change MIDI device.\n\n\nCode " +
                                       std::to_string(code) + "|0|0"));
}

TEST_F(SetupMgrTest, ItemsAreDisabledWithHiddenParametersOrWithoutMidi)
{
    const auto disabled = [this]
    {
        std::vector<std::string> off;
        for (const std::string& line : open_menu())
        {
            if (line.ends_with(" (off)") || line.starts_with("> "))
            {
                off.push_back(line);
            }
        }
        return off;
    };
    rig.click(param_pos(0));
    dsp.hide_parameters = 1.0;
    EXPECT_THAT(disabled(),
                ElementsAre("Load... (off)", "Save... (off)", "Autoload [Undefined] (off)",
                            "Auto-bind [target : Cutoff Freq] (off)",
                            "Un-bind [Cutoff Freq (NRPN 0)] (off)", "> None",
                            "> VST MIDI In interface [x]", "> None [x]",
                            "> VST MIDI Out interface"));
    dsp.hide_parameters = 0.0;
    host.midi = nullptr;
    EXPECT_THAT(disabled(), ElementsAre("Auto-bind [target : Cutoff Freq] (off)",
                                        "Un-bind [Cutoff Freq (error)] (off)",
                                        "Old erroneous nrpn behaviour (off)"))
        << "and no devices";
}

TEST_F(SetupMgrTest, TheSwitchItemsFlipTheMouseModeAndTheNrpnOrder)
{
    ASSERT_FALSE(ravik::MouseMode::is_compatible());
    ASSERT_TRUE(pick("Enhanced mouse mode"));
    EXPECT_TRUE(ravik::MouseMode::is_compatible());
    EXPECT_THAT(open_menu(), Contains("Enhanced mouse mode"));

    ASSERT_EQ(midi.use_reg_settings().get_nrpn_compat(), 1);
    ASSERT_TRUE(pick("Old erroneous nrpn behaviour"));
    EXPECT_EQ(midi.use_reg_settings().get_nrpn_compat(), 0);
    EXPECT_THAT(open_menu(), Contains("Old erroneous nrpn behaviour [x]"));
    ASSERT_TRUE(rig.window.use_menu().pick("Old erroneous nrpn behaviour"));
    EXPECT_EQ(midi.use_reg_settings().get_nrpn_compat(), 1);
}

TEST_F(SetupMgrTest, AboutWebPagesAndSettingFilesGoWhereTheItemsSay)
{
    ASSERT_TRUE(pick("About..."));
    ASSERT_TRUE(pick("Presets..."));
    EXPECT_THAT(urls, ElementsAre("https://www.tarvex.com/jump.php?type=product&productid=11&"
                                  "version=352&action=preset"));
    ASSERT_EQ(box.shown.size(), 1U);
    EXPECT_THAT(
        box.shown[0],
        testing::AllOf(testing::StartsWith("VST is a trademark of Steinberg Media AG.|"
                                           "Morvane\nVersion  1.60.0\n\n(c) 20"),
                       testing::EndsWith(" " + dsp.manufacturer + "\nhttps://www.tarvex.com|0|0")))
        << "the build year and the maker";

    test::TempFolder folder;
    selector.chosen = folder.path("mine.cfg.txt");
    ASSERT_TRUE(pick("Save..."));
    ASSERT_TRUE(pick("Load..."));
    EXPECT_THAT(selector.calls, ElementsAre("save Save Setting File", "load Load Setting File"));
    EXPECT_EQ(selector.use_filter(0).first, "Tarvex plug-in setting file (*.cfg.txt)");
    EXPECT_THAT(open_menu(), Contains(testing::AllOf(testing::StartsWith("Autoload ["),
                                                     testing::EndsWith("mine.cfg.txt]"))));
}

TEST(WebSiteJump, EachPageIsTheJumpScriptWithTheProductAndItsAction)
{
    const plux::WebSiteJump web;
    const std::string base =
        "https://www.tarvex.com/jump.php?type=product&productid=11&version=352";
    EXPECT_EQ(web.build_url(plux::WebSiteJump::product_info), base);
    EXPECT_EQ(web.build_url(plux::WebSiteJump::updates), base + "&action=update");
    EXPECT_EQ(web.build_url(plux::WebSiteJump::documentation), base + "&action=documentation");
    EXPECT_EQ(web.build_url(plux::WebSiteJump::presets), base + "&action=preset");
}
