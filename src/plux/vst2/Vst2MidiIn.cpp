#include "plux/vst2/Vst2MidiIn.hpp"

#include "plux/midi/MidiMgr.hpp"

namespace plux
{

int Vst2MidiIn::open()
{
    enabled_.store(true);
    return 0;
}

int Vst2MidiIn::close()
{
    enabled_.store(false);
    return 0;
}

void Vst2MidiIn::process_events(const vst2::VstEvents& events) noexcept
{
    if (!enabled_.load())
    {
        return;
    }
    // The list is longer than its declared two entries: index through a plain pointer.
    vst2::VstEvent* const* const slots = events.events;
    for (vst2::VstInt32 i = 0; i < events.numEvents; ++i)
    {
        const vst2::VstEvent* const event = slots[i];
        if (event == nullptr || event->type != vst2::kVstMidiType)
        {
            continue;
        }
        const auto* const midi = reinterpret_cast<const vst2::VstMidiEvent*>(event);
        if (MidiReceiverInterface* const receiver = get_receiver(); receiver != nullptr)
        {
            receiver->set_time_offset(midi->deltaFrames);
        }
        process_msg(static_cast<unsigned char>(midi->midiData[0]),
                    static_cast<unsigned char>(midi->midiData[1]),
                    static_cast<unsigned char>(midi->midiData[2]));
    }
}

void Vst2MidiIn::process_ctrl(int chn, int ctrl_id, int value) noexcept
{
    if (MidiMgr* const mgr = get_mgr(); mgr != nullptr)
    {
        mgr->receive_ctrl(chn, ctrl_id, value);
    }
}

} // namespace plux
