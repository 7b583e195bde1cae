#pragma once

#include <string>
#include <utility>
#include <vector>

namespace plux
{

// An audio bus of the DSP side: its name and one name per channel.
class BusInfo
{
public:
    BusInfo() = default;
    BusInfo(std::string name, std::vector<std::string> channel_names)
        : name_(std::move(name))
        , channel_names_(std::move(channel_names))
    {
    }

    const std::string& get_name() const { return name_; }
    int get_nbr_chn() const { return static_cast<int>(channel_names_.size()); }
    const std::string& get_chn_name(int chn) const
    {
        return channel_names_.at(static_cast<std::size_t>(chn));
    }

private:
    std::string name_;
    std::vector<std::string> channel_names_;
};

} // namespace plux
