#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "plux/midi/MciMidiIn.hpp"
#include "plux/midi/MciMidiOut.hpp"
#include "plux/midi/MciMidiPort.hpp"
#include "plux/midi/MidiPacketQueue.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "plux/vst2/Vst2MidiIn.hpp"
#include "plux/vst2/Vst2MidiOut.hpp"
#include "vst2host/MidiEventList.hpp"

using midi_test::FakeHost;
using midi_test::RecordingOutput;
using midi_test::RecordingReceiver;

// An output that sends packet by packet (a system port) stops a composite at its first failure;
// one that can refuse whole messages (the host's) is tested with Vst2MidiOut below.
TEST(MidiOut4BPacketMixin, BuildsCompositesAndStopsAtTheFirstFailure)
{
    RecordingOutput out(5);
    EXPECT_EQ(out.prog_change(2, 7 + 128 * 3 + 16384 * 4), 0);
    EXPECT_EQ(out.text(), "B2 00 03 00, B2 20 04 00, C2 07 00 00")
        << "bank MSB, bank LSB, then the program";
    EXPECT_EQ(out.nrpn(0, 1, 2), -1) << "room for two of the four packets";
    EXPECT_EQ(out.packets().size(), 5u);
    EXPECT_EQ(out.chn_msg(0, 3, 1, 2), -1) << "not a channel message kind";
    EXPECT_EQ(out.status_byte(0xFE), -1) << "full";
}

// Many senders at once: every accepted message arrives whole, each sender's messages in order.
TEST(MidiPacketQueue, ConcurrentSendersKeepTheirMessagesWhole)
{
    constexpr int nbr_senders = 4;
    constexpr int nbr_messages = 20000;
    plux::MidiPacketQueue queue(64);
    std::atomic<int> done{0};
    std::vector<std::thread> senders;
    for (int s = 0; s < nbr_senders; ++s)
    {
        senders.emplace_back(
            [&, s]
            {
                for (int m = 0; m < nbr_messages;)
                {
                    // sender, message, part: two parts per message
                    const std::uint32_t base = (std::uint32_t(s) << 24) | (std::uint32_t(m) << 1);
                    const std::array<std::uint32_t, 2> message{base, base | 1};
                    if (queue.push(message))
                    {
                        ++m;
                    }
                    else
                    {
                        std::this_thread::yield();
                    }
                }
                ++done;
            });
    }
    std::array<int, nbr_senders> next{};
    int errors = 0;
    std::uint32_t pending = 0;
    bool in_message = false;
    auto take = [&](std::uint32_t packet)
    {
        const int s = static_cast<int>(packet >> 24);
        if (!in_message)
        {
            errors += (packet & 1) != 0 || static_cast<int>((packet >> 1) & 0x7FFFFF) != next[s];
            pending = packet;
        }
        else
        {
            errors += packet != (pending | 1);
            ++next[s];
        }
        in_message = !in_message;
    };
    while (done.load() < nbr_senders)
    {
        queue.pop_all(take);
    }
    queue.pop_all(take);
    for (auto& t : senders)
    {
        t.join();
    }
    EXPECT_EQ(errors, 0) << "messages were cut or reordered";
    EXPECT_EQ(next, (std::array<int, nbr_senders>{nbr_messages, nbr_messages, nbr_messages,
                                                  nbr_messages}));
}

class Vst2MidiOutTest : public testing::Test
{
protected:
    FakeHost host;
    plux::Vst2MidiOut out{host};
};

TEST_F(Vst2MidiOutTest, HandsQueuedPacketsToTheHostAtTheStartOfTheNextBlock)
{
    EXPECT_EQ(out.cc(0, 1, 2), -1) << "closed";
    ASSERT_EQ(out.open(), 0);
    EXPECT_EQ(out.cc(0, 7, 100), 0);
    EXPECT_EQ(out.cc_pair(15, 7, 16383), 0);
    EXPECT_TRUE(host.events.empty()) << "nothing before the block starts";
    out.begin_block();
    EXPECT_EQ(host.text(), "B0 07 64 00, BF 07 7F 00, BF 27 7F 00");
    for (const auto& event : host.events)
    {
        EXPECT_EQ(event.type, vst2::kVstMidiType);
        EXPECT_EQ(event.byteSize, 32);
        EXPECT_EQ(event.deltaFrames, 0);
    }
    out.begin_block();
    EXPECT_EQ(host.lists.size(), 1u) << "an empty block hands nothing";
    out.nrpn(0, 3, 8192);
    out.begin_block();
    ASSERT_EQ(host.lists.size(), 2u);
    EXPECT_NE(host.lists[0], host.lists[1]) << "the next block fills the other list";
    EXPECT_EQ(host.lists[1]->numEvents, 4);
}

