#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ravik/BackgroundNodes.hpp"
#include "ravik/ControlInterface.hpp"
#include "ravik/CtrlGroupNodes.hpp"
#include "ravik/PicDataInterface.hpp"
#include "ravik/WindowInterface.hpp"

namespace test
{

// A control that writes down what reaches it and draws its selected picture. A press can take
// the capture in a given mode and the release give it back, as the widgets do.
class ProbeControl : public ravik::ControlInterface
{
public:
    ProbeControl(const ravik::Point& pos, const ravik::Rect& box, std::string name);

    std::int32_t handle_redraw(ravik::Redraw& message) override;
    std::int32_t handle_mouse_click(ravik::MouseClick& message) override;
    std::int32_t handle_mouse_move(ravik::MouseMove& message) override;
    std::int32_t handle_mouse_wheel_move(ravik::MouseWheelMove& message) override;
    std::int32_t handle_mouse_capture_lost(ravik::MouseCaptureLost& message) override;
    std::int32_t handle_notify(ravik::Notify& message) override;
    std::int32_t handle_text_input_finished(ravik::TextInputFinished& message) override;
    std::int32_t handle_show_object(ravik::ShowObject& message) override;
    std::int32_t handle_disconnecting(ravik::Disconnecting& message) override;

    // Sends msg up from this control.
    std::int32_t send_up(ravik::MessageInterface& message) { return process_message(message); }

    std::string name;
    // What it received, one line each: "click 10,20 b1 m0 d0", "move 3,-2", "lost", ...
    std::vector<std::string> log;
    // Shared by the controls of a scene, in order of arrival.
    std::vector<std::string>* shared_log = nullptr;
    // The answer to clicks; 1 stops the click at this control.
    std::int32_t click_result = 1;
    // A press takes the capture in this mode (-1: none); the release lets go.
    int capture_mode = -1;

private:
    void note(const std::string& line);
};

// The toolkit scene of the window tests and the repaint benchmark: a background picture of the
// editor's size and a grid of knob pictures, each a ProbeControl in one group.
class ToolkitScene
{
public:
    static constexpr ravik::Point size{300, 335};

    // nbr_controls knobs on a grid; picture data from the embedded artwork.
    explicit ToolkitScene(int nbr_controls = 20);

    void attach(ravik::WindowInterface& window);
    ProbeControl& control(int index) { return *controls_.at(static_cast<std::size_t>(index)); }
    int get_nbr_controls() const { return static_cast<int>(controls_.size()); }
    std::vector<std::string>& use_log() { return log_; }

private:
    std::vector<std::unique_ptr<ravik::PicDataInterface>> data_;
    ravik::BackgroundItem background_;
    ravik::CtrlGroupItem group_;
    std::vector<std::unique_ptr<ProbeControl>> controls_;
    std::vector<std::string> log_;
};

} // namespace test
