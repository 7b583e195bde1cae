#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "plux/midi/MidiDevSelectorInterface.hpp"

namespace plux
{

class MidiDevSelCompInterface;
class MidiInInterface;
class MidiMgr;
class MidiOutInterface;

// The device selector of the plug-in: one list of inputs and one of outputs gathered from its
// components in the order they were added (the host's MIDI first, so that position 0 is the
// host), the selected position of each, and the MIDI control manager whose slots receive the
// selected devices. Its operations run on the editor and user-interface threads, serialised by a
// mutex; the audio thread only meets the devices through the manager's slots.
class MidiDevSelDispatcher final : public MidiDevSelectorInterface
{
public:
    explicit MidiDevSelDispatcher(MidiMgr& mgr);
    ~MidiDevSelDispatcher() override;
    MidiDevSelDispatcher(const MidiDevSelDispatcher&) = delete;
    MidiDevSelDispatcher& operator=(const MidiDevSelDispatcher&) = delete;

    // Not owned; before init().
    void add_component(MidiDevSelCompInterface& comp);
    // Fills the lists from every component in order, stopping at the first failure, whose code
    // is returned (the devices listed so far stay).
    int init();
    // Closes and empties both selections, lets every component release its devices, and
    // empties the lists.
    void deinit();
    bool is_initialised() const;

    // For each direction: position 0 when its flag is set and the list is not empty, else none.
    // The first failure is returned.
    int select_default(bool in, bool out);

    int get_nbr_in() const override;
    int get_nbr_out() const override;
    std::string get_in_name(int position) const override;
    std::string get_out_name(int position) const override;
    int get_in_index() const override;
    int get_out_index() const override;
    int select_in(int position) override;
    int select_out(int position) override;
    int select_in_by_name(const std::string& name) override;
    int select_out_by_name(const std::string& name) override;

    // Into and from the "midi" block: "port_in" and "port_out", each with the device's "name"
    // ("none" when nothing is selected) and the device's own keys.
    int save_settings(basic::ConfKeyMulti& root) override;
    int load_settings(const basic::ConfKeyMulti& root) override;

private:
    struct Entry
    {
        std::string name;
        MidiDevSelCompInterface* comp;
    };

    template <typename Dev, typename Get, typename Set, typename Create>
    int select_locked(int position, const std::vector<Entry>& list, int& index, Get get, Set set,
                      Create create);
    int select_in_locked(int position);
    int select_out_locked(int position);
    static int find_by_name(const std::vector<Entry>& list, const std::string& name);
    static std::string name_at(const std::vector<Entry>& list, int position);

    MidiMgr& mgr_;
    std::vector<MidiDevSelCompInterface*> comps_;
    std::vector<Entry> in_list_;
    std::vector<Entry> out_list_;
    int in_index_ = -1;
    int out_index_ = -1;
    bool initialised_ = false;
    mutable std::mutex mutex_;
};

} // namespace plux
