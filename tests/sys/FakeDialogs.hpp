#pragma once

#include <string>
#include <vector>

#include "sys/FileSelectorInterface.hpp"
#include "sys/MessageBoxInterface.hpp"

namespace test
{

// A file dialog that the test answers in advance; records each call as "load <title>" or
// "save <title>".
class FakeSelector : public sys::FileSelectorInterface
{
public:
    int select_load() override { return pick("load " + get_title()); }
    int select_save() override { return pick("save " + get_title()); }

    int answer = res_chosen;
    std::string chosen;
    std::vector<std::string> calls;

private:
    int pick(const std::string& call)
    {
        calls.push_back(call);
        if (answer == res_chosen)
        {
            set_path(chosen);
        }
        return answer;
    }
};

// Records every box as "title|text|buttons|default" and gives the prepared answer.
class FakeBox : public sys::MessageBoxInterface
{
public:
    int show(const std::string& title, const std::string& text, int buttons,
             int default_button) override
    {
        shown.push_back(title + "|" + text + "|" + std::to_string(buttons) + "|" +
                        std::to_string(default_button));
        return answer;
    }

    int answer = res_ok;
    std::vector<std::string> shown;
};

} // namespace test
