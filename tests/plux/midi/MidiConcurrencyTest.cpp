// Controllers move on the audio thread while the editor rebinds, arms auto-bind, loads settings
// and switches devices, other threads send feedback, and the background thread recycles the
// tables. Nothing here checks timing: the run must finish with consistent tables, and under the
// address and thread sanitizers it must be free of races and of uses of freed devices or tables.
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "basic/ConfKeyFactory.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "plux/midi/MidiAutoBindMgr.hpp"
#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiDevSelDispatcher.hpp"
#include "plux/midi/MidiTestUtil.hpp"
#include "plux/vst2/Vst2MidiDevSelComp.hpp"
#include "vst2host/MidiEventList.hpp"

namespace
{

// An input that moves a few controllers at every block, as a system port would.
class BusyInput final : public plux::MidiInCcMixin
{
public:
    int open() override { return 0; }
    int close() override { return 0; }
    void begin_block() noexcept override
    {
        for (int k = 0; k < 4; ++k)
        {
            process_cc(k, 20 + k, counter_++ & 0x7F);
        }
    }

protected:
    void process_ctrl(int chn, int ctrl_id, int value) noexcept override
    {
        get_mgr()->receive_ctrl(chn, ctrl_id, value);
    }

private:
    int counter_ = 0;
};

// Makes a new device at every selection and deletes the one before, as the system ports do.
class SwappingComp final : public plux::MidiDevSelCompInterface
{
public:
    int append_devices(std::vector<std::string>& in_names,
                       std::vector<std::string>& out_names) override
    {
        first_in_ = static_cast<int>(in_names.size());
        in_names.emplace_back("Busy In");
        first_out_ = static_cast<int>(out_names.size());
        out_names.emplace_back("Busy Out");
        return 0;
    }
    bool owns_in(int position) const override { return position == first_in_; }
    bool owns_out(int position) const override { return position == first_out_; }
    int create_in(int position, plux::MidiMgr& mgr, plux::MidiInInterface*& dev) override
    {
        in_.reset();
        dev = nullptr;
        if (owns_in(position))
        {
            in_ = std::make_unique<BusyInput>();
            in_->attach(mgr);
            dev = in_.get();
        }
        return 0;
    }
    int create_out(int position, plux::MidiMgr&, plux::MidiOutInterface*& dev) override
    {
        out_.reset();
        dev = nullptr;
        if (owns_out(position))
        {
            out_ = std::make_unique<midi_test::RecordingOutput>(256);
            dev = out_.get();
        }
        return 0;
    }
    void release_devices() override
    {
        in_.reset();
        out_.reset();
    }

private:
    std::unique_ptr<BusyInput> in_;
    std::unique_ptr<midi_test::RecordingOutput> out_;
    int first_in_ = -1;
    int first_out_ = -1;
};

} // namespace

TEST(MidiConcurrency, ControllersBindingsAndDevicesChangeAtOnce)
{
    constexpr int nbr_blocks = 10000;
    midi_test::MidiRig rig;
    plux::MidiMgr& mgr = rig.mgr;
    rig.cmd.feedback_to = &mgr;
    mgr.set_default_map();
    midi_test::FakeHost host;
    plux::Vst2MidiDevSelComp host_comp(host);
    SwappingComp busy_comp;
    plux::MidiDevSelDispatcher dispatcher(mgr);
    mgr.set_dev_selector(&dispatcher);
    dispatcher.add_component(host_comp);
    dispatcher.add_component(busy_comp);
    ASSERT_EQ(dispatcher.init(), 0);
    ASSERT_EQ(dispatcher.select_default(true, true), 0);

    const std::unique_ptr<basic::ConfKeyInterface> file =
        basic::ConfKeyFactory::use_instance().create_key_from_string(
            "root = { midi = { control_map = { id_0 = cc_20 id_1 = cc_21 id_2 = nrpn_2 } "
            "port_out = { name = \"Busy Out\" } } }");
    const auto& file_root = dynamic_cast<const basic::ConfKeyMulti&>(*file);

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
                    mgr.load_settings(file_root);
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
