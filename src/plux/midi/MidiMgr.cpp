#include "plux/midi/MidiMgr.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"
#include "plux/DspInterface.hpp"
#include "plux/midi/MidiCtrl.hpp"
#include "plux/midi/MidiDevSelectorInterface.hpp"
#include "plux/midi/MidiInInterface.hpp"
#include "plux/midi/MidiOutInterface.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/param/PluginCmdInterface.hpp"

namespace plux
{

namespace
{

constexpr const char* key_midi = "midi";
constexpr const char* key_control_map = "control_map";
constexpr const char* prefix_id = "id_";
constexpr const char* prefix_cc = "cc_";
constexpr const char* prefix_rpn = "rpn_";
constexpr const char* prefix_nrpn = "nrpn_";
constexpr int max_cc = 127;
// Parameter names are at most this long.
constexpr int param_name_size = 129;

int target_of(std::uint64_t state) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(state));
}

std::uint32_t count_of(std::uint64_t state) noexcept
{
    return static_cast<std::uint32_t>(state >> 32);
}

// text from start must be a decimal number of at least one digit that fits an int; whatever
// follows the digits is ignored.
bool parse_number(const std::string& text, std::size_t start, int& number)
{
    long long value = 0;
    std::size_t pos = start;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
    {
        value = value * 10 + (text[pos] - '0');
        if (value > INT_MAX)
        {
            return false;
        }
    }
    if (pos == start)
    {
        return false;
    }
    number = static_cast<int>(value);
    return true;
}

bool starts_with(const std::string& text, const char* prefix, std::size_t& len)
{
    len = std::strlen(prefix);
    return text.compare(0, len, prefix) == 0;
}

// "cc_7", "rpn_0", "nrpn_3" into a control identifier; numbers out of their range are refused,
// so that a damaged file cannot forge an identifier of another kind.
bool parse_ctrl(const std::string& text, int& ctrl_id)
{
    std::size_t len = 0;
    int number = 0;
    if (starts_with(text, prefix_cc, len))
    {
        if (!parse_number(text, len, number) || number > max_cc)
        {
            return false;
        }
        ctrl_id = MidiCtrl::make_id(number, 0);
        return true;
    }
    const bool rpn = starts_with(text, prefix_rpn, len);
    if (!rpn && !starts_with(text, prefix_nrpn, len))
    {
        return false;
    }
    if (!parse_number(text, len, number) || number > MidiCtrl::max_value)
    {
        return false;
    }
    ctrl_id = MidiCtrl::make_id(rpn ? MidiCtrl::kind_rpn : MidiCtrl::kind_nrpn, number);
    return true;
}

std::string ctrl_to_key_text(int ctrl_id)
{
    const int kind = MidiCtrl::get_kind(ctrl_id);
    if (kind == MidiCtrl::kind_nrpn)
    {
        return prefix_nrpn + std::to_string(MidiCtrl::get_number(ctrl_id));
    }
    if (kind == MidiCtrl::kind_rpn)
    {
        return prefix_rpn + std::to_string(MidiCtrl::get_number(ctrl_id));
    }
    return prefix_cc + std::to_string(kind);
}

} // namespace

MidiMgr::MidiMgr(std::string reg_maker)
    : reg_settings_(std::move(reg_maker))
    , autobind_(pack_autobind(-1, 0))
    , last_bound_(pack_bound(-1, 0))
{
}

MidiMgr::~MidiMgr() = default;

std::uint64_t MidiMgr::pack_autobind(int target, std::uint32_t count) noexcept
{
    return (std::uint64_t{count} << 32) | static_cast<std::uint32_t>(target < 0 ? -1 : target);
}

std::uint64_t MidiMgr::pack_bound(int param, int ctrl_id) noexcept
{
    return (std::uint64_t{static_cast<std::uint32_t>(ctrl_id)} << 32) |
           static_cast<std::uint32_t>(param < 0 ? -1 : param);
}

int MidiMgr::get_nbr_param() const noexcept
{
    return dsp_ != nullptr ? dsp_->get_nbr_param() : 0;
}

