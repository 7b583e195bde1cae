#include "sys/SimpleMessageBox.hpp"

#include <gtest/gtest.h>
#include <string>

using sys::MessageBoxInterface;

// Without a window system the box prints its title and text and answers as its default button
// would; a set of buttons it does not know shows nothing.
TEST(SimpleMessageBox, AnswersAsTheDefaultButtonAndPrintsTheMessage)
{
    struct Case
    {
        int buttons;
        int default_button;
        int expected;
    };
    for (const Case c :
         {Case{MessageBoxInterface::buttons_ok, 0, MessageBoxInterface::res_ok},
          Case{MessageBoxInterface::buttons_ok, 1, MessageBoxInterface::res_ok},
          Case{MessageBoxInterface::buttons_ok_cancel, 0, MessageBoxInterface::res_ok},
          Case{MessageBoxInterface::buttons_ok_cancel, 1, MessageBoxInterface::res_cancel},
          Case{MessageBoxInterface::buttons_ok_cancel, 2, MessageBoxInterface::res_ok},
          Case{MessageBoxInterface::buttons_yes_no, 1, MessageBoxInterface::res_cancel},
          Case{MessageBoxInterface::buttons_yes_no, 7, MessageBoxInterface::res_ok},
          Case{3, 0, MessageBoxInterface::res_failed}})
    {
        SCOPED_TRACE("buttons " + std::to_string(c.buttons) + ", default " +
                     std::to_string(c.default_button));
        sys::SimpleMessageBox box;
        testing::internal::CaptureStderr();
        EXPECT_EQ(box.show("Conflict", "/a.cfg.txt\nalready exists. Overwrite ?", c.buttons,
                           c.default_button),
                  c.expected);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  c.expected == MessageBoxInterface::res_failed
                      ? ""
                      : "Conflict\n/a.cfg.txt\nalready exists. Overwrite ?\n");
    }
}
