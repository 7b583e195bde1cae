#include "effect/gui/VanGuiPreset.hpp"

#include "effect/gui/VantrelGui.hpp"

namespace
{

constexpr std::uint32_t value_colour = 2301462;

} // namespace

// The preset manager and the setup menu, with what they need.
struct VanGuiPreset::Services
{
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

void VanGuiPreset::setup_menu() {}

void VanGuiPreset::bank_written() {}

void VanGuiPreset::setup_changed() {}
