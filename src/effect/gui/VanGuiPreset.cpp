#include "effect/gui/VanGuiPreset.hpp"

#include <stdexcept>
#include <vector>

#include "effect/gui/VantrelGui.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/preset/PresetManager.hpp"
#include "plux/preset/ProgStLdDefault.hpp"
#include "plux/setup/SetupMgr.hpp"
#include "plux/setup/WebSiteJump.hpp"

namespace
{

constexpr std::uint32_t value_colour = 2301462;
#ifdef _WIN32
constexpr const char* path_separator = "\\";
#else
constexpr const char* path_separator = "/";
#endif

} // namespace

// The preset manager and the setup menu, with what they need. Declared after the controls, so
// that they let go of them before the controls go.
struct VanGuiPreset::Services
{
    plux::ProgStLdDefault interpolator;
    plux::PresetManager presets{nbr_presets};
    plux::WebSiteJump web;
    plux::SetupMgr setup{true, true};
};

VanGuiPreset::VanGuiPreset()
    : services_(std::make_unique<Services>())
{
}

VanGuiPreset::~VanGuiPreset() = default;

void VanGuiPreset::init()
{
    const GuiPictures& pics = use_gui().use_pictures();
    const int first = pics.index_of("pb_31_0");
    for (int i = 0; i < nbr_presets; ++i)
    {
        ravik::PushButton& button = numbers_[static_cast<std::size_t>(i)];
        button.set_state_picture(0, pics.get(first + 2 * i));
        button.set_state_picture(1, pics.get(first + 2 * i + 1));
        button.set_fade_time(0.3);
        button.set_bounding_box({-9, -9, 8, 8});
    }
    mem_mode_.set_state_picture(0, pics.get("ff_10_0"));
    mem_mode_.set_state_picture(1, pics.get("ff_10_1"));
    mem_mode_.set_fade_time(0.3);
    mem_mode_.set_bounding_box({-12, -11, 12, 10});
    load_bank_.set_state_picture(0, pics.get("pb_39_0"));
    load_bank_.set_state_picture(1, pics.get("pb_39_1"));
    save_bank_.set_state_picture(0, pics.get("pb_40_0"));
    save_bank_.set_state_picture(1, pics.get("pb_40_1"));
    for (ravik::PushButton* bank : {&load_bank_, &save_bank_})
    {
        bank->set_fade_time(0.3);
        bank->set_bounding_box({0, 0, 37, 16});
    }
    time_fader_.set_handle(pics.get("fd_07"));
    time_fader_.set_vertical(false);
    time_fader_.set_length(50);
    time_fader_.set_horizontal_factor(0.03125f);
    time_fader_.set_jump_speed(1.0f);
    time_fader_.set_bounding_box({-5, -12, 59, 17});
    time_display_.set_font(&pics.use_font());
    time_display_.set_text_offset({12, 0});
    time_display_.set_editable(true);
    time_display_.set_text_box(24, 12, ravik::Text::centre, value_colour);
    time_display_.set_bounding_box({-12, 0, 12, 12});
    setup_button_.set_state_picture(0, pics.get("pb_55_0"));
    setup_button_.set_state_picture(1, pics.get("pb_55_1"));
    setup_button_.set_fade_time(0.25);
    setup_button_.set_bounding_box({-15, -15, 16, 16});

    VantrelGui& gui = use_gui();
    plux::HostGuiInterface* host = gui.get_host();
    plux::DspInterface* dsp = gui.get_dsp();
    if (host == nullptr || dsp == nullptr)
    {
        throw std::runtime_error("VanGuiPreset::init() : No host or DSP side.");
    }
    plux::PresetControls controls;
    for (ravik::PushButton& button : numbers_)
    {
        controls.numbers.push_back(&button);
    }
    controls.mem_mode = &mem_mode_;
    controls.load_bank = &load_bank_;
    controls.save_bank = &save_bank_;
    controls.time_fader = &time_fader_;
    controls.time_display = &time_display_;
    // Morph times from 0.0 to 99.0 seconds.
    services_->presets.use_time_display_listener().set_format(0, 1, false);
    services_->interpolator.set_dsp(dsp);
    if (services_->presets.init(*host, *dsp, services_->interpolator, controls,
                                "default_preset_bank") != 0)
    {
        throw std::runtime_error("VanGuiPreset::init() : Cannot set up the presets.");
    }
    const std::string folder = host->get_settings_folder();
    if (!folder.empty())
    {
        services_->presets.use_file_selector().set_path(folder + path_separator);
    }
}

void VanGuiPreset::build(ravik::CtrlGroupItem& group)
{
    for (int i = 0; i < nbr_presets; ++i)
    {
        ravik::PushButton& button = numbers_[static_cast<std::size_t>(i)];
        button.set_position({68 + 20 * i, 15});
        group.add_control(button);
    }
    mem_mode_.set_position({232, 22});
    load_bank_.set_position({63, 25});
    save_bank_.set_position({183, 25});
    time_fader_.set_position({102, 33});
    time_display_.set_position({168, 28});
    setup_button_.set_position({276, 20});
    for (ravik::ControlInterface* control : std::initializer_list<ravik::ControlInterface*>{
             &mem_mode_, &load_bank_, &save_bank_, &time_fader_, &time_display_, &setup_button_})
    {
        group.add_control(*control);
    }
}

void VanGuiPreset::setup_menu()
{
    VantrelGui& gui = use_gui();
    std::vector<ravik::ControlInterface*> param_controls;
    for (int i = 0; i < gui.get_nbr_meta(); ++i)
    {
        param_controls.push_back(gui.use_meta(i).get_control());
    }
    if (services_->setup.init(*gui.get_host(), *gui.get_dsp(), param_controls, setup_button_,
                              services_->web) != 0)
    {
        throw std::runtime_error("VanGuiPreset::setup_menu() : Cannot set up the setup menu.");
    }
}

const plux::PresetManager& VanGuiPreset::use_presets() const
{
    return services_->presets;
}

void VanGuiPreset::bank_written() {}

void VanGuiPreset::setup_changed() {}
