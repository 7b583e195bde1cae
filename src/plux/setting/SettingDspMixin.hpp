#pragma once

#include <initializer_list>

#include "plux/DspInterface.hpp"
#include "plux/setting/SettingMgr.hpp"

namespace basic
{
class SettingClientInterface;
}

namespace plux
{

// The settings side of a DSP object: owns the plug-in's setting manager and hands it to the
// frame, which loads the settings (with the autoload of the last setting file) at the end of the
// plug-in's initialisation.
class SettingDspMixin : public virtual DspInterface
{
public:
    SettingMgr* use_setting_mgr() override { return &setting_mgr; }

protected:
    // The last step of the DSP object's init(), once the host adapter is set: initialises the
    // manager with this object's information and registers the clients in the order their keys
    // take in the files (null ones are skipped). Returns 0 or the first failure.
    int setup_settings(std::initializer_list<basic::SettingClientInterface*> clients);

private:
    SettingMgr setting_mgr;
};

} // namespace plux