std::string MidiMgr::get_param_name(int param) const
{
    char name[param_name_size] = {};
    dsp_->use_param(param).get_name(name, param_name_size);
    return name;
}

// The table.

int MidiMgr::bind_param(int param, int ctrl_id)
{
    map_store_.modify(1, [&](MidiCtrlMap& map) { map.bind(param, ctrl_id); });
    return 0;
}

int MidiMgr::bind_param(int param, int kind, int number)
{
    return bind_param(param, MidiCtrl::make_id(kind, number));
}

int MidiMgr::unbind_param(int param)
{
    map_store_.modify(0, [&](MidiCtrlMap& map) { map.unbind(param); });
    return 0;
}

void MidiMgr::set_default_map()
{
    const int nbr_param = get_nbr_param();
    map_store_.modify(static_cast<std::size_t>(nbr_param),
                      [&](MidiCtrlMap& map)
                      {
                          map.clear();
                          for (int param = 0; param < nbr_param; ++param)
                          {
                              map.bind(param, MidiCtrl::make_id(MidiCtrl::kind_nrpn, param));
                          }
                      });
}

bool MidiMgr::is_param_bound(int param) const noexcept
{
    int ctrl_id = -1;
    return get_ctrl_for_param(param, ctrl_id);
}

bool MidiMgr::get_ctrl_for_param(int param, int& ctrl_id) const noexcept
{
    const int found =
        map_store_.read([param](const MidiCtrlMap& map) noexcept { return map.find_ctrl(param); });
    if (found < 0)
    {
        return false;
    }
    ctrl_id = found;
    return true;
}

bool MidiMgr::get_ctrl_for_param(int param, int& kind, int& number) const noexcept
{
    int ctrl_id = -1;
    if (!get_ctrl_for_param(param, ctrl_id))
    {
        return false;
    }
    kind = MidiCtrl::get_kind(ctrl_id);
    number = MidiCtrl::get_number(ctrl_id);
    return true;
}

void MidiMgr::ctrl_to_param(int ctrl_id, int value, int& param, float& nrm) const noexcept
{
    param = map_store_.read([ctrl_id](const MidiCtrlMap& map) noexcept
                            { return map.find_param(ctrl_id); });
    nrm = param >= 0 ? MidiCtrl::value_to_nrm(value) : -1.0f;
}

void MidiMgr::param_to_ctrl(int param, float nrm, int& ctrl_id, int& value) const noexcept
{
    if (!get_ctrl_for_param(param, ctrl_id))
    {
        ctrl_id = -1;
        value = -1;
        return;
    }
    value = MidiCtrl::nrm_to_value(nrm);
}

std::string MidiMgr::ctrl_to_text(int ctrl_id)
{
    return MidiCtrl::to_text(ctrl_id);
}

// The input path.

void MidiMgr::process_ctrl(int ctrl_id, int value, int& param, float& nrm) noexcept
{
    std::uint64_t state = autobind_.load();
    const int target = target_of(state);
    if (target >= 0 && map_store_.bind_rt(target, ctrl_id))
    {
        last_bound_.store(pack_bound(target, ctrl_id));
        const bool once = reg_settings_.get_autobind_mode() == 0;
        // Count the binding; mode 0 disarms, unless the editor chose another target meanwhile.
        std::uint64_t next = 0;
        do
        {
            const int now = target_of(state);
            next = pack_autobind(once && now == target ? -1 : now, count_of(state) + 1);
        } while (!autobind_.compare_exchange_weak(state, next));
    }
    ctrl_to_param(ctrl_id, value, param, nrm);
}

void MidiMgr::receive_ctrl(int chn, int ctrl_id, int value) noexcept
{
    int param = -1;
    float nrm = -1.0f;
    process_ctrl(ctrl_id, value, param, nrm);
    if (param < 0)
    {
        return;
    }
    feedback_chn_.store(chn & 0x0F, std::memory_order_relaxed);
    // A binding beyond the DSP side's parameters (read from a setting file) moves nothing: the
    // effect has no parameters outside the host's list.
    if (cmd_ != nullptr && param < get_nbr_param())
    {
        cmd_->set_param_and_notify(param, nrm, prio_midi);
    }
}

