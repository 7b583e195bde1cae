#include "ravik/MenuPanel.hpp"

#include <algorithm>
#include <array>

#include "ravik/FontInterface.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/detail/Paint.hpp"

namespace ravik
{

namespace
{

using Mark = std::array<const char*, 7>;

constexpr Mark check_mark = {"......#", ".....##", "#...##.", "##.##..",
                             ".###...", "..#....", "......."};
constexpr Mark submenu_arrow = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};

void draw_mark(RenderingBufferInterface& buffer, const Mark& mark, const Point& at, Pixel pixel)
{
    for (int y = 0; y < static_cast<int>(mark.size()); ++y)
    {
        for (int x = 0; mark[static_cast<std::size_t>(y)][x] != '\0'; ++x)
        {
            if (mark[static_cast<std::size_t>(y)][x] == '#')
            {
                detail::fill_rect(buffer, {at.x + x, at.y + y, at.x + x + 1, at.y + y + 1}, pixel);
            }
        }
    }
}

} // namespace

MenuPanel::MenuPanel(const MenuList& list, const FontInterface& font)
    : list_(list)
    , font_(font)
{
    const int text_height = font.get_line_height() + 2 * padding;
    int top = border;
    int text_width = min_text_width;
    for (int i = 0; i < list.size(); ++i)
    {
        MenuNodeInterface& node = list.at(i);
        if (!node.is_shown())
        {
            continue;
        }
        Row row;
        row.node = &node;
        row.top = top;
        row.height = text_height;
        if (const auto* sub = dynamic_cast<const MenuList*>(&node))
        {
            row.kind = Kind::submenu;
            row.enabled = !sub->is_disabled();
            row.text = node.get_label().substr(0, max_label);
        }
        else if (const auto* item = dynamic_cast<const MenuItem*>(&node))
        {
            row.kind = Kind::item;
            row.enabled = !item->is_disabled();
            row.checked = item->is_checked();
            row.text = node.get_label().substr(0, max_label);
        }
        else if (node.get_label().empty())
        {
            row.kind = Kind::separator;
            row.height = separator_height;
        }
        else
        {
            row.kind = Kind::title;
            row.text = delimiter_text(node.get_label());
        }
        text_width = std::max(text_width, font.text_width(row.text));
        top += row.height;
        rows_.push_back(std::move(row));
    }
    size_ = {2 * border + check_room + text_width + arrow_room, top + border};
}

bool MenuPanel::is_selectable(int index) const
{
    if (index < 0 || index >= get_nbr_rows())
    {
        return false;
    }
    const Row& row = get_row(index);
    return row.enabled && (row.kind == Kind::item || row.kind == Kind::submenu);
}

int MenuPanel::row_at(const Point& pos) const
{
    if (pos.x < border || pos.x >= size_.x - border)
    {
        return -1;
    }
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [&](const Row& row)
                                 { return pos.y >= row.top && pos.y < row.top + row.height; });
    return it != rows_.end() ? static_cast<int>(it - rows_.begin()) : -1;
}

void MenuPanel::draw(RenderingBufferInterface& buffer, int highlighted) const
{
    detail::fill_rect(buffer, {0, 0, size_.x, size_.y}, frame);
    detail::fill_rect(buffer, {border, border, size_.x - border, size_.y - border}, face);
    const int mark_top =
        (font_.get_line_height() + 2 * padding - static_cast<int>(Mark{}.size())) / 2;
    for (int i = 0; i < get_nbr_rows(); ++i)
    {
        const Row& row = get_row(i);
        if (row.kind == Kind::separator)
        {
            const int y = row.top + row.height / 2;
            detail::fill_rect(buffer, {border + 2, y, size_.x - border - 2, y + 1}, line);
            continue;
        }
        const bool lit = i == highlighted && is_selectable(i);
        if (lit)
        {
            detail::fill_rect(buffer, {border, row.top, size_.x - border, row.top + row.height},
                              highlight);
        }
        const std::uint32_t colour = lit ? highlighted_ink : row.enabled ? ink : greyed_ink;
        detail::draw_string(font_, buffer, row.text, {border + check_room, row.top + padding},
                            colour);
        const Pixel mark_pixel = 0xFF000000u | colour;
        if (row.checked)
        {
            draw_mark(buffer, check_mark, {border + (check_room - 7) / 2, row.top + mark_top},
                      mark_pixel);
        }
        if (row.kind == Kind::submenu)
        {
            draw_mark(buffer, submenu_arrow,
                      {size_.x - border - (arrow_room + 4) / 2, row.top + mark_top}, mark_pixel);
        }
    }
}

} // namespace ravik
