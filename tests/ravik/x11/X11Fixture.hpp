#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "ravik/FontFactory.hpp"
#include "ravik/window/ToolkitScene.hpp"
#include "ravik/x11/WindowX11.hpp"
#include "ravik/x11/X11Host.hpp"
#include "sys/ManualClock.hpp"

namespace test
{

// The toolkit scene in the X11 window, opened in a host's window, with the toolkit's time on a
// manual clock. The parameter is the way the host drives the window.
class X11Fixture : public testing::TestWithParam<X11Host::Dispatch>
{
protected:
    void SetUp() override
    {
        ASSERT_NE(font, nullptr);
        scene.attach(window);
        window.set_font(font.get());
        window.set_shared_memory(shared_memory);
        host = std::make_unique<X11Host>(window, GetParam());
        ASSERT_EQ(window.open(host->get_parent()), 0);
        host->adopt();
        ASSERT_TRUE(host->pump([this] { return window.get_nbr_paints() > 0; }))
            << "the window is exposed and painted";
        scene.use_log().clear();
        knob().log.clear();
    }
    void TearDown() override { window.close(); }

    ProbeControl& knob() { return scene.control(0); }
    // The middle of the first knob.
    static constexpr ravik::Point on_knob{20, 20};
    // Waits until the knob has logged count lines.
    bool wait_for_log(std::size_t count)
    {
        return host->pump([&] { return knob().log.size() >= count; });
    }

    bool shared_memory = true;
    ManualClock clock;
    std::unique_ptr<ravik::FontInterface> font = ravik::FontFactory::create("font_02");
    ravik::WindowX11 window{{320, 360}};
    ToolkitScene scene{4};
    std::unique_ptr<X11Host> host;
};

inline std::string dispatch_name(const testing::TestParamInfo<X11Host::Dispatch>& info)
{
    return info.param == X11Host::Dispatch::idle ? "Idle" : "EventProc";
}

} // namespace test
