#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "basic/SettingClientInterface.hpp"
#include "plux/BkgInterface.hpp"
#include "plux/midi/EpochGuard.hpp"
#include "plux/midi/MidiMapStore.hpp"
#include "plux/midi/MidiReceiverInterface.hpp"
#include "plux/midi/MidiRegSettings.hpp"

namespace plux
{

class DspInterface;
class MidiDevSelectorInterface;
class MidiInInterface;
class MidiOutInterface;
class PluginCmdInterface;

// MIDI control of the parameters: a table binds controls (control changes, RPNs and NRPNs, see
// MidiCtrl) to parameter indices, moves the bound parameters when their controls move, echoes
// parameter changes back out as MIDI for motorised controllers, stores the table in the setting
// file, and offers auto-bind: the next control moved is bound to the parameter the user touched.
// It also holds the selected MIDI input and output (owned by the device components) and passes
// every message it receives on to the output, a MIDI thru.
//
// Threads. The MIDI input is decoded on the audio thread, one message at a time; the echo may
// leave from any thread that changes a parameter; the editor binds, unbinds, selects devices and
// loads settings. Readers never wait or allocate: the table is published whole (MidiMapStore),
// the device slots are guarded by an epoch, and the auto-bind fields are atomics.
class MidiMgr final : public MidiReceiverInterface, public basic::SettingClientInterface
{
public:
    // The priority with which MIDI control competes for a parameter.
    static constexpr int prio_midi = 125;

    // reg_maker: the maker's registry key below "Software".
    explicit MidiMgr(std::string reg_maker = "Tarvex");
    ~MidiMgr() override;
    MidiMgr(const MidiMgr&) = delete;
    MidiMgr& operator=(const MidiMgr&) = delete;

    // Wiring, before any thread uses the manager. The DSP side gives the parameters' count and
    // names, the command interface takes the changes, the device selector saves and loads its
    // keys inside the "midi" block. Not owned; each may be null.
    void set_dsp(DspInterface* dsp) noexcept { dsp_ = dsp; }
    void set_cmd(PluginCmdInterface* cmd) noexcept { cmd_ = cmd; }
    void set_dev_selector(MidiDevSelectorInterface* selector) noexcept { dev_sel_ = selector; }
    // The product's name: the registry values live below maker/name.
    void set_plugin_name(const std::string& name) { reg_settings_.init(name); }
    MidiRegSettings& use_reg_settings() noexcept { return reg_settings_; }
    const MidiRegSettings& use_reg_settings() const noexcept { return reg_settings_; }

    // The table; any thread but the audio thread. Each returns 0.
    int bind_param(int param, int ctrl_id);
    // kind: a controller number, MidiCtrl::kind_rpn or MidiCtrl::kind_nrpn.
    int bind_param(int param, int kind, int number);
    int unbind_param(int param);
    // Parameter i to NRPN i for every parameter of the DSP side, and nothing else.
    void set_default_map();

    // Any thread.
    bool is_param_bound(int param) const noexcept;
    bool get_ctrl_for_param(int param, int& ctrl_id) const noexcept;
    bool get_ctrl_for_param(int param, int& kind, int& number) const noexcept;
    // -1 and -1.0 when the control is not bound.
    void ctrl_to_param(int ctrl_id, int value, int& param, float& nrm) const noexcept;
    // -1 and -1 when the parameter is not bound.
    void param_to_ctrl(int param, float nrm, int& ctrl_id, int& value) const noexcept;
    static std::string ctrl_to_text(int ctrl_id);

    // The input path, on the thread that decodes MIDI input. process_ctrl() binds the control
    // when auto-bind is armed and then looks it up; receive_ctrl() also hands the change to the
    // parameter road with prio_midi, and makes chn the channel of the echo.
    void process_ctrl(int ctrl_id, int value, int& param, float& nrm) noexcept;
    void receive_ctrl(int chn, int ctrl_id, int value) noexcept;

    // The echo of a parameter change, from any thread: 0 when sent, -2 when the parameter is
    // not bound, else the output's failure code. A controller below 32 is sent as its 14-bit
    // pair, one of 32 or more as one 7-bit value.
    int send_param_change(int chn, int param, float nrm) noexcept;
    // The echo on the channel of the last bound control received (channel 0 until then): what
    // the plug-in frame calls when a parameter changed.
    int send_feedback(int param, float nrm) noexcept
    {
        return send_param_change(feedback_chn_.load(std::memory_order_relaxed), param, nrm);
    }

