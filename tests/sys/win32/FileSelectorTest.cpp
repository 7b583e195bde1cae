#include "sys/FileSelector.hpp"

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>
#include <string>

#include "sys/win32/DialogAnswerer.hpp"

using sys::FileSelector;
using sys::FileSelectorInterface;

namespace
{

// The file name field: an edit box in the classic layout, a combo box's edit in newer ones.
HWND find_name_field(HWND dialog)
{
    if (HWND combo = ::GetDlgItem(dialog, cmb13))
    {
        if (HWND edit = ::FindWindowExA(combo, nullptr, "Edit", nullptr))
        {
            return edit;
        }
        return combo;
    }
    return ::GetDlgItem(dialog, edt1);
}

std::string get_text(HWND window)
{
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The texts of the dialog's file type list.
std::string get_filter_texts(HWND dialog)
{
    std::string texts;
    const HWND combo = ::GetDlgItem(dialog, cmb1);
    const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index)
    {
        char text[512] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        texts += std::string(text) + "|";
    }
    return texts + "selected " + std::to_string(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

class FileSelectorDialog : public testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(sizeof(temp), temp);
        folder = temp;
        selector.set_path(folder + "start name.cfg.txt");
        selector.add_filter("Setting file (*.cfg.txt)", "*.cfg.txt");
        selector.add_filter("Text or settings", "*.txt,*.cfg.txt");
        selector.set_filter_index(1);
    }

    FileSelector selector;
    std::string folder;
};

} // namespace

TEST_F(FileSelectorDialog, SaveStartsAtTheCurrentFileAndTakesTheTypedOne)
{
    selector.set_title("Morvane save test");
    const std::string chosen = folder + "chosen.cfg.txt";
    std::string start_name;
    std::string filters;
    test::DialogAnswerer answerer(
        "Morvane save test",
        [&](HWND dialog)
        {
            const HWND field = find_name_field(dialog);
            start_name = get_text(field);
            filters = get_filter_texts(dialog);
            ::SetWindowTextA(field, chosen.c_str());
        },
        IDOK);
    const int result = selector.select_save();
    answerer.join();
    ASSERT_TRUE(answerer.found()) << "no save dialog appeared";
    EXPECT_EQ(result, FileSelectorInterface::res_chosen);
    EXPECT_EQ(start_name, "start name.cfg.txt");
    EXPECT_EQ(filters, "Setting file (*.cfg.txt)|Text or settings|selected 1");
    EXPECT_EQ(selector.get_path(), chosen);
    EXPECT_EQ(selector.get_filter_index(), 1);
}

TEST_F(FileSelectorDialog, CancelKeepsThePath)
{
    selector.set_title("Morvane cancel test");
    test::DialogAnswerer answerer(
        "Morvane cancel test", [](HWND) {}, IDCANCEL);
    const int result = selector.select_load();
    answerer.join();
    ASSERT_TRUE(answerer.found()) << "no open dialog appeared";
    EXPECT_EQ(result, FileSelectorInterface::res_cancelled);
    EXPECT_EQ(selector.get_path(), folder + "start name.cfg.txt");
}
