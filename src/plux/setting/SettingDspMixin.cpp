#include "plux/setting/SettingDspMixin.hpp"

#include "basic/SettingClientInterface.hpp"

namespace plux
{

int SettingDspMixin::setup_settings(std::initializer_list<basic::SettingClientInterface*> clients)
{
    int ret = setting_mgr.init(*this);
    if (ret != 0)
    {
        return ret;
    }
    for (basic::SettingClientInterface* client : clients)
    {
        if (client != nullptr)
        {
            ret = setting_mgr.add_client(*client);
            if (ret != 0)
            {
                return ret;
            }
        }
    }
    return ret;
}

} // namespace plux
