#pragma once

namespace basic
{

class ConfKeyMulti;

// A component whose per-user settings live in the setting file.
class SettingClientInterface
{
public:
    virtual ~SettingClientInterface() = default;

    // Adds the component's keys to root; returns 0 or a negative code.
    virtual int save_settings(ConfKeyMulti& root) = 0;
    // Takes the component's keys from the root read from a file; returns 0 or a negative code.
    virtual int load_settings(const ConfKeyMulti& root) = 0;
};

} // namespace basic
