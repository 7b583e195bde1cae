#include "effect/gui/VantrelGui.hpp"

#include <stdexcept>

#include "plux/DspInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/WindowInterface.hpp"
#include "ravik/widget/HighlightMixin.hpp"

// An invisible control that keeps the mailbox's timer while the window is open.
class VantrelGui::MailboxPump : public ravik::ControlInterface
{
public:
    explicit MailboxPump(VantrelGui& gui)
        : gui_(gui)
    {
    }

    std::int32_t handle_show_object(ravik::ShowObject& message) override
    {
        if (message.shown && timer_id_ == -1)
        {
            int id = -1;
            ravik::SetTimer timer(this, mailbox_period, id);
            if (process_message(timer) == 0)
            {
                timer_id_ = id;
            }
        }
        return 0;
    }
    std::int32_t handle_disconnecting(ravik::Disconnecting&) override
    {
        if (timer_id_ != -1)
        {
            ravik::ClearTimer clear(timer_id_);
            timer_id_ = -1;
            process_message(clear);
        }
        return 0;
    }
    std::int32_t handle_notify(ravik::Notify& message) override
    {
        if (message.id == timer_id_)
        {
            gui_.drain_mailbox();
        }
        return 0;
    }

private:
    VantrelGui& gui_;
    int timer_id_ = -1;
};

VantrelGui::VantrelGui()
    : pump_(std::make_unique<MailboxPump>(*this))
{
    preset_.set_gui(*this);
    main_.set_gui(*this);
}

VantrelGui::~VantrelGui()
{
    if (window_ != nullptr)
    {
        window_->set_background_root(nullptr);
        window_->set_control_root(nullptr);
    }
}

void VantrelGui::set_dsp(plux::DspInterface* dsp)
{
    dsp_ = dsp;
    nbr_param_ = dsp != nullptr ? dsp->get_nbr_param() : 0;
    mailbox_.resize(nbr_param_);
}

void VantrelGui::init()
{
    if (!pictures_.load())
    {
        throw std::runtime_error("VantrelGui::init() : Cannot initialize GUI.");
    }
}

plux::MetaControl& VantrelGui::use_meta(int index)
{
    return meta_.at(static_cast<std::size_t>(index));
}

void VantrelGui::set_default_state()
{
    if (built_)
    {
        return;
    }
    try
    {
        if (dsp_ == nullptr || nbr_param_ < VanGuiMain::nbr_params)
        {
            throw std::runtime_error("no parameters");
        }
        meta_.assign(static_cast<std::size_t>(nbr_param_), plux::MetaControl());
        main_.init();
        preset_.init();
        preset_.build(preset_group_);
        main_.build(main_group_);
        preset_.setup_menu();

        // Marks: 1 and 2 show a tag at the control's top left corner, 0 nothing.
        for (plux::MetaControl& meta : meta_)
        {
            ravik::ControlInterface* control = meta.get_control();
            auto* highlight = dynamic_cast<ravik::HighlightInterface*>(control);
            if (highlight == nullptr)
            {
                continue;
            }
            const ravik::Rect& box = control->get_bounding_box();
            for (const int mark : {1, 2})
            {
                ravik::Picture tag = pictures_.get(mark == 1 ? "tl_01_0" : "tl_01_1");
                tag.set_origin({-1 - box.x1, -1 - box.y1});
                highlight->set_highlight_picture(mark, tag);
            }
            apply_mark(static_cast<int>(&meta - meta_.data()), 0);
        }

        background_.set_picture(pictures_.get("bkg_21_main"));
        background_split_.push_back(background_, height);
        background_split_.set_position({0, 0});
        main_group_.add_control(*pump_);
        control_root_.push_back(main_group_, preset_panel_top);
        control_root_.push_back(preset_group_, height - preset_panel_top);
        control_root_.set_position({0, 0});
        control_root_.set_area({0, 0, width, height});
        built_ = true;
        attach_trees();
    }
    catch (const std::exception&)
    {
        throw std::runtime_error("VantrelGui::set_default_state() : Cannot build GUI.");
    }
}

void VantrelGui::set_window(ravik::WindowInterface* window)
{
    if (window_ != nullptr && window_ != window)
    {
        window_->set_background_root(nullptr);
        window_->set_control_root(nullptr);
    }
    window_ = window;
    attach_trees();
}

void VantrelGui::attach_trees()
{
    if (window_ == nullptr || !built_)
    {
        return;
    }
    window_->set_font(&pictures_.use_font());
    window_->set_content_size({width, height});
    window_->set_window_size({width, height});
    window_->set_background_root(&background_split_);
    window_->set_control_root(&control_root_);
}

void VantrelGui::get_size(int& w, int& h) const
{
    w = width;
    h = height;
}

void VantrelGui::get_resizable_size(int& w, int& h) const
{
    get_size(w, h);
}

int VantrelGui::open(void* parent)
{
    if (window_ == nullptr || !built_)
    {
        return -1;
    }
    editor_thread_.store(std::this_thread::get_id());
    // What arrived while closed is older than what the parameters hold now.
    mailbox_.drain([](int, float, int) {},
                   [this](int index, int mark) { apply_mark(index, mark); });
    for (plux::MetaControl& meta : meta_)
    {
        meta.refresh();
    }
    const int ret = window_->open(parent);
    open_.store(ret == 0);
    return ret;
}

void VantrelGui::close()
{
    open_.store(false);
    if (dsp_ != nullptr)
    {
        dsp_->gui_closing();
    }
    if (window_ != nullptr)
    {
        window_->close();
    }
}

bool VantrelGui::on_editor_thread() const
{
    return open_.load() && editor_thread_.load() == std::this_thread::get_id();
}

void VantrelGui::set_param_value(int index, float value, int origin)
{
    if (on_editor_thread())
    {
        apply_value(index, value, origin);
    }
    else
    {
        mailbox_.post_value(index, value, origin);
    }
}

void VantrelGui::set_param_mark(int index, int mark)
{
    if (on_editor_thread())
    {
        apply_mark(index, mark);
    }
    else
    {
        mailbox_.post_mark(index, mark);
    }
}

void VantrelGui::drain_mailbox()
{
    mailbox_.drain([this](int index, float value, int origin)
                   { apply_value(index, value, origin); },
                   [this](int index, int mark) { apply_mark(index, mark); });
}

void VantrelGui::apply_value(int index, float value, int origin)
{
    if (!built_ || index < 0 || index >= get_nbr_meta())
    {
        return;
    }
    if (ravik::ControlInterface* control = use_meta(index).get_control())
    {
        control->force_value(value, origin);
    }
}

void VantrelGui::apply_mark(int index, int mark)
{
    if (!built_ || index < 0 || index >= get_nbr_meta())
    {
        return;
    }
    if (ravik::ControlInterface* control = use_meta(index).get_control())
    {
        for (int i = 0; i < ravik::ControlInterface::nbr_marks; ++i)
        {
            control->set_mark(i, i == mark);
        }
        control->invalidate();
    }
}

void VantrelGui::bank_written(const plux::BankManager& /*bank*/)
{
    preset_.bank_written();
}

void VantrelGui::setup_changed()
{
    preset_.setup_changed();
}
