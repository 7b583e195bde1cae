#include "effect/gui/GuiPictures.hpp"

#include <stdexcept>

#include "kel/NoCase.hpp"
#include "ravik/FontFactory.hpp"
#include "ravik/PicDataFactory.hpp"

namespace
{

struct Entry
{
    const char* name;
    ravik::Point anchor;
};

const Entry table[GuiPictures::count] = {
    {"arw_littlesize", {12, 12}},
    {"arw_middlesize", {18, 18}},
    {"bkg_21_main", {0, 0}},
    {"ff_10_0", {12, 8}},
    {"ff_10_1", {12, 8}},
    {"ff_11_0", {12, 8}},
    {"ff_11_1", {12, 8}},
    {"kn_11_0", {36, 36}},
    {"kn_11_1", {36, 36}},
    {"kn_11_2", {36, 36}},
    {"kn_11_3", {36, 36}},
    {"kn_11_p", {43, 42}},
    {"kn_11_spn", {0, 1}},
    {"kn_12_0", {19, 20}},
    {"kn_12_1", {20, 20}},
    {"kn_12_2", {20, 19}},
    {"kn_12_3", {20, 20}},
    {"kn_12_4", {20, 20}},
    {"kn_12_5", {20, 20}},
    {"kn_12_6", {20, 20}},
    {"kn_12_7", {20, 20}},
    {"kn_12_p", {23, 23}},
    {"kn_12_spn", {0, 1}},
    {"pb_31_0", {8, 8}},
    {"pb_31_1", {8, 8}},
    {"pb_32_0", {8, 8}},
    {"pb_32_1", {8, 8}},
    {"pb_33_0", {8, 8}},
    {"pb_33_1", {8, 8}},
    {"pb_34_0", {8, 8}},
    {"pb_34_1", {8, 8}},
    {"pb_35_0", {8, 8}},
    {"pb_35_1", {8, 8}},
    {"pb_36_0", {8, 8}},
    {"pb_36_1", {8, 8}},
    {"pb_37_0", {8, 8}},
    {"pb_37_1", {8, 8}},
    {"pb_38_0", {8, 8}},
    {"pb_38_1", {8, 8}},
    {"pb_39_0", {0, 0}},
    {"pb_39_1", {0, 0}},
    {"pb_40_0", {0, 0}},
    {"pb_40_1", {0, 0}},
    {"pb_55_0", {15, 15}},
    {"pb_55_1", {15, 15}},
    {"fd_03", {5, 13}},
    {"fd_07", {3, 9}},
    {"sp_03_dwn_0", {9, -15}},
    {"sp_03_dwn_1", {9, -15}},
    {"sp_03_up_0", {9, 26}},
    {"sp_03_up_1", {9, 26}},
    {"sp_03_hnd_0", {13, 14}},
    {"sp_03_hnd_1", {13, 14}},
    {"tl_01_0", {5, 5}},
    {"tl_01_1", {5, 5}},
};

} // namespace

bool GuiPictures::load()
{
    data_.clear();
    pictures_.clear();
    for (const Entry& entry : table)
    {
        auto data = ravik::PicDataFactory::create(entry.name);
        if (data == nullptr)
        {
            return false;
        }
        ravik::Picture picture(data.get());
        picture.set_origin(entry.anchor);
        data_.push_back(std::move(data));
        pictures_.push_back(picture);
    }
    font_ = ravik::FontFactory::create("font_02");
    return font_ != nullptr;
}

const ravik::Picture& GuiPictures::get(int index) const
{
    return pictures_.at(static_cast<std::size_t>(index));
}

int GuiPictures::index_of(std::string_view name) const
{
    for (int i = 0; i < count; ++i)
    {
        if (kel::equals_no_case(table[i].name, name))
        {
            return i;
        }
    }
    return -1;
}

const ravik::Picture& GuiPictures::get(std::string_view name) const
{
    const int index = index_of(name);
    if (index < 0)
    {
        throw std::out_of_range("GuiPictures::get() : Unknown picture.");
    }
    return get(index);
}
