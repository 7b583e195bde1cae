#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ravik/BackgroundNodes.hpp"
#include "ravik/CtrlGroupNodes.hpp"
#include "ravik/DefaultEventListener.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/widget/MouseMode.hpp"
#include "sys/ManualClock.hpp"
#include "sys/RegistrySandbox.hpp"

namespace test
{

// Records what a widget tells its listeners; can refuse changes.
class WidgetListener : public ravik::DefaultEventListener
{
public:
    bool accept(int origin) override { return !refuse || origin == 1; }
    double filter_value(double value, int origin) override
    {
        values.push_back(value);
        origins.push_back(origin);
        return value;
    }
    void signal(int origin) override { signals.push_back(origin); }
    void trigger(int origin) override { triggers.push_back(origin); }
    void notify(int code, void*) override { notes.push_back(code); }

    bool refuse = false;
    std::vector<double> values;
    std::vector<int> origins;
    std::vector<int> signals;
    std::vector<int> triggers;
    std::vector<int> notes;
};

// An offscreen window with one group of widgets, the test clock and a chosen mouse mode: the
// user's hand, moved in time.
class WidgetRig
{
public:
    explicit WidgetRig(bool compatible_mouse = false)
    {
        // The mode is kept in the registry: the test's own key, never the user's.
        ravik::MouseMode::set_key_path(sandbox_key_path("maker"));
        ravik::MouseMode::set_compatible(compatible_mouse);
        root.set_position({0, 0});
        background_.set_picture(picture("bkg_21_main"));
        background_.set_position({0, 0});
        font_ = ravik::FontFactory::create("font_02");
        window.set_font(font_.get());
        window.set_content_size({300, 335});
        window.set_background_root(&background_);
        window.set_control_root(&root);
        window.open(nullptr);
    }
    ~WidgetRig() { window.close(); }

    const ravik::Picture& background() const { return background_.use_picture(); }

    ravik::Picture picture(const char* name)
    {
        data_.push_back(ravik::PicDataFactory::create(name));
        return ravik::Picture(data_.back().get());
    }

    // Moves the mouse by (dx, dy) from where it is, as a hand does, then lets dt pass with the
    // window's timer running.
    void move_by(int dx, int dy, double dt = 0.01)
    {
        window.move(window.get_cursor() + ravik::Point{dx, dy});
        wait(dt);
    }
    // Lets time pass with the 2 ms timer polling.
    void wait(double seconds)
    {
        for (double t = 0.0; t < seconds - 1e-9; t += 0.003)
        {
            clock.advance(0.003);
            window.tick();
        }
    }

    ManualClock clock;
    ravik::WindowOffscreen window{{300, 335}};
    ravik::CtrlGroupItem root;

private:
    std::vector<std::unique_ptr<ravik::PicDataInterface>> data_;
    ravik::BackgroundItem background_;
    std::unique_ptr<ravik::FontInterface> font_;
};

} // namespace test
