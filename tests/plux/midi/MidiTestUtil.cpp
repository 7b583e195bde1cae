#include "plux/midi/MidiTestUtil.hpp"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

#include "sys/RegistrySandbox.hpp"

namespace midi_test
{

std::string packet_text(std::uint32_t packet)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%02X %02X %02X %02X", packet & 0xFF, (packet >> 8) & 0xFF,
                  (packet >> 16) & 0xFF, packet >> 24);
    return text;
}

std::vector<std::string> packet_texts(const std::vector<std::uint32_t>& packets)
{
    std::vector<std::string> texts;
    for (const std::uint32_t packet : packets)
    {
        texts.push_back(packet_text(packet));
    }
    return texts;
}

int RecordingOutput::send_packet(int status, int data_1, int data_2, int data_3) noexcept
{
    const std::lock_guard lock(mutex_);
    if (static_cast<int>(packets_.size()) >= room_)
    {
        return -1;
    }
    packets_.push_back(pack(status, data_1, data_2, data_3));
    return 0;
}

std::vector<std::uint32_t> RecordingOutput::packets() const
{
    const std::lock_guard lock(mutex_);
    return packets_;
}

void RecordingOutput::clear()
{
    const std::lock_guard lock(mutex_);
    packets_.clear();
}

int RecordingReceiver::add(const char* name, std::initializer_list<int> args)
{
    std::string text = name;
    for (const int arg : args)
    {
        text += ' ';
        text += std::to_string(arg);
    }
    calls.push_back(text);
    return 0;
}

bool FakeCmd::set_param(int index, float value, int priority)
{
    const std::lock_guard lock(mutex_);
    changes_.push_back({index, value, priority});
    ++nbr_changes_;
    return true;
}

bool FakeCmd::notify_host(int index, float value)
{
    if (feedback_to != nullptr)
    {
        feedback_to->send_feedback(index, value);
    }
    return true;
}

bool FakeCmd::set_param_and_notify(int index, float value, int priority)
{
    set_param(index, value, priority);
    return notify_host(index, value);
}

std::vector<FakeCmd::Change> FakeCmd::changes() const
{
    const std::lock_guard lock(mutex_);
    return changes_;
}

void FakeHost::send_events_to_host(vst2::VstEvents& list)
{
    EXPECT_TRUE(lists.empty() || lists.back() != &list) << "the two lists alternate";
    lists.push_back(&list);
    vst2::VstEvent* const* const slots = list.events;
    for (vst2::VstInt32 i = 0; i < list.numEvents; ++i)
    {
        vst2::VstMidiEvent event{};
        std::memcpy(&event, slots[i], sizeof(event));
        events.push_back(event);
    }
}

std::vector<std::string> FakeHost::texts() const
{
    std::vector<std::string> texts;
    for (const vst2::VstMidiEvent& event : events)
    {
        std::uint32_t packet = 0;
        for (int i = 0; i < 4; ++i)
        {
            packet |= std::uint32_t{static_cast<unsigned char>(event.midiData[i])} << (8 * i);
        }
        texts.push_back(packet_text(packet));
    }
    return texts;
}

MidiRig::MidiRig()
    : mgr(test::sandbox_key_path())
{
    dsp.init();
    mgr.set_dsp(&dsp);
    mgr.set_cmd(&cmd);
    mgr.set_plugin_name("Morvane");
}

} // namespace midi_test
