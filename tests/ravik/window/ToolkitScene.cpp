#include "ravik/window/ToolkitScene.hpp"

#include <stdexcept>

#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/TextMessages.hpp"
#include "ravik/TimerMessages.hpp"

namespace test
{

namespace
{

std::string point(const ravik::Point& p)
{
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

} // namespace

ProbeControl::ProbeControl(const ravik::Point& pos, const ravik::Rect& box, std::string name)
    : ravik::ControlInterface(pos, nullptr, 0.0, box)
    , name(std::move(name))
{
}

void ProbeControl::note(const std::string& line)
{
    log.push_back(line);
    if (shared_log != nullptr)
    {
        shared_log->push_back(name + " " + line);
    }
}

std::int32_t ProbeControl::handle_redraw(ravik::Redraw& message)
{
    return draw_picture(message);
}

std::int32_t ProbeControl::handle_mouse_click(ravik::MouseClick& message)
{
    note("click " + point(message.pos) + " b" + std::to_string(message.buttons) + " m" +
         std::to_string(message.modifiers) + " d" + std::to_string(message.double_click));
    if (capture_mode >= 0)
    {
        if (message.buttons != 0)
        {
            ravik::MouseCapture take(this, capture_mode);
            process_message(take);
        }
        else
        {
            ravik::MouseRelease let_go(this);
            process_message(let_go);
        }
    }
    return click_result;
}

std::int32_t ProbeControl::handle_mouse_move(ravik::MouseMove& message)
{
    note("move " + point(message.pos));
    return 1;
}

std::int32_t ProbeControl::handle_mouse_wheel_move(ravik::MouseWheelMove& message)
{
    note("wheel " + point(message.pos) + " " + std::to_string(message.steps) + " m" +
         std::to_string(message.modifiers));
    return 1;
}

std::int32_t ProbeControl::handle_mouse_capture_lost(ravik::MouseCaptureLost&)
{
    note("lost");
    return 0;
}

std::int32_t ProbeControl::handle_notify(ravik::Notify& message)
{
    note("tick " + std::to_string(message.id));
    return 0;
}

std::int32_t ProbeControl::handle_text_input_finished(ravik::TextInputFinished& message)
{
    note("text " + message.text + (message.validated ? " validated" : " cancelled"));
    return 0;
}

std::int32_t ProbeControl::handle_show_object(ravik::ShowObject& message)
{
    note(message.shown ? "shown" : "hidden");
    return 0;
}

std::int32_t ProbeControl::handle_disconnecting(ravik::Disconnecting&)
{
    note("disconnecting");
    return 0;
}

ToolkitScene::ToolkitScene(int nbr_controls)
{
    auto load = [this](const char* name)
    {
        auto data = ravik::PicDataFactory::create(name);
        if (data == nullptr)
        {
            throw std::runtime_error(std::string("test::ToolkitScene : no picture ") + name);
        }
        data_.push_back(std::move(data));
        return ravik::Picture(data_.back().get());
    };
    background_.set_picture(load("bkg_21_main"));
    background_.set_position({0, 0});
    group_.set_position({0, 0});

    static const char* const knobs[] = {"kn_12_0", "kn_12_1", "kn_12_2", "kn_12_3",
                                        "kn_12_4", "kn_12_5", "kn_12_6", "kn_12_7"};
    std::vector<ravik::Picture> frames;
    for (const char* knob : knobs)
    {
        frames.push_back(load(knob));
    }
    const ravik::Rect box = frames[0].get_bounding_box();
    const int w = box.x2 - box.x1;
    const int h = box.y2 - box.y1;
    const int per_row = std::max(1, (size.x - 10) / (w + 8));
    for (int i = 0; i < nbr_controls; ++i)
    {
        const ravik::Point pos{10 + (i % per_row) * (w + 8), 10 + (i / per_row) * (h + 8)};
        std::string name = "c";
        name += std::to_string(i);
        auto control = std::make_unique<ProbeControl>(pos, box, name);
        control->set_nbr_pictures(static_cast<int>(frames.size()));
        for (int f = 0; f < static_cast<int>(frames.size()); ++f)
        {
            control->set_picture(f, frames[static_cast<std::size_t>(f)]);
        }
        control->use_pictures(true);
        control->select_picture(i % static_cast<int>(frames.size()));
        control->shared_log = &log_;
        group_.add_control(*control);
        controls_.push_back(std::move(control));
    }
}

void ToolkitScene::attach(ravik::WindowInterface& window)
{
    window.set_content_size(size);
    window.set_background_root(&background_);
    window.set_control_root(&group_);
}

} // namespace test
