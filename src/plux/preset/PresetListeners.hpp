#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plux/preset/GenericPresetListener.hpp"
#include "plux/preset/PresetSelectionListenerBase.hpp"

namespace plux
{

// The store/load switch: its control's value is the mode. Editor thread, as all below.
class PresetMemListener : public GenericPresetListener
{
public:
    using GenericPresetListener::GenericPresetListener;

    // Store mode while the value is at least 0.5; load mode without a control.
    bool is_store_mode() const;
    void set_load_mode();
};

// A number button: its press (notify 0) selects its preset.
class PresetNumberListener : public PresetSelectionListenerBase
{
public:
    PresetNumberListener(PresetManager& mgr, int index)
        : PresetSelectionListenerBase(mgr)
        , index_(index)
    {
    }

    int get_index() const { return index_; }
    void notify(int code, void* data) override;

private:
    int index_;
};

// The number listeners, one per preset, owned here.
class PresetListenerRefList
{
public:
    PresetListenerRefList(PresetManager& mgr, int count);

    int size() const { return static_cast<int>(list_.size()); }
    PresetNumberListener& at(int index) const { return *list_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<std::unique_ptr<PresetNumberListener>> list_;
};

// The name box: shows the current preset's name; a validated edit (notify 2) renames it.
class PresetNameTbListener : public PresetSelectionListenerBase
{
public:
    using PresetSelectionListenerBase::PresetSelectionListenerBase;

    // Nothing when the control is not a ravik::TextBox.
    void show_name(const std::string& name);
    void notify(int code, void* data) override;
};

// The morph time display: shows the time printf-style, with a field width, a number of decimals
// (0: the time rounded to whole seconds) and an alignment; a validated edit (notify 2) sets the
// time when the text starts with a number.
class PresetTimeDisplayListener : public GenericPresetListener
{
public:
    using GenericPresetListener::GenericPresetListener;

    void set_format(int width, int decimals, bool left_align);
    std::string format_time(double seconds) const;
    // Nothing when the control is not a ravik::TextBox.
    void show_time(double seconds);
    void notify(int code, void* data) override;

private:
    int width_ = 2;
    int decimals_ = 0;
    bool left_align_ = false;
};

// The morph time fader: position p is the time 100^p - 1 seconds, 0 to 99 s.
class PresetTimeFaderListener : public GenericPresetListener
{
public:
    static constexpr double max_time = 99.0;

    using GenericPresetListener::GenericPresetListener;

    static double time_at(double position);
    static double position_of(double seconds);

    double get_morph_time() const { return morph_time_; }
    // Keeps seconds (limited to the fader's range) and moves the fader there.
    void set_morph_time(double seconds);

    // The fader's new position sets the time, unless the manager forced it there.
    double filter_value(double value, int origin) override;

private:
    double morph_time_ = 0.0;
};

// The bank buttons: a press (notify 0) loads a bank file into the presets, or saves them to one.
class PresetLoadBankListener : public GenericPresetListener
{
public:
    using GenericPresetListener::GenericPresetListener;
    void notify(int code, void* data) override;
};

class PresetSaveBankListener : public GenericPresetListener
{
public:
    using GenericPresetListener::GenericPresetListener;
    void notify(int code, void* data) override;
};

} // namespace plux
