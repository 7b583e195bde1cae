// The X11 window's text entry and pop-up menus, typed into and clicked with real input, and shown
// with the same pixels as the offscreen window's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/TextMessages.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/x11/MenuX11.hpp"
#include "ravik/x11/TextLineEditorX11.hpp"
#include "ravik/x11/X11Fixture.hpp"

using test::X11Host;
using testing::ElementsAre;

namespace
{

class TextEntryX11Test : public test::X11Fixture
{
protected:
    static constexpr ravik::Rect field_rect{10, 60, 70, 76};

    ravik::TextLineEditorX11& editor() { return window.use_text_editor(); }
    Window focus() const
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(host->get_display(), &focus, &revert);
        return focus;
    }
    // Asks for an entry over field_rect and waits for the field to have the keyboard.
    void request(const char* text)
    {
        ravik::TextInputRequest ask(&knob(), text, field_rect);
        ASSERT_EQ(knob().send_up(ask), 0);
        ASSERT_TRUE(host->pump(
            [this] { return editor().is_active() && focus() == editor().get_native_window(); }));
    }
    bool wait_for_text(const std::string& text)
    {
        return host->pump([&] { return editor().use_field().get_text() == text; });
    }
};

struct Picked : ravik::MenuListenerInterface
{
    int count = 0;
    void on_select() override { ++count; }
};

class MenuX11Test : public test::X11Fixture
{
protected:
    void SetUp() override
    {
        X11Fixture::SetUp();
        root.append(load);
        root.append(greyed);
        root.append(more);
        more.append(inner);
        load.set_listener(&loaded);
        inner.set_listener(&inner_picked);
    }

    ravik::MenuX11& menu() { return window.use_menu(); }
    void open_menu(const ravik::Point& at)
    {
        host->move(at);
        ravik::MenuRequest ask(root, {3, 4});
        ASSERT_EQ(knob().send_up(ask), 0);
    }
    // A row's middle, in the plug-in window's coordinates as the host moves the pointer.
    ravik::Point centre(int level, int row)
    {
        const ravik::Rect r = menu().get_row_rect(level, row);
        return ravik::Point{(r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2} - X11Host::origin;
    }

    ravik::MenuList root;
    ravik::MenuItem load{"Load..."};
    ravik::MenuItem greyed{"Save...", true, true, false};
    ravik::MenuList more{"More"};
    ravik::MenuItem inner{"Inner"};
    Picked loaded;
    Picked inner_picked;
};

INSTANTIATE_TEST_SUITE_P(BothHostStyles, TextEntryX11Test,
                         testing::Values(X11Host::Dispatch::idle, X11Host::Dispatch::event_proc),
                         test::dispatch_name);
INSTANTIATE_TEST_SUITE_P(BothHostStyles, MenuX11Test,
                         testing::Values(X11Host::Dispatch::idle, X11Host::Dispatch::event_proc),
                         test::dispatch_name);

} // namespace

TEST_P(TextEntryX11Test, KeysEditTheFieldOverTheRequestAndEnterValidates)
{
    const Window before = focus();
    request("440");
    XWindowAttributes at;
    XGetWindowAttributes(window.get_display(), editor().get_native_window(), &at);
    EXPECT_EQ((ravik::Rect{at.x, at.y, at.x + at.width, at.y + at.height}), field_rect);
    host->type("12");
    host->tap(XK_BackSpace);
    host->tap(XK_Home);
    host->type("9");
    host->key(XK_Shift_L, true);
    host->tap(XK_End);
    host->key(XK_Shift_L, false);
    ASSERT_TRUE(wait_for_text("91"));
    ASSERT_TRUE(host->pump([this] { return editor().use_field().get_selection_end() == 2; }));
    EXPECT_EQ(editor().use_field().get_selection_start(), 1u);

    // The same field in memory, edited the same way, looks the same.
    ravik::TextLineEditorOffscreen twin;
    twin.set_font(font.get());
    ravik::TextInputRequest ask(nullptr, "440", field_rect);
    ASSERT_EQ(twin.start(ask), 0);
    twin.type("12");
    twin.press(ravik::LineEdit::Key::backspace);
    twin.press(ravik::LineEdit::Key::home);
    twin.type("9");
    twin.press(ravik::LineEdit::Key::end, true);
    const auto shown = test::read_window(window.get_display(), editor().get_native_window());
    EXPECT_EQ(test::count_differences(*shown, *twin.render()), 0);

    host->tap(XK_Return);
    ASSERT_TRUE(wait_for_log(1));
    EXPECT_THAT(knob().log, ElementsAre("text 91 validated"));
    EXPECT_EQ(editor().get_native_window(), 0u);
    EXPECT_TRUE(host->pump([&] { return focus() == before; })) << "the focus goes back";
}

