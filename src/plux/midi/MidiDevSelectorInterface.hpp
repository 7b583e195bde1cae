#pragma once

#include <string>

#include "basic/SettingClientInterface.hpp"

namespace plux
{

// Chooses one MIDI input and one MIDI output among the devices of its components, and keeps the
// choice in the setting file (the "port_in" and "port_out" blocks of the "midi" block, which is
// the root its settings operations receive). Positions count from 0 in each list; -1 is "none".
// Editor and user-interface threads.
class MidiDevSelectorInterface : public basic::SettingClientInterface
{
public:
    ~MidiDevSelectorInterface() override = default;

    virtual int get_nbr_in() const = 0;
    virtual int get_nbr_out() const = 0;
    // Empty for a position outside the list.
    virtual std::string get_in_name(int position) const = 0;
    virtual std::string get_out_name(int position) const = 0;
    virtual int get_in_index() const = 0;
    virtual int get_out_index() const = 0;
    // 0, or a negative code: the previous device could not be closed (it stays selected), the
    // position is not in the list, or the new device could not be opened (none is selected).
    virtual int select_in(int position) = 0;
    virtual int select_out(int position) = 0;
    // The first device of that name; a name that matches nothing selects none.
    virtual int select_in_by_name(const std::string& name) = 0;
    virtual int select_out_by_name(const std::string& name) = 0;
};

} // namespace plux
