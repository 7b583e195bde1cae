#include "sys/SimpleMessageBox.hpp"

#include <windows.h>

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "sys/win32/DialogAnswerer.hpp"

using sys::MessageBoxInterface;
using sys::SimpleMessageBox;

namespace
{

struct BoxCase
{
    const char* label;
    int buttons;
    int default_button;
    int expected_default_id; // the button that Enter would press
    int pressed_id;
    int expected;

    friend void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.label; }
};

class SimpleMessageBoxWindow : public testing::TestWithParam<BoxCase>
{
};

} // namespace

TEST_P(SimpleMessageBoxWindow, ShowsTheTextWithItsDefaultButtonAndAnswersThePressedOne)
{
    const BoxCase& param = GetParam();
    const std::string title = std::string("Morvane box ") + param.label;
    std::string shown_text;
    int default_id = 0;
    test::DialogAnswerer answerer(
        title,
        [&](HWND box)
        {
            // The text of a message box is its static control 0xFFFF.
            shown_text = test::get_item_text(box, 0xFFFF);
            for (const int id : {IDOK, IDCANCEL, IDYES, IDNO})
            {
                const HWND button = ::GetDlgItem(box, id);
                if (button != nullptr &&
                    (::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                {
                    default_id = id;
                }
            }
        },
        param.pressed_id);
    SimpleMessageBox box;
    const int answer =
        box.show(title, "first line\nsecond line", param.buttons, param.default_button);
    answerer.join();
    ASSERT_TRUE(answerer.found()) << "no message box titled " << title << " appeared";
    EXPECT_EQ(answer, param.expected);
    EXPECT_EQ(shown_text, "first line\nsecond line");
    EXPECT_EQ(default_id, param.expected_default_id);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SimpleMessageBoxWindow,
    testing::Values(BoxCase{"Ok", MessageBoxInterface::buttons_ok, 0, IDOK, IDOK,
                            MessageBoxInterface::res_ok},
                    BoxCase{"OkCancelDefaultCancelPressOk", MessageBoxInterface::buttons_ok_cancel,
                            1, IDCANCEL, IDOK, MessageBoxInterface::res_ok},
                    BoxCase{"OkCancelPressCancel", MessageBoxInterface::buttons_ok_cancel, 0, IDOK,
                            IDCANCEL, MessageBoxInterface::res_cancel},
                    BoxCase{"YesNoPressYes", MessageBoxInterface::buttons_yes_no, 0, IDYES, IDYES,
                            MessageBoxInterface::res_ok},
                    BoxCase{"YesNoDefaultNoPressNo", MessageBoxInterface::buttons_yes_no, 1, IDNO,
                            IDNO, MessageBoxInterface::res_cancel},
                    BoxCase{"YesNoOutOfRangeDefault", MessageBoxInterface::buttons_yes_no, 3, IDYES,
                            IDNO, MessageBoxInterface::res_cancel}),
    [](const testing::TestParamInfo<BoxCase>& info) { return info.param.label; });

TEST(SimpleMessageBoxWindow, UnknownButtonSetShowsNothing)
{
    SimpleMessageBox box;
    EXPECT_EQ(box.show("Morvane box none", "text", 3, 0), MessageBoxInterface::res_failed);
}
