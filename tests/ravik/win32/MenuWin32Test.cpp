// Pop-up menus of the toolkit's window on Windows: what the system's pop-up shows, and picks made
// in it with the keyboard or the mouse.
#include <gmock/gmock.h>

#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/win32/WindowWin32Fixture.hpp"

using testing::ElementsAre;

namespace
{

using test::click_item;
using test::describe;
using test::MenuScript;

class MenuWin32Test : public test::WindowWin32Test
{
protected:
    void SetUp() override
    {
        test::WindowWin32Test::SetUp();
        for (ravik::MenuNodeInterface* node : std::initializer_list<ravik::MenuNodeInterface*>{
                 &load, &midi, &more, &off, &line, &hidden, &longest})
        {
            root.append(*node);
        }
        more.append(deep);
        more.append(greyed);
        more.append(checked);
        off.append(inside);
        off.set_disabled(true);
        hidden.set_shown(false);
        load.set_listener(&load_picks);
        deep.set_listener(&deep_picks);
    }

    // Shows the menu at the first knob, plus offset, while script runs.
    std::int32_t show(std::vector<std::function<bool()>> steps, const ravik::Point& offset = {})
    {
        move_to(on_knob);
        wait_for(knob().log, "move 20,20");
        MenuScript script(std::move(steps));
        ravik::MenuRequest ask(root, offset);
        const std::int32_t result = knob().send_up(ask);
        EXPECT_TRUE(script.is_done());
        return result;
    }

    HMENU popup() { return window.use_menu().get_popup(); }

    struct Picks : ravik::MenuListenerInterface
    {
        explicit Picks(const ravik::MenuWin32& menu)
            : menu(menu)
        {
        }
        void on_select() override
        {
            ++count;
            menu_gone = menu.get_popup() == nullptr &&
                        !test::is_class_declared(ravik::MenuWin32::class_name);
        }
        const ravik::MenuWin32& menu;
        int count = 0;
        bool menu_gone = false;
    };

    ravik::MenuList root;
    ravik::MenuItem load{"Load & Save"};
    ravik::MenuDelimiter midi{"MIDI"};
    ravik::MenuList more{"More"};
    ravik::MenuItem deep{"Deep"};
    ravik::MenuItem greyed{"Greyed", true, true, false};
    ravik::MenuItem checked{"Checked", false, true, true};
    ravik::MenuList off{"Off"};
    ravik::MenuItem inside{"Inside"};
    ravik::MenuDelimiter line;
    ravik::MenuItem hidden{"Hidden"};
    ravik::MenuItem longest{std::string(150, 'x')};
    Picks load_picks{window.use_menu()};
    Picks deep_picks{window.use_menu()};
};

} // namespace

TEST_F(MenuWin32Test, ThePopUpShowsTheShownNodesAtTheCursorUntilStopped)
{
    std::vector<std::string> shown;
    RECT at = {};
    std::string window_title;
    MENUITEMINFOA first = {};
    const std::int32_t result =
        show({[&]
              {
                  shown = describe(popup());
                  ::GetWindowRect(::FindWindowA("#32768", nullptr), &at);
                  char title[32] = {};
                  ::GetWindowTextA(window.use_menu().get_window(), title, sizeof(title));
                  window_title = title;
                  first.cbSize = sizeof(first);
                  first.fMask = MIIM_ID | MIIM_DATA;
                  ::GetMenuItemInfoA(popup(), 0, TRUE, &first);
                  // As a control would from a timer tick.
                  ravik::MenuStop stop;
                  EXPECT_EQ(knob().send_up(stop), 0);
                  return true;
              }},
             {3, 4});
    EXPECT_EQ(result, 0);
    EXPECT_THAT(shown,
                ElementsAre("Load && Save", "--- MIDI " + std::string(31, '-') + " (greyed)",
                            "More", "  Deep", "  Greyed (greyed)", "  Checked (checked)",
                            "Off (greyed)", "  Inside", "(separator)", std::string(127, 'x')));
    EXPECT_EQ(static_cast<int>(first.wID), load.get_id());
    EXPECT_EQ(first.dwItemData, static_cast<ULONG_PTR>(load.get_id()) + 100);
    const POINT cursor = test::get_cursor();
    EXPECT_EQ(at.left, cursor.x + 3);
    EXPECT_EQ(at.top, cursor.y + 4);
    EXPECT_EQ(window_title, "ze menu");
    EXPECT_EQ(load_picks.count + deep_picks.count, 0) << "stopped without a pick";
    EXPECT_EQ(popup(), nullptr);
    EXPECT_EQ(window.use_menu().get_window(), nullptr);
    EXPECT_FALSE(test::is_class_declared(ravik::MenuWin32::class_name))
        << "withdrawn with the menu";
}

TEST_F(MenuWin32Test, AnItemPickedWithTheKeyboardOrTheMouseReachesItsListenerOnceTheMenuIsGone)
{
    EXPECT_EQ(show({[&]
                    {
                        const bool on_load =
                            (::GetMenuState(popup(), 0, MF_BYPOSITION) & MF_HILITE) != 0;
                        test::input::press_key(on_load ? VK_RETURN : VK_DOWN);
                        return on_load;
                    }}),
              0);
    EXPECT_EQ(load_picks.count, 1);
    EXPECT_TRUE(load_picks.menu_gone);

    EXPECT_EQ(show({[&]
                    {
                        click_item(popup(), 2);
                        return true;
                    },
                    [&]
                    {
                        RECT r = {};
                        const HMENU sub = ::GetSubMenu(popup(), 2);
                        if (!::GetMenuItemRect(nullptr, sub, 0, &r))
                        {
                            return false;
                        }
                        click_item(sub, 0);
                        return true;
                    }}),
              0);
    EXPECT_EQ(deep_picks.count, 1);
    EXPECT_TRUE(deep_picks.menu_gone);
    EXPECT_EQ(load_picks.count, 1);
}
