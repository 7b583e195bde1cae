#pragma once

// Stand-ins for what surrounds the MIDI layer in the plug-in: devices that record, a component
// that offers them as the system's ports do, a receiver that records calls, the frame's
// parameter road, and a host that takes MIDI events.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "basic/ConfKeyMulti.hpp"
#include "plux/midi/MidiDevSelCompInterface.hpp"
#include "plux/midi/MidiInCcMixin.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/midi/MidiOut4BPacketMixin.hpp"
#include "plux/param/PluginCmdInterface.hpp"
#include "plux/vst2/TestEffect.hpp"
#include "plux/vst2/Vst2MidiHostInterface.hpp"

namespace midi_test
{

class TestComp;

// Short messages as text: "B0 63 00 00, B0 62 03 00".
std::string packets_text(const std::vector<std::uint32_t>& packets);

// The control of each of the first count parameters as the user reads it ("CC 7", "NRPN 3"), "-"
// where none is bound.
std::vector<std::string> bindings(const plux::MidiMgr& mgr, int count = 8);

// The key tree a setting file's text gives.
std::unique_ptr<basic::ConfKeyMulti> read_root(const std::string& text);

// An output with room for a number of packets; further packets fail. Any thread.
class RecordingOutput final : public plux::MidiOut4BPacketMixin
{
public:
    explicit RecordingOutput(int room = 1 << 30, TestComp* comp = nullptr)
        : comp_(comp)
        , room_(room)
    {
    }

    int open() override;
    int close() override;
    int send_packet(int status, int data_1, int data_2, int data_3) noexcept override;

    std::vector<std::uint32_t> packets() const;
    // "B0 07 64 00, B0 27 00 00"
    std::string text() const;

private:
    TestComp* comp_;
    mutable std::mutex mutex_;
    int room_;
    std::vector<std::uint32_t> packets_;
};

// An input that records the controls it decodes, or hands them to its manager once attached, as
// a system port does. At every block it moves controllers 20 to 23, as a busy port would.
class TestInput final : public plux::MidiInCcMixin
{
public:
    explicit TestInput(TestComp* comp = nullptr)
        : comp_(comp)
    {
    }

    int open() override;
    int close() override;
    void begin_block() noexcept override;

    // The controls decoded, channel and 14-bit value: "1 NRPN 3 = 8192, 1 CC 7 = 16256".
    std::string ctrls;

protected:
    void process_ctrl(int chn, int ctrl_id, int value) noexcept override;

private:
    TestComp* comp_;
    int counter_ = 0;
};

// One input "Test In" and one output "Test Out", made anew at each selection as the system's
// ports are; their opening and closing answer what the test orders.
class TestComp final : public plux::MidiDevSelCompInterface
{
public:
    int append_devices(std::vector<std::string>& in_names,
                       std::vector<std::string>& out_names) override;
    bool owns_in(int position) const override { return position == first_in_; }
    bool owns_out(int position) const override { return position == first_out_; }
    int create_in(int position, plux::MidiMgr& mgr, plux::MidiInInterface*& dev) override;
    int create_out(int position, plux::MidiMgr& mgr, plux::MidiOutInterface*& dev) override;
    void release_devices() override;

    // The devices' opening and closing, counted.
    int opened();
    int closed();

    std::unique_ptr<TestInput> in;
    std::unique_ptr<RecordingOutput> out;
    int append_result = 0;
    int open_result = 0;
    int close_result = 0;
    int opens = 0;
    int closes = 0;
    int releases = 0;

private:
    int first_in_ = -1;
    int first_out_ = -1;
};

// Records each call as text: "cc 0 7 100", "nrpn 0 3 8192", "offset 12".
class RecordingReceiver final : public plux::MidiReceiverInterface
{
public:
    int set_time_offset(int offset) override { return add("offset", {offset}); }
    int note_on(int chn, int note, int velo) override { return add("note_on", {chn, note, velo}); }
    int note_off(int chn, int note, int velo) override
    {
        return add("note_off", {chn, note, velo});
    }
    int poly_pressure(int chn, int note, int value) override
    {
        return add("poly_pressure", {chn, note, value});
    }
    int chn_pressure(int chn, int value) override { return add("chn_pressure", {chn, value}); }
    int prog_change(int chn, int value) override { return add("prog_change", {chn, value}); }
    int rpn(int chn, int number, int value) override { return add("rpn", {chn, number, value}); }
    int nrpn(int chn, int number, int value) override { return add("nrpn", {chn, number, value}); }
    int cc(int chn, int ctrl, int value) override { return add("cc", {chn, ctrl, value}); }
    int chn_msg(int chn, int kind, int data_1, int data_2) override
    {
        return add("chn_msg", {chn, kind, data_1, data_2});
    }

    // "offset 12, cc 1 7 100"
    std::string calls;

private:
    int add(const char* name, std::initializer_list<int> args);
};

// The frame's parameter road as far as MIDI sees it: records accepted changes and, like the
// frame's notify_host, gives each to the MIDI manager for feedback. Any thread.
class FakeCmd final : public plux::PluginCmdInterface
{
public:
    struct Change
    {
        int index;
        float value;
        int priority;
    };

    bool can_take(int, int) override { return true; }
    bool take(int, int) override { return true; }
    void release(int, int) override {}
    bool set_param(int index, float value, int priority) override;
    bool notify_host(int index, float value) override;
    bool set_param_and_notify(int index, float value, int priority) override;
    int apply_prog(const plux::ProgramSlot&, int, bool, bool) override { return 0; }

    std::vector<Change> changes() const;
    int get_nbr_changes() const { return nbr_changes_.load(); }

    plux::MidiMgr* feedback_to = nullptr;

private:
    mutable std::mutex mutex_;
    std::vector<Change> changes_;
    std::atomic<int> nbr_changes_{0};
};

// A host that copies the MIDI events the plug-in hands it, and checks that a list is never
// handed twice in a row (the plug-in alternates between two).
class FakeHost final : public plux::Vst2MidiHostInterface
{
public:
    void send_events_to_host(vst2::VstEvents& events) override;

    std::vector<vst2::VstMidiEvent> events;
    std::vector<const vst2::VstEvents*> lists;
    // The packets of the events received: "B0 07 64 00, B0 27 00 00".
    std::string text() const;
};

// A manager wired to the test effect's eight parameters, with its registry values in the test
// sandbox.
struct MidiRig
{
    MidiRig();

    plux_test::TestDsp dsp;
    FakeCmd cmd;
    plux::MidiMgr mgr;
};

} // namespace midi_test
