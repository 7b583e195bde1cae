#include "plux/preset/PresetManager.hpp"

#include <algorithm>

#include "plux/DspInterface.hpp"
#include "plux/HostGuiInterface.hpp"
#include "plux/preset/ProgStLdInterface.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/prog/BankFileCommands.hpp"
#include "ravik/widget/TextBox.hpp"
#include "sys/Resource.hpp"

namespace plux
{

PresetManager::PresetManager(int nbr_presets)
    : numbers_(*this, std::max(nbr_presets, 0))
{
}

PresetManager::~PresetManager()
{
    stop_morphs();
    for (ravik::EventListenerInterface* listener : listeners())
    {
        if (ravik::ControlInterface* control = listener->get_control())
        {
            control->remove_listener(listener);
        }
    }
}

std::vector<ravik::EventListenerInterface*> PresetManager::listeners()
{
    std::vector<ravik::EventListenerInterface*> all = {
        &mem_, &selector_, &name_, &time_display_, &time_fader_, &load_bank_, &save_bank_};
    for (int i = 0; i < numbers_.size(); ++i)
    {
        all.push_back(&numbers_.at(i));
    }
    return all;
}

int PresetManager::init(HostGuiInterface& host, DspInterface& dsp, ProgStLdInterface& interpolator,
                        const PresetControls& controls, const std::string& resource_name)
{
    if (initialised_)
    {
        return 0;
    }
    if (static_cast<int>(controls.numbers.size()) != numbers_.size())
    {
        return -1;
    }
    host_ = &host;
    dsp_ = &dsp;
    interpolator_ = &interpolator;

    bank_.resize(numbers_.size());
    const ProgramSlot sound = capture();
    for (int i = 0; i < bank_.get_nbr_prog(); ++i)
    {
        bank_.set_prog(i, sound);
    }

    const auto attach = [](ravik::ControlInterface* control, ravik::EventListenerInterface& l)
    {
        if (control != nullptr)
        {
            control->push_back_listener(&l);
        }
    };
    for (int i = 0; i < numbers_.size(); ++i)
    {
        attach(controls.numbers[static_cast<std::size_t>(i)], numbers_.at(i));
    }
    attach(controls.mem_mode, mem_);
    attach(controls.load_bank, load_bank_);
    attach(controls.save_bank, save_bank_);
    attach(controls.time_fader, time_fader_);
    attach(controls.time_display, time_display_);
    BankFileCommands::setup_file_selector(*selector_in_use_);

    fill_from_resource(resource_name);
    initialised_ = true;
    set_morph_time(get_morph_time());
    return 0;
}

void PresetManager::fill_from_resource(const std::string& resource_name)
{
    BankManager loaded;
    const auto data = sys::get_resource("QBNK", resource_name);
    if (data.empty() || load_bank_mem(data, loaded, nullptr, false) != 0)
    {
        return;
    }
    for (int i = 0; i < std::min(loaded.get_nbr_prog(), bank_.get_nbr_prog()); ++i)
    {
        bank_.set_prog(i, loaded.use_prog(i));
    }
    host_->write_bank(bank_);
}

void PresetManager::set_file_selector(sys::FileSelectorInterface& selector)
{
    selector_in_use_ = &selector;
    BankFileCommands::setup_file_selector(selector);
}

void PresetManager::set_morph_time(double seconds)
{
    time_fader_.set_morph_time(seconds);
    show_morph_time();
}

void PresetManager::show_morph_time()
{
    time_display_.show_time(get_morph_time());
}

ProgramSlot PresetManager::capture() const
{
    ProgramSlot prog;
    prog.set_name(dsp_->get_prog_name());
    dsp_->save_prog(prog.use_values());
    return prog;
}

void PresetManager::stop_morphs()
{
    // Every morph, not only the number buttons': two timers would pull the sound both ways.
    selector_.stop_morph();
    name_.stop_morph();
    for (int i = 0; i < numbers_.size(); ++i)
    {
        numbers_.at(i).stop_morph();
    }
}

void PresetManager::select(int index, PresetSelectionListenerBase& by)
{
    if (!initialised_ || index < 0 || index >= bank_.get_nbr_prog())
    {
        return;
    }
    if (is_store_mode())
    {
        store(index);
        mem_.set_load_mode();
    }
    else
    {
        recall(index, by);
    }
    current_ = index;
    name_.show_name(bank_.use_prog(index).get_name());
}

void PresetManager::store(int index)
{
    if (!initialised_ || index < 0 || index >= bank_.get_nbr_prog())
    {
        return;
    }
    bank_.set_prog(index, capture());
    host_->write_bank(bank_);
}

void PresetManager::recall(int index, PresetSelectionListenerBase& by)
{
    if (!initialised_ || index < 0 || index >= bank_.get_nbr_prog())
    {
        return;
    }
    stop_morphs();
    by.start_morph(capture(), bank_.use_prog(index));
}

void PresetManager::rename(const std::string& name)
{
    if (!initialised_)
    {
        return;
    }
    ProgramSlot prog = capture();
    prog.set_name(name);
    if (current_ >= 0)
    {
        bank_.use_prog(current_).set_name(prog.get_name());
    }
    dsp_->set_prog_name(prog.get_name());
    dsp_->load_prog(prog.use_values());
    // Names are kept to their first 63 characters.
    name_.show_name(prog.get_name());
}

int PresetManager::load_bank_file()
{
    if (!initialised_)
    {
        return -1;
    }
    const int code = BankFileCommands::load_bank_cmd(bank_, *selector_in_use_, *box_in_use_);
    if (code == sys::FileCommand::res_done)
    {
        host_->write_bank(bank_);
        if (current_ >= 0)
        {
            name_.show_name(bank_.use_prog(current_).get_name());
        }
    }
    return code;
}

int PresetManager::save_bank_file()
{
    return initialised_ ? BankFileCommands::save_bank_cmd(bank_, *selector_in_use_, *box_in_use_)
                        : -1;
}

void PresetManager::apply_morph(const ProgramSlot& from, const ProgramSlot& to, double t)
{
    ProgramSlot prog = from;
    interpolator_->interpolate(prog, from, to, t);
    prog.set_name(to.get_name());
    host_->apply_prog(prog, prio_morph);
}

} // namespace plux
