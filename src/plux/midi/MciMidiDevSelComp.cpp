#include "plux/midi/MciMidiDevSelComp.hpp"

#include "plux/midi/MidiMgr.hpp"

namespace plux
{

MciMidiDevSelComp::MciMidiDevSelComp() = default;

MciMidiDevSelComp::~MciMidiDevSelComp() = default;

int MciMidiDevSelComp::append_devices(std::vector<std::string>& in_names,
                                      std::vector<std::string>& out_names)
{
    int ret = 0;
    first_in_ = static_cast<int>(in_names.size());
    nbr_in_ = 0;
    for (int index = 0; index < MciMidiPort::get_nbr_in(); ++index)
    {
        std::string name;
        if (MciMidiPort::get_in_name(index, name) != 0)
        {
            ret = -1;
            break;
        }
        in_names.push_back(name);
        ++nbr_in_;
    }
    first_out_ = static_cast<int>(out_names.size());
    nbr_out_ = 0;
    for (int index = 0; index < MciMidiPort::get_nbr_out(); ++index)
    {
        std::string name;
        if (MciMidiPort::get_out_name(index, name) != 0)
        {
            ret = -1;
            break;
        }
        out_names.push_back(name);
        ++nbr_out_;
    }
    return ret;
}

bool MciMidiDevSelComp::owns_in(int position) const
{
    return position >= first_in_ && position < first_in_ + nbr_in_;
}

bool MciMidiDevSelComp::owns_out(int position) const
{
    return position >= first_out_ && position < first_out_ + nbr_out_;
}

int MciMidiDevSelComp::create_in(int position, MidiMgr& mgr, MidiInInterface*& dev)
{
    dev = nullptr;
    in_.reset();
    if (!owns_in(position))
    {
        return 0;
    }
    in_ = std::make_unique<MciMidiIn>(position - first_in_);
    in_->attach(mgr);
    dev = in_.get();
    return 0;
}

int MciMidiDevSelComp::create_out(int position, MidiMgr& mgr, MidiOutInterface*& dev)
{
    dev = nullptr;
    out_.reset();
    if (!owns_out(position))
    {
        return 0;
    }
    out_ = std::make_unique<MciMidiOut>(position - first_out_);
    out_->attach(mgr);
    dev = out_.get();
    return 0;
}

void MciMidiDevSelComp::release_devices()
{
    in_.reset();
    out_.reset();
    nbr_in_ = 0;
    nbr_out_ = 0;
}

} // namespace plux
