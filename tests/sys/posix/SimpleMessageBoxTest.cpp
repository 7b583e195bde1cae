#include "sys/SimpleMessageBox.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

using sys::MessageBoxInterface;
using sys::SimpleMessageBox;

namespace
{

struct BoxCase
{
    int buttons;
    int default_button;
    int expected;

    friend void PrintTo(const BoxCase& c, std::ostream* os)
    {
        *os << "buttons " << c.buttons << ", default " << c.default_button;
    }
};

class SimpleMessageBoxAnswer : public testing::TestWithParam<BoxCase>
{
};

} // namespace

TEST_P(SimpleMessageBoxAnswer, AnswersAsTheDefaultButtonAndPrintsTheMessage)
{
    const BoxCase& param = GetParam();
    SimpleMessageBox box;
    testing::internal::CaptureStderr();
    const int answer = box.show("Conflict", "/a.cfg.txt\nalready exists. Overwrite ?",
                                param.buttons, param.default_button);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, param.expected)
        << "buttons " << param.buttons << ", default " << param.default_button;
    if (param.expected != MessageBoxInterface::res_failed)
    {
        EXPECT_EQ(printed, "Conflict\n/a.cfg.txt\nalready exists. Overwrite ?\n");
    }
    else
    {
        EXPECT_EQ(printed, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SimpleMessageBoxAnswer,
    testing::Values(
        BoxCase{MessageBoxInterface::buttons_ok, 0, MessageBoxInterface::res_ok},
        BoxCase{MessageBoxInterface::buttons_ok, 1, MessageBoxInterface::res_ok},
        BoxCase{MessageBoxInterface::buttons_ok_cancel, 0, MessageBoxInterface::res_ok},
        BoxCase{MessageBoxInterface::buttons_ok_cancel, 1, MessageBoxInterface::res_cancel},
        BoxCase{MessageBoxInterface::buttons_ok_cancel, 2, MessageBoxInterface::res_ok},
        BoxCase{MessageBoxInterface::buttons_yes_no, 1, MessageBoxInterface::res_cancel},
        BoxCase{MessageBoxInterface::buttons_yes_no, 7, MessageBoxInterface::res_ok},
        BoxCase{3, 0, MessageBoxInterface::res_failed}));
