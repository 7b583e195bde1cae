#include "plux/midi/MidiDevSelDispatcher.hpp"

#include "basic/ConfKeyMulti.hpp"
#include "plux/midi/MidiDevSelCompInterface.hpp"
#include "plux/midi/MidiInInterface.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/midi/MidiOutInterface.hpp"

namespace plux
{

namespace
{

constexpr const char* key_port_in = "port_in";
constexpr const char* key_port_out = "port_out";
constexpr const char* key_name = "name";
constexpr const char* name_none = "none";
// A position that is neither -1 nor in the list, or a component that made no device for it.
constexpr int err_no_device = -1;

} // namespace

MidiDevSelDispatcher::MidiDevSelDispatcher(MidiMgr& mgr)
    : mgr_(mgr)
{
}

MidiDevSelDispatcher::~MidiDevSelDispatcher()
{
    // Normally deinit() ran; otherwise the components may already be gone, so only make sure
    // that the manager no longer points to their devices.
    if (initialised_)
    {
        mgr_.set_input(nullptr);
        mgr_.set_output(nullptr);
    }
}

void MidiDevSelDispatcher::add_component(MidiDevSelCompInterface& comp)
{
    const std::lock_guard lock(mutex_);
    comps_.push_back(&comp);
}

int MidiDevSelDispatcher::init()
{
    const std::lock_guard lock(mutex_);
    if (initialised_)
    {
        return 0;
    }
    std::vector<std::string> in_names;
    std::vector<std::string> out_names;
    int ret = 0;
    for (MidiDevSelCompInterface* comp : comps_)
    {
        ret = comp->append_devices(in_names, out_names);
        for (std::size_t i = in_list_.size(); i < in_names.size(); ++i)
        {
            in_list_.push_back({in_names[i], comp});
        }
        for (std::size_t i = out_list_.size(); i < out_names.size(); ++i)
        {
            out_list_.push_back({out_names[i], comp});
        }
        if (ret != 0)
        {
            break;
        }
    }
    initialised_ = true;
    return ret;
}

void MidiDevSelDispatcher::deinit()
{
    const std::lock_guard lock(mutex_);
    if (MidiInInterface* const in = mgr_.get_input(); in != nullptr)
    {
        mgr_.set_input(nullptr);
        in->close();
    }
    if (MidiOutInterface* const out = mgr_.get_output(); out != nullptr)
    {
        mgr_.set_output(nullptr);
        out->close();
    }
    in_index_ = -1;
    out_index_ = -1;
    for (MidiDevSelCompInterface* comp : comps_)
    {
        comp->release_devices();
    }
    in_list_.clear();
    out_list_.clear();
    initialised_ = false;
}

bool MidiDevSelDispatcher::is_initialised() const
{
    const std::lock_guard lock(mutex_);
    return initialised_;
}

int MidiDevSelDispatcher::select_default(bool in, bool out)
{
    const std::lock_guard lock(mutex_);
    const int ret_in = select_in_locked(in && !in_list_.empty() ? 0 : -1);
    const int ret_out = select_out_locked(out && !out_list_.empty() ? 0 : -1);
    return ret_in != 0 ? ret_in : ret_out;
}

int MidiDevSelDispatcher::get_nbr_in() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(in_list_.size());
}

int MidiDevSelDispatcher::get_nbr_out() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(out_list_.size());
}

std::string MidiDevSelDispatcher::get_in_name(int position) const
{
    const std::lock_guard lock(mutex_);
    return name_at(in_list_, position);
}

std::string MidiDevSelDispatcher::get_out_name(int position) const
{
    const std::lock_guard lock(mutex_);
    return name_at(out_list_, position);
}

int MidiDevSelDispatcher::get_in_index() const
{
    const std::lock_guard lock(mutex_);
    return in_index_;
}

int MidiDevSelDispatcher::get_out_index() const
{
    const std::lock_guard lock(mutex_);
    return out_index_;
}

int MidiDevSelDispatcher::select_in(int position)
{
    const std::lock_guard lock(mutex_);
    return select_in_locked(position);
}

int MidiDevSelDispatcher::select_out(int position)
{
    const std::lock_guard lock(mutex_);
    return select_out_locked(position);
}

int MidiDevSelDispatcher::select_in_by_name(const std::string& name)
{
    const std::lock_guard lock(mutex_);
    return select_in_locked(find_by_name(in_list_, name));
}

int MidiDevSelDispatcher::select_out_by_name(const std::string& name)
{
    const std::lock_guard lock(mutex_);
    return select_out_locked(find_by_name(out_list_, name));
}

