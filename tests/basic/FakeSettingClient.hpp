#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "basic/SettingClientInterface.hpp"

namespace test
{

// A setting client that keeps one value under a key of its own, counts its calls, and can be
// told to fail or to throw.
class FakeSettingClient : public basic::SettingClientInterface
{
public:
    FakeSettingClient(std::string key_, std::string value_)
        : key(std::move(key_))
        , value(std::move(value_))
    {
    }

    int save_settings(basic::ConfKeyMulti& root) override
    {
        ++nbr_saves;
        if (throws)
        {
            throw std::runtime_error("FakeSettingClient::save_settings() : Failure.");
        }
        if (result == 0)
        {
            root.add_key(basic::ConfKeyData(key, value));
        }
        return result;
    }

    int load_settings(const basic::ConfKeyMulti& root) override
    {
        ++nbr_loads;
        if (throws)
        {
            throw std::runtime_error("FakeSettingClient::load_settings() : Failure.");
        }
        root_name = root.get_name();
        root_nbr_keys = root.get_nbr_keys();
        loaded = root.get_data_string(key);
        return result;
    }

    std::string key;
    std::string value;
    int result = 0;
    bool throws = false;

    int nbr_saves = 0;
    int nbr_loads = 0;
    std::string root_name;
    int root_nbr_keys = -1;
    std::string loaded;
};

} // namespace test