int MidiMgr::send_param_change(int chn, int param, float nrm) noexcept
{
    int ctrl_id = -1;
    int value = -1;
    param_to_ctrl(param, nrm, ctrl_id, value);
    if (ctrl_id < 0)
    {
        return -2;
    }
    chn &= 0x0F;
    const int kind = MidiCtrl::get_kind(ctrl_id);
    if (kind == MidiCtrl::kind_nrpn)
    {
        return nrpn(chn, MidiCtrl::get_number(ctrl_id), value);
    }
    if (kind == MidiCtrl::kind_rpn)
    {
        return rpn(chn, MidiCtrl::get_number(ctrl_id), value);
    }
    if (kind < 32)
    {
        return cc_pair(chn, kind, value);
    }
    return cc(chn, kind, std::min((value + 64) / 128, 127));
}

// Auto-bind.

void MidiMgr::set_autobind_target(int param) noexcept
{
    std::uint64_t state = autobind_.load();
    while (!autobind_.compare_exchange_weak(state, pack_autobind(param, count_of(state))))
    {
    }
}

int MidiMgr::get_autobind_target() const noexcept
{
    return target_of(autobind_.load());
}

std::uint32_t MidiMgr::get_autobind_count() const noexcept
{
    return count_of(autobind_.load());
}

bool MidiMgr::set_autobind_target_if(int param, std::uint32_t count) noexcept
{
    std::uint64_t state = autobind_.load();
    do
    {
        if (count_of(state) != count)
        {
            return false;
        }
    } while (!autobind_.compare_exchange_weak(state, pack_autobind(param, count)));
    return true;
}

bool MidiMgr::get_last_bound(int& param, int& ctrl_id) const noexcept
{
    const std::uint64_t bound = last_bound_.load();
    const int found = static_cast<std::int32_t>(static_cast<std::uint32_t>(bound));
    if (found < 0)
    {
        return false;
    }
    param = found;
    ctrl_id = static_cast<std::int32_t>(static_cast<std::uint32_t>(bound >> 32));
    return true;
}

void MidiMgr::clear_last_bound() noexcept
{
    last_bound_.store(pack_bound(-1, 0));
}

// Settings.

int MidiMgr::save_settings(basic::ConfKeyMulti& root)
{
    basic::ConfKeyMulti midi(key_midi);
    basic::ConfKeyMulti control_map(key_control_map);
    control_map.set_comment(std::string("Bind param with ") + prefix_cc + ", " + prefix_rpn +
                            " or " + prefix_nrpn + " as prefix + CC/(N)RPN #.");

    std::vector<MidiCtrlMap::Entry> entries = map_store_.read(
        [](const MidiCtrlMap& map)
        {
            const auto all = map.use_entries();
            return std::vector<MidiCtrlMap::Entry>(all.begin(), all.end());
        });
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.param < b.param; });
    const int nbr_param = get_nbr_param();
    for (const MidiCtrlMap::Entry& entry : entries)
    {
        basic::ConfKeyData leaf(prefix_id + std::to_string(entry.param),
                                ctrl_to_key_text(entry.ctrl_id));
        if (entry.param < nbr_param)
        {
            leaf.set_comment(get_param_name(entry.param));
        }
        control_map.add_key(leaf);
    }
    midi.set_key(control_map);

    if (dev_sel_ != nullptr)
    {
        if (const int ret = dev_sel_->save_settings(midi); ret != 0)
        {
            return ret;
        }
    }
    root.set_key(midi);
    return 0;
}

