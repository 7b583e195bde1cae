#pragma once

#include <memory>

#include "plux/midi/MciMidiIn.hpp"
#include "plux/midi/MciMidiOut.hpp"
#include "plux/midi/MidiDevSelCompInterface.hpp"

namespace plux
{

// The system's MIDI ports as devices, named by their product names. The component keeps at most
// one device of each direction: making one deletes the one made before.
class MciMidiDevSelComp final : public MidiDevSelCompInterface
{
public:
    MciMidiDevSelComp();
    ~MciMidiDevSelComp() override;
    MciMidiDevSelComp(const MciMidiDevSelComp&) = delete;
    MciMidiDevSelComp& operator=(const MciMidiDevSelComp&) = delete;

    // Every input, then every output, whose capabilities can be read; the listing of a
    // direction stops at the first port that cannot be read, and -1 is returned.
    int append_devices(std::vector<std::string>& in_names,
                       std::vector<std::string>& out_names) override;
    bool owns_in(int position) const override;
    bool owns_out(int position) const override;
    int create_in(int position, MidiMgr& mgr, MidiInInterface*& dev) override;
    int create_out(int position, MidiMgr& mgr, MidiOutInterface*& dev) override;
    void release_devices() override;

private:
    std::unique_ptr<MciMidiIn> in_;
    std::unique_ptr<MciMidiOut> out_;
    int first_in_ = 0;
    int nbr_in_ = 0;
    int first_out_ = 0;
    int nbr_out_ = 0;
};

} // namespace plux
