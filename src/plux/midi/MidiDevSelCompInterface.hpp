#pragma once

#include <string>
#include <vector>

namespace plux
{

class MidiInInterface;
class MidiMgr;
class MidiOutInterface;

// A source of MIDI devices for the device selector: the host's MIDI, or the system's ports. It
// lists its devices, remembers where they start in each list, and creates the device for a
// position in its range; it keeps owning what it creates. Editor thread.
class MidiDevSelCompInterface
{
public:
    virtual ~MidiDevSelCompInterface() = default;

    // Appends the names of its inputs and outputs and takes their positions as its ranges.
    // 0, or a negative code after appending the devices listed before the failure.
    virtual int append_devices(std::vector<std::string>& in_names,
                               std::vector<std::string>& out_names) = 0;
    virtual bool owns_in(int position) const = 0;
    virtual bool owns_out(int position) const = 0;
    // The device for a position of its range, initialised to deliver to mgr (the device that
    // this component made for that direction before may be deleted: it must not be in use);
    // null outside its range. 0, or a negative code.
    virtual int create_in(int position, MidiMgr& mgr, MidiInInterface*& dev) = 0;
    virtual int create_out(int position, MidiMgr& mgr, MidiOutInterface*& dev) = 0;
    // Deletes or closes every device it made; none may be in use.
    virtual void release_devices() = 0;
};

} // namespace plux
