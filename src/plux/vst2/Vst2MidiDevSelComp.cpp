#include "plux/vst2/Vst2MidiDevSelComp.hpp"

#include "plux/midi/MidiMgr.hpp"

namespace plux
{

Vst2MidiDevSelComp::Vst2MidiDevSelComp(Vst2MidiHostInterface& host)
    : out_(host)
{
}

int Vst2MidiDevSelComp::append_devices(std::vector<std::string>& in_names,
                                       std::vector<std::string>& out_names)
{
    first_in_ = static_cast<int>(in_names.size());
    in_names.emplace_back(in_name);
    first_out_ = static_cast<int>(out_names.size());
    out_names.emplace_back(out_name);
    return 0;
}

int Vst2MidiDevSelComp::create_in(int position, MidiMgr& mgr, MidiInInterface*& dev)
{
    dev = nullptr;
    if (!owns_in(position))
    {
        return 0;
    }
    in_.attach(mgr);
    mgr_.store(&mgr);
    dev = &in_;
    return 0;
}

int Vst2MidiDevSelComp::create_out(int position, MidiMgr& mgr, MidiOutInterface*& dev)
{
    dev = nullptr;
    if (!owns_out(position))
    {
        return 0;
    }
    out_.attach(mgr);
    dev = &out_;
    return 0;
}

void Vst2MidiDevSelComp::release_devices()
{
    in_.close();
    out_.close();
    first_in_ = -1;
    first_out_ = -1;
}

void Vst2MidiDevSelComp::process_events(const vst2::VstEvents& events) noexcept
{
    if (MidiMgr* const mgr = mgr_.load(); mgr != nullptr)
    {
        mgr->with_input_if(&in_, [&]() noexcept { in_.process_events(events); });
    }
}

} // namespace plux
