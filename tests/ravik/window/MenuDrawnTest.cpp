// The toolkit's own pop-up menu, in the offscreen window: layout, placement, what the pointer and
// the keys do, and what it shows.
#include "ravik/MenuDrawn.hpp"

#include <gtest/gtest.h>
#include <memory>

#include "ravik/FontFactory.hpp"
#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/detail/Paint.hpp"

namespace
{

using Kind = ravik::MenuPanel::Kind;

struct Counter : ravik::MenuListenerInterface
{
    const ravik::MenuOffscreen* menu = nullptr;
    int count = 0;
    bool menu_was_gone = false;
    void on_select() override
    {
        ++count;
        menu_was_gone = !menu->is_shown();
    }
};

class MenuDrawnTest : public testing::Test
{
protected:
    // Rows: 0 load, 1 amp, 2 separator, 3 title, 4 greyed, 5 checked, 6 more (hidden skipped).
    void SetUp() override
    {
        ASSERT_NE(font, nullptr);
        window.set_font(font.get());
        ASSERT_EQ(window.open(nullptr), 0);
        for (ravik::MenuNodeInterface* node : std::initializer_list<ravik::MenuNodeInterface*>{
                 &load, &amp, &line, &title, &greyed, &checked, &hidden, &more})
        {
            root.append(*node);
        }
        hidden.set_shown(false);
        more.append(inner);
        load.set_listener(&loaded);
        inner.set_listener(&inner_picked);
        loaded.menu = inner_picked.menu = &menu();
    }

    ravik::MenuOffscreen& menu() { return window.use_menu(); }
    void open_at(const ravik::Point& cursor, const ravik::Point& offset = {})
    {
        window.move(cursor);
        ravik::MenuRequest ask(root, offset);
        ASSERT_EQ(window.process_message(ask), 0);
    }
    ravik::Point centre(int level, int row)
    {
        const ravik::Rect r = menu().get_row_rect(level, row);
        return {(r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2};
    }

    std::unique_ptr<ravik::FontInterface> font = ravik::FontFactory::create("font_02");
    ravik::WindowOffscreen window{{320, 360}};
    ravik::MenuList root;
    ravik::MenuItem load{"Load..."};
    ravik::MenuItem amp{"Load & Save"};
    ravik::MenuDelimiter line;
    ravik::MenuDelimiter title{"MIDI"};
    ravik::MenuItem greyed{"Greyed", true, true, false};
    ravik::MenuItem checked{"Checked", false, true, true};
    ravik::MenuItem hidden{"Hidden"};
    ravik::MenuList more{"More"};
    ravik::MenuItem inner{"Inner"};
    Counter loaded;
    Counter inner_picked;
};

} // namespace

TEST_F(MenuDrawnTest, ShownNodesMakeRowsWithSeparatorsAndTitles)
{
    open_at({40, 50});
    const ravik::MenuPanel& panel = menu().use_panel(0);
    ASSERT_EQ(panel.get_nbr_rows(), 7) << "the hidden item is left out";
    const Kind kinds[] = {Kind::item, Kind::item, Kind::separator, Kind::title,
                          Kind::item, Kind::item, Kind::submenu};
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_EQ(panel.get_row(i).kind, kinds[i]) << "row " << i;
        EXPECT_EQ(panel.is_selectable(i), i <= 1 || i >= 5) << "row " << i;
    }
    EXPECT_EQ(panel.get_row(2).height, ravik::MenuPanel::separator_height);
    EXPECT_EQ(panel.get_row(3).text, ravik::delimiter_text("MIDI"));
    EXPECT_EQ(panel.get_size().x, 2 * ravik::MenuPanel::border + ravik::MenuPanel::check_room +
                                      font->text_width(ravik::delimiter_text("MIDI")) +
                                      ravik::MenuPanel::arrow_room)
        << "as wide as the widest line";
    EXPECT_EQ(panel.row_at({0, panel.get_row(0).top}), -1) << "the frame is no row";
}

TEST_F(MenuDrawnTest, PanelsOpenAtTheCursorAndFlipToStayOnTheScreen)
{
    open_at({40, 50}, {3, 4});
    EXPECT_EQ(menu().get_position(), (ravik::Point{43, 54}));
    const ravik::Point size = menu().use_panel(0).get_size();
    menu().set_screen({0, 0, 400, 400});
    open_at({390, 395});
    EXPECT_EQ(menu().get_position(), (ravik::Point{390 - size.x, 395 - size.y}));

    menu().on_move(centre(0, 6));
    ASSERT_EQ(menu().get_nbr_panels(), 2);
    const ravik::Rect parent = menu().get_panel_rect(0);
    EXPECT_EQ(menu().get_panel_rect(1).x2, parent.x1 + ravik::MenuDrawn::submenu_overlap)
        << "no room on the right: the submenu opens on the left";

    menu().set_screen({0, 0, 1280, 1024});
    open_at({40, 50});
    menu().on_move(centre(0, 6));
    EXPECT_EQ(menu().get_panel_rect(1).x1,
              menu().get_panel_rect(0).x2 - ravik::MenuDrawn::submenu_overlap);
    EXPECT_EQ(menu().get_row_rect(1, 0).y1, menu().get_row_rect(0, 6).y1)
        << "its first entry beside the entry that opened it";
}

