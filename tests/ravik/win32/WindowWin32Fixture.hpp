#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ravik/win32/Desktop.hpp"
#include "ravik/win32/WindowWin32.hpp"
#include "ravik/window/ToolkitScene.hpp"
#include "sys/ManualClock.hpp"

namespace test
{

// Sees the window's messages first: records the floating-point rounding modes in which it ran
// and swallows one kind of message when asked.
class RecordingHook : public ravik::MessageHookInterface
{
public:
    bool pre_translate(HWND__* window, unsigned int message, std::uintptr_t wparam,
                       std::intptr_t lparam) override;

    unsigned int swallow = 0;
    int x87_rounding = -1;
    unsigned int sse_rounding = 0;
};

// A host's editor frame, a top-level window at a fixed place on the screen with the keyboard
// focus, and the toolkit's window open inside it on the test scene; the mouse waits outside both.
class WindowWin32Test : public testing::Test
{
protected:
    static constexpr ravik::Point window_size{320, 360};

    void SetUp() override;
    void TearDown() override;

    HWND host() const { return host_; }
    // Moves the mouse to a point of the toolkit's window.
    void move_to(const ravik::Point& pos) const;
    // Where the cursor is, in the toolkit's window.
    ravik::Point cursor() const;
    ProbeControl& knob() { return scene.control(0); }
    // The middle of the first knob.
    static constexpr ravik::Point on_knob{20, 20};
    // Moves onto the first knob and presses the left button there.
    void press_knob();
    bool logged(const std::vector<std::string>& log, const std::string& line) const;
    // Until line reaches log.
    void wait_for(const std::vector<std::string>& log, const std::string& line);

    ManualClock clock;
    RecordingHook hook;
    HWND host_ = nullptr;
    ToolkitScene scene{4};
    ravik::WindowWin32 window{window_size, &hook};
};

} // namespace test