TEST_F(Vst2MidiOutTest, AFullBlockRefusesFurtherMessagesWhole)
{
    ASSERT_EQ(out.open(), 0);
    for (int i = 0; i < plux::Vst2MidiOut::max_events - 1; ++i)
    {
        ASSERT_EQ(out.cc(0, 74, 1), 0) << "event " << i;
    }
    EXPECT_EQ(out.cc_pair(0, 7, 0), -1) << "one place left: the pair is refused, not cut";
    EXPECT_EQ(out.cc(0, 75, 2), 0) << "a single event still fits";
    EXPECT_EQ(out.cc(0, 76, 3), -1) << "1024 events are waiting";
    out.begin_block();
    ASSERT_EQ(host.events.size(), 1024u);
    EXPECT_TRUE(host.text().ends_with("B0 4A 01 00, B0 4B 02 00")) << "the single event last";
    EXPECT_EQ(out.cc(0, 76, 3), 0) << "the next block has room again";
    out.close();
    EXPECT_EQ(out.cc(0, 76, 3), -1);
    out.begin_block();
    EXPECT_EQ(host.events.size(), 1024u) << "a closed output hands nothing";
}

TEST(Vst2MidiIn, DecodesTheHostsMidiEventsWhileOpen)
{
    RecordingReceiver receiver;
    plux::Vst2MidiIn in;
    in.init(&receiver);
    vst2host::MidiEventList list(4);
    list.add(12, 0xB1, 7, 100);
    list.add(20, 0x90, 60, 0);
    vst2::VstEvent sysex{};
    sysex.type = vst2::kVstSysExType;
    list.use_events()->events[1] = &sysex; // a foreign event among the MIDI ones
    in.process_events(*list.use_events());
    EXPECT_EQ(receiver.calls, "") << "closed: the events are ignored";
    ASSERT_EQ(in.open(), 0);
    in.process_events(*list.use_events());
    EXPECT_EQ(receiver.calls, "offset 12, cc 1 7 100");
}

TEST(MciMidiIn, QueuesTheFirst3999DataMessagesForTheNextBlock)
{
    RecordingReceiver receiver;
    plux::MciMidiIn in(0);
    in.init(&receiver);
    plux::MciMidiIn::on_port_message(&in, plux::MciMidiIn::port_msg_data, 0x7F07B0, 1000);
    plux::MciMidiIn::on_port_message(&in, 0x3C1, 0x7F07B0, 1000); // open notice: not data
    plux::MciMidiIn::on_port_message(&in, plux::MciMidiIn::port_msg_data, 0x003C90, 1001);
    EXPECT_EQ(receiver.calls, "") << "decoded at the start of the block only";
    in.begin_block();
    EXPECT_EQ(receiver.calls, "offset 0, cc 0 7 127, offset 0, note_off 0 60 64");

    receiver.calls.clear();
    std::string expected;
    for (std::uint32_t i = 0; i < 4000; ++i)
    {
        // Plain controllers 70 to 89, every channel, values counting up.
        const std::uint32_t chn = i % 16;
        const std::uint32_t ctrl = 70 + i % 20;
        const std::uint32_t value = (i / 16) % 128;
        in.push_data((0xB0 | chn) | (ctrl << 8) | (value << 16), i);
        if (i < 3999)
        {
            expected += std::string(i == 0 ? "" : ", ") + "offset 0, cc " + std::to_string(chn) +
                        " " + std::to_string(ctrl) + " " + std::to_string(value);
        }
    }
    in.begin_block();
    EXPECT_EQ(receiver.calls, expected)
        << "the first 3999 messages arrive in order, the 4000th is dropped";
    receiver.calls.clear();
    in.begin_block();
    EXPECT_EQ(receiver.calls, "") << "the queue was emptied";
}

TEST(MciMidiPort, OpeningAPortPastTheSystemsListFails)
{
    plux::MciMidiIn in(plux::MciMidiPort::get_nbr_in());
    EXPECT_EQ(in.open(), -1);
    EXPECT_FALSE(in.is_open());
    EXPECT_EQ(in.close(), 0) << "closing what is not open";
    plux::MciMidiOut out(plux::MciMidiPort::get_nbr_out());
    EXPECT_EQ(out.open(), -1);
    EXPECT_EQ(out.cc(0, 7, 1), -1) << "never opened";
    EXPECT_EQ(out.close(), 0);
    std::string name;
    EXPECT_EQ(plux::MciMidiPort::get_in_name(plux::MciMidiPort::get_nbr_in(), name), -1);
}
