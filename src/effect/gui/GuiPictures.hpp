#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "ravik/FontInterface.hpp"
#include "ravik/PicDataInterface.hpp"
#include "ravik/Picture.hpp"

// The editor's 55 pictures, each placed by its anchor (the point of the picture that sits on a
// control's position), and its font. Loaded from the module's resources.
class GuiPictures
{
public:
    static constexpr int count = 55;

    // False when a picture or the font cannot be loaded.
    bool load();

    const ravik::Picture& get(int index) const;
    // Letter case ignored; throws std::out_of_range for an unknown name.
    const ravik::Picture& get(std::string_view name) const;
    int index_of(std::string_view name) const;
    const ravik::FontInterface& use_font() const { return *font_; }

private:
    std::vector<std::unique_ptr<ravik::PicDataInterface>> data_;
    std::vector<ravik::Picture> pictures_;
    std::unique_ptr<ravik::FontInterface> font_;
};