TEST_P(TextEntryX11Test, EscapeCancelsWhileAClickElsewhereOrLosingTheFocusValidates)
{
    request("440");
    host->type("7");
    ASSERT_TRUE(wait_for_text("7"));
    host->tap(XK_Escape);
    ASSERT_TRUE(wait_for_log(1));

    request("440");
    host->type("8");
    ASSERT_TRUE(wait_for_text("8"));
    host->move({200, 200});
    host->click(Button1);
    ASSERT_TRUE(wait_for_log(2));

    request("440");
    host->type("5");
    ASSERT_TRUE(wait_for_text("5"));
    XSetInputFocus(host->get_display(), reinterpret_cast<std::uintptr_t>(host->get_parent()),
                   RevertToParent, CurrentTime);
    XSync(host->get_display(), False);
    ASSERT_TRUE(wait_for_log(3));
    EXPECT_THAT(knob().log,
                ElementsAre("text 7 cancelled", "text 8 validated", "text 5 validated"));
}

TEST_P(MenuX11Test, OpensAtThePointerAndAClickInASubmenuPicks)
{
    open_menu({100, 100});
    const ravik::Rect panel = menu().get_panel_rect(0);
    EXPECT_EQ((ravik::Point{panel.x1, panel.y1}), (X11Host::origin + ravik::Point{103, 104}));
    host->move(centre(0, 0));
    ASSERT_TRUE(host->pump([this] { return menu().get_highlighted(0) == 0; }));
    // The same menu in memory, with the pointer on the same entry, looks the same.
    ravik::WindowOffscreen twin{{320, 360}};
    twin.set_font(font.get());
    ASSERT_EQ(twin.open(nullptr), 0);
    ravik::MenuRequest ask(root);
    ASSERT_EQ(twin.process_message(ask), 0);
    const ravik::Rect row = twin.use_menu().get_row_rect(0, 0);
    twin.use_menu().on_move({row.x1 + 1, row.y1 + 1});
    const auto shown = test::read_window(window.get_display(), menu().get_native_window(0));
    EXPECT_EQ(test::count_differences(*shown, *twin.use_menu().render(0)), 0);

    host->move(centre(0, 2));
    ASSERT_TRUE(host->pump([this] { return menu().get_nbr_panels() == 2; }));
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(window.get_display(), menu().get_native_window(1),
                          DefaultRootWindow(window.get_display()), 0, 0, &x, &y, &child);
    const ravik::Rect sub = menu().get_panel_rect(1);
    EXPECT_EQ((ravik::Point{x, y}), (ravik::Point{sub.x1, sub.y1}))
        << "the submenu's window where the menu put it, to the side";

    host->move(centre(1, 0));
    host->click(Button1);
    ASSERT_TRUE(host->pump([this] { return inner_picked.count == 1; }));
    EXPECT_FALSE(menu().is_shown());
    EXPECT_EQ(loaded.count, 0);
    EXPECT_TRUE(knob().log.empty()) << "the click went to the menu alone";
}

TEST_P(MenuX11Test, EscapeOrAPressOutsideClosesItWithoutAPick)
{
    open_menu({100, 100});
    host->tap(XK_Escape);
    ASSERT_TRUE(host->pump([this] { return !menu().is_shown(); }));
    host->settle();
    open_menu({100, 100});
    host->move(on_knob);
    host->click(Button1);
    ASSERT_TRUE(host->pump([this] { return !menu().is_shown(); }));
    host->settle();
    host->move({25, 25});
    ASSERT_TRUE(wait_for_log(1));
    EXPECT_THAT(knob().log, ElementsAre("move 25,25"))
        << "neither the press that closed the menu nor its release reached the control";
    EXPECT_EQ(loaded.count + inner_picked.count, 0);
}
