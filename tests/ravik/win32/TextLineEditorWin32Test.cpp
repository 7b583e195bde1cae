// Text entry in the toolkit's window on Windows: the system's field over the control, typed into on
// the keyboard and left the ways a user leaves it.
#include <functional>
#include <gmock/gmock.h>

#include "ravik/TextMessages.hpp"
#include "ravik/win32/WindowWin32Fixture.hpp"

using testing::ElementsAre;

namespace
{

using TextLineEditorWin32Test = test::WindowWin32Test;

std::string text_of(HWND edit)
{
    char text[2048] = {};
    ::GetWindowTextA(edit, text, sizeof(text));
    return text;
}

} // namespace

TEST_F(TextLineEditorWin32Test, EscapeCancelsWhileEnterAndAClickElsewhereValidate)
{
    // On the second knob, away from the field.
    const ravik::Point elsewhere{70, 20};
    const struct
    {
        const char* typed;
        std::function<void()> leave;
        const char* finished;
    } cases[] = {
        {"880", [] { test::input::press_key(VK_ESCAPE); }, "c0 text 880 cancelled"},
        {"220", [] { test::input::press_key(VK_RETURN); }, "c0 text 220 validated"},
        {"110",
         [&]
         {
             move_to(elsewhere);
             test::input::mouse(MOUSEEVENTF_LEFTDOWN);
             test::input::mouse(MOUSEEVENTF_LEFTUP);
         },
         "c0 text 110 validated"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.finished);
        ravik::TextInputRequest ask(&knob(), "440", {10, 10, 60, 24});
        ASSERT_EQ(knob().send_up(ask), 0);
        const HWND edit = window.use_text_editor().get_edit();
        ASSERT_NE(edit, nullptr);
        RECT place = {};
        ::GetWindowRect(edit, &place);
        ::MapWindowPoints(nullptr, window.get_handle(), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ((ravik::Rect{place.left, place.top, place.right, place.bottom}),
                  (ravik::Rect{10, 10, 60, 24}));
        LOGFONTA font = {};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof(font),
                     &font);
        EXPECT_EQ(font.lfHeight, -14) << "characters as high as the field";
        EXPECT_EQ(text_of(edit), "440");
        DWORD from = 1;
        DWORD to = 0;
        ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                       reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, 3u) << "all of it selected";
        EXPECT_EQ(::GetFocus(), edit);

        test::input::type(c.typed);
        ASSERT_TRUE(test::pump_until([&] { return text_of(edit) == c.typed; }));
        c.leave();
        wait_for(scene.use_log(), c.finished);
        EXPECT_FALSE(::IsWindow(edit));
        EXPECT_EQ(::GetFocus(), host_) << "the focus back where it was";
    }
    wait_for(scene.use_log(), "c1 click 70,20 b0 m0 d0");
    const auto ended = std::find(scene.use_log().begin(), scene.use_log().end(), cases[2].finished);
    EXPECT_THAT(
        std::vector<std::string>(ended, scene.use_log().end()),
        ElementsAre(cases[2].finished, "c1 click 70,20 b1 m0 d0", "c1 click 70,20 b0 m0 d0"))
        << "the entry ends before the press goes on";
}

TEST_F(TextLineEditorWin32Test, TheProgramANewEntryOrClosingTheWindowEndsAnEntry)
{
    ravik::TextInputRequest ask(&knob(), "440", {10, 10, 60, 24});
    ASSERT_EQ(knob().send_up(ask), 0);
    ravik::TextInputStop stop(false);
    EXPECT_EQ(knob().send_up(stop), 0);
    EXPECT_EQ(knob().send_up(stop), -1) << "none left";

    ASSERT_EQ(knob().send_up(ask), 0);
    ::SetWindowTextA(window.use_text_editor().get_edit(), std::string(2000, '7').c_str());
    ASSERT_EQ(knob().send_up(ask), 0);
    window.close();
    EXPECT_THAT(
        knob().log,
        ElementsAre("text 440 cancelled",
                    "text " + std::string(ravik::TextLineEditorWin32::max_text, '7') + " validated",
                    "disconnecting", "hidden", "text 440 validated"))
        << "a new entry and the window's closing keep what was typed, as leaving the field does";
}
