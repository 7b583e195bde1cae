#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

class FontInterface;
class MenuList;
class MenuNodeInterface;

// One list of a pop-up menu drawn by the toolkit: its shown nodes one under the other, items
// with a room for check marks on the left, submenus with an arrow on the right, separators as a
// line and titled separators as greyed text. Lays itself out once, from the list and the font
// given at construction, both of which must outlive it. Editor thread only.
class MenuPanel
{
public:
    enum class Kind
    {
        item,
        submenu,
        separator,
        title,
    };

    struct Row
    {
        MenuNodeInterface* node = nullptr;
        Kind kind = Kind::item;
        bool enabled = false;
        bool checked = false;
        // The line drawn, as it reads.
        std::string text;
        int top = 0;
        int height = 0;
    };

    static constexpr int border = 1;
    static constexpr int check_room = 20;
    static constexpr int arrow_room = 20;
    // Above and below a line of text.
    static constexpr int padding = 3;
    static constexpr int separator_height = 7;
    static constexpr int min_text_width = 80;
    // The longest item label shown.
    static constexpr std::size_t max_label = 127;

    static constexpr Pixel face = 0xFFF0F0F0u;
    static constexpr Pixel frame = 0xFF808080u;
    static constexpr Pixel line = 0xFFA0A0A0u;
    static constexpr Pixel highlight = 0xFF0078D7u;
    // 0x00RRGGBB, as fonts take colours.
    static constexpr std::uint32_t ink = 0x000000u;
    static constexpr std::uint32_t greyed_ink = 0x808080u;
    static constexpr std::uint32_t highlighted_ink = 0xFFFFFFu;

    MenuPanel(const MenuList& list, const FontInterface& font);

    const MenuList& get_list() const { return list_; }
    const Point& get_size() const { return size_; }
    int get_nbr_rows() const { return static_cast<int>(rows_.size()); }
    const Row& get_row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    // An enabled item or submenu: what the pointer and the keys can highlight.
    bool is_selectable(int index) const;
    // The row under pos (panel pixels), or -1.
    int row_at(const Point& pos) const;

    // The whole panel, its top-left at the buffer's, with row highlighted (-1: none) lit.
    void draw(RenderingBufferInterface& buffer, int highlighted) const;

private:
    const MenuList& list_;
    const FontInterface& font_;
    std::vector<Row> rows_;
    Point size_;
};

} // namespace ravik