int MidiMgr::load_settings(const basic::ConfKeyMulti& root)
{
    const int midi_index = root.find_index_multi(key_midi);
    if (midi_index < 0)
    {
        return 0;
    }
    const auto& midi = static_cast<const basic::ConfKeyMulti&>(root.use_key_at(midi_index));

    if (const int map_index = midi.find_index_multi(key_control_map); map_index >= 0)
    {
        const auto& control_map =
            static_cast<const basic::ConfKeyMulti&>(midi.use_key_at(map_index));
        std::vector<MidiCtrlMap::Entry> bindings;
        for (int i = 0; i < control_map.get_nbr_keys(); ++i)
        {
            const auto* leaf = dynamic_cast<const basic::ConfKeyData*>(&control_map.use_key_at(i));
            const auto* value =
                leaf != nullptr
                    ? dynamic_cast<const basic::ConfKeyContentString*>(leaf->get_content())
                    : nullptr;
            std::size_t len = 0;
            int param = -1;
            int ctrl_id = -1;
            if (value != nullptr && starts_with(leaf->get_name(), prefix_id, len) &&
                parse_number(leaf->get_name(), len, param) && parse_ctrl(value->get_str(), ctrl_id))
            {
                bindings.push_back({ctrl_id, param});
            }
        }
        // One publication for the whole file: the audio thread sees it loaded or not at all.
        if (!bindings.empty())
        {
            map_store_.modify(bindings.size(),
                              [&](MidiCtrlMap& map)
                              {
                                  for (const auto& binding : bindings)
                                  {
                                      map.bind(binding.param, binding.ctrl_id);
                                  }
                              });
        }
    }

    return dev_sel_ != nullptr ? dev_sel_->load_settings(midi) : 0;
}

// Devices.

void MidiMgr::set_input(MidiInInterface* dev)
{
    input_.store(dev);
    dev_guard_.synchronize();
}

void MidiMgr::set_output(MidiOutInterface* dev)
{
    output_.store(dev);
    dev_guard_.synchronize();
}

void MidiMgr::begin_block() noexcept
{
    const EpochGuard::Reader reader(dev_guard_);
    if (MidiInInterface* const in = input_.load(); in != nullptr)
    {
        in->begin_block();
    }
    if (MidiOutInterface* const out = output_.load(); out != nullptr)
    {
        out->begin_block();
    }
}

void MidiMgr::end_block() noexcept
{
    const EpochGuard::Reader reader(dev_guard_);
    if (MidiInInterface* const in = input_.load(); in != nullptr)
    {
        in->end_block();
    }
    if (MidiOutInterface* const out = output_.load(); out != nullptr)
    {
        out->end_block();
    }
}

// The thru.

int MidiMgr::set_time_offset(int offset)
{
    return with_output([&](MidiOutInterface& out) { return out.set_time_offset(offset); });
}

int MidiMgr::prog_change(int chn, int value)
{
    return with_output([&](MidiOutInterface& out) { return out.prog_change(chn, value); });
}

int MidiMgr::rpn(int chn, int number, int value)
{
    return with_output([&](MidiOutInterface& out) { return out.rpn(chn, number, value); });
}

int MidiMgr::nrpn(int chn, int number, int value)
{
    return with_output([&](MidiOutInterface& out) { return out.nrpn(chn, number, value); });
}

int MidiMgr::cc(int chn, int ctrl, int value)
{
    return with_output([&](MidiOutInterface& out) { return out.cc(chn, ctrl, value); });
}

int MidiMgr::chn_msg(int chn, int kind, int data_1, int data_2)
{
    return with_output([&](MidiOutInterface& out)
                       { return out.chn_msg(chn, kind, data_1, data_2); });
}

int MidiMgr::status_byte(int status)
{
    return with_output([&](MidiOutInterface& out) { return out.status_byte(status); });
}

int MidiMgr::raw_msg(int status, int data_1, int data_2)
{
    return with_output([&](MidiOutInterface& out) { return out.raw_msg(status, data_1, data_2); });
}

int MidiMgr::cc_pair(int chn, int ctrl, int value)
{
    return with_output([&](MidiOutInterface& out) { return out.cc_pair(chn, ctrl, value); });
}

} // namespace plux
