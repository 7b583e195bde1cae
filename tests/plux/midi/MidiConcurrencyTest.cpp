// Controllers move on the audio thread while the editor rebinds, arms auto-bind, loads settings
// and switches devices, other threads send feedback, and the background thread recycles the
// tables. Nothing here checks timing: the run must finish with consistent tables, and under the
// address and thread sanitizers it must be free of races and of uses of freed devices or tables.
#include <atomic>
#include <gtest/gtest.h>
#include <random>
#include <thread>
#include <vector>

#include "basic/ConfKeyMulti.hpp"
#include "plux/midi/MidiAutoBindMgr.hpp"
#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "plux/vst2/Vst2MidiDevSelComp.hpp"
#include "vst2host/MidiEventList.hpp"

TEST(MidiConcurrency, ControllersBindingsAndDevicesChangeAtOnce)
{
    constexpr int nbr_blocks = 10000;
    midi_test::MidiRig rig;
    plux::MidiMgr& mgr = rig.mgr;
    rig.cmd.feedback_to = &mgr;
    mgr.set_default_map();
    midi_test::FakeHost host;
    plux::Vst2MidiDevSelComp host_comp(host);
    midi_test::TestComp busy_comp; // its devices are made anew at each selection
    plux::MidiDevSelDispatcher dispatcher(mgr);
    mgr.set_dev_selector(&dispatcher);
    dispatcher.add_component(host_comp);
    dispatcher.add_component(busy_comp);
    ASSERT_EQ(dispatcher.init(), 0);
    ASSERT_EQ(dispatcher.select_default(true, true), 0);

    const auto file_root = midi_test::read_root(
        "root = { midi = { control_map = { id_0 = cc_20 id_1 = cc_21 id_2 = nrpn_2 } "
        "port_out = { name = \"Test Out\" } } }");

    std::atomic<bool> running{true};

    std::thread audio(
        [&]
        {
            vst2host::MidiEventList list(8);
            // On a loaded machine all the blocks may pass while the editor has the input
            // deselected: go on until a controller has got through, within a generous bound.
            for (int b = 0;
                 b < nbr_blocks || (rig.cmd.get_nbr_changes() == 0 && b < 100 * nbr_blocks); ++b)
            {
                list.clear();
                const int v = b & 0x7F;
                list.add(0, 0xB0, 7, static_cast<unsigned char>(v));
                list.add(1, 0xB1, 99, 0);
                list.add(2, 0xB1, 98, static_cast<unsigned char>(b % 8));
                list.add(3, 0xB1, 6, static_cast<unsigned char>(v));
                list.add(4, 0xB2, static_cast<unsigned char>(20 + b % 8),
                         static_cast<unsigned char>(v));
                host_comp.process_events(*list.use_events());
                mgr.begin_block();
                mgr.end_block();
            }
            running = false;
        });

    std::thread editor(
        [&]
        {
            plux::MidiAutoBindMgr autobind;
            autobind.init(&mgr);
            std::mt19937 rng(1);
            while (running)
            {
                const int param = static_cast<int>(rng() % 8);
                switch (rng() % 9)
                {
                case 0:
                    mgr.bind_param(param, static_cast<int>(20 + rng() % 8), 0);
                    break;
                case 1:
                    mgr.unbind_param(param);
                    break;
                case 2:
                    mgr.set_default_map();
                    break;
                case 3:
                    autobind.toggle_armed();
                    break;
                case 4:
                    autobind.select_param(param);
                    break;
                case 5:
                    mgr.load_settings(*file_root);
                    break;
                case 6:
                    dispatcher.select_in(static_cast<int>(rng() % 3) - 1);
                    break;
                case 7:
                    dispatcher.select_out(static_cast<int>(rng() % 3) - 1);
                    break;
                default:
                {
                    basic::ConfKeyMulti root("root");
                    mgr.save_settings(root);
                    break;
                }
                }
            }
        });

    std::thread feedback(
        [&]
        {
            int i = 0;
            while (running)
            {
                mgr.send_feedback(i % 8, static_cast<float>(i % 100) / 100.0f);
                ++i;
                std::this_thread::yield();
            }
        });

    std::thread background(
        [&]
        {
            while (running)
            {
                mgr.use_recycle_task().run();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });

    audio.join();
    editor.join();
    feedback.join();
    background.join();
    dispatcher.deinit();

    EXPECT_GT(rig.cmd.get_nbr_changes(), 0) << "bound controllers moved parameters";
    // The table ends consistent: each parameter's control leads back to the parameter.
    for (int param = 0; param < 8; ++param)
    {
        int ctrl_id = -1;
        if (mgr.get_ctrl_for_param(param, ctrl_id))
        {
            int back = -1;
            float nrm = 0.0f;
            mgr.ctrl_to_param(ctrl_id, 0, back, nrm);
            EXPECT_EQ(back, param) << plux::MidiCtrl::to_text(ctrl_id);
        }
    }
    for (const auto& event : host.events)
    {
        EXPECT_EQ(static_cast<unsigned char>(event.midiData[0]) & 0xF0, 0xB0)
            << "only control changes go to the host";
    }
}
