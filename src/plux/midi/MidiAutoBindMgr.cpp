#include "plux/midi/MidiAutoBindMgr.hpp"

#include "plux/midi/MidiMgr.hpp"

namespace plux
{

void MidiAutoBindMgr::init(MidiMgr* mgr)
{
    mgr_ = mgr;
    selected_param_ = -1;
    armed_ = false;
    refresh();
}

void MidiAutoBindMgr::select_param(int param)
{
    selected_param_ = param;
    refresh();
}

void MidiAutoBindMgr::toggle_armed()
{
    armed_ = !armed_;
    // A new arming starts without a latest binding: one left from an earlier session would
    // disarm it at once in mode 0.
    if (armed_ && mgr_ != nullptr)
    {
        mgr_->clear_last_bound();
    }
    refresh();
}

bool MidiAutoBindMgr::is_armed()
{
    refresh();
    return armed_;
}

void MidiAutoBindMgr::refresh()
{
    if (mgr_ == nullptr)
    {
        armed_ = false;
        return;
    }
    mgr_->recycle();
    // The audio thread binds and, in mode 0, clears the target by itself. The new target is set
    // only if no binding came in since the latest binding was looked at; otherwise look again,
    // so that a binding made meanwhile disarms instead of being followed by a second one.
    for (;;)
    {
        const std::uint32_t count = mgr_->get_autobind_count();
        const bool once = mgr_->use_reg_settings().get_autobind_mode() == 0;
        int param = -1;
        int ctrl_id = -1;
        if (armed_ && once && mgr_->get_last_bound(param, ctrl_id))
        {
            armed_ = false;
            mgr_->clear_last_bound();
        }
        const int target = armed_ && selected_param_ >= 0 ? selected_param_ : -1;
        if (mgr_->set_autobind_target_if(target, count))
        {
            return;
        }
    }
}

} // namespace plux