// The device leaves the manager's slot before it is closed, so that no thread is using it
// then; a device that refuses to close goes back and stays selected. Dev is the direction's
// device type; get and set reach the manager's slot, create asks the entry's component.
template <typename Dev, typename Get, typename Set, typename Create>
int MidiDevSelDispatcher::select_locked(int position, const std::vector<Entry>& list, int& index,
                                        Get get, Set set, Create create)
{
    if (position < -1 || position >= static_cast<int>(list.size()))
    {
        return err_no_device;
    }
    if (Dev* const current = get(); current != nullptr)
    {
        set(nullptr);
        if (const int ret = current->close(); ret != 0)
        {
            set(current);
            return ret;
        }
    }
    index = -1;
    if (position < 0)
    {
        return 0;
    }
    Dev* dev = nullptr;
    if (const int ret = create(*list[static_cast<std::size_t>(position)].comp, dev); ret != 0)
    {
        return ret;
    }
    if (dev == nullptr)
    {
        return err_no_device;
    }
    if (const int ret = dev->open(); ret != 0)
    {
        return ret;
    }
    index = position;
    set(dev);
    return 0;
}

int MidiDevSelDispatcher::select_in_locked(int position)
{
    return select_locked<MidiInInterface>(
        position, in_list_, in_index_, [this] { return mgr_.get_input(); },
        [this](MidiInInterface* dev) { mgr_.set_input(dev); },
        [this, position](MidiDevSelCompInterface& comp, MidiInInterface*& dev)
        { return comp.create_in(position, mgr_, dev); });
}

int MidiDevSelDispatcher::select_out_locked(int position)
{
    return select_locked<MidiOutInterface>(
        position, out_list_, out_index_, [this] { return mgr_.get_output(); },
        [this](MidiOutInterface* dev) { mgr_.set_output(dev); },
        [this, position](MidiDevSelCompInterface& comp, MidiOutInterface*& dev)
        { return comp.create_out(position, mgr_, dev); });
}

int MidiDevSelDispatcher::find_by_name(const std::vector<Entry>& list, const std::string& name)
{
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        if (list[i].name == name)
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string MidiDevSelDispatcher::name_at(const std::vector<Entry>& list, int position)
{
    return position >= 0 && position < static_cast<int>(list.size())
               ? list[static_cast<std::size_t>(position)].name
               : std::string();
}

int MidiDevSelDispatcher::save_settings(basic::ConfKeyMulti& root)
{
    const std::lock_guard lock(mutex_);
    basic::ConfKeyMulti port_in(key_port_in);
    port_in.set_data(key_name, in_index_ < 0 ? name_none : name_at(in_list_, in_index_));
    if (MidiInInterface* const in = mgr_.get_input(); in != nullptr)
    {
        if (const int ret = in->save_settings(port_in); ret != 0)
        {
            return ret;
        }
    }
    root.set_key(port_in);

    basic::ConfKeyMulti port_out(key_port_out);
    port_out.set_data(key_name, out_index_ < 0 ? name_none : name_at(out_list_, out_index_));
    if (MidiOutInterface* const out = mgr_.get_output(); out != nullptr)
    {
        if (const int ret = out->save_settings(port_out); ret != 0)
        {
            return ret;
        }
    }
    root.set_key(port_out);
    return 0;
}

int MidiDevSelDispatcher::load_settings(const basic::ConfKeyMulti& root)
{
    const std::lock_guard lock(mutex_);
    if (const std::string name = root.get_data_string(std::string(key_port_in) + "/" + key_name);
        !name.empty())
    {
        if (const int ret = select_in_locked(find_by_name(in_list_, name)); ret != 0)
        {
            return ret;
        }
    }
    if (const std::string name = root.get_data_string(std::string(key_port_out) + "/" + key_name);
        !name.empty())
    {
        if (const int ret = select_out_locked(find_by_name(out_list_, name)); ret != 0)
        {
            return ret;
        }
    }
    if (MidiInInterface* const in = mgr_.get_input(); in != nullptr)
    {
        if (const int index = root.find_index_multi(key_port_in); index >= 0)
        {
            const auto& block = static_cast<const basic::ConfKeyMulti&>(root.use_key_at(index));
            if (const int ret = in->load_settings(block); ret != 0)
            {
                return ret;
            }
        }
    }
    if (MidiOutInterface* const out = mgr_.get_output(); out != nullptr)
    {
        if (const int index = root.find_index_multi(key_port_out); index >= 0)
        {
            const auto& block = static_cast<const basic::ConfKeyMulti&>(root.use_key_at(index));
            return out->load_settings(block);
        }
    }
    return 0;
}

} // namespace plux