TEST_F(MenuDrawnTest, ThePointerLightsEnabledEntriesAndOpensSubmenusOnTheWay)
{
    open_at({40, 50});
    menu().on_move(centre(0, 4));
    EXPECT_EQ(menu().get_highlighted(0), -1) << "a greyed item stays dark";
    menu().on_move(centre(0, 0));
    EXPECT_EQ(menu().get_highlighted(0), 0);
    menu().on_move(centre(0, 6));
    ASSERT_EQ(menu().get_nbr_panels(), 2);
    menu().on_move(centre(1, 0));
    EXPECT_EQ(menu().get_highlighted(1), 0);
    EXPECT_EQ(menu().get_highlighted(0), 6) << "the way to the submenu stays lit";
    menu().on_move({0, 0});
    EXPECT_EQ(menu().get_highlighted(1), -1) << "off the menu the submenu goes dark";
    menu().on_move(centre(0, 5));
    EXPECT_EQ(menu().get_nbr_panels(), 1) << "another entry closes the submenu";
}

TEST_F(MenuDrawnTest, AClickPicksOnlyOnceTheUserActedInsideAndAfterTheMenuHasGone)
{
    open_at({40, 50});
    menu().on_button(centre(0, 0), false);
    EXPECT_EQ(loaded.count, 0) << "letting go of the press that asked for the menu picks nothing";
    EXPECT_TRUE(menu().is_shown());
    menu().on_button(centre(0, 4), true);
    menu().on_button(centre(0, 4), false);
    EXPECT_TRUE(menu().is_shown()) << "a greyed item cannot be picked";
    menu().on_button(centre(0, 0), true);
    menu().on_button(centre(0, 0), false);
    EXPECT_EQ(loaded.count, 1);
    EXPECT_TRUE(loaded.menu_was_gone);
    EXPECT_EQ(loaded.get_item(), &load);
}

TEST_F(MenuDrawnTest, EscapeClosesOneLevelAndAPressOutsideAllWithoutAPick)
{
    open_at({40, 50});
    menu().on_move(centre(0, 6));
    menu().on_key(ravik::MenuDrawn::Key::escape);
    EXPECT_EQ(menu().get_nbr_panels(), 1);
    menu().on_key(ravik::MenuDrawn::Key::escape);
    EXPECT_FALSE(menu().is_shown());
    open_at({40, 50});
    menu().on_button({5, 5}, true);
    EXPECT_FALSE(menu().is_shown());
    EXPECT_EQ(loaded.count + inner_picked.count, 0);
    ravik::MenuStop stop;
    EXPECT_EQ(window.process_message(stop), -1) << "nothing left to stop";
}

TEST_F(MenuDrawnTest, TheKeysWalkTheEnabledEntriesAndPick)
{
    using Key = ravik::MenuDrawn::Key;
    open_at({40, 50});
    menu().on_key(Key::up);
    EXPECT_EQ(menu().get_highlighted(0), 6) << "up from nothing lights the last entry";
    const int expected[] = {0, 1, 5, 6, 0};
    for (const int row : expected)
    {
        menu().on_key(Key::down);
        EXPECT_EQ(menu().get_highlighted(0), row);
    }
    menu().on_key(Key::up);
    menu().on_key(Key::right);
    ASSERT_EQ(menu().get_nbr_panels(), 2);
    EXPECT_EQ(menu().get_highlighted(1), 0) << "the submenu opens with its first entry lit";
    menu().on_key(Key::enter);
    EXPECT_EQ(inner_picked.count, 1);
}

TEST_F(MenuDrawnTest, ShowsLitGreyedCheckedAndLiteralLabels)
{
    open_at({40, 50});
    menu().on_move(centre(0, 0));
    const auto shown = menu().render(0);
    const ravik::MenuPanel& panel = menu().use_panel(0);
    auto row_area = [&](int row, int x1, int x2)
    {
        const auto& r = panel.get_row(row);
        return ravik::Rect{x1, r.top, x2, r.top + r.height};
    };
    auto darkest = [&](const ravik::Rect& area)
    {
        unsigned darkest = 255;
        for (int y = area.y1; y < area.y2; ++y)
        {
            for (int x = area.x1; x < area.x2; ++x)
            {
                darkest = std::min(darkest, (shown->get_pixel(x, y) >> 8) & 0xFFu);
            }
        }
        return darkest;
    };
    const int text_x = ravik::MenuPanel::border + ravik::MenuPanel::check_room;
    const int right = panel.get_size().x - ravik::MenuPanel::border;
    EXPECT_EQ(shown->get_pixel(1, panel.get_row(0).top), ravik::MenuPanel::highlight);
    EXPECT_EQ(shown->get_pixel(1, panel.get_row(1).top), ravik::MenuPanel::face);
    EXPECT_EQ(shown->get_pixel(0, 0), ravik::MenuPanel::frame);
    EXPECT_GE(darkest(row_area(4, text_x, right)), 0x80u) << "greyed";
    const int left = ravik::MenuPanel::border;
    EXPECT_LT(darkest(row_area(5, left, text_x)), 0x40u) << "a check mark";
    EXPECT_EQ(darkest(row_area(1, left, text_x)), 0xF0u) << "no check mark";

    // The ampersand is a character like any other: no mnemonic, nothing underlined.
    ravik::RenderingBufferMemory expected(right - text_x, panel.get_row(1).height,
                                          ravik::MenuPanel::face);
    ravik::detail::draw_string(*font, expected, "Load & Save", {0, ravik::MenuPanel::padding},
                               ravik::MenuPanel::ink);
    int differences = 0;
    for (int y = 0; y < expected.get_height(); ++y)
    {
        for (int x = 0; x < expected.get_width(); ++x)
        {
            differences +=
                expected.get_pixel(x, y) != shown->get_pixel(text_x + x, panel.get_row(1).top + y);
        }
    }
    EXPECT_EQ(differences, 0);
}
