#include "plux/midi/MidiTestUtil.hpp"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

#include "basic/ConfKeyFactory.hpp"
#include "plux/midi/MidiCtrl.hpp"
#include "sys/RegistrySandbox.hpp"

namespace midi_test
{

std::string packets_text(const std::vector<std::uint32_t>& packets)
{
    std::string text;
    for (const std::uint32_t packet : packets)
    {
        char one[16];
        std::snprintf(one, sizeof(one), "%02X %02X %02X %02X", packet & 0xFF, (packet >> 8) & 0xFF,
                      (packet >> 16) & 0xFF, packet >> 24);
        text += (text.empty() ? "" : ", ") + std::string(one);
    }
    return text;
}

std::vector<std::string> bindings(const plux::MidiMgr& mgr, int count)
{
    std::vector<std::string> texts;
    for (int param = 0; param < count; ++param)
    {
        int ctrl_id = -1;
        texts.push_back(
            mgr.get_ctrl_for_param(param, ctrl_id) ? plux::MidiMgr::ctrl_to_text(ctrl_id) : "-");
    }
    return texts;
}

std::unique_ptr<basic::ConfKeyMulti> read_root(const std::string& text)
{
    auto key = basic::ConfKeyFactory::use_instance().create_key_from_string(text);
    auto* multi = dynamic_cast<basic::ConfKeyMulti*>(key.get());
    EXPECT_NE(multi, nullptr) << text;
    key.release();
    return std::unique_ptr<basic::ConfKeyMulti>(multi);
}

int RecordingOutput::open()
{
    return comp_ != nullptr ? comp_->opened() : 0;
}

int RecordingOutput::close()
{
    return comp_ != nullptr ? comp_->closed() : 0;
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

std::string RecordingOutput::text() const
{
    return packets_text(packets());
}

int TestInput::open()
{
    return comp_ != nullptr ? comp_->opened() : 0;
}

int TestInput::close()
{
    return comp_ != nullptr ? comp_->closed() : 0;
}

void TestInput::begin_block() noexcept
{
    for (int k = 0; k < 4; ++k)
    {
        process_cc(k, 20 + k, counter_++ & 0x7F);
    }
}

void TestInput::process_ctrl(int chn, int ctrl_id, int value) noexcept
{
    if (get_mgr() != nullptr)
    {
        get_mgr()->receive_ctrl(chn, ctrl_id, value);
    }
    else
    {
        ctrls += (ctrls.empty() ? "" : ", ") + std::to_string(chn) + ' ' +
                 plux::MidiCtrl::to_text(ctrl_id) + " = " + std::to_string(value);
    }
}

int TestComp::append_devices(std::vector<std::string>& in_names,
                             std::vector<std::string>& out_names)
{
    first_in_ = static_cast<int>(in_names.size());
    in_names.emplace_back("Test In");
    first_out_ = static_cast<int>(out_names.size());
    out_names.emplace_back("Test Out");
    return append_result;
}

int TestComp::create_in(int position, plux::MidiMgr& mgr, plux::MidiInInterface*& dev)
{
    in.reset(owns_in(position) ? new TestInput(this) : nullptr);
    if (in != nullptr)
    {
        in->attach(mgr);
    }
    dev = in.get();
    return 0;
}

int TestComp::create_out(int position, plux::MidiMgr&, plux::MidiOutInterface*& dev)
{
    out.reset(owns_out(position) ? new RecordingOutput(256, this) : nullptr);
    dev = out.get();
    return 0;
}

void TestComp::release_devices()
{
    in.reset();
    out.reset();
    ++releases;
}

int TestComp::opened()
{
    ++opens;
    return open_result;
}

int TestComp::closed()
{
    ++closes;
    return close_result;
}

int RecordingReceiver::add(const char* name, std::initializer_list<int> args)
{
    calls += calls.empty() ? name : std::string(", ") + name;
    for (const int arg : args)
    {
        calls += ' ' + std::to_string(arg);
    }
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
    for (vst2::VstInt32 i = 0; i < list.numEvents; ++i)
    {
        vst2::VstMidiEvent event{};
        std::memcpy(&event, list.events[i], sizeof(event));
        events.push_back(event);
    }
}

std::string FakeHost::text() const
{
    std::vector<std::uint32_t> packets;
    for (const vst2::VstMidiEvent& event : events)
    {
        std::uint32_t packet = 0;
        for (int i = 0; i < 4; ++i)
        {
            packet |= std::uint32_t{static_cast<unsigned char>(event.midiData[i])} << (8 * i);
        }
        packets.push_back(packet);
    }
    return packets_text(packets);
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