    // Auto-bind. The target is the parameter that the next control moved is bound to, -1 when
    // idle; with auto-bind mode 0 one binding disarms it. Any thread.
    void set_autobind_target(int param) noexcept;
    int get_autobind_target() const noexcept;
    void cancel_autobind_target() noexcept { set_autobind_target(-1); }
    // The latest binding made by auto-bind; false when there is none.
    bool get_last_bound(int& param, int& ctrl_id) const noexcept;
    void clear_last_bound() noexcept;
    // Counts the bindings made by auto-bind, so that the editor can set a new target only when
    // no binding came in since it looked (see MidiAutoBindMgr).
    std::uint32_t get_autobind_count() const noexcept;
    bool set_autobind_target_if(int param, std::uint32_t count) noexcept;

    // basic::SettingClientInterface: the "midi" block with the "control_map" block, then the
    // device selector's keys. Loading adds the bindings read to the table in place; malformed
    // entries are skipped.
    int save_settings(basic::ConfKeyMulti& root) override;
    int load_settings(const basic::ConfKeyMulti& root) override;

    // The devices, selected on the editor thread. Setting a slot returns once no thread uses the
    // device it held any more, so that its owner may close or delete it. Not owned.
    void set_input(MidiInInterface* dev);
    void set_output(MidiOutInterface* dev);
    // Snapshots, for the thread that sets the slots.
    MidiInInterface* get_input() const noexcept { return input_.load(); }
    MidiOutInterface* get_output() const noexcept { return output_.load(); }
    // Runs f() while dev is the selected input, keeping it selected meanwhile; false when it
    // is not. For the host's events, which reach the input without the manager.
    template <typename F>
    bool with_input_if(const MidiInInterface* dev, F&& f) noexcept
    {
        const EpochGuard::Reader reader(dev_guard_);
        if (dev == nullptr || input_.load() != dev)
        {
            return false;
        }
        std::forward<F>(f)();
        return true;
    }

    // The audio thread, at the start and at the end of every block: the input, then the output.
    void begin_block() noexcept;
    void end_block() noexcept;

    // Any thread but the audio thread: frees the tables replaced by auto-bind and prepares
    // spare ones. The task runs it from the background thread.
    void recycle() { map_store_.recycle(); }
    BkgInterface& use_recycle_task() noexcept { return recycle_task_; }

    // MidiReceiverInterface: the thru to the output; 0 without an output.
    int set_time_offset(int offset) override;
    int prog_change(int chn, int value) override;
    int rpn(int chn, int number, int value) override;
    int nrpn(int chn, int number, int value) override;
    int cc(int chn, int ctrl, int value) override;
    int chn_msg(int chn, int kind, int data_1, int data_2) override;
    int status_byte(int status) override;
    int raw_msg(int status, int data_1, int data_2) override;
    int cc_pair(int chn, int ctrl, int value) override;

private:
    class RecycleTask final : public BkgInterface
    {
    public:
        explicit RecycleTask(MidiMgr& mgr)
            : mgr_(mgr)
        {
        }
        void run() override { mgr_.recycle(); }
        void* get_context() const override { return context_; }
        void set_context(void* context) override { context_ = context; }

    private:
        MidiMgr& mgr_;
        void* context_ = nullptr;
    };

    // Calls f(output) while the output stays selected; 0 without an output.
    template <typename F>
    int with_output(F&& f) noexcept
    {
        const EpochGuard::Reader reader(dev_guard_);
        MidiOutInterface* const out = output_.load();
        return out != nullptr ? std::forward<F>(f)(*out) : 0;
    }
    int get_nbr_param() const noexcept;
    std::string get_param_name(int param) const;

    // Auto-bind state: the target in the low 32 bits, the count of bindings in the high ones.
    static std::uint64_t pack_autobind(int target, std::uint32_t count) noexcept;
    // The latest binding: the parameter in the low 32 bits, the control in the high ones.
    static std::uint64_t pack_bound(int param, int ctrl_id) noexcept;

    DspInterface* dsp_ = nullptr;
    PluginCmdInterface* cmd_ = nullptr;
    MidiDevSelectorInterface* dev_sel_ = nullptr;
    MidiRegSettings reg_settings_;
    MidiMapStore map_store_;

    std::atomic<std::uint64_t> autobind_;
    std::atomic<std::uint64_t> last_bound_;
    std::atomic<int> feedback_chn_{0};

    std::atomic<MidiInInterface*> input_{nullptr};
    std::atomic<MidiOutInterface*> output_{nullptr};
    EpochGuard dev_guard_;

    RecycleTask recycle_task_{*this};
};

} // namespace plux
